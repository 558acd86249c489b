#include "engine/packed_candidates.h"

#include <sys/mman.h>

#include <cstring>

#include "console/console.h"

namespace zqspiel {

namespace {
PackedCopy copy;
}  // namespace

const PackedCopy& packed_copy() { return copy; }

bool baue_kompaktkopie() {
    const int l = X.CODELAENGE, n = MAXFARBE;
    const int satz = (l + n + 15) / 16 * 16;
    std::size_t anzahl = 0;
    for (PTR s = ERLAUBT; s; s = s->link3) ++anzahl;
    const std::size_t noetig = anzahl * static_cast<std::size_t>(satz);
    if (noetig > copy.mapped) {
        gib_suchpuffer_frei();
        // The copy is a help only: when the machine is short of memory the
        // search runs over the nodes instead.
        const console::MemoryRoom platz = console::memory_room();
        if (noetig > platz.resident / 4 || noetig > platz.address_space / 4) return false;
        const std::size_t seite = 1 << 16;
        const std::size_t groesse = (noetig + seite - 1) / seite * seite;
        void* p = mmap(nullptr, groesse, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) return false;
        copy.data = static_cast<byte*>(p);
        copy.mapped = groesse;
    }
    copy.count = anzahl;
    copy.record = satz;
    byte* r = copy.data;
    for (PTR s = ERLAUBT; s; s = s->link3, r += satz) {
        std::memset(r, 0, static_cast<std::size_t>(satz));
        for (int i = 1; i <= l; ++i) r[i - 1] = s->d(i);
        for (int c = 1; c <= n; ++c) r[l + c - 1] = s->d(FARBEPL + c);
    }
    return true;
}

void gib_suchpuffer_frei() {
    if (copy.data) munmap(copy.data, copy.mapped);
    copy = PackedCopy{};
}

}  // namespace zqspiel
