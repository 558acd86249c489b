#include "engine/encoder/answer_order.h"

namespace zqspiel {

namespace {

// Per code length, the answers as P/Z pairs from the first to the last. Each
// order shares one shape: the mixed answers (P and Z both at least 1, not
// every sign common), then P = 0 with Z at least 1, then Z = 0 with P rising,
// then 0/0, then the answers where every sign is common, and the solving
// answer last, so an encoder reading ties in this order concedes last.
constexpr const char* ORDER[10] = {
    "",
    "0/0 1/0",
    "0/1 1/0 0/0 0/2 2/0",
    "1/1 0/1 0/2 1/0 2/0 0/0 0/3 1/2 3/0",
    "1/1 1/2 2/1 0/2 0/1 0/3 1/0 2/0 3/0 0/0 0/4 1/3 2/2 4/0",
    "1/1 1/2 1/3 2/1 2/2 3/1 0/2 0/3 0/1 0/4 1/0 2/0 3/0 4/0 0/0 0/5 1/4 2/3 3/2 5/0",
    "1/2 1/1 1/3 2/1 1/4 2/2 2/3 3/1 3/2 4/1 0/3 0/2 0/4 0/1 0/5 1/0 2/0 3/0 4/0 5/0 0/0 0/6 1/5 2/4 3/3 "
    "4/2 6/0",
    "1/2 1/3 1/1 1/4 2/1 2/2 2/3 3/1 1/5 2/4 3/2 3/3 4/1 4/2 5/1 0/3 0/4 0/2 0/5 0/1 0/6 1/0 2/0 3/0 4/0 "
    "5/0 6/0 0/0 0/7 1/6 2/5 3/4 4/3 5/2 7/0",
    "1/3 1/2 1/4 2/2 2/1 2/3 3/1 1/1 1/5 2/4 3/2 1/6 3/3 4/1 2/5 3/4 4/2 4/3 5/1 5/2 6/1 0/4 0/3 0/5 0/2 "
    "0/6 0/1 0/7 1/0 2/0 3/0 4/0 5/0 6/0 7/0 0/0 0/8 1/7 2/6 3/5 4/4 5/3 6/2 8/0",
    "1/3 1/4 2/2 1/2 2/3 1/5 2/1 1/1 1/6 2/4 3/1 3/2 1/7 2/5 3/3 2/6 4/1 3/4 4/2 3/5 4/3 5/1 4/4 5/2 5/3 "
    "6/1 6/2 7/1 0/4 0/5 0/3 0/6 0/2 0/7 0/1 0/8 1/0 2/0 3/0 4/0 5/0 6/0 7/0 8/0 0/0 0/9 1/8 2/7 3/6 4/5 "
    "5/4 6/3 7/2 9/0",
};

}  // namespace

void REIHENFOLGE() {
    const byte n = X.CODELAENGE;
    if (n == LETZTEZAHL) return;
    POS_ORD.fill(0);
    ZEI_ORD.fill(0);
    ZAHL_DER_GRUPPEN = 0;
    if (n >= 1 && n <= 9) {
        // "p/z" triples separated by blanks, one digit each.
        for (const char* s = ORDER[n]; *s != '\0'; s += (s[3] == ' ') ? 4 : 3) {
            const byte p = static_cast<byte>(s[0] - '0');
            const byte z = static_cast<byte>(s[2] - '0');
            ++ZAHL_DER_GRUPPEN;
            POS_ORD[ZAHL_DER_GRUPPEN] = p;
            ZEI_ORD[ZAHL_DER_GRUPPEN] = static_cast<byte>(p + z);
        }
    }
    LETZTEZAHL = n;
}

}  // namespace zqspiel
