// Shared set-up of the tests of the conditions screen, the name editor, the
// code entry and the match: fresh default conditions on a virtual console,
// with the conditions file kept in a scratch directory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "console/virtual_console.h"
#include "engine/codebreaker/release.h"
#include "engine/play/match.h"
#include "engine/setup/conditions.h"
#include "engine/setup/conditions_file.h"
#include "engine/setup/conditions_screen.h"
#include "engine/zqspiel.h"

namespace zqtest {

using namespace zqspiel;

// Default conditions in German (or English), the memory step 10, a quiet clock.
inline void fresh_conditions(console::VirtualConsole& vc, bool german = true) {
    // one scratch directory per test program, removed when it ends
    struct Scratch {
        std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("zq_match_tests_" + std::to_string(getpid()));
        Scratch() { std::filesystem::create_directories(dir); }
        ~Scratch() {
            std::error_code ec;
            std::filesystem::remove_all(dir, ec);
        }
    };
    static const Scratch scratch;
    const std::filesystem::path& dir = scratch.dir;
    vc.program_path = (dir / "zentrovalquist").string();
    bind_conditions_file();
    INITIALISIERE();
    check_conditions();
    set_zeitlimit();
    SPEICHERSTUFE = 10;
    set_memavail(10);
    LISTEN_FREIGEBEN(true);
    SP_D = german;
    NORMALFARBE = 31;
    HERVORFARBE = 30;
    LEERZ_MERKER = X.LEERZEICHEN_ERLAUBT;
    NAMEN_UEBERSPRINGEN = true;
    ZEITEIN = false;
    RATENDRAN = false;
    NUMMER = 0;
    L = 0;
    A = 0;
    ZURUECK = false;
    WEITER = false;
    LOESUNG.blank();
    V30 = VFELD{};
    KORRIGIERE(MAXFARBE, X.CODELAENGE, X.WIEDERHOLUNG, X.LEERZEICHEN_ERLAUBT, false, false);
}

inline void set_name(NAMENSFELD& n, const std::string& s) {
    n.fill(' ');
    for (std::size_t i = 0; i < s.size() && i < 31; ++i) n[i + 1] = s[i];
}

inline std::string name_of(const NAMENSFELD& n) {
    std::string s(&n[1], 31);
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

inline std::string code_of(const CODE& c, int n) { return std::string(c.s, static_cast<std::size_t>(n)); }

inline std::string row(int r) { return console::screen().row_text(r); }
inline std::string at(int col, int r, int len) { return console::screen().text(col, r, len); }

}  // namespace zqtest
