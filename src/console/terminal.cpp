// Placeholder until the terminal layer is built.
#include "console/terminal.h"

#include <cstdio>
#include <unistd.h>

namespace console {

Terminal::Terminal() = default;
Terminal::~Terminal() = default;
bool Terminal::start(const char* argv0) {
    program_path = argv0;
    if (!isatty(0)) {
        std::fputs("zentrovalquist: standard input is not a terminal\n", stderr);
        return false;
    }
    return true;
}
void Terminal::flush() {}
bool Terminal::key_pressed() { return false; }
unsigned char Terminal::read_key() { return 27; }
void Terminal::delay(unsigned) {}
void Terminal::sound(unsigned) {}
void Terminal::no_sound() {}
Date Terminal::get_date() { return {}; }
Time Terminal::get_time() { return {}; }
bool Terminal::set_date(const Date&) { return false; }
bool Terminal::set_time(const Time&) { return false; }
std::uint64_t Terminal::available_memory() { return 0; }
void Terminal::restore() {}
void Terminal::write_plain(std::string_view) {}

}  // namespace console
