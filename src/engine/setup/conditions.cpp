// Defaults and checks of the conditions, the sign ring and the budgets.
#include "engine/setup/conditions.h"

#include "engine/arena.h"

namespace zqspiel {

namespace {

// Place of a sign on the ring a..z, 0..9 (a = 0 .. z = 25, 0 = 26 .. 9 = 35);
// -1 for anything else.
int ring(char c) {
    if (c >= 'a' && c <= 'z') return c - 'a';
    if (c >= '0' && c <= '9') return 26 + (c - '0');
    return -1;
}

char sign_at(int r) { return r < 26 ? static_cast<char>('a' + r) : static_cast<char>('0' + (r - 26)); }

bool is_sign(char c) { return ring(c) >= 0; }

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Budgets by memory step: 673280 bytes per MiB of the label for steps 1..14;
// the last step keeps its own, slightly smaller figure.
constexpr std::int64_t MEMAVAIL_TABLE[16] = {
    0,           673280,      5386240,     43089920,    86179840,     172359680,
    344719360,   689438720,   1378877440,  2757754880,  5515509760,   11031019520,
    22062039040, 44124078080, 88248156160, 176473500000};

}  // namespace

void INITIALISIERE() {
    OBERGRENZE = INT64_MAX;
    X.NORMALATTR = 31;
    X.HERVORATTR = 30;
    X.ZEITSTUFE = 1;
    X.CODELAENGE = 4;
    X.RESERVE4 = 8;
    X.SPEICHER = 10;
    X.ERSTES_ZEICHEN = '0';
    X.LETZTES_ZEICHEN = '9';
    X.TON = false;
    X.WIEDERHOLUNG = false;
    X.LEERZEICHEN_ERLAUBT = false;
    X.PC_LOESUNG = true;
    X.PC_RAET = false;
    X.LOESUNG_FEST = true;
    X.NAME1.fill(' ');
    X.NAME2.fill(' ');
}

byte NRFUNKTION(char c) {
    const int r = ring(c);
    if (r < 0) return 255;
    const int first = ring(X.ERSTES_ZEICHEN) < 0 ? 0 : ring(X.ERSTES_ZEICHEN);
    return static_cast<byte>((r - first + 36) % 36 + 1);
}

char FARBFUNKTION(byte n) {
    if (n == 0 || n > 36) return '*';
    const int first = ring(X.ERSTES_ZEICHEN) < 0 ? 0 : ring(X.ERSTES_ZEICHEN);
    return sign_at((first + n - 1) % 36);
}

void build_sign_tables() {
    FARBARRAY[0] = '*';
    for (int n = 1; n <= 36; ++n) FARBARRAY[n] = static_cast<byte>(FARBFUNKTION(static_cast<byte>(n)));
    for (int c = '0'; c <= 'z'; ++c) NRARRAY[c - '0'] = NRFUNKTION(static_cast<char>(c));
    const byte last = NRFUNKTION(X.LETZTES_ZEICHEN);
    MAXFARBE = last == 255 ? 36 : last;
}

byte number_of_last_sign() { return NRARRAY[static_cast<unsigned char>(X.LETZTES_ZEICHEN) - '0']; }

void check_conditions() {
    if (X.ZEITSTUFE > 9) X.ZEITSTUFE = 6;
    if (X.CODELAENGE < 2 || X.CODELAENGE > 9) X.CODELAENGE = 4;
    if (X.RESERVE4 < 1 || X.RESERVE4 > 8) X.RESERVE4 = 8;
    if (X.SPEICHER < 1 || X.SPEICHER > 15) X.SPEICHER = 10;

    X.ERSTES_ZEICHEN = fold(X.ERSTES_ZEICHEN);
    if (!is_sign(X.ERSTES_ZEICHEN)) X.ERSTES_ZEICHEN = 'a';
    X.LETZTES_ZEICHEN = fold(X.LETZTES_ZEICHEN);
    if (!is_sign(X.LETZTES_ZEICHEN)) X.LETZTES_ZEICHEN = X.ERSTES_ZEICHEN;

    // A set of one sign is no game: fall back to six signs of the same kind.
    if (X.ERSTES_ZEICHEN == X.LETZTES_ZEICHEN) {
        if (X.ERSTES_ZEICHEN >= '0' && X.ERSTES_ZEICHEN <= '9') {
            X.ERSTES_ZEICHEN = '0';
            X.LETZTES_ZEICHEN = '5';
        } else {
            X.ERSTES_ZEICHEN = 'a';
            X.LETZTES_ZEICHEN = 'f';
        }
    }

    build_sign_tables();
    repetition_required();
}

bool repetition_required() {
    if (X.CODELAENGE <= MAXFARBE || X.WIEDERHOLUNG) return false;
    X.WIEDERHOLUNG = true;
    return true;
}

std::int64_t memavail_of(byte step) { return step >= 1 && step <= 15 ? MEMAVAIL_TABLE[step] : 0; }

void set_memavail(byte step) {
    MEMAVAIL = memavail_of(step);
    STORE_ARENA.set_budget(MEMAVAIL);
}

void set_zeitlimit() {
    if (X.ZEITSTUFE > 9) X.ZEITSTUFE = 6;
    ZEITLIMIT = X.ZEITSTUFE * 1000;
    ZEITLIMIT99 = ZEITLIMIT + 99;
    ZEITLIMIT_DIV_10 = X.ZEITSTUFE * 100;
}

int choose_text_mode(int last_mode) {
    if (last_mode == 0 || last_mode == 2) return 2;
    if (last_mode == 7) return 7;
    return 3;
}

void check_colour_pair(bool colour_screen, byte& normal, byte& highlight) {
    if (colour_screen) {
        normal &= 0x7F;
        if ((normal & 0x0F) == (normal >> 4)) normal = 7;
        highlight = static_cast<byte>((normal & 0x70) | (highlight & 0x0F));
        if ((highlight & 0x0F) == (highlight >> 4)) highlight = normal;
        return;
    }
    const bool bright = (normal == 7 || normal == 15) && (highlight == 7 || highlight == 15);
    const bool inverse = (normal == 112 || normal == 127) && (highlight == 112 || highlight == 127);
    if (!bright && !inverse) {
        normal = 7;
        highlight = 15;
    }
}

}  // namespace zqspiel
