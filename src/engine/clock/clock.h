// The match clock: date, time of day, the three durations and the search line
// of row 25, all kept current by SCHREIBE_ZEIT, which the waiting loops and the
// long computations call often. Steered through the clock globals of zqspiel.h.
#pragma once

#include "engine/zqspiel.h"

namespace zqspiel {

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
