// Any key stream through the whole program on the virtual console: no crash,
// no sanitizer report, no cursor placed outside the 80 x 25 cells, nothing but
// printable characters on the screen, and a normal end gives the terminal back.
//
// The first input byte sets the conditions file of the run, the rest are keys.
// Runs are kept short: the memory step of the conditions file is the smallest,
// the machine offers the computer players a single chunk of memory, and a
// screen left waiting for a key ends the run after a fake half second.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/virtual_console.h"
#include "engine/arena.h"
#include "engine/codebreaker/codebreaker.h"
#include "engine/codebreaker/release.h"
#include "engine/codebreaker/shuffle_table.h"
#include "engine/setup/conditions.h"
#include "engine/zqspiel.h"
#include "frame/frame.h"
#include "fuzz_check.h"

using namespace zqspiel;

namespace {

// The conditions file of a run: the defaults with the smallest memory step,
// the roles, flags and code length from the first input byte (bit 0: the
// computer cracks the code, 1: the code is not fixed, 2: a person devises the
// riddle, 3: repetition, 4: the vacant sign, 5..7: the code length).
void write_start_conditions(std::uint8_t b) {
    static constexpr byte LENGTHS[8] = {4, 2, 3, 5, 6, 7, 8, 9};
    INITIALISIERE();
    X.SPEICHER = 1;
    X.PC_RAET = b & 1;
    X.LOESUNG_FEST = !(b & 2);
    X.PC_LOESUNG = !(b & 4);
    X.WIEDERHOLUNG = b & 8;
    X.LEERZEICHEN_ERLAUBT = b & 16;
    X.CODELAENGE = LENGTHS[b >> 5];
    unsigned char rec[sizeof(BEDINGUNG)];
    std::memcpy(rec, &X, sizeof rec);
    const int fd = ::open(fuzzsupport::conditions_path().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    FUZZ_CHECK(fd >= 0, "cannot create the scratch file");
    FUZZ_CHECK(::write(fd, rec, sizeof rec) == static_cast<ssize_t>(sizeof rec), "short write");
    ::close(fd);
}

// The keys the screens act on, so that most bytes lead somewhere; Esc and
// Ctrl-C, which leave most screens, and the menu's 9 (exit) come only as raw
// keys.
struct Key {
    unsigned char ext, code;  // ext: an extended key 0 + code
};
constexpr Key KEYS[] = {
    {0, '1'}, {0, '2'}, {0, '3'}, {0, '4'}, {0, '5'}, {0, '6'}, {0, '7'}, {0, '8'}, {0, '5'}, {0, '0'},
    {0, 13},  {0, 13},  {0, 13},  {0, 8},   {0, 9},   {0, ' '}, {0, 'j'}, {0, 'n'}, {0, 'y'}, {0, 'J'},
    {0, 'N'}, {0, 'd'}, {0, 'e'}, {0, 'x'}, {0, '-'}, {0, '.'}, {1, 59},  {1, 60},  {1, 62},  {1, 64},
    {1, 68},  {1, 72},  {1, 80},  {1, 75},  {1, 77},  {1, 71},  {1, 79},  {1, 73},  {1, 81},  {1, 82},
    {1, 83},  {1, 15},
};
constexpr std::size_t NKEYS = sizeof KEYS / sizeof KEYS[0];

// A byte below 0xC0 is a key of the table; 0xC0..0xFE is followed by a raw
// key byte; 0xFF is followed by a pause of that many tenths of a second.
void script_keys(console::VirtualConsole& vc, const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = data[i];
        if (b < 0xC0) {
            const Key k = KEYS[b % NKEYS];
            if (k.ext) vc.ext(k.code);
            else vc.key(k.code);
        } else if (i + 1 < size) {
            const std::uint8_t next = data[++i];
            if (b == 0xFF) vc.wait(next * 100);
            else vc.key(next);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // the screen check below means something only while the screen counts
    static const bool counted = [] {
        console::Screen sc;
        sc.goto_xy(81, 1);
        sc.goto_xy(1, 0);
        sc.goto_xy(80, 25);
        return sc.outside_attempts == 2 && sc.where_x() == 80 && sc.where_y() == 25;
    }();
    FUZZ_CHECK(counted, "the screen does not count places outside it");

    if (size > 4096) size = 4096;
    if (size == 0) return 0;
    write_start_conditions(data[0]);

    std::uint64_t seed = 1469598103934665603ULL;  // the game's random draws follow the input
    for (std::size_t i = 0; i < size && i < 16; ++i) seed = (seed ^ data[i]) * 1099511628211ULL;
    console::ScopedVirtualConsole s(seed);
    s.vc.program_path = fuzzsupport::program_path();
    s.vc.idle_limit_ms = 500;
    s.vc.memory = {console::MACHINE_RESERVE + Arena::CHUNK, 4ULL << 30};  // 64 MiB to spare
    script_keys(s.vc, data + 1, size - 1);
    fuzzsupport::context = "input [" + fuzzsupport::escaped(data, size) + "]";

    bool ended = false;
    try {
        frame::ZENTROVALQUIST();
        ended = true;
    } catch (const console::ScriptEnd&) {
        // the keys ran out on some screen: the state so far is what counts
    }

    if (std::getenv("ZQ_FUZZ_TRACE"))
        std::fprintf(stderr, "%zu input bytes, %zu keys left, ended %d, fake ms %lld\n", size, s.vc.pending(), ended,
                     static_cast<long long>(s.vc.now_ms()));
    const console::Screen& sc = s.vc.screen;
    FUZZ_CHECK(sc.outside_attempts == 0, "%llu attempts to write outside the screen",
               static_cast<unsigned long long>(sc.outside_attempts));
    for (int r = 1; r <= console::ROWS; ++r)
        for (int c = 1; c <= console::COLS; ++c) {
            const unsigned char ch = static_cast<unsigned char>(sc.at(c, r).ch);
            FUZZ_CHECK(ch >= 32 && ch < 127, "character %u at (%d, %d): row [%s]", ch, c, r,
                       fuzzsupport::escaped(sc.row_text(r).data(), console::COLS).c_str());
        }
    if (ended) FUZZ_CHECK(s.vc.restored, "the program ended without giving the terminal back");

    // What a run broken off by the script leaves behind goes back, as at exit.
    ZEITEIN = false;
    LISTEN_FREIGEBEN(true);
    INITFELD();
    return 0;
}
