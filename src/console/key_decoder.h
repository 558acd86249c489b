// Turns the bytes a terminal sends for key presses into the key codes the game
// reads: one character per ordinary key, and 0 followed by a PC scan code for
// function, cursor and editing keys.
//
// The decoder is a pure state machine: bytes go in with `feed`, and when no
// further byte has arrived within the escape timeout the caller reports that
// with `timeout` (that is how a lone Esc is told from the start of a sequence).
// Decoded keys are taken out with `has_key` / `pop`.
//
// Escape sequences are parsed by their grammar rather than matched against a
// list: CSI (ESC [ params intermediates final), SS3 (ESC O [params] final),
// the Linux console's ESC [ [ A..E, rxvt's ESC [ n ^ / $ / @ forms, and ESC in
// front of a whole sequence as Alt. A sequence that does not name a known key
// is swallowed whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include "console/keys.h"

namespace console {

// The decoder's scan codes are the program's shared ones.
namespace scan = key::scan;

class KeyDecoder {
public:
    // Modifier bits as carried by xterm's parameter m (bits of m - 1).
    enum : unsigned { SHIFT = 1, ALT = 2, CTRL = 4, META = 8 };

    void feed(unsigned char b);
    // No byte arrived within the escape timeout: finish what is pending.
    void timeout();
    // True while a sequence is incomplete (the caller must then wait at most
    // the escape timeout for its next byte and otherwise call `timeout`).
    bool pending() const { return state_ != State::Ground; }

    bool has_key() const { return count_ > 0; }
    unsigned char pop();  // precondition: has_key()
    std::size_t queued() const { return count_; }

    // Keys the queue holds; room for a whole read of the terminal and more.
    static constexpr std::size_t CAPACITY = 1024;
    // How many bytes may be fed now without a key being lost, whatever they
    // are: a byte brings at most two keys (0 + scan code), and a pending
    // sequence at most two more than its own bytes (ESC ESC, then a NUL).
    std::size_t room() const { return count_ + 2 <= CAPACITY ? (CAPACITY - count_ - 2) / 2 : 0; }

    // Drops everything: pending sequence and queued keys.
    void reset();

    // The extended key for an xterm-style key number with modifiers, or 0 when
    // there is none. Exposed for tests.
    static unsigned char function_key(int n, unsigned mods);  // n = 1..12
    enum class Nav { Home, Up, PgUp, Left, Right, End, Down, PgDn, Ins, Del };
    static unsigned char nav_key(Nav k, unsigned mods);

private:
    enum class State { Ground, Esc, EscEsc, Csi, CsiLinux, Ss3, Mouse };

    void push(unsigned char k);
    void push_ext(unsigned char scan) {
        if (scan == 0) return;         // not a key the game knows: swallow
        if (count_ + 2 > CAPACITY) return;  // no room for both halves: drop the whole key
        push(0);
        push(scan);
    }
    // The steps of `feed`, one per state.
    void ground(unsigned char b);
    void after_esc(unsigned char b);
    void after_two_escs(unsigned char b);
    void in_sequence(unsigned char b);
    void add_digit(unsigned char b);
    void next_param();
    void final_byte(unsigned char b);
    void after_linux_bracket(unsigned char b);
    void alt_char(unsigned char b);
    void finish_csi(unsigned char final);
    void finish_ss3(unsigned char final);
    bool push_letter_key(unsigned char final, unsigned mods, unsigned rxvt_mod);
    unsigned modifier_param() const;
    unsigned mods_from_param(int index) const;  // modifier bits of parameter `index`

    State state_ = State::Ground;
    bool alt_ = false;  // an ESC came in front of the sequence
    static constexpr int MAX_PARAMS = 4;
    int params_[MAX_PARAMS] = {};
    int nparams_ = 0;
    bool private_ = false;       // a '<', '=', '>' or '?' parameter prefix: not a key
    bool intermediate_ = false;  // an intermediate byte other than rxvt's '$'
    int mouse_left_ = 0;         // raw bytes of an X10 mouse report still to swallow

    unsigned char queue_[CAPACITY] = {};
    std::size_t head_ = 0, count_ = 0;
};

}  // namespace console
