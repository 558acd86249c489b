#include "engine/setup/conditions_screen.h"

#include "console/console.h"
#include "engine/encoder/capacity.h"
#include "engine/setup/name_editor.h"

namespace zqspiel {

std::string capacity_cell(int v) {
    if (v < 2) return " -";
    if (v < 10) return std::string(" ") + static_cast<char>('0' + v);
    return std::to_string(v);
}

int computer_guesses_col() { return SP_D ? 57 : 64; }

namespace {

std::string capacity_line() {
    std::string line;
    for (int n = 2; n <= 9; ++n) {
        if (n > 2) line += "   ";
        line += capacity_cell(MERKEZAEHLEFARBEN[n]);
    }
    return line;
}

}  // namespace

void KORRIGIERE(byte s, byte n, bool repeat, bool vacant, bool show, bool release) {
    const int col = console::where_x(), row = console::where_y();
    const std::uint8_t attr = console::text_attr();
    const CapacityCorrections c = check_capacity(s, n, repeat, vacant, release);
    if (show) {
        // The conditions screen shows its values in the normal attribute.
        console::text_attr(NORMALFARBE);
        if (c.table_changed) console::write_at(35, 8, capacity_line());
        if (c.fixed_forced) console::write_at(30, 19, SP_D ? "Ja.  " : "Yes.");
        if (c.guess_dropped) {
            console::write_at(computer_guesses_col(), 13, SP_D ? "Nein." : "No. ");
            SCHREIBE_NAME(false, true, false);
        }
    }
    console::text_attr(attr);
    console::goto_xy(col, row);
}

}  // namespace zqspiel
