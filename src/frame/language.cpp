// The language screen, shown at start and from the main menu.
#include "console/console.h"
#include "console/keys.h"
#include "engine/clock/clock.h"
#include "engine/zqspiel.h"
#include "frame/frame.h"
#include "frame/texts.h"

namespace frame {

using zqspiel::HERVORFARBE;
using zqspiel::NORMALFARBE;

void WAEHLE_SPRACHE() {
    console::text_attr(NORMALFARBE);
    console::clr_scr();
    console::text_attr(HERVORFARBE);
    console::write(" ********  Zentrovalquist  ***  ");
    console::write(VERSION_PLATFORM);
    console::write(VERSION_BITS);
    console::write("-Bit - Version  ");
    console::write(VERSION_DATE);
    console::write_ln(".  ********");
    console::write_ln();
    console::text_attr(NORMALFARBE);
    console::write_ln(TOOL_LINE);
    console::write_ln();
    for (const char* line : ABOUT_THE_PROGRAM) console::write_ln(line);
    console::write_ln();

    console::text_attr(HERVORFARBE);
    console::write_ln(" Deutsch:");
    console::text_attr(NORMALFARBE);
    console::write_ln(" Wollen Sie \"Deutsch\" als Sprache waehlen, So druecken Sie bitte \"d\" oder \"D\".");
    console::write_ln(" Wollen Sie das Programm beenden, So druecken Sie bitte \"Esc\"/\"Escape\".");
    console::write_ln();
    console::text_attr(HERVORFARBE);
    console::write_ln(" English:");
    console::text_attr(NORMALFARBE);
    console::write_ln(" To choose 'English' as language, please press 'e' or 'E'.");
    console::write(" To leave the program, please press 'Esc'/'Escape'.");

    unsigned char key;
    for (;;) {
        key = zqspiel::wait_for_key();
        if (key == console::key::EXTENDED) {
            console::read_key();  // the scan code
            continue;
        }
        if (key == console::key::CTRL_C) key = console::key::ESC;
        if (key == 'D') key = 'd';
        if (key == 'E') key = 'e';
        if (key == 'd' || key == 'e' || key == console::key::ESC) break;
    }
    SPRACHE_DEUTSCH = key != 'e';
    KEY = key;
}

}  // namespace frame
