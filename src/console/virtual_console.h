// A console without a terminal, for tests: the 80 x 25 shadow screen, a key
// script, a fake clock and a record of tones.
//
// The fake clock moves on deterministically: every key test and every key read
// advances it by `tick_ms`, every delay by its length. A script entry made by
// `wait` holds the keys behind it back until the clock has moved on by that
// many milliseconds, so a test can let the game's clock run. When the script
// has run out, `read_key` throws `ScriptEnd`; so does `key_pressed` once the
// clock has idled for `idle_limit_ms` with an empty script (a screen waiting
// for a key that will never come).
#pragma once

#include <cstdint>
#include <deque>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"

namespace console {

struct ScriptEnd : std::runtime_error {
    ScriptEnd() : std::runtime_error("key script ran out") {}
};

struct Tone {
    unsigned hz;
    std::int64_t start_ms;  // fake clock
    std::int64_t end_ms;    // -1 while sounding
};

class VirtualConsole : public Console {
public:
    explicit VirtualConsole(std::uint64_t seed = 1);
    ~VirtualConsole() override;

    // ---- script -----------------------------------------------------------
    VirtualConsole& keys(std::string_view s);        // ordinary characters, byte by byte
    VirtualConsole& key(unsigned char c);            // one ordinary key (e.g. 27, 13, 8, 3)
    VirtualConsole& ext(unsigned char scan);         // an extended key: 0, then the scan code
    VirtualConsole& wait(std::int64_t ms);           // no key until the clock moved on by ms
    std::size_t pending() const { return script_.size(); }

    std::int64_t tick_ms = 10;
    std::int64_t idle_limit_ms = 3600LL * 1000;

    // ---- fake clock -------------------------------------------------------
    void set_clock(int year, int month, int day, int hour, int minute, int second, int hundredth = 0);
    std::int64_t now_ms() const { return ms_; }  // since the clock's epoch day began
    void advance(std::int64_t ms);
    bool refuse_clock_setting = false;
    int clock_settings = 0;  // accepted set_date / set_time calls

    // ---- records ----------------------------------------------------------
    std::vector<Tone> tones;
    int flushes = 0;
    int key_tests = 0;
    // A machine of 32 GiB with 16 GiB available, no cgroup and no rlimits.
    MemoryReadings memory{16ULL << 30, 32ULL << 30};

    // ---- Console ----------------------------------------------------------
    void flush() override { ++flushes; }
    bool key_pressed() override;
    unsigned char read_key() override;
    void delay(unsigned ms) override { advance(ms); }
    void sound(unsigned hz) override;
    void no_sound() override;
    Date get_date() override;
    Time get_time() override;
    bool set_date(const Date& d) override;
    bool set_time(const Time& t) override;
    MemoryReadings memory_readings() override { return memory; }
    void restore() override { restored = true; }
    void write_plain(std::string_view s) override { plain_output += s; }

    bool restored = false;
    std::string plain_output;  // what was written after restore

private:
    bool next_ready();  // drops satisfied waits; true when a key is at the front
    struct Entry {
        int key;               // 0..255, or -1 for a wait
        std::int64_t wait_ms;  // for a wait: its length
    };
    std::deque<Entry> script_;
    std::int64_t wait_until_ = -1;  // clock value the running wait ends at
    std::int64_t idle_since_ = -1;

    // Clock: a day count (days since 0001-01-01, proleptic Gregorian) and ms in the day.
    std::int64_t day_ = 0;
    std::int64_t ms_ = 0;  // total ms since day 0 of this console
    std::int64_t base_day_ = 0;
};

// Installs a virtual console for the lifetime of the object.
class ScopedVirtualConsole {
public:
    explicit ScopedVirtualConsole(std::uint64_t seed = 1) : vc(seed) { use(&vc); }
    ~ScopedVirtualConsole() { use(nullptr); }
    VirtualConsole vc;
};

}  // namespace console
