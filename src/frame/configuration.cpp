// The configuration page of the main menu: advice on setting up the terminal,
// then the choice of the memory step that bounds the computer players.
#include <string>
#include <string_view>

#include "console/console.h"
#include "console/keys.h"
#include "engine/zqspiel.h"
#include "frame/frame.h"

namespace frame {

namespace key = console::key;

namespace {

bool valid_step(int step) { return step >= 1 && step <= 15; }

int step_col(int step) { return step <= 8 ? 3 : 39; }
int step_row(int step) { return step <= 8 ? 16 + step : 8 + step; }

// One entry, e.g. "1 ( ):   1 MiB" or, marked, "g (*): 256 GiB"; cursor left on its first character.
void write_step(int step, bool marked) {
    if (!valid_step(step)) return;
    const char key = step <= 8 ? static_cast<char>('0' + step) : static_cast<char>('a' + step - 9);
    std::string entry(1, key);
    entry += marked ? " (*): " : " ( ): ";
    entry += zqspiel::MEMORY_TEXT[step];
    console::text_attr(marked ? zqspiel::HERVORFARBE : zqspiel::NORMALFARBE);
    console::write_at(step_col(step), step_row(step), entry);
    console::text_attr(zqspiel::NORMALFARBE);
    console::goto_xy(step_col(step), step_row(step));
}

void draw_page() {
    const bool de = SPRACHE_DEUTSCH;
    console::text_attr(zqspiel::NORMALFARBE);
    console::clr_scr();
    console::text_attr(zqspiel::HERVORFARBE);
    console::write_at(1, 2, de ? "                            ***  Konfiguration  ***"
                               : "                            ***  Configuration  ***");
    console::text_attr(zqspiel::NORMALFARBE);
    static constexpr std::string_view ADVICE_DE[6] = {
        "Nach dem Start des Terminals waehlen Sie bitte \"Terminal\" -> \"Einstellungen ..\"",
        "-> \"Codierung\" und aktivieren \"Westeuropaeisch (DOS Latin 1)\",",
        "konfigurieren dann bitte unter -> \"Allgemein\" ihr Standardprofil,",
        "unter     -> \"Profile\" -> \"Text\" -> \"Schrift\" die gewuenschte Schriftgroesse",
        "und unter -> \"Profile\" -> \"Erweitert\" -> \"International\" -> \"Textcodierung\"",
        "\"Westeuropaeisch (DOS Latin 1)\" fuer Ihr Profil.",
    };
    static constexpr std::string_view ADVICE_EN[6] = {
        "  After starting the terminal please choose 'Terminal' -> 'Preferences ...'",
        "  -> 'Encodings' and enable 'Western (DOS Latin 1)',",
        "  configure than -> 'General' your Default Profile,",
        "      -> 'Profile' -> 'Text' -> 'Font' an appropriate Size",
        "  and -> 'Profile' -> 'Advanced' -> 'International' -> 'Text encoding'",
        "  'Western (DOS Latin 1)' for your profile.",
    };
    for (int i = 0; i < 6; ++i) console::write_at(1, 4 + i, de ? ADVICE_DE[i] : ADVICE_EN[i]);
    console::write_at(1, 11, " " + std::string(78, '_'));
    if (de) {
        console::write_at(1, 13, "Geben Sie unten ein,wieviel Speicherplatz dem Spiel zur Verfuegung stehen soll.");
        console::write_at(1, 14, "Mit dem Speicherplatz begrenzen Sie gleichzeitig die Zeit, die der Computer zum");
        console::write_at(1, 15, "Raten benoetigt. Bestaetigen Sie anschliessend die Auswahl mit \"CR\"/\"Enter\".");
    } else {
        console::write_at(1, 13, "  Please choose now, how much memory (RAM) the game should be able to use.");
        console::write_at(1, 14, "  The memory limits also the time, that the computer needs to guess.");
        console::write_at(1, 15, "  Please confirm your choice by pressing the 'CR'/'Enter'-key.");
    }
    for (int step = 1; step <= 15; ++step) write_step(step, false);
    console::write_at(25, 17, de ? "64-Bit:" : "64-bit:");
}

// The step a key leads to from `step`; `step` itself when the key is not offered.
int step_after(int step, unsigned char code, bool extended) {
    const int from = valid_step(step) ? step : 1;
    if (!extended) {
        if (code >= '1' && code <= '8') return code - '0';
        if (code >= 'a' && code <= 'g') return code - 'a' + 9;
        if (code >= 'A' && code <= 'G') return code - 'A' + 9;
        return step;
    }
    if (key::is_up(code)) {  // within the column
        if (from == 1) return 8;
        if (from == 9) return 15;
        return from - 1;
    }
    if (key::is_down(code)) {  // within the column
        if (from == 8) return 1;
        if (from == 15) return 9;
        return from + 1;
    }
    if (key::is_left(code) || key::is_right(code)) {  // the other column
        if (from == 8) return 15;
        return from <= 7 ? from + 8 : from - 8;
    }
    return step;
}

}  // namespace

void KONFIGURATION() {
    draw_page();
    int marked = zqspiel::SPEICHERSTUFE;
    write_step(marked, true);
    for (;;) {
        const unsigned char k = console::read_key();
        if (k == key::ENTER || key::breaks_off(k)) break;
        const bool extended = k == key::EXTENDED;
        const unsigned char code = extended ? console::read_key() : k;
        const int step = step_after(zqspiel::SPEICHERSTUFE, code, extended);
        zqspiel::SPEICHERSTUFE = static_cast<zqspiel::byte>(step);
        if (step != marked) {
            write_step(marked, false);
            write_step(step, true);
            marked = step;
        }
    }
    console::text_attr(zqspiel::NORMALFARBE);
}

}  // namespace frame
