// The title pages with the keyboard conventions and the main menu.
#include <initializer_list>
#include <string_view>

#include "console/console.h"
#include "engine/zqspiel.h"
#include "frame/frame.h"

namespace frame {

using zqspiel::HERVORFARBE;
using zqspiel::NORMALFARBE;

namespace {

// A line of pieces, every second one emphasised (starting with a normal one);
// ends with a line feed unless told otherwise.
void line(std::initializer_list<std::string_view> pieces, bool feed = true) {
    bool emphasised = false;
    for (std::string_view p : pieces) {
        console::text_attr(emphasised ? HERVORFARBE : NORMALFARBE);
        console::write(p);
        emphasised = !emphasised;
    }
    console::text_attr(NORMALFARBE);
    if (feed) console::write('\n');
}

void heading(std::string_view text) { line({"", text}); }

}  // namespace

void TITELE() {
    heading("                             Operating instructions:");
    line({});
    line({" Zentrovalquist expects an input exclusively with the keyboard. Each consistent"});
    line({" command will be realized immediately without pressing the ", "'CR'", "/", "'Enter'", "-key:"});
    line({});
    line({" - With ", "'Esc'", "/", "'Escape'", " you always can escape from the program, if you do not"});
    line({"   know, what to do."});
    line({" - ", "'Backspace'", "/", "'<--'", "/", "'Ctrl H'", "/", "'Strg H'", " and ", "'PgUp'",
          " show the previous page."});
    line({" - Pressing ", "any other key", " shows the next page of a text."});
    line({" - Use the ", "number- and characterkeys", " for inputs, to select or to change"});
    line({"   something. (If the numbers are not activ, please press the ", "'Num'", "-key or use"});
    line({"   the keys above the characters.)"});
    line({" - ", "'CR'", "/", "'Enter'", " accepts the proposition from the pc or continues the program."});
    line({" - Use ", "'Backspace'", "/", "'<--'", "/", "'Ctrl H'", "/", "'Strg H'", " and while guessing ", "'del'",
          " to correct."});
    line({" - The functionkey ", "'F4'", " terminates soon the guessing of the computer."});
    line({" - Use the ", "cursorkeys '<-'", " and ", "'->'", ", to move the cursor while guessing."});
    line({" - While guessing use ", "' '", " respectively ", "'*'", " for the vacant sign when allowed."});
    line({});
    heading("                               Please choose now:");
    line({});
    line({" 1 - Change the language.        5 - The game starts."});
    line({" 2 - Show/change date/time.      6 - Short instruction of the game.   (1 page)"});
    line({" 3 - Calendar from 0000 to 9999/ 7 - Detailed instruction of the game.(4 pages)"});
    line({"     Virtual date of the game.   8 - Configuration.                   (1 page)"});
    line({" 4 - Lend colour to the game.    9 - End of the game.                         "}, false);
}

void TITELD() {
    heading("                              Bedienungsanleitung:");
    line({});
    line({"  Die Bedienung erfolgt ausschliesslich ueber die Tastatur. Jeder widerspruchs-"});
    line({" freie Befehl wird sofort ohne Bestaetigung durch ", "\"CR\"", "/", "\"Enter\"", " ausgefuehrt:"});
    line({});
    line({" - Mit ", "\"Esc\"", "/", "\"Escape\"", " koennen Sie immer aus dem Programm fluechten, wenn Sie"});
    line({"   einmal nicht mehr weiter wissen."});
    line({" - ", "\"Backspace\"", "/", "\"<--\"", "/", "\"Ctrl H\"", "/", "\"Strg H\"", " und ", "\"PgUp\"",
          " blaettern Texte zurueck."});
    line({" - ", "Jeder andere Tastendruck", " blaettert hingegen vorwaerts."});
    line({" - Die ", "Ziffern- und Buchstabentasten", " dienen der Auswahl, Eingabe und Aenderung."});
    line({"   (Falls der Ziffernblock nicht aktiv ist, bitte die Taste ", "\"Num\"", " druecken oder"});
    line({"   die Tasten oberhalb des Buchstaben-Blockes verwenden.)"});
    line({" - ", "\"CR\"", "/", "\"Enter\"", " uebernimmt einen vorgegebenen Wert und setzt das Programm fort."});
    line({" - ", "\"Backspace\"", "/", "\"<--\"", "/", "\"Ctrl H\"", "/", "\"Strg H\"", " und beim Raten ", "\"del\"",
          " sind zur Korrektur."});
    line({" - Die Funktionstaste ", "\"F4\"", " erzwingt eine ", "baldige ", "Beendigung des Ratevorganges."});
    line({" - Mit den ", "Cursortasten <-", " und ", "->", " koennen Sie sich beim Raten im Code bewegen."});
    line({" - ", "\" \"", " bzw. ", "\"*\"", " stehen fuer das Leerzeichen, falls es beim Raten erlaubt ist."});
    line({});
    heading("                                Bitte waehlen Sie:");
    line({});
    line({" 1 - Sprache aendern.                     5 - Das Spiel beginnt."});
    line({" 2 - Datum/Uhrzeit anzeigen/einstellen.   6 - Kurze Spielanleitung.  (1 Seite)"});
    line({" 3 - Wochentagskalender von 0000 - 9999/  7 - Genaue Spielanleitung. (4 Seiten)"});
    line({"     Virtuelles Spieldatum.               8 - Konfiguration.         (1 Seite)"});
    line({" 4 - Bringen Sie Farbe ins Spiel.         9 - Programm beenden.               "}, false);
}

}  // namespace frame
