// The whole program: start-up, language choice, the main menu and the way out.
#include "console/console.h"
#include "console/keys.h"
#include "datetools/zuf.h"
#include "engine/clock/clock.h"
#include "engine/play/match.h"
#include "engine/setup/conditions.h"
#include "engine/setup/conditions_file.h"
#include "engine/zqspiel.h"
#include "frame/frame.h"
#include "frame/texts.h"
#include "help/zqd.h"
#include "help/zqe.h"

namespace frame {

using namespace zqspiel;

namespace {

// The menu key: an extended key counts as 'x' (no choice), Ctrl-C as '9';
// anything but '1'..'9' is ignored without redrawing the page.
unsigned char menu_key() {
    for (;;) {
        unsigned char key = wait_for_key();
        if (key == console::key::EXTENDED) {
            console::read_key();  // the scan code
            key = 'x';
        }
        if (key == console::key::CTRL_C) key = '9';
        if (key >= '1' && key <= '9') return key;
    }
}

void start_match() {
    X.LEERZEICHEN_ERLAUBT = LEERZ_MERKER;
    SP_D = SPRACHE_DEUTSCH;
    OK = true;
    if (VIRTUALDATE) {
        ZWEITESDATUM();
        VIRTUALOLDDATE = true;
    }
    set_memavail(SPEICHERSTUFE);
    run_matches();
}

}  // namespace

void ZENTROVALQUIST() {
    ANFANGEN();
    LEERZ_MERKER = X.LEERZEICHEN_ERLAUBT;
    WAEHLE_SPRACHE();
    bool end = KEY == console::key::ESC;

    while (!end) {
        // Every entry to the menu, also back from a match.
        NAMEN_UEBERSPRINGEN = true;
        X.LEERZEICHEN_ERLAUBT = LEERZ_MERKER;
        BEDINGUNGENSPEICHERN();

        bool match = false;
        while (!end && !match) {
            console::text_attr(NORMALFARBE);
            console::clr_scr();
            if (SPRACHE_DEUTSCH) TITELD();
            else TITELE();
            KEY = menu_key();
            console::text_attr(NORMALFARBE);
            switch (KEY) {
                case '1':
                    WAEHLE_SPRACHE();
                    end = KEY == console::key::ESC;
                    break;
                case '2':
                    VIRTUALDATE = false;
                    SCHREIBE_ZEIT();
                    zuf::KORRIGIERE_ZEIT(SPRACHE_DEUTSCH, NORMALFARBE, HERVORFARBE);
                    break;
                case '3':
                    SCHREIBE_ZEIT();
                    zuf::KALENDER(SPRACHE_DEUTSCH, NORMALFARBE, HERVORFARBE, VIRTUALDATE, VIRJ1, VIRM1, VIRT1,
                                  VIRWT1);
                    break;
                case '4':
                    zuf::TEXTFARBE(SPRACHE_DEUTSCH, FARBSCHIRM, NORMALFARBE, HERVORFARBE);
                    BEDINGUNGENSPEICHERN();
                    break;
                case '5':
                    match = true;
                    break;
                case '6':
                    if (SPRACHE_DEUTSCH) zqd::KURZANLEITUNGD(NORMALFARBE, HERVORFARBE);
                    else zqe::KURZANLEITUNGE(NORMALFARBE, HERVORFARBE);
                    break;
                case '7':
                    if (SPRACHE_DEUTSCH) zqd::SPIELANLEITUNGD(NORMALFARBE, HERVORFARBE);
                    else zqe::SPIELANLEITUNGE(NORMALFARBE, HERVORFARBE);
                    break;
                case '8':
                    KONFIGURATION();
                    BEDINGUNGENSPEICHERN();
                    break;
                default:  // '9'
                    end = true;
                    break;
            }
        }
        if (match) start_match();
    }

    BEDINGUNGENSPEICHERN();
    NOTEXIT();
}

}  // namespace frame
