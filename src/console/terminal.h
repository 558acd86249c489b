// The real terminal: raw POSIX termios input with a decoder that turns the
// escape sequences of common terminals into the 0 + scan code form, and
// ANSI/xterm output rendered from the shadow screen on every flush.
//
// The game runs on the terminal's alternate screen with auto-wrap off. The
// terminal is given back as it was on every way out: `restore` (or the
// destructor), every signal whose default action ends the process (then the
// exit hook runs, see console.h, and the signal ends the process) and the
// crash signals (then the signal is raised again).
// The signal handling itself is in terminal_signals.h.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <termios.h>

#include "console/console.h"
#include "console/key_decoder.h"
#include "console/screen_render.h"

namespace console {

class Terminal : public Console {
public:
    Terminal();
    ~Terminal() override;
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // Takes over the terminal on standard input/output. Returns false when
    // standard input is not a terminal (after a one-line error on standard
    // error) or when the window is too small and the user leaves with Esc.
    bool start(const char* argv0);

    void flush() override;
    bool key_pressed() override;
    unsigned char read_key() override;
    void delay(unsigned ms) override;
    void sound(unsigned hz) override;
    void no_sound() override;
    Date get_date() override;
    Time get_time() override;
    bool set_date(const Date& d) override;
    bool set_time(const Time& t) override;
    MemoryReadings memory_readings() override;
    void restore() override;
    void write_plain(std::string_view s) override;

    // A lone Esc is told from the start of a sequence after this long.
    static constexpr int ESC_TIMEOUT_MS = 30;
    // How long a key test may block when the caller does nothing but test keys.
    static constexpr int IDLE_POLL_MS = 8;

private:
    void handle_signals();
    // Draws what changed and sends what is buffered; false when there was
    // nothing to do (checked cheaply, without a system call).
    bool send_output();
    // Reads what the terminal has sent, waiting at most timeout_ms (-1: until
    // something happens). Returns true when bytes or a signal arrived.
    bool read_input(int timeout_ms);
    void check_escape_timeout(std::int64_t now_ns);
    int escape_wait_ms(std::int64_t now_ns) const;
    void input_gone();
    bool ensure_size();
    void write_all(const char* p, std::size_t n);

    KeyDecoder decoder_;
    ScreenRenderer renderer_;
    std::string out_;
    std::uint64_t drawn_version_ = ~0ull;
    bool started_ = false;
    int in_fd_ = 0;
    int out_fd_ = 1;
    bool own_out_fd_ = false;
    termios raw_{};

    std::int64_t last_byte_ns_ = 0;    // when the decoder last got a byte
    std::int64_t last_poll_ns_ = 0;    // last look at the input
    std::int64_t last_return_ns_ = 0;  // when key_pressed last returned
    int spin_streak_ = 0;              // key tests in a row with (almost) nothing between
    bool input_gone_ = false;
    bool input_left_ = false;          // the last read filled its buffer: more may be waiting
    static constexpr std::size_t READ_CHUNK = 256;
    int keys_after_gone_ = 0;

    // local time of the last whole second read, so a clock shown many times a
    // second costs one time-zone conversion per second
    time_t cached_sec_ = -1;
    Date cached_date_;
    Time cached_time_;
};

}  // namespace console
