// The shuffle table lives in its own anonymous mapping rather than in static
// data: pages untouched since the last clearing are zero (nil) already, and
// clearing is giving the pages back, so an idle table costs nothing.
#include <sys/mman.h>

#include <cstring>

#include "engine/zqspiel.h"

namespace zqspiel {

namespace {
constexpr std::size_t HEADS_BYTES = sizeof(PTR) * MISCH_GROESSE;
constexpr std::size_t COUNTS_BYTES = MISCH_GROESSE;
constexpr std::size_t BITS_BYTES = MISCH_GROESSE / 64 / 8;  // a bit per 64 heads
constexpr std::size_t TOTAL_BYTES = HEADS_BYTES + COUNTS_BYTES + BITS_BYTES;

struct Table {
    void* base = nullptr;
    bool touched = false;
    bool huge = false;
    Table() {
        base = mmap(nullptr, TOTAL_BYTES, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                    -1, 0);
        if (base == MAP_FAILED) base = nullptr;
#ifdef MADV_HUGEPAGE
        // The build hits the heads at random: large pages spare the TLB.
        if (base) huge = madvise(base, TOTAL_BYTES, MADV_HUGEPAGE) == 0;
#endif
    }
    ~Table() {
        if (base) munmap(base, TOTAL_BYTES);
    }
};

Table& table() {
    static Table t;
    return t;
}
}  // namespace

PTR* MISCHFELD() { return static_cast<PTR*>(table().base); }
byte* MISCHZ() { return static_cast<byte*>(table().base) + HEADS_BYTES; }
std::uint64_t* MISCHBITS() {
    return reinterpret_cast<std::uint64_t*>(static_cast<byte*>(table().base) + HEADS_BYTES + COUNTS_BYTES);
}

void mark_mischfeld_used() { table().touched = true; }

void waehle_mischfeld_seiten(std::int64_t codes) {
    Table& t = table();
    if (!t.base) return;
    // A small store touches a few thousand heads scattered over the whole
    // table: with large pages each of them costs the kernel 2 MiB of zeroing,
    // about 300 MB a match, where small pages cost a few MB. A large store
    // touches every page anyway, and then large pages spare the TLB.
#if defined(MADV_HUGEPAGE) && defined(MADV_NOHUGEPAGE)
    const bool gross = codes >= KLEINER_SPEICHER;
    if (gross != t.huge) {
        madvise(t.base, TOTAL_BYTES, gross ? MADV_HUGEPAGE : MADV_NOHUGEPAGE);
        t.huge = gross;
    }
#else
    (void)codes;
#endif
}

void INITFELD() {
    Table& t = table();
    if (!t.touched || !t.base) return;
    // MADV_DONTNEED on a private anonymous mapping drops the pages; the next
    // touch reads zeros: nil for every head, 0 for every counter (the build
    // relies on an empty bucket's counter being 0) and an empty bit map.
    if (madvise(t.base, TOTAL_BYTES, MADV_DONTNEED) != 0) {
        std::memset(t.base, 0, TOTAL_BYTES);
    }
    t.touched = false;
}

}  // namespace zqspiel
