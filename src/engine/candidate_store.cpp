#include "engine/candidate_store.h"

#include <algorithm>
#include <cstring>

#include "console/console.h"
#include "console/pages.h"
#include "engine/arena.h"
#include "engine/clock.h"
#include "engine/long_work.h"

namespace zqspiel {

std::int64_t anzahl_kandidaten(int l, int n, bool leer) {
    std::int64_t c = 1;
    for (int i = 0; i < l; ++i) c *= n + (leer ? 1 : 0);
    return leer ? c - 1 : c;
}

namespace {

// Inserts node into bucket b. Within a bucket link 2 runs forward and link 3
// backward; the head's link 3 names the last node and the last node's link 2
// the middle mark (place n div 2 + 1 of n nodes), so the place the node goes
// to is reached from the nearest of head, middle and end.
// The piece of b must be mapped.
inline void in_fach(Mischtabelle& t, console::Random& rng, PTR node, std::uint32_t b) {
    PTR& kopf = t.kopf(b);
    PTR head = kopf;
    if (!head) {
        // The counter of an empty bucket is 0 already (the join and the
        // clearing of the table leave it so): not touching it saves a miss.
        node->link2 = node;
        node->link3 = node;
        kopf = node;
        // One bit for each run of 64 heads: small enough to stay in cache.
        t.bits[b >> 12] |= std::uint64_t{1} << ((b >> 6) & 63);
        return;
    }
    byte& zahl = t.zahl(b);
    const std::uint32_t n = std::uint32_t{zahl} + 1;
    PTR last = head->link3;
    PTR mid = last->link2;
    const std::uint32_t m = n / 2 + 1;  // place of the middle mark
    const std::uint32_t r = rng.below(n + 1);
    bool before_mid;
    if (r == 0) {
        node->link2 = head;
        node->link3 = last;
        head->link3 = node;
        kopf = node;
        before_mid = true;
    } else if (r == n) {
        last->link2 = node;
        node->link3 = last;
        head->link3 = node;
        // The new node is the last one and carries the middle mark.
        if (n & 1) mid = (mid == last) ? node : mid->link2;
        node->link2 = mid;
        zahl = zahl == 255 ? 254 : static_cast<byte>(zahl + 1);
        return;
    } else {
        // Find the node at place r (1 <= r < n) and insert after it.
        PTR a;
        const std::uint32_t from_head = r - 1;
        const std::uint32_t from_mid = r >= m ? r - m : m - r;
        const std::uint32_t from_last = n - r;
        if (from_head <= from_mid && from_head <= from_last) {
            a = head;
            for (std::uint32_t i = 0; i < from_head; ++i) a = a->link2;
        } else if (from_mid <= from_last) {
            a = mid;
            if (r >= m)
                for (std::uint32_t i = 0; i < from_mid; ++i) a = a->link2;
            else
                for (std::uint32_t i = 0; i < from_mid; ++i) a = a->link3;
        } else {
            a = last;
            for (std::uint32_t i = 0; i < from_last; ++i) a = a->link3;
        }
        PTR c = a->link2;
        a->link2 = node;
        node->link3 = a;
        node->link2 = c;
        c->link3 = node;
        before_mid = r < m;
    }
    // The mark moves to place (n + 1) div 2 + 1.
    if (before_mid) {
        if ((n & 1) == 0) mid = mid->link3;
    } else if (n & 1) {
        mid = mid->link2;
    }
    last->link2 = mid;
    zahl = zahl == 255 ? 254 : static_cast<byte>(zahl + 1);
}

constexpr std::uint32_t bucket_of(std::uint64_t x) { return static_cast<std::uint32_t>(x >> 39); }
static_assert((std::uint64_t{1} << 25) == MISCH_GROESSE);

// Joins the non-empty buckets whose bit words are w0 .. w1 - 1, in index
// order, onto the guess chain (VERS .. SCHLUSSLICHT), and leaves their heads
// and counters as a fresh table has them.
void verbinde_bereich(std::uint32_t w0, std::uint32_t w1) {
    Mischtabelle& t = mischtabelle();
    std::uint64_t* bits = t.bits;
    // The heads come in index order; their nodes and the buckets' last nodes
    // are fetched some buckets ahead of the linking.
    constexpr unsigned RING = 16;
    PTR koepfe[RING];
    std::uint32_t faecher[RING];
    unsigned drin = 0, pos = 0;
    auto verbinde = [&](PTR head, std::uint32_t b) {
        PTR last = head->link3;
        // A bucket of one node never had its counter written: leaving that
        // page alone spares a small build most of its page faults.
        if (last != head) t.zahl(b) = 0;
        if (VERS)
            SCHLUSSLICHT->link2 = head;
        else
            VERS = head;
        SCHLUSSLICHT = last;
        last->link2 = nullptr;
    };
    auto nimm = [&](PTR head, std::uint32_t b) {
        __builtin_prefetch(head, 1);
        if (drin == RING) {
            verbinde(koepfe[pos], faecher[pos]);
            --drin;
        }
        koepfe[pos] = head;
        faecher[pos] = b;
        pos = (pos + 1) & (RING - 1);
        ++drin;
        // Half the ring back the head is in: fetch the last node.
        if (drin > RING / 2) __builtin_prefetch(koepfe[(pos + RING / 2) & (RING - 1)]->link3, 1);
    };
    for (std::uint32_t w = w0; w < w1; ++w) {
        std::uint64_t word = bits[w];
        if (!word) continue;
        bits[w] = 0;
        while (word) {
            const std::uint32_t lauf = w * 64 + static_cast<std::uint32_t>(__builtin_ctzll(word));
            word &= word - 1;
            // A run of 64 lies in one piece, which holds a node: it is mapped.
            PTR* felder = &t.kopf(lauf * 64);
            for (std::uint32_t i = 0; i < 64; ++i) {
                PTR head = felder[i];
                if (!head) continue;
                felder[i] = nullptr;  // emptied as a fresh table is
                nimm(head, lauf * 64 + i);
            }
        }
    }
    // The rest, oldest first.
    const unsigned start = (pos + RING - drin) & (RING - 1);
    for (unsigned i = 0; i < drin; ++i) {
        const unsigned k = (start + i) & (RING - 1);
        verbinde(koepfe[k], faecher[k]);
    }
}

constexpr std::uint32_t BIT_WORTE = MISCH_GROESSE / 4096;

// The nodes of a large build listed by range of buckets, in the order they
// were made: blocks of pointers, one chain of blocks per range, from one
// mapping that costs nothing where it is not touched.
class Bereichsliste {
public:
    static constexpr unsigned BITS = 14;  // 2^14 buckets a range: 128 KiB of heads
    static constexpr unsigned BEREICHE = MISCH_GROESSE >> BITS;
    static constexpr unsigned ZEIGER = 511;
    struct Block {
        Block* next;
        PTR p[ZEIGER];
    };
    static_assert(sizeof(Block) == 4096);

    Bereichsliste() = default;
    Bereichsliste(const Bereichsliste&) = delete;
    Bereichsliste& operator=(const Bereichsliste&) = delete;
    ~Bereichsliste() {
        console::unmap_pages(pool_, bytes_);
    }

    // Room for codes nodes, when the process can have it beside what the
    // build takes anyway (`schon`); false leaves the build to direct insertion.
    bool anlegen(std::int64_t codes, const Speicherbedarf& schon) {
        // Every block but the last of a range is full.
        bloecke_ = BEREICHE + static_cast<std::size_t>(codes) / ZEIGER + 1;
        bytes_ = bloecke_ * sizeof(Block);
        if (!speicher_reicht(schon.resident + bytes_, schon.adressraum + bytes_)) return false;
        void* m = console::map_pages(bytes_);
        if (!m) return false;
        // Some thousand blocks are filled at once: large pages spare the TLB.
        console::advise_large_pages(m, bytes_, true);
        pool_ = static_cast<Block*>(m);
        naechster_ = BEREICHE;  // block t is the first one of range t
        for (unsigned t = 0; t < BEREICHE; ++t) {
            letzter_[t] = &pool_[t];
            pos_[t] = pool_[t].p;
        }
        return true;
    }

    // False only if more nodes come than were announced.
    bool dazu(PTR node, std::uint32_t b) {
        const unsigned t = b >> BITS;
        if (pos_[t] == letzter_[t]->p + ZEIGER) {
            if (naechster_ == bloecke_) return false;
            Block* neu = &pool_[naechster_++];  // fresh pages: next is nil already
            letzter_[t]->next = neu;
            letzter_[t] = neu;
            pos_[t] = neu->p;
        }
        *pos_[t]++ = node;
        return true;
    }

    // Calls f for the nodes of range t in the order they were listed.
    template <class F>
    void jeder(unsigned t, F&& f) const {
        for (const Block* k = &pool_[t]; k; k = k->next) {
            const PTR* a = k->p;
            const PTR* e = k == letzter_[t] ? pos_[t] : a + ZEIGER;
            for (; a < e; ++a) {
                if (a + 16 < e) __builtin_prefetch(a[16], 1);
                f(*a);
            }
        }
    }

private:
    Block* pool_ = nullptr;
    std::size_t bytes_ = 0;
    std::size_t bloecke_ = 0;
    std::size_t naechster_ = 0;
    Block* letzter_[BEREICHE] = {};
    PTR* pos_[BEREICHE] = {};
};

// A bucket's piece of the table is mapped when the bucket is drawn.
inline bool sichere(Mischtabelle& t, std::uint32_t b) { return t.da(b) || mischstueck_holen(b); }

// The store and the table are weighed as a whole: a store that cannot fit
// ends the build at once, as an exhausted heap would at the first node,
// instead of after minutes of building or at the hands of the system. Sets
// the arena's budget and plan, readies the table, and gives in bedarf what
// the build adds to the process; false when that is more than it can have.
bool weigh_store(std::int64_t codes, Speicherbedarf& bedarf) {
    const std::uint64_t knoten = static_cast<std::uint64_t>(codes) * SIZERATENPTR;
    SPEICHER_ARENA.set_budget(MEMGES);
    SPEICHER_ARENA.plan(knoten);
    const std::uint64_t knoten_adressraum = Arena::address_space_for(knoten);
    const console::MemoryRoom platz = console::memory_room();
    const Speicherbedarf tabelle = bereite_mischfeld(
        codes, platz.address_space > knoten_adressraum ? platz.address_space - knoten_adressraum : 0);
    bedarf = Speicherbedarf{knoten + tabelle.resident, knoten_adressraum + tabelle.adressraum};
    return bedarf.resident <= platz.resident && bedarf.adressraum <= platz.address_space;
}

// The digit counter of the build: the code it stands on as digits d[1..l]
// over s..n (0 the vacant sign), the count k[c] of each digit value, and the
// node data of that code renamed by PERMZTM/PERMFTM, copied into each node
// and kept up to date digit by digit.
class StoreCounter {
public:
    StoreCounter(int l, int n, bool leer) : l_(l), n_(n), s_(leer ? 0 : 1) {
        for (int i = 1; i <= l; ++i) d_[i] = s_;
        k_[s_] = l;
        if (leer) {
            // The all-vacant code is left out: the count starts one above it.
            d_[1] = 1;
            k_[0] = l - 1;
            k_[1] = 1;
        }
        for (int i = 1; i <= l; ++i) tmpl_[PERMZTM[i] - 1] = PERMFTM[d_[i]];
        for (int c = 1; c <= n; ++c) tmpl_[zaehlstelle(c)] = static_cast<byte>(k_[c]);
        if (leer) tmpl_[FARBE0 - 1] = static_cast<byte>(k_[0]);
    }

    const byte* data() const { return tmpl_; }

    // Next code: one digit up, with carry. False after the last code.
    bool next() {
        if (d_[1] < n_) {
            setze(1, d_[1] + 1);
            return true;
        }
        int j = 2;
        while (j <= l_ && d_[j] == n_) ++j;
        if (j > l_) return false;
        setze(j, d_[j] + 1);
        for (int i = 1; i < j; ++i) setze(i, s_);
        return true;
    }

private:
    int zaehlstelle(int c) const { return c == 0 ? FARBE0 - 1 : FARBEPL + PERMFTM[c] - 1; }
    void setze(int i, int v) {
        const int old = d_[i];
        --k_[old];
        tmpl_[zaehlstelle(old)] = static_cast<byte>(k_[old]);
        ++k_[v];
        tmpl_[zaehlstelle(v)] = static_cast<byte>(k_[v]);
        d_[i] = v;
        tmpl_[PERMZTM[i] - 1] = PERMFTM[v];
    }

    int l_, n_, s_;
    int d_[10] = {};
    int k_[37] = {};
    byte tmpl_[46] = {};
};

// Direct insertion: bucket numbers are drawn RING nodes ahead, and their
// heads and counters prefetched, so the random accesses overlap.
class BucketRing {
public:
    BucketRing(Mischtabelle& t, console::Random& rng) : t_(t), rng_(rng) {}

    // The first RING buckets; false when a piece cannot be mapped.
    bool fill() {
        for (unsigned i = 0; i < RING; ++i) {
            ring_[i] = bucket_of(rng_.next());
            if (!sichere(t_, ring_[i])) return false;
            __builtin_prefetch(&t_.kopf(ring_[i]), 1);
        }
        return true;
    }

    // The bucket of the next node in b; a new one is drawn in its place.
    // False when the new one's piece cannot be mapped.
    bool take(std::uint32_t& b) {
        b = ring_[slot_];
        const std::uint32_t nb = bucket_of(rng_.next());
        if (!sichere(t_, nb)) return false;
        ring_[slot_] = nb;
        __builtin_prefetch(&t_.kopf(nb), 1);
        slot_ = (slot_ + 1) & (RING - 1);
        // Halfway there the head of a later bucket is in cache: when there is
        // one, fetch its node and the counter; a quarter ahead that node is
        // in: fetch the bucket's last node.
        const std::uint32_t hb = ring_[(slot_ + RING / 2) & (RING - 1)];
        if (PTR h = t_.kopf(hb)) {
            __builtin_prefetch(h, 1);
            __builtin_prefetch(&t_.zahl(hb), 1);
        }
        if (PTR h = t_.kopf(ring_[(slot_ + RING / 4) & (RING - 1)])) __builtin_prefetch(h->link3, 1);
        return true;
    }

private:
    static constexpr unsigned RING = 32;
    Mischtabelle& t_;
    console::Random& rng_;
    std::uint32_t ring_[RING];
    unsigned slot_ = 0;
};

// The star bar of the build: stars are due at each tenth of the codes.
class StarSteps {
public:
    StarSteps() : gesamt_(std::max<std::int64_t>(1, ZAHL_DER_VERSUCHE)), naechster_(schwelle()) {}
    // After each node: draws the bar when the next tenth is reached.
    void node_made() {
        if (GERATENE_VERSUCHE < naechster_) return;
        QU_10_2 = stars_due(GERATENE_VERSUCHE, gesamt_);
        draw_star_bar(QU_10_2);
        naechster_ = schwelle();
    }

private:
    // The node count at which the next tenth is reached.
    std::int64_t schwelle() const { return ((static_cast<std::int64_t>(ZAHL_DER_STERNE) + 1) * gesamt_ + 9) / 10; }
    std::int64_t gesamt_;
    std::int64_t naechster_;
};

// Makes a node for every code of the digit counter: on the allocation chain,
// and into its bucket at once, or (with liste) onto the list of its bucket's
// range, keeping the bucket number in link 3 until then. Looks at the clock
// and the keyboard every 256 nodes, from the first. False when the user
// broke off or memory ran out.
bool make_nodes(int l, int n, Bereichsliste* liste) {
    Mischtabelle& t = mischtabelle();
    console::Random& rng = console::active().rng;
    StoreCounter code(l, n, X.LEERZEICHEN_ERLAUBT);
    const std::size_t datalen = std::min<std::size_t>(46, SIZERATENPTR > 24 ? SIZERATENPTR - 24 : 0);
    StarSteps sterne;
    BucketRing ring(t, rng);
    if (!liste && !ring.fill()) return false;
    Pacer blick(256, true);
    for (;;) {
        if (blick.due()) {
            SCHREIBE_ZEIT();
            if (tastatur_bricht_ab()) return false;
        }
        PTR node = static_cast<PTR>(SPEICHER_ARENA.allocate(SIZERATENPTR));
        if (!node) return false;
        std::memcpy(node->data, code.data(), datalen);
        node->link1 = VERSLOE;
        VERSLOE = node;

        if (liste) {
            const std::uint32_t b = bucket_of(rng.next());
            if (!sichere(t, b)) return false;
            node->link3 = reinterpret_cast<PTR>(static_cast<std::uintptr_t>(b));
            if (!liste->dazu(node, b)) return false;
        } else {
            std::uint32_t b;
            if (!ring.take(b)) return false;
            in_fach(t, rng, node, b);
        }

        ++GERATENE_VERSUCHE;
        SETZEZEITLETZTERVERSUCH = true;
        sterne.node_made();
        if (!code.next()) return true;
    }
}

// The buckets of a large build are filled range by range from its lists and
// each range joined onto the guess chain at once, with a look at the clock
// and the keyboard every 16 ranges. False when the user broke off.
bool fill_by_ranges(const Bereichsliste& liste) {
    Mischtabelle& t = mischtabelle();
    console::Random& rng = console::active().rng;
    VERS = nullptr;
    SCHLUSSLICHT = nullptr;
    constexpr std::uint32_t worte = (std::uint32_t{1} << Bereichsliste::BITS) / 4096;
    Pacer blick(16);
    for (unsigned r = 0; r < Bereichsliste::BEREICHE; ++r) {
        liste.jeder(r, [&](PTR node) {
            const auto b = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(node->link3));
            in_fach(t, rng, node, b);
        });
        verbinde_bereich(r * worte, (r + 1) * worte);
        if (blick.due()) {
            SCHREIBE_ZEIT();
            if (tastatur_bricht_ab()) return false;
        }
    }
    return true;
}

}  // namespace

bool mische_ein(PTR node, std::uint32_t b) {
    b &= MISCH_GROESSE - 1;
    if (!mischstueck_holen(b)) return false;
    mark_mischfeld_used();
    node->link1 = VERSLOE;
    VERSLOE = node;
    in_fach(mischtabelle(), console::active().rng, node, b);
    return true;
}

void verbinde_faecher() {
    VERS = nullptr;
    SCHLUSSLICHT = nullptr;
    verbinde_bereich(0, BIT_WORTE);
}

void baue_loesungskette() {
    if (X.WIEDERHOLUNG && !LEERZEICHEN) {
        ERLAUBT = VERSLOE;
        for (PTR p = VERSLOE; p; p = p->link1) p->link3 = p->link1;
        return;
    }
    ERLAUBT = nullptr;
    PTR tail = nullptr;
    for (PTR p = VERSLOE; p; p = p->link1) {
        bool keep = !LEERZEICHEN || p->d(FARBE0) == 0;
        if (keep && !X.WIEDERHOLUNG)
            for (int i = FARBE1; i <= ENDFARBE; ++i)
                if (p->d(i) > 1) {
                    keep = false;
                    break;
                }
        if (!keep) continue;
        if (tail)
            tail->link3 = p;
        else
            ERLAUBT = p;
        tail = p;
    }
    if (tail) tail->link3 = nullptr;
}

bool baue_speicher(int l, int n) {
    const std::int64_t codes = std::max<std::int32_t>(0, ZAHL_DER_VERSUCHE);

    // 1. The whole store and the table are weighed against what the process
    // can really have before the first node.
    Speicherbedarf bedarf;
    if (!weigh_store(codes, bedarf)) {
        SCHREIBE_ZEIT();
        tastatur_bricht_ab();
        return false;
    }
    mark_mischfeld_used();

    // 2. A large build makes its nodes first and fills the buckets range by
    // range afterwards: a bucket gets its nodes in the same order as by
    // direct insertion, so the guess chain is shuffled just as well, but the
    // heads and the nodes being linked are in cache instead of anywhere in a
    // gigabyte.
    Bereichsliste liste;
    const bool nach_bereichen = ZAHL_DER_VERSUCHE >= GROSSER_SPEICHER && liste.anlegen(ZAHL_DER_VERSUCHE, bedarf);

    // 3. A node for every code, into its bucket or onto its range's list.
    if (!make_nodes(l, n, nach_bereichen ? &liste : nullptr)) return false;

    // 4. The buckets are joined in index order into the guess chain.
    if (!nach_bereichen) {
        verbinde_faecher();
        return true;
    }
    return fill_by_ranges(liste);
}

std::int64_t zaehle_rateliste() {
    std::int64_t c = 0;
    for (PTR p = VERS; p; p = p->link2) ++c;
    return c;
}
std::int64_t zaehle_loesungsliste() {
    std::int64_t c = 0;
    for (PTR p = ERLAUBT; p; p = p->link3) ++c;
    return c;
}
std::int64_t zaehle_alle_knoten() {
    std::int64_t c = 0;
    for (PTR p = VERSLOE; p; p = p->link1) ++c;
    return c;
}

}  // namespace zqspiel
