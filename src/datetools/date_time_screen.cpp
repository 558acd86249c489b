// The date and time screen: shows the system clock running and sets it digit
// by digit. Every accepted digit goes to the system clock at once; when the
// system refuses, the panel simply goes on showing the real clock.
#include "console/console.h"
#include "datetools/calendar.h"
#include "datetools/date_editor.h"
#include "datetools/date_panel.h"

namespace zuf {

namespace {
void draw_clock_texts() {
    console::text_attr(panel_emphasis);
    if (german) {
        console::write_at(1, 1, "Bitte stellen Sie Datum und Uhrzeit ein (benoetigt Administrationsrechte):");
        console::text_attr(panel_normal);
        console::write_at(1, 3, "Gehen Sie dazu mit den Cursor-tasten (\"Pfeile\" nach rechts, links, oben und");
        console::write_at(1, 4, "unten) auf die Position, die Sie aendern wollen.");
        console::write_at(1, 5, "Ueberschreiben Sie dann einfach die falschen Ziffern mit den richtigen.");
        console::write_at(1, 6, "Haben Sie das Datum und die Uhrzeit korrigiert, so druecken Sie \"CR\"/\"ENTER\".");
        write_pieces(8, {"", "Beachten Sie dabei bitte folgendes:"});
        write_pieces(9, {"Den ", "Wochentag", " koennen Sie nicht aendern, er ergibt sich aus dem Datum."});
        write_pieces(10, {"Zusaetzliche wird angezeigt, ob das aktuelle Jahr ein ", "Schaltjahr", " ist."});
        write_pieces(11, {"Jede Eingabe bewirkt eine ", "sofortige Aenderung von Datum, bzw. Uhrzeit", "."});
        console::write_at(1, 12, "Es werden nur Aenderungen zugelassen,die auch zu gueltigen Ergebnissen fuehren.");
        write_pieces(14, {"Sie koennen diesen Programmteil auch als ", "Wochentagskalender ab 1980", " verwenden."});
        write_pieces(15, {"Ein Tastendruck auf ", "\"F1\"", " setzt dann das angezeigte gueltige Datum auf das"});
        console::write_at(1, 16, "urspruengliche Datum zurueck, das sich der Computer gemerkt hat.");
    } else {
        console::write_at(1, 1, "Please set the right date and time (administration rights are required):");
        console::text_attr(panel_normal);
        console::write_at(1, 3, "Please move the cursor with the cursor-keys ('arrows' to the left, to the");
        console::write_at(1, 4, "right, upwards and downwards) to the position, you want to change.");
        console::write_at(1, 5, "Now you can correct the wrong digits by pressing the right digits.");
        console::write_at(1, 6, "If date and time are o.k., please press 'CR'/'ENTER'.");
        write_pieces(8, {"", "Please note the following:"});
        write_pieces(9, {"You cannot change the ", "day of the week", ", because it results from the date."});
        write_pieces(10, {"Besides you get the information, whether the displayed year is a ", "leap-year", "."});
        write_pieces(11, {"To press a key effects an ", "immediate change of the date respectively the time", "."});
        console::write_at(1, 12, "There are only changes allowed, which have a correct result.");
        write_pieces(14, {"You can use this part of the program as well as ", "calendar (from 1980)", "."});
        console::write_at(1, 15, "It is possible to reset the valid date that you can see on the screen with");
        write_pieces(16, {"the initial date rememberd by the computer by pressing the ", "'F1'", "-key."});
    }
    console::text_attr(panel_normal);
}
}  // namespace

void KORRIGIERE_ZEIT(bool in_german, std::uint8_t normal, std::uint8_t highlight) {
    german = in_german;
    panel_normal = normal;
    panel_emphasis = highlight;
    const console::Date today = console::get_date();
    const console::Time now = console::get_time();
    edited_date.year = today.year;
    edited_date.month = today.month;
    edited_date.day = today.day;
    edited_date.weekday = today.weekday;
    edited_date.leap = is_gregorian_leap_year(today.year);
    remembered_date = edited_date;
    edited_time.hour = static_cast<std::uint16_t>(now.hour % 24);
    edited_time.minute = now.minute;
    edited_time.second = now.second;
    edited_time.hundredth = now.hundredth;

    console::text_attr(normal);
    console::clr_scr();
    draw_clock_texts();
    draw_date_labels("1980 - ????");
    draw_time_labels();

    Field field = Field::year_thousands;
    for (;;) {
        std::uint8_t lo, hi, digit = 0;
        char key = 'e';
        digit_range(field, lo, hi);
        console::goto_xy(field_col(field), field_row(field));
        LIES_TASTE(true, lo, hi, digit, key);
        if (key == 'e') break;
        if (key >= '0' && key <= '9') {
            apply_digit(field, digit);
            if (is_time_field(field))
                PRUEFE_ZEIT();
            else
                PRUEFE_DATUM(true);
            field = move_field(field, 'r', true);
        } else {
            field = move_field(field, key, true);
        }
    }
    console::text_attr(normal);
}

}  // namespace zuf
