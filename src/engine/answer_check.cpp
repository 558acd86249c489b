#include "engine/answer_check.h"

#include "console/console.h"
#include "engine/capacity.h"
#include "engine/clock.h"

namespace zqspiel {

namespace {

// Waits for a key, keeping the clock running. 0 for an extended key (its
// scan code is read and dropped).
unsigned char warte_auf_taste() {
    for (;;) {
        SCHREIBE_ZEIT();
        if (!console::key_pressed()) continue;
        const unsigned char t = console::read_key();
        if (t == 0) {
            console::read_key();
            return 0;
        }
        return t;
    }
}

}  // namespace

bool read_checked_answer(const KLASSENTABELLE& t, byte n, byte p_col, byte z_col, byte row, byte& p,
                         byte& z, unsigned char& taste) {
    if (n > 9) n = 9;
    if (X.TON) {
        console::sound(440);
        console::delay(500);
        console::no_sound();
    }
    auto abbruch = [&] {
        taste = 27;
        LISTEN_FREIGEBEN(true);
        ZEITEIN = false;
        return false;
    };
    for (;;) {
        // P: taken without asking when every possible answer has the same P.
        int einziges_p = -1;
        bool eindeutig = true;
        for (int c = 0; c <= n; ++c)
            for (int q = 0; q <= c; ++q)
                if (t[c][q] > 0) {
                    if (einziges_p < 0)
                        einziges_p = q;
                    else if (einziges_p != q)
                        eindeutig = false;
                }
        const bool p_von_selbst = einziges_p >= 0 && eindeutig;
        console::goto_xy(p_col, row);
        if (p_von_selbst) {
            p = static_cast<byte>(einziges_p);
        } else {
            for (;;) {
                const unsigned char k = warte_auf_taste();
                if (k == 27 || k == 3) return abbruch();
                if (k == 0) continue;
                const byte d = static_cast<byte>(k - 48);
                if (d > n) continue;
                bool moeglich = false;
                for (int c = d; c <= n; ++c) moeglich = moeglich || t[c][d] > 0;
                if (!moeglich) continue;
                p = d;
                break;
            }
        }
        console::goto_xy(p_col, row);
        console::write_num(p);
        console::goto_xy(z_col, row);

        // Z: forced when P leaves no choice or only one class is open.
        if (p + 1 >= n) {
            z = 0;
        } else {
            int einziges_c = -1, offen = 0;
            for (int c = p; c <= n; ++c)
                if (t[c][p] > 0) {
                    einziges_c = c;
                    ++offen;
                }
            if (offen == 1) {
                z = static_cast<byte>(einziges_c - p);
            } else {
                bool zurueck = false;
                for (;;) {
                    const unsigned char k = warte_auf_taste();
                    if (k == 27 || k == 3) return abbruch();
                    if (k == 0) continue;
                    if (k == 8) {
                        if (p_von_selbst) continue;
                        console::goto_xy(p_col, row);
                        console::write(' ');
                        console::goto_xy(p_col, row);
                        zurueck = true;
                        break;
                    }
                    const byte d = static_cast<byte>(k - 48);
                    if (d > n - p || t[p + d][p] <= 0) continue;
                    z = d;
                    break;
                }
                if (zurueck) continue;
            }
        }
        console::goto_xy(z_col, row);
        console::write_num(z);
        return true;
    }
}

}  // namespace zqspiel
