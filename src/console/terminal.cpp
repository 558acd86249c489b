#include "console/terminal.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/select.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "console/keys.h"
#include "console/system_clock.h"
#include "console/system_memory.h"
#include "console/terminal_signals.h"

namespace console {

namespace {

// The game's screen, auto-wrap off, normal cursor and keypad keys; undone by
// signals::RESTORE_SEQ.
constexpr char ENTER_SEQ[] = "\x1b[?1049h\x1b[?7l\x1b[?1l\x1b>\x1b[0m\x1b[H\x1b[2J";

std::int64_t mono_ns() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

constexpr std::int64_t MS = 1000000;
// Key tests closer together than this, many times in a row, mean the caller
// is waiting for a key and nothing else; then a key test may block briefly.
constexpr std::int64_t SPIN_GAP_NS = 3000;
constexpr std::int64_t SPIN_KEEP_GAP_NS = 100000;
constexpr int SPIN_STREAK = 32;
// From a computation the input is looked at no more often than this.
constexpr std::int64_t POLL_INTERVAL_NS = 1 * MS;

constexpr int INPUT_READY = 1, WAKE_READY = 2, INPUT_GONE = 4;

// Waits until `in` or `wake` (either may be -1) can be read, at most
// timeout_ms (-1: no limit). Returns the READY/GONE bits, or -1 on error.
int wait_readable(int in, int wake, int timeout_ms) {
#ifdef __APPLE__
    // poll() does not serve terminal devices on macOS; select() does (a
    // terminal that went away shows as readable, and its read fails).
    fd_set rd;
    FD_ZERO(&rd);
    int maxfd = -1;
    if (in >= 0) {
        FD_SET(in, &rd);
        maxfd = in;
    }
    if (wake >= 0) {
        FD_SET(wake, &rd);
        maxfd = std::max(maxfd, wake);
    }
    timeval tv{};
    timeval* tvp = nullptr;
    if (timeout_ms >= 0) {
        tv.tv_sec = timeout_ms / 1000;
        tv.tv_usec = (timeout_ms % 1000) * 1000;
        tvp = &tv;
    }
    if (select(maxfd + 1, &rd, nullptr, nullptr, tvp) < 0) return -1;
    int bits = 0;
    if (in >= 0 && FD_ISSET(in, &rd)) bits |= INPUT_READY;
    if (wake >= 0 && FD_ISSET(wake, &rd)) bits |= WAKE_READY;
    return bits;
#else
    pollfd fds[2] = {{in, POLLIN, 0}, {wake, POLLIN, 0}};  // poll passes over negative descriptors
    if (poll(fds, 2, timeout_ms) < 0) return -1;
    int bits = 0;
    if (fds[0].revents & POLLIN) bits |= INPUT_READY;
    if (fds[1].revents & POLLIN) bits |= WAKE_READY;
    if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) bits |= INPUT_GONE;
    return bits;
#endif
}

}  // namespace

// ---- Terminal ---------------------------------------------------------------

Terminal::Terminal() { out_.reserve(64 * 1024); }

Terminal::~Terminal() {
    if (started_) restore();
    signals::uninstall_handlers();
    signals::close_wake_pipe();
    if (own_out_fd_) close(out_fd_);
    signals::g_in_fd = signals::g_out_fd = -1;
}

void Terminal::write_all(const char* p, std::size_t n) { signals::raw_write(out_fd_, p, n); }

bool Terminal::start(const char* argv0) {
    program_path = argv0 ? argv0 : "";
    if (!isatty(in_fd_)) {
        std::fputs("Zentrovalquist: Die Standardeingabe ist kein Terminal / standard input is not a terminal.\n",
                   stderr);
        return false;
    }
    if (!isatty(1)) {
        // Output redirected: the game's screen still belongs on the terminal.
        out_fd_ = open("/dev/tty", O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (out_fd_ < 0) {
            out_fd_ = 1;
            std::fputs("Zentrovalquist: kein Terminal fuer die Ausgabe / no terminal for the output.\n", stderr);
            return false;
        }
        own_out_fd_ = true;
    }
    if (tcgetattr(in_fd_, &signals::g_saved) != 0) {
        std::fputs("Zentrovalquist: Terminal nicht einstellbar / cannot set up the terminal.\n", stderr);
        return false;
    }
    raw_ = signals::g_saved;
    raw_.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
    raw_.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    raw_.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    raw_.c_cflag |= CS8;
    raw_.c_cc[VMIN] = 1;
    raw_.c_cc[VTIME] = 0;

    signals::open_wake_pipe();
    signals::g_in_fd = in_fd_;
    signals::g_out_fd = out_fd_;
    signals::g_winch = 0;
    signals::g_cont = 0;
    signals::install_handlers();

    {
        signals::EndingSignalsHeld held;
        if (tcsetattr(in_fd_, TCSAFLUSH, &raw_) != 0) {
            signals::uninstall_handlers();
            std::fputs("Zentrovalquist: Terminal nicht einstellbar / cannot set up the terminal.\n", stderr);
            return false;
        }
        signals::g_raw = 1;
        write_all(ENTER_SEQ, sizeof ENTER_SEQ - 1);
    }
    started_ = true;
    decoder_.reset();
    renderer_.invalidate();

    if (!ensure_size()) {
        restore();
        return false;
    }
    renderer_.invalidate();
    return true;
}

void Terminal::handle_signals() {
    // Cheap when nothing happened: called on every key test.
    if (!signals::job_signal_pending()) return;
    signals::drain_wake_pipe();
    if (!started_) return;
    if (signals::g_cont) {
        signals::g_cont = 0;
        // The shell may have changed the settings while we were stopped.
        signals::EndingSignalsHeld held;
        tcsetattr(in_fd_, TCSANOW, &raw_);
        if (!signals::g_raw) write_all(ENTER_SEQ, sizeof ENTER_SEQ - 1);
        signals::g_raw = 1;
        renderer_.invalidate();
    }
    if (signals::g_winch) {
        signals::g_winch = 0;
        // The terminal may have dropped, moved or rewrapped what it showed,
        // also beyond the game's 80 x 25 cells: clear, then paint it all.
        out_ += "\x1b[0m\x1b[2J";
        renderer_.invalidate();
    }
}

void Terminal::flush() { send_output(); }

bool Terminal::send_output() {
    if (!signals::job_signal_pending() && screen.version() == drawn_version_ && out_.empty() && renderer_.valid())
        return false;
    handle_signals();
    if (!started_) {
        out_.clear();
        return true;
    }
    if (screen.version() != drawn_version_ || !renderer_.valid()) {
        renderer_.render(screen, out_);
        drawn_version_ = screen.version();
    }
    if (!out_.empty()) {
        write_all(out_.data(), out_.size());
        out_.clear();
    }
    return true;
}

bool Terminal::read_input(int timeout_ms) {
    // No more than the key queue can take: what is not read yet waits in the
    // terminal, where it is not lost. The queue is empty whenever the game
    // waits for a key, so a wait always reads.
    const std::size_t room = std::min(READ_CHUNK, decoder_.room());
    const int r = wait_readable(room > 0 ? in_fd_ : -1, signals::wake_fd(), timeout_ms);
    last_poll_ns_ = mono_ns();
    if (r < 0) return errno == EINTR;
    bool any = false;
    if (r & WAKE_READY) {
        // a signal: its flag is handled by the caller; the byte must go, or
        // every later wait would return at once
        signals::drain_wake_pipe();
        any = true;
    }
    if (r & INPUT_READY) {
        unsigned char buf[READ_CHUNK];
        const ssize_t got = ::read(in_fd_, buf, room);
        if (got > 0) {
            for (ssize_t i = 0; i < got; ++i) decoder_.feed(buf[i]);
            last_byte_ns_ = last_poll_ns_;
            input_left_ = static_cast<std::size_t>(got) == room;
            return true;
        }
        if (got == 0 || (errno != EINTR && errno != EAGAIN)) input_gone();
        return true;
    }
    if (r & INPUT_GONE) {
        input_gone();
        return true;
    }
    return any;
}

// Standard input has ended or failed: a read found its end or an error that
// is not an interruption, or the wait saw a hangup or an error on it (a
// terminal that went away without sending a hangup signal). This only marks
// it: from then on every key test finds a key and read_key hands out Ctrl-C,
// which winds every screen of the game up and ends it. Should the game still
// ask for keys after a thousand of those, read_key gives the terminal back,
// runs the exit hook and ends the process with status 1.
void Terminal::input_gone() {
    input_gone_ = true;
}

void Terminal::check_escape_timeout(std::int64_t now_ns) {
    if (!decoder_.pending() || now_ns - last_byte_ns_ < ESC_TIMEOUT_MS * MS) return;
    // A read that took all it asked for may have cut a sequence in two (keys
    // typed ahead, a paste): its rest is waiting to be read, not late.
    while (input_left_ && decoder_.pending()) {
        if (decoder_.room() == 0) return;  // read once the game has taken keys
        input_left_ = false;
        if (!read_input(0)) break;
    }
    if (decoder_.pending() && now_ns - last_byte_ns_ >= ESC_TIMEOUT_MS * MS) decoder_.timeout();
}

int Terminal::escape_wait_ms(std::int64_t now_ns) const {
    const std::int64_t left = last_byte_ns_ + ESC_TIMEOUT_MS * MS - now_ns;
    if (left <= 0) return 0;
    return static_cast<int>((left + MS - 1) / MS);
}

bool Terminal::key_pressed() {
    // One clock read on the common path (nothing drawn, input not due).
    const std::int64_t entered = mono_ns();
    // The gap since the last key test is the caller's own time. Once waiting,
    // a somewhat longer gap (the first one after a sleep in poll runs on cold
    // caches) does not end the wait.
    const bool quick = entered - last_return_ns_ < (spin_streak_ >= SPIN_STREAK ? SPIN_KEEP_GAP_NS : SPIN_GAP_NS);
    bool worked = send_output();
    if (decoder_.has_key() || input_gone_) return true;

    spin_streak_ = quick ? spin_streak_ + 1 : 0;
    const bool waiting = spin_streak_ >= SPIN_STREAK;
    const std::int64_t now = entered;

    if (decoder_.pending()) {
        check_escape_timeout(now);
        if (decoder_.pending() && (waiting || now - last_poll_ns_ >= POLL_INTERVAL_NS)) {
            const int wait = waiting ? std::min(escape_wait_ms(now), IDLE_POLL_MS) : 0;
            read_input(wait);
            check_escape_timeout(last_poll_ns_);
            worked = true;
        }
    } else if (waiting) {
        read_input(IDLE_POLL_MS);
        worked = true;
    } else if (now - last_poll_ns_ >= POLL_INTERVAL_NS) {
        read_input(0);
        worked = true;
    }
    if (worked) {
        handle_signals();
        last_return_ns_ = mono_ns();
    } else {
        last_return_ns_ = entered;
    }
    return decoder_.has_key() || input_gone_;
}

unsigned char Terminal::read_key() {
    for (;;) {
        flush();
        if (decoder_.has_key()) {
            last_return_ns_ = 0;  // what follows a key is the game's work, not a spin
            spin_streak_ = 0;
            return decoder_.pop();
        }
        if (input_gone_) {
            if (++keys_after_gone_ > 1000) {
                restore();
                signals::run_exit_hook();
                _exit(1);
            }
            return key::CTRL_C;
        }
        if (!started_) return key::ESC;  // nothing to read from: a way out for every screen
        const std::int64_t now = mono_ns();
        check_escape_timeout(now);
        if (decoder_.has_key()) continue;
        read_input(decoder_.pending() ? escape_wait_ms(now) : -1);
        if (decoder_.pending()) check_escape_timeout(mono_ns());
    }
}

void Terminal::delay(unsigned ms) {
    flush();
    const std::int64_t end = mono_ns() + static_cast<std::int64_t>(ms) * MS;
    for (;;) {
        const std::int64_t left = end - mono_ns();
        if (left <= 0) break;
        // Only the wake-up pipe: keys stay queued for the game's next read, but
        // a resize or resume is repainted during a long wait.
        const int r = wait_readable(-1, signals::wake_fd(), static_cast<int>((left + MS - 1) / MS));
        if (r != 0) {
            signals::drain_wake_pipe();
            flush();
        }
    }
}

void Terminal::sound(unsigned hz) {
    // A terminal has no tone generator; its bell stands in for the tone.
    if (hz == 0 || !started_) return;
    // What was written before the tone is drawn before it.
    if (screen.version() != drawn_version_ || !renderer_.valid()) {
        renderer_.render(screen, out_);
        drawn_version_ = screen.version();
    }
    out_ += '\a';
}

void Terminal::no_sound() {}

Date Terminal::get_date() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    if (ts.tv_sec != cached_sec_) {
        local_date_time(ts, cached_date_, cached_time_);
        cached_sec_ = ts.tv_sec;
    }
    return cached_date_;
}

Time Terminal::get_time() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    if (ts.tv_sec != cached_sec_) {
        local_date_time(ts, cached_date_, cached_time_);
        cached_sec_ = ts.tv_sec;
    }
    Time t = cached_time_;
    t.hundredth = static_cast<std::uint16_t>(ts.tv_nsec / 10000000);
    return t;
}

bool Terminal::set_date(const Date& d) {
    cached_sec_ = -1;
    return set_system_date(d);
}

bool Terminal::set_time(const Time& t) {
    cached_sec_ = -1;
    return set_system_time(t);
}

MemoryReadings Terminal::memory_readings() { return system_memory_readings(); }

void Terminal::restore() {
    if (!started_) return;
    out_.clear();
    {
        signals::EndingSignalsHeld held;
        if (signals::g_raw) write_all(signals::RESTORE_SEQ, sizeof signals::RESTORE_SEQ - 1);
        // TCSAFLUSH: keys typed ahead belong to the game, not to the shell.
        tcsetattr(in_fd_, TCSAFLUSH, &signals::g_saved);
        signals::g_raw = 0;
    }
    signals::uninstall_job_handlers();
    started_ = false;
}

void Terminal::write_plain(std::string_view s) { write_all(s.data(), s.size()); }

bool Terminal::ensure_size() {
    auto size_of = [this](int& cols, int& rows) {
        winsize ws{};
        if (ioctl(out_fd_, TIOCGWINSZ, &ws) != 0 && ioctl(in_fd_, TIOCGWINSZ, &ws) != 0) {
            cols = rows = 0;
            return;
        }
        cols = ws.ws_col;
        rows = ws.ws_row;
    };
    // 0 x 0: the terminal does not tell its size; take it as big enough.
    auto fits = [](int cols, int rows) { return (cols == 0 && rows == 0) || (cols >= COLS && rows >= ROWS); };

    int cols = 0, rows = 0;
    size_of(cols, rows);
    if (fits(cols, rows)) return true;

    // Ask the terminal to make itself 80 x 25; many windowed ones do.
    static constexpr char RESIZE[] = "\x1b[8;25;80t";
    write_all(RESIZE, sizeof RESIZE - 1);
    const std::int64_t until = mono_ns() + 300 * MS;
    while (mono_ns() < until) {
        wait_readable(-1, signals::wake_fd(), 50);
        signals::drain_wake_pipe();
        size_of(cols, rows);
        if (fits(cols, rows)) return true;
    }

    int shown_cols = -1, shown_rows = -1;
    for (;;) {
        handle_signals();
        size_of(cols, rows);
        if (fits(cols, rows)) {
            decoder_.reset();
            return true;
        }
        if (cols != shown_cols || rows != shown_rows) {
            // Short lines, so that they fit a small window.
            char msg[512];
            const int n = std::snprintf(msg, sizeof msg,
                                        "\x1b[0m\x1b[H\x1b[2J"
                                        "Das Fenster ist zu klein (%d x %d).\r\n"
                                        "Bitte auf 80 x 25 Zeichen\r\n"
                                        "vergroessern. Esc: Ende.\r\n\r\n"
                                        "The window is too small (%d x %d).\r\n"
                                        "Please enlarge it to 80 x 25\r\n"
                                        "characters. Esc: quit.",
                                        cols, rows, cols, rows);
            if (n > 0) write_all(msg, static_cast<std::size_t>(n) < sizeof msg ? n : sizeof msg - 1);
            shown_cols = cols;
            shown_rows = rows;
        }
        read_input(decoder_.pending() ? escape_wait_ms(mono_ns()) : 250);
        check_escape_timeout(mono_ns());
        while (decoder_.has_key()) {
            const unsigned char k = decoder_.pop();
            if (k == key::EXTENDED) {
                if (decoder_.has_key()) decoder_.pop();  // an extended key: not Esc
                continue;
            }
            if (key::breaks_off(k)) return false;
        }
        if (input_gone_) return false;
    }
}

}  // namespace console
