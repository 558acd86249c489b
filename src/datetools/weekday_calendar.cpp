// The weekday calendar for the years 0000..9999; the date left on it becomes
// the virtual game date shown on the board.
#include "console/console.h"
#include "datetools/calendar.h"
#include "datetools/date_editor.h"
#include "datetools/date_panel.h"
#include "datetools/weekday_calendar.h"

namespace zuf {

namespace {
void draw_calendar_texts() {
    console::text_attr(panel_emphasis);
    if (german) {
        console::write_at(1, 1, "Bitte stellen Sie Ihr virtuelles Spieldatum ein:");
        console::text_attr(panel_normal);
        console::write_at(1, 3, "Gehen Sie dazu mit den Cursor-tasten (\"Pfeile\" nach rechts, links, oben und");
        console::write_at(1, 4, "unten) auf die Position, die Sie aendern wollen.");
        console::write_at(1, 5, "Ueberschreiben Sie dann einfach die falschen Ziffern mit den richtigen.");
        console::write_at(1, 6, "Haben Sie das Datum korrigiert, so druecken Sie \"CR\"/\"ENTER\".");
        write_pieces(8, {"", "Beachten Sie dabei bitte folgendes:"});
        write_pieces(9, {"Den ", "Wochentag", " koennen Sie nicht aendern, er ergibt sich aus dem Datum."});
        write_pieces(10, {"Zusaetzliche wird angezeigt, ob das aktuelle Jahr ein ", "Schaltjahr", " ist."});
        write_pieces(11, {"Jede Eingabe bewirkt eine ", "sofortige Aenderung des virtuellen Spieldatums", "."});
        console::write_at(1, 12, "Es werden nur Aenderungen zugelassen,die auch zu gueltigen Ergebnissen fuehren.");
        write_pieces(14, {"Sie koennen diesen Programmteil auch als ", "Wochentagskalender von 0000 bis 9999"});
        write_pieces(15, {"verwenden. Ein Tastendruck auf ", "\"F1\"", " setzt dann das angezeigte virtuelle"});
        console::write_at(1, 16, "Spieldatum auf das urspruengliche reale Datum zurueck.");
        console::write_at(1, 23, "   Auf Donnerstag, den 4. Oktober 1582 folgt Freitag, der 15. Oktober 1582.");
        console::write_at(1, 24, "   Zu dieser Zeit wurde der damals gueltige Julianische Kalender auf den");
        console::write_at(1, 25, "   heute gueltigen Gregorianischen Kalender umgestellt.");
    } else {
        console::write_at(1, 1, "Please set the right virtual date of the game:");
        console::text_attr(panel_normal);
        console::write_at(1, 3, "Please move the cursor with the cursor-keys ('arrows' to the left, to the");
        console::write_at(1, 4, "right, upwards and downwards) to the position, you want to change.");
        console::write_at(1, 5, "Now you can correct the wrong digits by pressing the right digits.");
        console::write_at(1, 6, "If the virtual date is o.k., please press 'CR'/'ENTER'.");
        write_pieces(8, {"", "Please note the following:"});
        write_pieces(9, {"You cannot change the ", "day of the week", ", because it results from the date."});
        write_pieces(10, {"Besides you get the information, whether the displayed year is a ", "leap-year", "."});
        write_pieces(11, {"To press a key effects an ", "immediate change of the virtual date of the game", "."});
        console::write_at(1, 12, "There are only changes allowed, which have a correct result.");
        write_pieces(14, {"You can use this part of the program as well as ", "calendar from 0000 to 9999", "."});
        console::write_at(1, 15, "It is possible to reset the virtual date that you can see on the screen with");
        write_pieces(16, {"the initial real date rememberd by the computer by pressing the ", "'F1'", "-key."});
        console::write_at(1, 23, "    Thursday, 4th October 1582 is followed by Friday, 15th October 1582.");
        console::write_at(1, 24, "    At this time the Gregorian Calendar replaced the Julian Calendar.");
    }
    console::text_attr(panel_normal);
}
}  // namespace

void UEBERGIB_DATUM(bool& virtual_date, std::uint16_t& game_year, std::uint16_t& game_month, std::uint16_t& game_day,
                    std::uint16_t& game_weekday) {
    const CalendarDate& e = edited_date;
    const CalendarDate& r = remembered_date;
    const bool today = e.year == r.year && e.month == r.month && e.day == r.day;
    const CalendarDate& out = today ? r : e;
    game_year = out.year;
    game_month = out.month;
    game_day = out.day;
    game_weekday = today ? r.weekday : weekday(e.year, e.month, e.day);
    virtual_date = !today;
}

void KALENDER(bool in_german, std::uint8_t normal, std::uint8_t highlight, bool& virtual_date, std::uint16_t& game_year,
              std::uint16_t& game_month, std::uint16_t& game_day, std::uint16_t& game_weekday) {
    german = in_german;
    panel_normal = normal;
    panel_emphasis = highlight;
    const console::Date today = console::get_date();
    edited_date.year = today.year;
    edited_date.month = today.month;
    edited_date.day = today.day;
    edited_date.weekday = today.weekday;
    edited_date.leap = is_gregorian_leap_year(today.year);
    remembered_date = edited_date;
    UEBERGIB_DATUM(virtual_date, game_year, game_month, game_day, game_weekday);

    console::text_attr(normal);
    console::clr_scr();
    draw_calendar_texts();
    draw_date_labels("0000 - 9999");

    Field field = Field::year_thousands;
    for (;;) {
        std::uint8_t lo, hi, digit = 0;
        char key = 'e';
        digit_range(field, lo, hi);
        console::goto_xy(field_col(field), field_row(field));
        LIES_TASTE(false, lo, hi, digit, key);
        if (key == 'e') break;
        if (key >= '0' && key <= '9') {
            apply_digit(field, digit);
            PRUEFE_DATUM(false);
            field = move_field(field, 'r', false);
        } else {
            field = move_field(field, key, false);
        }
        ZEIGE_DATUM(false);
        UEBERGIB_DATUM(virtual_date, game_year, game_month, game_day, game_weekday);
    }
    // F1 is handled inside the key reader: hand out what the panel shows now.
    UEBERGIB_DATUM(virtual_date, game_year, game_month, game_day, game_weekday);
    console::text_attr(normal);
}

}  // namespace zuf
