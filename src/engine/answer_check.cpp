#include "engine/answer_check.h"

#include "console/console.h"
#include "console/keys.h"
#include "engine/beep.h"
#include "engine/capacity.h"
#include "engine/clock.h"

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
int einziges_p(const KLASSENTABELLE& t, byte n) {
    int einziges = -1;
    for (int c = 0; c <= n; ++c)
        for (int q = 0; q <= c; ++q)
            if (t[c][q] > 0) {
                if (einziges < 0)
                    einziges = q;
                else if (einziges != q)
                    return -1;
            }
    return einziges;
}

// Reads a P that some open class has. False on Esc or Ctrl-C.
bool lies_p(const KLASSENTABELLE& t, byte n, byte& p) {
    for (;;) {
        const unsigned char k = wait_for_plain_key();
        if (key::breaks_off(k)) return false;
        if (k == key::EXTENDED) continue;
        const byte d = static_cast<byte>(k - 48);
        if (d > n) continue;
        bool moeglich = false;
        for (int c = d; c <= n; ++c) moeglich = moeglich || t[c][d] > 0;
        if (!moeglich) continue;
        p = d;
        return true;
    }
}

// The common of the one class open with this P, or -1 when more than one is.
int einzige_klasse(const KLASSENTABELLE& t, byte n, byte p) {
    int einzige = -1, offen = 0;
    for (int c = p; c <= n; ++c)
        if (t[c][p] > 0) {
            einzige = c;
            ++offen;
        }
    return offen == 1 ? einzige : -1;
}

enum class Z_Eingabe { genommen, zurueck_zu_p, abbruch };

// Reads a Z whose class is open with P. Backspace goes back to the P field
// (cleared) unless P was filled in without asking.
Z_Eingabe lies_z(const KLASSENTABELLE& t, byte n, byte p, bool p_von_selbst, byte p_col, byte row, byte& z) {
    for (;;) {
        const unsigned char k = wait_for_plain_key();
        if (key::breaks_off(k)) return Z_Eingabe::abbruch;
        if (k == key::EXTENDED) continue;
        if (k == key::BACKSPACE) {
            if (p_von_selbst) continue;
            console::goto_xy(p_col, row);
            console::write(' ');
            console::goto_xy(p_col, row);
            return Z_Eingabe::zurueck_zu_p;
        }
        const byte d = static_cast<byte>(k - 48);
        if (d > n - p || t[p + d][p] <= 0) continue;
        z = d;
        return Z_Eingabe::genommen;
    }
}

}  // namespace

bool read_checked_answer(const KLASSENTABELLE& t, byte n, byte p_col, byte z_col, byte row, byte& p,
                         byte& z, unsigned char& taste) {
    if (n > 9) n = 9;
    // 1. The person who must answer is called.
    if (X.TON) beep();
    auto abbruch = [&] {
        taste = key::ESC;
        LISTEN_FREIGEBEN(true);
        ZEITEIN = false;
        return false;
    };
    for (;;) {
        // 2. P: taken without asking when every possible answer has the same P.
        const int von_selbst = einziges_p(t, n);
        const bool p_von_selbst = von_selbst >= 0;
        console::goto_xy(p_col, row);
        if (p_von_selbst)
            p = static_cast<byte>(von_selbst);
        else if (!lies_p(t, n, p))
            return abbruch();
        console::goto_xy(p_col, row);
        console::write_num(p);
        console::goto_xy(z_col, row);

        // 3. Z: forced when P leaves no choice or only one class is open.
        const int klasse = p + 1 >= n ? p : einzige_klasse(t, n, p);
        if (klasse >= 0) {
            z = static_cast<byte>(klasse - p);
        } else {
            const Z_Eingabe e = lies_z(t, n, p, p_von_selbst, p_col, row, z);
            if (e == Z_Eingabe::abbruch) return abbruch();
            if (e == Z_Eingabe::zurueck_zu_p) continue;
        }

        // 4. The answer is shown.
        console::goto_xy(z_col, row);
        console::write_num(z);
        return true;
    }
}

}  // namespace zqspiel
