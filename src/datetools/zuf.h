// Unit ZUF: calendar rules and date panel, the date and time screen, the
// weekday calendar with the virtual game date, and the colour chooser.
//
// The date tools keep their state in the module-level globals below; the
// panel procedures (datetools/date_panel.h) work on them.
#pragma once

#include <cstdint>

namespace zuf {

void KORRIGIERE_ZEIT(bool in_german, std::uint8_t normal, std::uint8_t highlight);
void KALENDER(bool in_german, std::uint8_t normal, std::uint8_t highlight, bool& virtual_date,
              std::uint16_t& game_year, std::uint16_t& game_month, std::uint16_t& game_day, std::uint16_t& game_weekday);
void TEXTFARBE(bool in_german, bool colour_screen, std::uint8_t& normal, std::uint8_t& highlight);

// ---- records ------------------------------------------------------------------
struct CalendarDate {
    std::uint16_t year = 2000, month = 1, day = 1, weekday = 6;  // weekday 0 = Sunday
    bool leap = true;
};
struct ClockTime {
    std::uint16_t hour = 0, minute = 0, second = 0, hundredth = 0;
};

// ---- state of the date panel ---------------------------------------------------
inline CalendarDate edited_date;       // the date being edited
inline ClockTime edited_time;          // the time being edited (date and time screen)
inline CalendarDate remembered_date;   // the date on entry to a screen, target of F1
inline CalendarDate shown_date;        // what the panel shows now, so that only changes are redrawn
inline ClockTime shown_time;
inline bool german = true;             // language of the panel's texts
inline std::uint8_t panel_normal = 7;  // attributes of the screen in use
inline std::uint8_t panel_emphasis = 15;
inline std::uint8_t last_digit = 0;    // value of the last digit read by LIES_TASTE
inline char last_key = 'e';            // its key code: '0'..'9', 'e', 'o', 'l', 'r', 'u'

}  // namespace zuf
