#include "engine/long_work.h"

#include "console/console.h"
#include "console/keys.h"

namespace zqspiel {

bool keyboard_breaks_off(unsigned char* scan) {
    if (scan) *scan = 0;
    if (!console::key_pressed()) return false;
    const unsigned char k = console::read_key();
    if (k == console::key::EXTENDED) {
        const unsigned char s = console::read_key();
        if (scan) *scan = s;
        return false;
    }
    return console::key::breaks_off(k);
}

void draw_star_bar(std::int32_t due) {
    if (due <= ZAHL_DER_STERNE) return;
    console::goto_xy(44, 25);
    for (std::int32_t i = 0; i < due && i < 10; ++i) console::write('*');
    console::goto_xy(WX, WY);
    ZAHL_DER_STERNE = due;
}

}  // namespace zqspiel
