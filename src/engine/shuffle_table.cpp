// The shuffle table lives in anonymous mappings rather than in static data:
// fresh pages are zero (nil) already, and clearing is giving them back, so an
// idle table costs nothing, not even address space.
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "console/pages.h"
#include "engine/shuffle_table.h"

namespace zqspiel {

namespace {
using T = Mischtabelle;
constexpr std::uint64_t KOPF_BYTES = sizeof(PTR) * std::uint64_t{MISCH_GROESSE};
constexpr std::uint64_t STUECK_KOPF_BYTES = sizeof(PTR) << T::STUECK_BITS;
static_assert(T::STUECK_BYTES % 4096 == 0);
constexpr std::uint64_t VORAUS_GEZOGEN = 64;  // more than the store build draws ahead

Mischtabelle tabelle;

struct Zustand {
    void* ganz = nullptr;     // the one mapping of the whole table, or nil
    bool huge = false;        // it asks for large pages
    std::uint32_t stuecke = 0;  // pieces mapped one by one
    bool touched = false;     // heads, counters or bits may be set
} zustand;

void* abbilden(std::uint64_t bytes) {
    return console::map_pages(bytes);
}

// A small store touches a few thousand heads scattered over the whole table:
// with large pages each of them costs the kernel 2 MiB of zeroing, about 300
// MB a match, where small pages cost a few MB. A large store touches every
// page anyway, and then large pages spare the TLB.
void seiten_waehlen(bool gross) {
    // Without the advice (macOS, the BSDs) the system chooses the page size.
    if (console::advise_large_pages(zustand.ganz, T::GANZ_BYTES, gross)) zustand.huge = gross;
}

bool ganz_abbilden(bool gross) {
    void* p = abbilden(T::GANZ_BYTES);
    if (!p) return false;
    zustand.ganz = p;
    zustand.huge = !gross;  // so that the choice below is made
    seiten_waehlen(gross);
    auto* koepfe = static_cast<PTR*>(p);
    byte* zaehler = static_cast<byte*>(p) + KOPF_BYTES;
    for (std::uint32_t i = 0; i < T::STUECKE; ++i) {
        tabelle.koepfe[i] = koepfe + (std::size_t{i} << T::STUECK_BITS);
        tabelle.zaehler[i] = zaehler + (std::size_t{i} << T::STUECK_BITS);
    }
    return true;
}

}  // namespace

Mischtabelle& mischtabelle() { return tabelle; }

bool mischstueck_holen(std::uint32_t b) {
    const std::uint32_t i = (b & (MISCH_GROESSE - 1)) >> T::STUECK_BITS;
    if (tabelle.koepfe[i]) return true;
    void* p = abbilden(T::STUECK_BYTES);
    if (!p) return false;
    tabelle.koepfe[i] = static_cast<PTR*>(p);
    tabelle.zaehler[i] = static_cast<byte*>(p) + STUECK_KOPF_BYTES;
    ++zustand.stuecke;
    zustand.touched = true;
    return true;
}

PTR MISCHFELD(std::uint32_t b) { return tabelle.da(b) ? tabelle.kopf(b) : nullptr; }
byte MISCHZ(std::uint32_t b) { return tabelle.da(b) ? tabelle.zahl(b) : byte{0}; }

void mark_mischfeld_used() { zustand.touched = true; }

bool mischfeld_ganz() { return zustand.ganz != nullptr; }

Speicherbedarf bereite_mischfeld(std::int64_t codes, std::uint64_t adressraum_frei) {
    const bool gross = codes >= KLEINER_SPEICHER;
    Speicherbedarf bedarf;
    // With small pages a code touches at most a page of heads and one of
    // counters; with large ones the whole table is touched soon.
    const long seite = sysconf(_SC_PAGESIZE);
    const std::uint64_t n = codes > 0 ? static_cast<std::uint64_t>(codes) : 0;
    bedarf.resident = gross ? T::GANZ_BYTES
                            : std::min<std::uint64_t>(T::GANZ_BYTES, n * 2 * static_cast<std::uint64_t>(seite > 0 ? seite : 4096));
    if (zustand.ganz) {
        if (gross != zustand.huge) seiten_waehlen(gross);
        return bedarf;
    }
    if (zustand.stuecke == 0 && adressraum_frei >= T::GANZ_BYTES && ganz_abbilden(gross)) {
        bedarf.adressraum = T::GANZ_BYTES;
        return bedarf;
    }
    // In pieces: at most one new piece per bucket drawn, which is one per
    // code and the few the build draws ahead.
    bedarf.adressraum = std::min<std::uint64_t>(n + VORAUS_GEZOGEN, T::STUECKE) * T::STUECK_BYTES;
    return bedarf;
}

void INITFELD() {
    if (!zustand.touched && !zustand.ganz && zustand.stuecke == 0) return;
    if (zustand.ganz) {
        console::unmap_pages(zustand.ganz, T::GANZ_BYTES);
    } else {
        for (std::uint32_t i = 0; i < T::STUECKE; ++i)
            if (tabelle.koepfe[i]) console::unmap_pages(tabelle.koepfe[i], T::STUECK_BYTES);
    }
    // Unmapped, every head reads nil and every counter 0 (the build relies
    // on an empty bucket's counter being 0); the next mapping is zero.
    std::fill(std::begin(tabelle.koepfe), std::end(tabelle.koepfe), nullptr);
    std::fill(std::begin(tabelle.zaehler), std::end(tabelle.zaehler), nullptr);
    std::memset(tabelle.bits, 0, sizeof tabelle.bits);
    zustand = Zustand{};
}

}  // namespace zqspiel
