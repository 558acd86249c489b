// Reading and saving the conditions file, one 80-byte record, at the place
// chosen once at start (conditions_path.h: beside the program, or the user's
// own file).
#pragma once

#include <string>

namespace zqspiel {

// read_conditions found a file to read: a regular file, not empty, opened.
inline bool KANN_LESEN = false;

// Binds the file to the path chosen from console::program_path(): beside the
// program, or the user's own file when the program's directory cannot be
// written (choose_conditions_file).
void bind_conditions_file();
// The path the file is bound to (binds it first if it is not yet bound).
const std::string& conditions_file();

// Reads the first record into X; sets KANN_LESEN. A missing, empty, short or
// unreadable file leaves the defaults (INITIALISIERE) in X. The values are not
// checked here (check_conditions, NAMEOK and check_colour_pair do that).
// First removes the temporary files that runs killed during a save left beside
// the file (those whose process is gone).
void read_conditions();

// Writes X (with the user's vacant-sign choice, the memory step and the
// colours in use) as a single 80-byte record. The old file is replaced only
// once the new one is complete; a failed write (also one over the file-size
// limit) is silently ignored. A link is written through to the file it names
// when no one else could have planted it (reading follows the same rule); a
// file the user may not write, or one without any write bit, is kept.
// Signals are held off meanwhile. Safe to call from a signal handler once the
// file is bound (no allocation).
void BEDINGUNGENSPEICHERN();

}  // namespace zqspiel
