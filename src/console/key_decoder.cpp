#include "console/key_decoder.h"

namespace console {

namespace {

// Alt + letter gives the letter key's scan code (0 + scan) on a PC keyboard.
constexpr unsigned char ALT_LETTER[26] = {
    30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,  // a..m
    49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44,  // n..z
};

}  // namespace

void KeyDecoder::reset() {
    state_ = State::Ground;
    alt_ = false;
    head_ = count_ = 0;
}

void KeyDecoder::push(unsigned char k) {
    // The terminal feeds no more than `room` allows; a caller that feeds
    // more loses the newest key, which is better than overwriting the head
    // and splitting a 0 + scan pair.
    if (count_ >= CAPACITY) return;
    queue_[(head_ + count_) % CAPACITY] = k;
    ++count_;
}

unsigned char KeyDecoder::pop() {
    const unsigned char k = queue_[head_];
    head_ = (head_ + 1) % CAPACITY;
    --count_;
    return k;
}

unsigned char KeyDecoder::function_key(int n, unsigned mods) {
    if (mods & META) mods |= ALT;
    if (n >= 1 && n <= 10) {
        const int i = n - 1;
        if (mods & ALT) return static_cast<unsigned char>(scan::ALT_F1 + i);
        if (mods & CTRL) return static_cast<unsigned char>(scan::CTRL_F1 + i);
        if (mods & SHIFT) return static_cast<unsigned char>(scan::SHIFT_F1 + i);
        return static_cast<unsigned char>(scan::F1 + i);
    }
    if (n == 11 || n == 12) {
        const int i = n - 11;
        if (mods & ALT) return static_cast<unsigned char>(139 + i);
        if (mods & CTRL) return static_cast<unsigned char>(137 + i);
        if (mods & SHIFT) return static_cast<unsigned char>(135 + i);
        return static_cast<unsigned char>(scan::F11 + i);
    }
    return 0;
}

unsigned char KeyDecoder::nav_key(Nav k, unsigned mods) {
    if (mods & META) mods |= ALT;
    // plain, Ctrl, Alt; Shift leaves these keys as they are
    static constexpr unsigned char table[10][3] = {
        {71, 119, 151},  // Home
        {72, 141, 152},  // Up
        {73, 132, 153},  // PgUp
        {75, 115, 155},  // Left
        {77, 116, 157},  // Right
        {79, 117, 159},  // End
        {80, 145, 160},  // Down
        {81, 118, 161},  // PgDn
        {82, 146, 162},  // Ins
        {83, 147, 163},  // Del
    };
    const auto& row = table[static_cast<int>(k)];
    if (mods & ALT) return row[2];
    if (mods & CTRL) return row[1];
    return row[0];
}

unsigned KeyDecoder::mods_from_param(int index) const {
    if (index >= nparams_ || params_[index] < 2) return 0;
    return static_cast<unsigned>(params_[index] - 1) & 15u;
}

void KeyDecoder::ground(unsigned char b) {
    switch (b) {
        case key::ESC:
            state_ = State::Esc;
            alt_ = false;
            return;
        case 127:  // the Backspace key of most terminals
        case key::BACKSPACE:
            push(key::BACKSPACE);
            return;
        case 10:  // LF: Enter on terminals that send it
            push(key::ENTER);
            return;
        case key::EXTENDED:  // Ctrl-Space / Ctrl-@: a PC gives 0 + 3; a lone 0 would pose as an extended key
            push_ext(scan::CTRL_2);
            return;
        default:
            break;
    }
    // Bytes above 127 (UTF-8 text, 8-bit meta) are no keys of the game, which
    // reads and writes 7-bit ASCII only.
    if (b >= 128) return;
    push(b);
}

void KeyDecoder::alt_char(unsigned char b) {
    state_ = State::Ground;
    if (b >= 'a' && b <= 'z') return push_ext(ALT_LETTER[b - 'a']);
    if (b >= 'A' && b <= 'Z') return push_ext(ALT_LETTER[b - 'A']);
    if (b >= '1' && b <= '9') return push_ext(static_cast<unsigned char>(120 + (b - '1')));
    switch (b) {
        case '0': return push_ext(129);
        case '-': return push_ext(130);
        case '=': return push_ext(131);
        case '[': return push_ext(26);
        case ']': return push_ext(27);
        case ';': return push_ext(39);
        case '\'': return push_ext(40);
        case '`': return push_ext(41);
        case '\\': return push_ext(43);
        case ',': return push_ext(51);
        case '.': return push_ext(52);
        case '/': return push_ext(53);
        case 127:
        case key::BACKSPACE: return push_ext(14);  // Alt-Backspace
        case 9: return push_ext(165);  // Alt-Tab
        case key::ENTER:
        case 10: return push_ext(28);  // Alt-Enter
        default: break;
    }
    if (b < 32) {
        // Esc quickly followed by another control key: two keys.
        push(key::ESC);
        ground(b);
    }
    // other Alt combinations (punctuation, non-ASCII) are swallowed
}

void KeyDecoder::feed(unsigned char b) {
    switch (state_) {
        // 1. Outside a sequence a byte is a key of its own, or an Esc that
        // may begin one.
        case State::Ground: return ground(b);
        // 2. After one Esc: a sequence begins, a second Esc comes, or the
        // byte is a key with Alt.
        case State::Esc: return after_esc(b);
        case State::EscEsc: return after_two_escs(b);
        // 3. Inside a CSI or SS3 sequence: parameters, prefixes and
        // intermediates gather until the final byte names the key.
        case State::Csi:
        case State::Ss3: return in_sequence(b);
        // 4. The Linux console's ESC [ [ letter.
        case State::CsiLinux: return after_linux_bracket(b);
        // 5. The raw bytes of a mouse report are swallowed.
        case State::Mouse:
            if (--mouse_left_ <= 0) state_ = State::Ground;
            return;
    }
}

void KeyDecoder::after_esc(unsigned char b) {
    if (b == '[' || b == 'O') {
        state_ = b == '[' ? State::Csi : State::Ss3;
        nparams_ = 0;
        params_[0] = 0;
        private_ = intermediate_ = false;
        return;
    }
    if (b == key::ESC) {
        state_ = State::EscEsc;
        return;
    }
    alt_char(b);
}

void KeyDecoder::after_two_escs(unsigned char b) {
    if (b == '[' || b == 'O') {
        // ESC in front of a whole sequence: the key with Alt
        state_ = State::Esc;
        after_esc(b);
        alt_ = true;
        return;
    }
    push(key::ESC);  // the first Esc stood alone
    if (b == key::ESC) return;  // still two ESC pending
    state_ = State::Esc;
    after_esc(b);
}

void KeyDecoder::in_sequence(unsigned char b) {
    // 3a. Digits and separators make the parameters.
    if (b >= '0' && b <= '9') return add_digit(b);
    if (b == ';' || b == ':') return next_param();
    // 3b. Prefixes and intermediates mark reports, with two exceptions that
    // are keys.
    if (b >= '<' && b <= '?') {  // private parameter prefixes: reports, not keys
        private_ = true;
        return;
    }
    if (state_ == State::Csi && b == '[' && nparams_ == 0 && !private_ && !intermediate_) {
        state_ = State::CsiLinux;  // the Linux console's F1..F5
        return;
    }
    if (b >= 0x20 && b <= 0x2f) {
        if (state_ == State::Csi && b == '$' && nparams_ > 0 && !private_) {
            // rxvt: ESC [ n $ is key n with Shift; '$' ends it
            finish_csi('$');
            state_ = State::Ground;
            return;
        }
        intermediate_ = true;
        return;
    }
    // 3c. The final byte ends the sequence and names the key.
    if (b >= 0x40 && b <= 0x7e) return final_byte(b);
    // 3d. A control byte or a non-ASCII byte breaks the sequence off; the
    // broken sequence is dropped and the byte taken as it comes.
    state_ = State::Ground;
    ground(b);
}

void KeyDecoder::add_digit(unsigned char b) {
    if (nparams_ == 0) {
        nparams_ = 1;
        params_[0] = 0;
    }
    if (nparams_ <= MAX_PARAMS) {
        int& p = params_[nparams_ - 1];
        if (p < 10000) p = p * 10 + (b - '0');
    }
}

void KeyDecoder::next_param() {
    if (nparams_ == 0) {
        nparams_ = 1;
        params_[0] = 0;
    }
    if (nparams_ < MAX_PARAMS) params_[nparams_] = 0;
    // one past the limit already marks "too many": counting on would
    // overflow on an endless stream of separators
    if (nparams_ <= MAX_PARAMS) ++nparams_;
}

void KeyDecoder::final_byte(unsigned char b) {
    const State was = state_;
    state_ = State::Ground;
    if (was == State::Ss3) return finish_ss3(b);
    if (b == 'M' && nparams_ == 0 && !private_ && !intermediate_) {
        // X10 mouse report: three raw bytes follow
        state_ = State::Mouse;
        mouse_left_ = 3;
        return;
    }
    finish_csi(b);
}

void KeyDecoder::after_linux_bracket(unsigned char b) {
    state_ = State::Ground;
    if (b >= 'A' && b <= 'E') {
        push_ext(function_key(b - 'A' + 1, alt_ ? static_cast<unsigned>(ALT) : 0u));
        return;
    }
    if (b == key::ESC) ground(b);
}

void KeyDecoder::timeout() {
    switch (state_) {
        case State::Esc:
            push(key::ESC);
            break;
        case State::EscEsc:
            push(key::ESC);
            push(key::ESC);
            break;
        case State::Ss3:
            // ESC O with nothing after it was Alt-O typed by hand
            if (nparams_ == 0 && !private_ && !intermediate_) push_ext(ALT_LETTER['o' - 'a']);
            break;
        case State::Csi:  // ESC [ alone was Alt-[
            if (nparams_ == 0 && !private_ && !intermediate_) push_ext(26);
            break;
        default:
            break;  // an incomplete sequence is dropped
    }
    state_ = State::Ground;
    alt_ = false;
}

void KeyDecoder::finish_csi(unsigned char final) {
    // terminal reports, not keys; no key has more parameters than fit here
    if (private_ || intermediate_ || nparams_ > MAX_PARAMS) return;
    unsigned mods = alt_ ? ALT : 0u;

    switch (final) {
        case '~':
        case '^':
        case '$':
        case '@': {
            if (nparams_ == 0) return;
            mods |= mods_from_param(1);
            if (final == '^') mods |= CTRL;
            if (final == '$') mods |= SHIFT;
            if (final == '@') mods |= CTRL | SHIFT;
            const int n = params_[0];
            switch (n) {
                case 1:
                case 7: return push_ext(nav_key(Nav::Home, mods));
                case 2: return push_ext(nav_key(Nav::Ins, mods));
                case 3: return push_ext(nav_key(Nav::Del, mods));
                case 4:
                case 8: return push_ext(nav_key(Nav::End, mods));
                case 5: return push_ext(nav_key(Nav::PgUp, mods));
                case 6: return push_ext(nav_key(Nav::PgDn, mods));
                default: break;
            }
            if (n >= 11 && n <= 15) return push_ext(function_key(n - 10, mods));
            if (n >= 17 && n <= 21) return push_ext(function_key(n - 11, mods));
            if (n == 23 || n == 24) return push_ext(function_key(n - 12, mods));
            // rxvt and the Linux console send Shift-F3..F10 as the keys F13..F20
            if (n == 25 || n == 26) return push_ext(function_key(n - 22, mods | SHIFT));
            if (n == 28 || n == 29) return push_ext(function_key(n - 23, mods | SHIFT));
            if (n >= 31 && n <= 34) return push_ext(function_key(n - 24, mods | SHIFT));
            return;
        }
        default:
            break;
    }

    // Cursor keys and xterm's F1..F4: ESC [ 1 ; m X. A lone parameter above 1
    // is taken as the modifier too (ESC [ 5 A of older terminals).
    if (final == 'Z') return push_ext(scan::SHIFT_TAB);
    // rxvt: lower-case finals are Shift + cursor key
    push_letter_key(final, mods | modifier_param(), SHIFT);
    // anything else ('E' keypad 5, focus and other reports) is swallowed
}

// The finals that CSI and SS3 share: cursor keys, Home/End and F1..F4; rxvt
// writes its modified cursor keys with lower-case finals (rxvt_mod).
bool KeyDecoder::push_letter_key(unsigned char final, unsigned mods, unsigned rxvt_mod) {
    switch (final) {
        case 'A': push_ext(nav_key(Nav::Up, mods)); return true;
        case 'B': push_ext(nav_key(Nav::Down, mods)); return true;
        case 'C': push_ext(nav_key(Nav::Right, mods)); return true;
        case 'D': push_ext(nav_key(Nav::Left, mods)); return true;
        case 'H': push_ext(nav_key(Nav::Home, mods)); return true;
        case 'F': push_ext(nav_key(Nav::End, mods)); return true;
        case 'P': push_ext(function_key(1, mods)); return true;
        case 'Q': push_ext(function_key(2, mods)); return true;
        case 'R': push_ext(function_key(3, mods)); return true;
        case 'S': push_ext(function_key(4, mods)); return true;
        case 'a': push_ext(nav_key(Nav::Up, mods | rxvt_mod)); return true;
        case 'b': push_ext(nav_key(Nav::Down, mods | rxvt_mod)); return true;
        case 'c': push_ext(nav_key(Nav::Right, mods | rxvt_mod)); return true;
        case 'd': push_ext(nav_key(Nav::Left, mods | rxvt_mod)); return true;
        default: return false;
    }
}

// ESC [ 1 ; m X (or ESC [ m X of older terminals): the modifier parameter.
unsigned KeyDecoder::modifier_param() const {
    if (nparams_ >= 2) return mods_from_param(1);
    if (nparams_ == 1) return mods_from_param(0);
    return 0;
}

void KeyDecoder::finish_ss3(unsigned char final) {
    if (private_ || intermediate_ || nparams_ > MAX_PARAMS) return;
    unsigned mods = alt_ ? ALT : 0u;
    // ESC O 1 ; m X, or ESC O m X of older terminals; rxvt: lower-case
    // finals are Ctrl + cursor key
    if (push_letter_key(final, mods | modifier_param(), CTRL)) return;
    switch (final) {
        // the keypad in application mode
        case 'M': return push(key::ENTER);
        case 'I': return push(9);
        case 'X': return push('=');
        case 'j': return push('*');
        case 'k': return push('+');
        case 'l': return push(',');
        case 'm': return push('-');
        case 'n': return push('.');
        case 'o': return push('/');
        default: break;
    }
    if (final >= 'p' && final <= 'y') return push(static_cast<unsigned char>('0' + (final - 'p')));
}

}  // namespace console
