#include "engine/play/answer_check.h"

#include "console/console.h"
#include "console/keys.h"
#include "engine/beep.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/release.h"
#include "engine/long_work.h"

namespace zqspiel {

namespace key = console::key;

namespace {

// Waits for a key, keeping the clock running. EXTENDED for an extended key
// (its scan code is read and dropped).
unsigned char wait_for_plain_key() {
    const unsigned char t = wait_for_key(Redraw::before_every_look);
    if (t == key::EXTENDED) console::read_key();
    return t;
}

// The P every open class of t has in common, or -1 when the classes differ
// in P or none is open.
int only_p(const ClassTable& t, byte n) {
    int single_p = -1;
    for (int c = 0; c <= n; ++c)
        for (int q = 0; q <= c; ++q)
            if (t[c][q] > 0) {
                if (single_p < 0)
                    single_p = q;
                else if (single_p != q)
                    return -1;
            }
    return single_p;
}

// Reads a P that some open class has. False on Esc or Ctrl-C.
bool read_p(const ClassTable& t, byte n, byte& p) {
    for (;;) {
        const unsigned char k = wait_for_plain_key();
        if (key::breaks_off(k)) return false;
        if (k == key::EXTENDED) continue;
        const byte d = static_cast<byte>(k - 48);
        if (d > n) continue;
        bool possible = false;
        for (int c = d; c <= n; ++c) possible = possible || t[c][d] > 0;
        if (!possible) continue;
        p = d;
        return true;
    }
}

// The common of the one class open with this P, or -1 when more than one is.
int only_class(const ClassTable& t, byte n, byte p) {
    int single = -1, open_classes = 0;
    for (int c = p; c <= n; ++c)
        if (t[c][p] > 0) {
            single = c;
            ++open_classes;
        }
    return open_classes == 1 ? single : -1;
}

enum class ZInput { taken, back_to_p, broken_off };

// Reads a Z whose class is open with P. Backspace goes back to the P field
// (cleared) unless P was filled in without asking.
ZInput read_z(const ClassTable& t, byte n, byte p, bool p_automatic, byte p_col, byte row, byte& z) {
    for (;;) {
        const unsigned char k = wait_for_plain_key();
        if (key::breaks_off(k)) return ZInput::broken_off;
        if (k == key::EXTENDED) continue;
        if (k == key::BACKSPACE) {
            if (p_automatic) continue;
            console::goto_xy(p_col, row);
            console::write(' ');
            console::goto_xy(p_col, row);
            return ZInput::back_to_p;
        }
        const byte d = static_cast<byte>(k - 48);
        if (d > n - p || t[p + d][p] <= 0) continue;
        z = d;
        return ZInput::taken;
    }
}

}  // namespace

bool read_checked_answer(const ClassTable& t, byte n, byte p_col, byte z_col, byte row, byte& p,
                         byte& z, unsigned char& pressed_key) {
    if (n > 9) n = 9;
    // 1. The person who must answer is called.
    if (X.TON) beep();
    auto broken_off = [&] {
        abandon_match(pressed_key);
        return false;
    };
    for (;;) {
        // 2. P: taken without asking when every possible answer has the same P.
        const int automatic = only_p(t, n);
        const bool p_automatic = automatic >= 0;
        console::goto_xy(p_col, row);
        if (p_automatic)
            p = static_cast<byte>(automatic);
        else if (!read_p(t, n, p))
            return broken_off();
        console::goto_xy(p_col, row);
        console::write_num(p);
        console::goto_xy(z_col, row);

        // 3. Z: forced when P leaves no choice or only one class is open.
        const int cls = p + 1 >= n ? p : only_class(t, n, p);
        if (cls >= 0) {
            z = static_cast<byte>(cls - p);
        } else {
            const ZInput e = read_z(t, n, p, p_automatic, p_col, row, z);
            if (e == ZInput::broken_off) return broken_off();
            if (e == ZInput::back_to_p) continue;
        }

        // 4. The answer is shown.
        console::goto_xy(z_col, row);
        console::write_num(z);
        return true;
    }
}

}  // namespace zqspiel
