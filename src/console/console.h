// The platform seam: the 80 x 25 text screen, the keyboard, the tone, the
// delay, the system clock, the random source and the program's own path.
//
// Every screen of the game writes through the free functions below, which act
// on the console in use (`use`). Two consoles implement the seam: the real
// terminal (terminal.h) and the virtual one for tests (virtual_console.h).
// Both keep the same shadow of the screen (`Screen`), so what a test reads
// from the virtual console is what the terminal is made to show.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace console {

inline constexpr int COLS = 80;
inline constexpr int ROWS = 25;

struct Cell {
    char ch = ' ';
    std::uint8_t attr = 7;
};

// The shadow of the screen with cursor and current attribute. Text is written
// at the cursor as a character terminal does it: '\n' moves to column 1 of the
// next row (scrolling at the bottom), '\r' to column 1, '\b' one column back,
// '\a' is ignored here (the console sounds it); writing past column 80 wraps,
// except in the bottom right cell, which never scrolls the screen.
class Screen {
public:
    Cell cells[ROWS][COLS];

    void clear();                     // blanks in the current attribute, cursor to (1, 1)
    void goto_xy(int col, int row);   // ignored when outside the screen (and counted)
    int where_x() const { return x_; }
    int where_y() const { return y_; }
    void set_attr(std::uint8_t a) { attr_ = a; }
    std::uint8_t attr() const { return attr_; }
    void put(char c);
    void write(std::string_view s) {
        for (char c : s) put(c);
    }

    // For tests and the terminal's repaint: (col, row) are 1-based.
    const Cell& at(int col, int row) const { return cells[row - 1][col - 1]; }
    std::string text(int col, int row, int len) const;  // len characters from (col, row)
    std::string row_text(int row) const { return text(1, row, COLS); }
    std::uint8_t attr_at(int col, int row) const { return at(col, row).attr; }

    // Bumped on every change; lets the terminal skip work when nothing changed.
    std::uint64_t version() const { return version_; }

    // Attempts to place the cursor outside the 80 x 25 cells: text meant for
    // such a place would land at the old cursor instead, so a screen that
    // does it is at fault. Tests read the count.
    std::uint64_t outside_attempts = 0;

private:
    void line_feed();
    int x_ = 1, y_ = 1;
    std::uint8_t attr_ = 7;
    std::uint64_t version_ = 0;
};

// ---- memory ----------------------------------------------------------------
inline constexpr std::uint64_t NO_LIMIT = ~0ull;

// What the system tells about the memory this process may still take, in
// bytes. A limit that is not set is NO_LIMIT.
struct MemoryReadings {
    std::uint64_t available = 0;             // the machine's available memory
    std::uint64_t total = 0;                 // the machine's physical memory (0: unknown)
    std::uint64_t cgroup_left = NO_LIMIT;    // least room under the limits of the process's cgroups
    std::uint64_t as_limit = NO_LIMIT;       // RLIMIT_AS
    std::uint64_t as_used = 0;               // address space mapped now
    std::uint64_t data_limit = NO_LIMIT;     // RLIMIT_DATA
    std::uint64_t data_used = 0;             // private writable mappings now
};

// How much more the process can really have: pages it may make resident
// without pressing the machine or its cgroup, and address space it may map.
struct MemoryRoom {
    std::uint64_t resident = 0;
    std::uint64_t address_space = 0;
};

// Kept free on the machine beside the game: at least this, or a sixteenth of
// the physical memory when that is more, so the rest of the system and the
// page cache keep room.
inline constexpr std::uint64_t MACHINE_RESERVE = 512ull << 20;
// Kept free under a cgroup limit and under the address-space limits: what the
// program needs beside its large blocks (heap, stack, the screen).
inline constexpr std::uint64_t LIMIT_SLACK = 32ull << 20;

MemoryRoom memory_room(const MemoryReadings& r);

struct Date {
    std::uint16_t year = 2000, month = 1, day = 1, weekday = 6;  // 0 = Sunday
};
struct Time {
    std::uint16_t hour = 0, minute = 0, second = 0, hundredth = 0;
};

// Fast uniform random source (xoshiro256**). Not virtual: the candidate store
// draws one number per node.
class Random {
public:
    void seed(std::uint64_t s);
    std::uint64_t next() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }
    // Uniform in 0..n-1 (0 when n is 0).
    std::uint32_t below(std::uint32_t n) {
        return static_cast<std::uint32_t>(((next() >> 32) * static_cast<std::uint64_t>(n)) >> 32);
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4] = {0x9e3779b97f4a7c15ull, 0xbf58476d1ce4e5b9ull, 0x94d049bb133111ebull, 1};
};

class Console {
public:
    virtual ~Console() = default;

    Screen screen;
    Random rng;

    // Output reaches the user on flush; the key functions and delay flush first.
    virtual void flush() = 0;
    virtual bool key_pressed() = 0;
    virtual unsigned char read_key() = 0;  // blocking; extended keys come as 0, then the scan code
    virtual void delay(unsigned ms) = 0;
    virtual void sound(unsigned hz) = 0;
    virtual void no_sound() = 0;

    virtual Date get_date() = 0;
    virtual Time get_time() = 0;
    virtual bool set_date(const Date& d) = 0;  // false: refused, nothing changed
    virtual bool set_time(const Time& t) = 0;

    // The memory figures of the system, read afresh on each call.
    virtual MemoryReadings memory_readings() = 0;

    // Gives the terminal back as it was at start (leaves the game's screen);
    // what is written with `write_plain` afterwards stays in the shell's screen.
    virtual void restore() = 0;
    virtual void write_plain(std::string_view s) = 0;

    std::string program_path = "zentrovalquist";
};

// The console in use. A program or test installs one before any screen runs.
void use(Console* c);
Console& active();

// ---- screen ---------------------------------------------------------------
inline Screen& screen() { return active().screen; }
inline void clr_scr() { screen().clear(); }
inline void goto_xy(int col, int row) { screen().goto_xy(col, row); }
inline int where_x() { return screen().where_x(); }
inline int where_y() { return screen().where_y(); }
inline void text_attr(std::uint8_t a) { screen().set_attr(a); }
inline std::uint8_t text_attr() { return screen().attr(); }
inline void write(std::string_view s) { screen().write(s); }
inline void write(char c) { screen().put(c); }
inline void write_ln(std::string_view s = {}) {
    screen().write(s);
    screen().put('\n');
}
void write_num(long long n);  // decimal, no padding
inline void write_at(int col, int row, std::string_view s) {
    goto_xy(col, row);
    write(s);
}

// ---- keyboard, tone, delay ------------------------------------------------
inline bool key_pressed() { return active().key_pressed(); }
inline unsigned char read_key() { return active().read_key(); }
inline void delay(unsigned ms) { active().delay(ms); }
inline void sound(unsigned hz) { active().sound(hz); }
inline void no_sound() { active().no_sound(); }

// ---- clock, random, memory, path ------------------------------------------
inline Date get_date() { return active().get_date(); }
inline Time get_time() { return active().get_time(); }
inline bool set_date(const Date& d) { return active().set_date(d); }
inline bool set_time(const Time& t) { return active().set_time(t); }
inline std::uint32_t random(std::uint32_t n) { return active().rng.below(n); }
inline MemoryRoom memory_room() { return memory_room(active().memory_readings()); }
inline const std::string& program_path() { return active().program_path; }
inline void restore() { active().restore(); }
// The shell's screen gets 7-bit text and line feeds only: a control character
// or a byte from 128 up (in the program's path, which comes from outside) is
// written as '?', so that nothing written there can steer the terminal.
void write_plain(std::string_view s);

// Called once when the real terminal is ended by a signal (SIGTERM, SIGHUP,
// SIGINT, SIGUSR1, SIGXCPU and every other whose default action ends the
// process; not the crashes), after the terminal has been restored, so the
// program can save its state.
// It runs in a signal handler: it may only use open/write/rename/close.
// nullptr removes it. (Defined with the real terminal.)
void set_exit_hook(void (*hook)());

// Weekday 0 = Sunday of a Gregorian date (used by the consoles' clocks).
std::uint16_t weekday_of(int year, int month, int day);

}  // namespace console
