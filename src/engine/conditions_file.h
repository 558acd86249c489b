// The conditions file BEDINGUN.DAT beside the program: one 80-byte record.
#pragma once

#include <string>
#include <string_view>

namespace zqspiel {

inline constexpr const char* BEDINGUNGEN_NAME = "BEDINGUN.DAT";

// The directory part of the program path (up to and including its last '/')
// followed by BEDINGUN.DAT; just the name when the path holds no '/'.
std::string bedingungen_pfad(std::string_view programmpfad);

// Binds the file to the path chosen from console::program_path(): beside the
// program, or the user's own file when the program's directory cannot be
// written (waehle_bedingungsdatei).
void binde_bedingungsdatei();
// The path the file is bound to (binds it first if it is not yet bound).
const std::string& bedingungsdatei();

// Reads the first record into X; sets KANN_LESEN. A missing, empty, short or
// unreadable file leaves the defaults (INITIALISIERE) in X. The values are not
// checked here (pruefe_bedingungen, NAMEOK and pruefe_farbpaar do that).
// First removes the temporary files that runs killed during a save left beside
// the file (those whose process is gone).
void lese_bedingungen();

// Writes X (with the user's vacant-sign choice, the memory step and the
// colours in use) as a single 80-byte record. The old file is replaced only
// once the new one is complete; a failed write (also one over the file-size
// limit) is silently ignored. A link is written through to the file it names;
// a file the user may not write, or one without any write bit, is kept.
// Signals are held off meanwhile. Safe to call from a signal handler once the
// file is bound (no allocation).
void BEDINGUNGENSPEICHERN();

}  // namespace zqspiel
