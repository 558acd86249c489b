// The match clock: date, time of day, the three durations and the search line
// of row 25, all kept current by SCHREIBE_ZEIT, which the waiting loops and the
// long computations call often. Steered through the clock globals of zqspiel.h
// (those the rest of the program reads or sets too) and the clock's own below.
#pragma once

#include <cstdint>

#include "engine/zqspiel.h"

namespace zqspiel {

// ---- the clock's own state ----------------------------------------------------
// Stamps are hundredths of a second since midnight (one day = 8640000); a
// negative difference of two stamps has one day added.
inline std::uint16_t STD_MOD24 = 0;                         // hour of day as shown
inline std::uint16_t STD_ALT = 0, MIN_ALT = 0, SEK_ALT = 0, TAG_ALT = 0;  // at the last redraw
inline std::int32_t ANFANGSZEIT = 0;   // match start, whole seconds
inline std::int32_t AKTUELLEZEIT = 0;  // current reading, whole seconds
inline bool RATENDRAN_ALT = false;     // RATENDRAN at the last call
inline std::int32_t MERKE_RATE_ZEIT = 0;  // start of the running guessing period
inline std::int32_t HILFSZEIT = 0;        // guessing time of the finished periods
inline std::int32_t RATE_ZEIT = 0;        // guessing time including the running period
// Durations shown (hours, minutes, seconds) and their values at the last redraw.
inline std::uint16_t STD_SPIEL = 0, MIN_SPIEL = 0, SEK_SPIEL = 0;
inline std::uint16_t STD_ALT_SPIEL = 0, MIN_ALT_SPIEL = 0, SEK_ALT_SPIEL = 0;
inline std::uint16_t STD_RATEN = 0, MIN_RATEN = 0, SEK_RATEN = 0;
inline std::uint16_t STD_ALT_RATEN = 0, MIN_ALT_RATEN = 0, SEK_ALT_RATEN = 0;
inline std::uint16_t STD_ANTW = 0, MIN_ANTW = 0, SEK_ANTW = 0;
inline std::uint16_t STD_ALT_ANTW = 0, MIN_ALT_ANTW = 0, SEK_ALT_ANTW = 0;
// A duration is updated while it is below 100 hours; then it stays at 99.59.59.
inline bool STD_SPIEL_KL100 = true, STD_RATEN_KL100 = true, STD_ANTW_KL100 = true;
// The search line of row 25 (see RESTZEIT and the search's requests in zqspiel.h).
inline std::int32_t MERKE_RATE_ZEIT_AKT = 0;      // start of the current search
inline std::int32_t MERKEZEITLETZTERVERSUCH = 0;  // when its last trial finished
inline std::int32_t RESTZEIT2 = 0;                // estimated remaining hundredths for the NUMMER_PLUS trials
inline std::uint16_t STD_GERATEN = 0, MIN_GERATEN = 0, SEK_GERATEN = 0;
inline std::uint16_t STD_GERATEN_ALT = 0, MIN_GERATEN_ALT = 0, SEK_GERATEN_ALT = 0;
inline std::uint16_t STD_REST = 0, MIN_REST = 0, SEK_REST = 0;
inline std::uint16_t STD_REST_ALT = 0, MIN_REST_ALT = 0, SEK_REST_ALT = 0;

// Redraws what changed since the last call; a call within the same second
// costs one clock reading. Saves and restores the cursor and the attribute.
// Does nothing else while ZEITEIN is false.
void SCHREIBE_ZEIT();

// When a waiting loop redraws the clock: only while no key is there yet, or
// also once before the first look, so that a key typed ahead finds the clock
// current.
enum class Redraw { while_empty, before_every_look };

// Waits for a key while the clock runs on, and reads it. An extended key
// comes as 0 with its scan code left unread.
unsigned char wait_for_key(Redraw redraw = Redraw::while_empty);

// Match preparation, once the conditions are accepted: no stars, all four
// durations live again, no search requests, search line off.
void set_clock_for_match();

// Writes the match-start date and time (JAHR, MONAT, TAG, WOTAG, STD, MIN, SEK)
// into rows 17..18 and the same as the current date and time into rows 19..20.
// Restores the cursor.
void write_match_start();

// Match start, after the board is drawn: all durations 0, date and time read
// (the virtual date in place of today's when on), the start stamps taken, the
// start date and time written into the board (rows 17..20), and the clock set
// running (ZEITEIN). RATENDRAN follows X.PC_RAET.
void start_match_clock();

// A computer search begins: stars, trial counter and the shown elapsed and
// remaining times back to 0, the start and trial stamps requested at the next
// call, the search line live when real_search.
void begin_search_display(bool real_search);

// The search is over: the line stops and its fields are reset on screen to
// "00.00.00", dots and "00.00.00" (from column 35 of row 25, by SP_D).
// Restores the cursor.
void end_search_display();

}  // namespace zqspiel
