// The key codes the whole program shares. `console::read_key` gives one
// character per ordinary key and, for function, cursor and editing keys, a 0
// followed by the key's PC scan code (`key::scan`).
#pragma once

namespace console::key {

// Ordinary keys.
inline constexpr unsigned char CTRL_B = 2;     // leaves a name field forwards
inline constexpr unsigned char CTRL_C = 3;     // breaks off like Esc (the terminal is raw)
inline constexpr unsigned char BACKSPACE = 8;  // also Ctrl-H and the DEL byte
inline constexpr unsigned char ENTER = 13;     // also a line feed
inline constexpr unsigned char ESC = 27;
inline constexpr unsigned char EXTENDED = 0;   // the first byte of an extended key

// Scan codes of the extended keys (the byte after `EXTENDED`).
namespace scan {
inline constexpr unsigned char F1 = 59;        // F1..F10 = 59..68
inline constexpr unsigned char F4 = 62;
inline constexpr unsigned char SHIFT_F1 = 84;  // 84..93
inline constexpr unsigned char SHIFT_F4 = 87;
inline constexpr unsigned char CTRL_F1 = 94;   // 94..103
inline constexpr unsigned char CTRL_F4 = 97;
inline constexpr unsigned char ALT_F1 = 104;   // 104..113
inline constexpr unsigned char ALT_F4 = 107;
inline constexpr unsigned char F11 = 133, F12 = 134;
inline constexpr unsigned char HOME = 71, UP = 72, PGUP = 73, LEFT = 75, RIGHT = 77;
inline constexpr unsigned char END = 79, DOWN = 80, PGDN = 81, INS = 82, DEL = 83;
// The Ctrl and Alt forms the screens fold together with the plain key.
inline constexpr unsigned char CTRL_HOME = 119, ALT_HOME = 151;
inline constexpr unsigned char CTRL_UP = 141, ALT_UP = 152;
inline constexpr unsigned char CTRL_PGUP = 132, ALT_PGUP = 153;
inline constexpr unsigned char CTRL_LEFT = 115, ALT_LEFT = 155;
inline constexpr unsigned char CTRL_RIGHT = 116, ALT_RIGHT = 157;
inline constexpr unsigned char CTRL_END = 117, ALT_END = 159;
inline constexpr unsigned char CTRL_DOWN = 145, ALT_DOWN = 160;
inline constexpr unsigned char CTRL_PGDN = 118, ALT_PGDN = 161;
inline constexpr unsigned char CTRL_INS = 146, ALT_INS = 162;
inline constexpr unsigned char CTRL_DEL = 147, ALT_DEL = 163;
inline constexpr unsigned char SHIFT_TAB = 15;
inline constexpr unsigned char CTRL_2 = 3;     // Ctrl-Space / Ctrl-@ (the NUL byte)
}  // namespace scan

// Esc and Ctrl-C both break off what is going on.
constexpr bool breaks_off(unsigned char k) { return k == ESC || k == CTRL_C; }

// Scan-code predicates: the key with or without Ctrl or Alt.
constexpr bool is_left(unsigned char s) {
    return s == scan::LEFT || s == scan::CTRL_LEFT || s == scan::ALT_LEFT;
}
constexpr bool is_right(unsigned char s) {
    return s == scan::RIGHT || s == scan::CTRL_RIGHT || s == scan::ALT_RIGHT;
}
constexpr bool is_up(unsigned char s) { return s == scan::UP || s == scan::CTRL_UP || s == scan::ALT_UP; }
constexpr bool is_down(unsigned char s) {
    return s == scan::DOWN || s == scan::CTRL_DOWN || s == scan::ALT_DOWN;
}
constexpr bool is_pgup(unsigned char s) {
    return s == scan::PGUP || s == scan::CTRL_PGUP || s == scan::ALT_PGUP;
}
constexpr bool is_pgdn(unsigned char s) {
    return s == scan::PGDN || s == scan::CTRL_PGDN || s == scan::ALT_PGDN;
}

// F1 in any of its forms.
constexpr bool is_f1(unsigned char s) {
    return s == scan::F1 || s == scan::SHIFT_F1 || s == scan::CTRL_F1 || s == scan::ALT_F1;
}

// F4 in any of its forms tells the computer to decide soon.
constexpr bool decides_soon(unsigned char s) {
    return s == scan::F4 || s == scan::SHIFT_F4 || s == scan::CTRL_F4 || s == scan::ALT_F4;
}

}  // namespace console::key
