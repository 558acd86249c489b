// The real terminal: raw POSIX termios input with a decoder that turns the
// escape sequences of common terminals into the 0 + scan code form, and
// ANSI/xterm output rendered from the shadow screen on every flush.
#pragma once

#include <string>

#include "console/console.h"

namespace console {

class Terminal : public Console {
public:
    Terminal();
    ~Terminal() override;

    // Takes over the terminal on standard input/output. Returns false (after
    // writing a one-line error to standard error) when standard input is not
    // a terminal.
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
    std::uint64_t available_memory() override;
    void restore() override;
    void write_plain(std::string_view s) override;
};

}  // namespace console
