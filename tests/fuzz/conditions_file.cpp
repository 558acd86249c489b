// Any content of the conditions file, up to 200 bytes, read at start-up: the
// conditions in force afterwards are always usable, the fields a full record
// holds in range are taken as they stand, and saving them and starting again
// gives the same conditions.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "console/virtual_console.h"
#include "engine/codebreaker/release.h"
#include "engine/setup/conditions.h"
#include "engine/setup/conditions_file.h"
#include "engine/zqspiel.h"
#include "frame/frame.h"
#include "fuzz_check.h"

using namespace zqspiel;

namespace {

bool is_sign(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); }

void write_file(const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(fuzzsupport::conditions_path().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    FUZZ_CHECK(fd >= 0, "cannot create the scratch file");
    FUZZ_CHECK(::write(fd, data, size) == static_cast<ssize_t>(size), "short write of the scratch file");
    ::close(fd);
}

long file_size() {
    struct stat st;
    return ::stat(fuzzsupport::conditions_path().c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

void check_name(const NAMENSFELD& n, const char* which) {
    FUZZ_CHECK(n[0] == ' ' && n[32] == ' ', "%s: guards not blank", which);
    for (int i = 1; i <= 31; ++i) {
        const char c = n[i];
        FUZZ_CHECK((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ' ' || c == '-' || c == '.',
                   "%s: character %d at %d", which, c, i);
    }
}

// Everything the rest of the program relies on once the start-up is done.
void check_in_force() {
    unsigned char raw[sizeof X];
    std::memcpy(raw, &X, sizeof raw);
    for (int i = 8; i <= 13; ++i) FUZZ_CHECK(raw[i] <= 1, "flag byte %d holds %d", i, raw[i]);

    FUZZ_CHECK(X.ZEITSTUFE <= 9, "time step %d", X.ZEITSTUFE);
    FUZZ_CHECK(X.CODELAENGE >= 2 && X.CODELAENGE <= 9, "code length %d", X.CODELAENGE);
    FUZZ_CHECK(X.RESERVE4 >= 1 && X.RESERVE4 <= 8, "reserve %d", X.RESERVE4);
    FUZZ_CHECK(X.SPEICHER >= 1 && X.SPEICHER <= 15, "memory step %d", X.SPEICHER);
    FUZZ_CHECK(SPEICHERSTUFE == X.SPEICHER, "step in use %d", SPEICHERSTUFE);
    FUZZ_CHECK(MEMAVAIL == memavail_of(X.SPEICHER) && MEMAVAIL > 0, "budget %lld", static_cast<long long>(MEMAVAIL));
    FUZZ_CHECK(ZEITLIMIT == X.ZEITSTUFE * 1000 && ZEITLIMIT99 == ZEITLIMIT + 99 &&
                   ZEITLIMIT_DIV_10 == X.ZEITSTUFE * 100,
               "time limits %d %d %d", ZEITLIMIT, ZEITLIMIT99, ZEITLIMIT_DIV_10);

    // the sign set and its tables
    FUZZ_CHECK(is_sign(X.ERSTES_ZEICHEN) && is_sign(X.LETZTES_ZEICHEN) && X.ERSTES_ZEICHEN != X.LETZTES_ZEICHEN,
               "sign set %d..%d", X.ERSTES_ZEICHEN, X.LETZTES_ZEICHEN);
    FUZZ_CHECK(MAXFARBE >= 2 && MAXFARBE <= 36, "MAXFARBE %d", MAXFARBE);
    FUZZ_CHECK(FARBARRAY[0] == '*', "FARBARRAY[0] = %d", FARBARRAY[0]);
    FUZZ_CHECK(FARBARRAY[1] == static_cast<byte>(X.ERSTES_ZEICHEN), "first sign not number 1");
    FUZZ_CHECK(FARBARRAY[MAXFARBE] == static_cast<byte>(X.LETZTES_ZEICHEN), "last sign not number MAXFARBE");
    bool seen[256] = {};
    for (int n = 1; n <= 36; ++n) {
        const byte c = FARBARRAY[n];
        FUZZ_CHECK(is_sign(static_cast<char>(c)) && !seen[c], "FARBARRAY[%d] = %d", n, c);
        seen[c] = true;
        FUZZ_CHECK(NRARRAY[c - '0'] == n, "NRARRAY of %c is %d, not %d", c, NRARRAY[c - '0'], n);
    }
    for (int c = ':'; c <= '`'; ++c) FUZZ_CHECK(NRARRAY[c - '0'] == 255, "NRARRAY of %c", c);
    if (X.CODELAENGE > MAXFARBE) FUZZ_CHECK(X.WIEDERHOLUNG, "code longer than the set without repetition");

    // the capacity check has had its say
    FUZZ_CHECK(!X.PC_RAET || KANN_RATEN, "computer codebreaker where it cannot guess");
    FUZZ_CHECK(X.LOESUNG_FEST || KANN_MOGELN, "not-fixed code where it does not fit");

    check_name(X.NAME1, "NAME1");
    check_name(X.NAME2, "NAME2");

    // colours of the colour screen: 7 bits, foreground differs from background,
    // the emphasis on the normal background
    FUZZ_CHECK(FARBSCHIRM, "the virtual console is a colour screen");
    FUZZ_CHECK(NORMALFARBE < 128 && HERVORFARBE < 128, "blink bit: %d %d", NORMALFARBE, HERVORFARBE);
    FUZZ_CHECK((NORMALFARBE & 0x0F) != (NORMALFARBE >> 4), "normal attribute %d", NORMALFARBE);
    FUZZ_CHECK((HERVORFARBE & 0x0F) != (HERVORFARBE >> 4), "emphasis attribute %d", HERVORFARBE);
    FUZZ_CHECK((HERVORFARBE & 0x70) == (NORMALFARBE & 0x70), "backgrounds %d %d", NORMALFARBE, HERVORFARBE);
}

struct Snapshot {
    unsigned char x[sizeof(BEDINGUNG)];
    byte normal, highlight, step, maxfarbe;
    bool vacant_allowed;
    void take() {
        std::memcpy(x, &X, sizeof x);
        normal = NORMALFARBE;
        highlight = HERVORFARBE;
        step = SPEICHERSTUFE;
        maxfarbe = MAXFARBE;
        vacant_allowed = LEERZ_MERKER;
    }
    bool operator==(const Snapshot& o) const {
        return std::memcmp(x, o.x, sizeof x) == 0 && normal == o.normal && highlight == o.highlight && step == o.step &&
               maxfarbe == o.maxfarbe && vacant_allowed == o.vacant_allowed;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 200) size = 200;
    console::ScopedVirtualConsole s;
    s.vc.program_path = fuzzsupport::program_path();
    write_file(data, size);

    frame::ANFANGEN();
    FUZZ_CHECK(KANN_LESEN == (size > 0), "KANN_LESEN %d for %zu bytes", KANN_LESEN, size);
    check_in_force();

    if (size >= sizeof(BEDINGUNG)) {
        // fields of a full record that were in range are taken as read
        if (data[2] <= 9) FUZZ_CHECK(X.ZEITSTUFE == data[2], "time step not taken");
        if (data[3] >= 2 && data[3] <= 9) FUZZ_CHECK(X.CODELAENGE == data[3], "code length not taken");
        if (data[4] >= 1 && data[4] <= 8) FUZZ_CHECK(X.RESERVE4 == data[4], "reserve not taken");
        if (data[5] >= 1 && data[5] <= 15) FUZZ_CHECK(X.SPEICHER == data[5], "memory step not taken");
        FUZZ_CHECK(X.TON == (data[8] != 0), "sound flag not taken");
        FUZZ_CHECK(X.PC_LOESUNG == (data[11] != 0), "encoder flag not taken");
        const char first = static_cast<char>(data[6]), last = static_cast<char>(data[7]);
        if (is_sign(first) && is_sign(last) && first != last)
            FUZZ_CHECK(X.ERSTES_ZEICHEN == first && X.LETZTES_ZEICHEN == last, "sign set not taken");
    } else {
        // anything shorter than a record leaves the defaults
        const BEDINGUNG kept = X;
        INITIALISIERE();
        FUZZ_CHECK(std::memcmp(&kept.ZEITSTUFE, &X.ZEITSTUFE, 14 + 66 - 2) == 0, "defaults not in force");
        X = kept;
    }

    // Saving what is in force and starting again must give the same.
    BEDINGUNGENSPEICHERN();
    Snapshot before;  // saving writes the colours and the step in use back into X
    before.take();
    FUZZ_CHECK(file_size() == static_cast<long>(sizeof(BEDINGUNG)), "saved file has %ld bytes", file_size());
    frame::ANFANGEN();
    check_in_force();
    Snapshot after;
    after.take();
    FUZZ_CHECK(before == after, "saved conditions come back changed");

    LISTEN_FREIGEBEN(true);
    return 0;
}
