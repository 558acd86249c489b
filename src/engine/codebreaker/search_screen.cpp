#include "engine/codebreaker/search_screen.h"

#include "console/console.h"
#include "console/keys.h"
#include "engine/long_work.h"
#include "engine/zqspiel.h"

namespace zqspiel {

void stars() {
    if (ZAHL_DER_VERSUCHE <= 0) return;
    draw_star_bar(stars_due(GERATENE_VERSUCHE, ZAHL_DER_VERSUCHE));
}

void count_interruption() {
    if (UNTERBR >= 999) return;
    ++UNTERBR;
    if (UNTERBR == 1) {
        console::write_at(3, 15, SP_D ? "Zahl der Unterbrechungen: 1." : "Number of breaks: 1.");
    } else {
        console::goto_xy(SP_D ? 29 : 21, 15);
        console::write_num(UNTERBR);
        console::write('.');
    }
    console::goto_xy(WX, WY);
}

void zeitlimit_notice() {
    if (!ALLESTERNEDRUCKEN) return;
    ALLESTERNEDRUCKEN = false;
    console::goto_xy(1, 11);
    console::write('|');
    console::write(SP_D ? " Zeit begrenzt auf " : " The timelimit is ");
    console::write_num(X.ZEITSTUFE);
    console::write(SP_D ? "0 Sek./Versuch.  " : "0 seconds/trial.  ");
    console::write('|');
    console::goto_xy(WX, WY);
}

namespace {

// F6 in any of its forms asks the same as F4: F6 is the sixth key of each
// run of ten function keys.
constexpr bool is_f6(unsigned char s) {
    namespace scan = console::key::scan;
    return s == scan::F1 + 5 || s == scan::SHIFT_F1 + 5 || s == scan::CTRL_F1 + 5 || s == scan::ALT_F1 + 5;
}

}  // namespace

bool search_keyboard(bool real_search) {
    unsigned char scan = 0;
    const bool breaks_off = keyboard_breaks_off(&scan);
    if (real_search && (console::key::decides_soon(scan) || is_f6(scan))) F6_GEDR = true;
    return breaks_off;
}

}  // namespace zqspiel
