#include "engine/codebreaker/candidate_store.h"

#include <algorithm>
#include <cstring>

#include "console/console.h"
#include "console/memory_pages.h"
#include "engine/arena.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/long_work.h"

namespace zqspiel {

std::int64_t candidate_count(int l, int n, bool vacant) {
    std::int64_t c = 1;
    for (int i = 0; i < l; ++i) c *= n + (vacant ? 1 : 0);
    return vacant ? c - 1 : c;
}

namespace {

// Inserts node into bucket b. Within a bucket link 2 runs forward and link 3
// backward; the head's link 3 names the last node and the last node's link 2
// the middle mark (place n div 2 + 1 of n nodes), so the place the node goes
// to is reached from the nearest of head, middle and end.
// The piece of b must be mapped.
inline void into_bucket(ShuffleTable& t, console::Random& rng, PTR node, std::uint32_t b) {
    PTR& bucket_head = t.bucket_head(b);
    PTR head = bucket_head;
    if (!head) {
        // The counter of an empty bucket is 0 already (the join and the
        // clearing of the table leave it so): not touching it saves a miss.
        node->link2 = node;
        node->link3 = node;
        bucket_head = node;
        // One bit for each run of 64 heads: small enough to stay in cache.
        t.bits[b >> 12] |= std::uint64_t{1} << ((b >> 6) & 63);
        return;
    }
    byte& counter = t.counter(b);
    const std::uint32_t n = std::uint32_t{counter} + 1;
    PTR last = head->link3;
    PTR mid = last->link2;
    const std::uint32_t m = n / 2 + 1;  // place of the middle mark
    const std::uint32_t r = rng.below(n + 1);
    bool before_mid;
    if (r == 0) {
        node->link2 = head;
        node->link3 = last;
        head->link3 = node;
        bucket_head = node;
        before_mid = true;
    } else if (r == n) {
        last->link2 = node;
        node->link3 = last;
        head->link3 = node;
        // The new node is the last one and carries the middle mark.
        if (n & 1) mid = (mid == last) ? node : mid->link2;
        node->link2 = mid;
        counter = counter == 255 ? 254 : static_cast<byte>(counter + 1);
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
    counter = counter == 255 ? 254 : static_cast<byte>(counter + 1);
}

constexpr std::uint32_t bucket_of(std::uint64_t x) { return static_cast<std::uint32_t>(x >> 39); }
static_assert((std::uint64_t{1} << 25) == SHUFFLE_SIZE);

// Joins the non-empty buckets whose bit words are w0 .. w1 - 1, in index
// order, onto the guess chain (VERS .. SCHLUSSLICHT), and leaves their heads
// and counters as a fresh table has them.
void link_range(std::uint32_t w0, std::uint32_t w1) {
    ShuffleTable& t = shuffle_table();
    std::uint64_t* bits = t.bits;
    // The heads come in index order; their nodes and the buckets' last nodes
    // are fetched some buckets ahead of the linking.
    constexpr unsigned RING = 16;
    PTR heads[RING];
    std::uint32_t buckets[RING];
    unsigned inside = 0, pos = 0;
    auto link = [&](PTR head, std::uint32_t b) {
        PTR last = head->link3;
        // A bucket of one node never had its counter written: leaving that
        // page alone spares a small build most of its page faults.
        if (last != head) t.counter(b) = 0;
        if (VERS)
            SCHLUSSLICHT->link2 = head;
        else
            VERS = head;
        SCHLUSSLICHT = last;
        last->link2 = nullptr;
    };
    auto take = [&](PTR head, std::uint32_t b) {
        __builtin_prefetch(head, 1);
        if (inside == RING) {
            link(heads[pos], buckets[pos]);
            --inside;
        }
        heads[pos] = head;
        buckets[pos] = b;
        pos = (pos + 1) & (RING - 1);
        ++inside;
        // Half the ring back the head is in: fetch the last node.
        if (inside > RING / 2) __builtin_prefetch(heads[(pos + RING / 2) & (RING - 1)]->link3, 1);
    };
    for (std::uint32_t w = w0; w < w1; ++w) {
        std::uint64_t word = bits[w];
        if (!word) continue;
        bits[w] = 0;
        while (word) {
            const std::uint32_t run = w * 64 + static_cast<std::uint32_t>(__builtin_ctzll(word));
            word &= word - 1;
            // A run of 64 lies in one piece, which holds a node: it is mapped.
            PTR* fields = &t.bucket_head(run * 64);
            for (std::uint32_t i = 0; i < 64; ++i) {
                PTR head = fields[i];
                if (!head) continue;
                fields[i] = nullptr;  // emptied as a fresh table is
                take(head, run * 64 + i);
            }
        }
    }
    // The rest, oldest first.
    const unsigned start = (pos + RING - inside) & (RING - 1);
    for (unsigned i = 0; i < inside; ++i) {
        const unsigned k = (start + i) & (RING - 1);
        link(heads[k], buckets[k]);
    }
}

constexpr std::uint32_t BIT_WORDS = SHUFFLE_SIZE / 4096;

// The nodes of a large build listed by range of buckets, in the order they
// were made: blocks of pointers, one chain of blocks per range, from one
// mapping that costs nothing where it is not touched.
class RangeList {
public:
    static constexpr unsigned BITS = 14;  // 2^14 buckets a range: 128 KiB of heads
    static constexpr unsigned RANGES = SHUFFLE_SIZE >> BITS;
    static constexpr unsigned POINTERS = 511;
    struct Block {
        Block* next;
        PTR p[POINTERS];
    };
    static_assert(sizeof(Block) == 4096);

    RangeList() = default;
    RangeList(const RangeList&) = delete;
    RangeList& operator=(const RangeList&) = delete;
    ~RangeList() {
        console::unmap_pages(pool_, bytes_);
    }

    // Room for codes nodes, when the process can have it beside what the
    // build takes anyway (`already`); false leaves the build to direct insertion.
    bool allocate_blocks(std::int64_t codes, const MemoryNeed& already) {
        // Every block but the last of a range is full.
        blocks_ = RANGES + static_cast<std::size_t>(codes) / POINTERS + 1;
        bytes_ = blocks_ * sizeof(Block);
        if (!memory_suffices(already.resident + bytes_, already.address_bytes + bytes_)) return false;
        void* m = console::map_pages(bytes_);
        if (!m) return false;
        // Some thousand blocks are filled at once: large pages spare the TLB.
        console::advise_large_pages(m, bytes_, true);
        pool_ = static_cast<Block*>(m);
        next_ = RANGES;  // block t is the first one of range t
        for (unsigned t = 0; t < RANGES; ++t) {
            last_[t] = &pool_[t];
            pos_[t] = pool_[t].p;
        }
        return true;
    }

    // False only if more nodes come than were announced.
    bool add_node(PTR node, std::uint32_t b) {
        const unsigned t = b >> BITS;
        if (pos_[t] == last_[t]->p + POINTERS) {
            if (next_ == blocks_) return false;
            Block* fresh = &pool_[next_++];  // fresh pages: next is nil already
            last_[t]->next = fresh;
            last_[t] = fresh;
            pos_[t] = fresh->p;
        }
        *pos_[t]++ = node;
        return true;
    }

    // Calls f for the nodes of range t in the order they were listed.
    template <class F>
    void for_each_block(unsigned t, F&& f) const {
        for (const Block* k = &pool_[t]; k; k = k->next) {
            const PTR* a = k->p;
            const PTR* e = k == last_[t] ? pos_[t] : a + POINTERS;
            for (; a < e; ++a) {
                if (a + 16 < e) __builtin_prefetch(a[16], 1);
                f(*a);
            }
        }
    }

private:
    Block* pool_ = nullptr;
    std::size_t bytes_ = 0;
    std::size_t blocks_ = 0;
    std::size_t next_ = 0;
    Block* last_[RANGES] = {};
    PTR* pos_[RANGES] = {};
};

// A bucket's piece of the table is mapped when the bucket is drawn.
inline bool ensure_piece(ShuffleTable& t, std::uint32_t b) { return t.present(b) || fetch_mischfeld_piece(b); }

// The store and the table are weighed as a whole: a store that cannot fit
// ends the build at once, as an exhausted heap would at the first node,
// instead of after minutes of building or at the hands of the system. Sets
// the arena's budget and plan, readies the table, and gives in need what
// the build adds to the process; false when that is more than it can have.
bool weigh_store(std::int64_t codes, MemoryNeed& need) {
    const std::uint64_t nodes = static_cast<std::uint64_t>(codes) * SIZERATENPTR;
    STORE_ARENA.set_budget(MEMGES);
    STORE_ARENA.plan(nodes);
    const std::uint64_t node_address_space = Arena::address_space_for(nodes);
    const console::MemoryRoom room = console::memory_room();
    const MemoryNeed table = prepare_mischfeld(
        codes, room.address_space > node_address_space ? room.address_space - node_address_space : 0);
    need = MemoryNeed{nodes + table.resident, node_address_space + table.address_bytes};
    return need.resident <= room.resident && need.address_bytes <= room.address_space;
}

// The digit counter of the build: the code it stands on as digits d[1..l]
// over s..n (0 the vacant sign), the count k[c] of each digit value, and the
// node data of that code renamed by PERMZTM/PERMFTM, copied into each node
// and kept up to date digit by digit.
class StoreCounter {
public:
    StoreCounter(int l, int n, bool vacant) : l_(l), n_(n), s_(vacant ? 0 : 1) {
        for (int i = 1; i <= l; ++i) d_[i] = s_;
        k_[s_] = l;
        if (vacant) {
            // The all-vacant code is left out: the count starts one above it.
            d_[1] = 1;
            k_[0] = l - 1;
            k_[1] = 1;
        }
        for (int i = 1; i <= l; ++i) tmpl_[PERMZTM[i] - 1] = PERMFTM[d_[i]];
        for (int c = 1; c <= n; ++c) tmpl_[count_slot(c)] = static_cast<byte>(k_[c]);
        if (vacant) tmpl_[FARBE0 - 1] = static_cast<byte>(k_[0]);
    }

    const byte* data() const { return tmpl_; }

    // Next code: one digit up, with carry. False after the last code.
    bool next() {
        if (d_[1] < n_) {
            set(1, d_[1] + 1);
            return true;
        }
        int j = 2;
        while (j <= l_ && d_[j] == n_) ++j;
        if (j > l_) return false;
        set(j, d_[j] + 1);
        for (int i = 1; i < j; ++i) set(i, s_);
        return true;
    }

private:
    int count_slot(int c) const { return c == 0 ? FARBE0 - 1 : FARBEPL + PERMFTM[c] - 1; }
    void set(int i, int v) {
        const int old = d_[i];
        --k_[old];
        tmpl_[count_slot(old)] = static_cast<byte>(k_[old]);
        ++k_[v];
        tmpl_[count_slot(v)] = static_cast<byte>(k_[v]);
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
    BucketRing(ShuffleTable& t, console::Random& rng) : t_(t), rng_(rng) {}

    // The first RING buckets; false when a piece cannot be mapped.
    bool fill() {
        for (unsigned i = 0; i < RING; ++i) {
            ring_[i] = bucket_of(rng_.next());
            if (!ensure_piece(t_, ring_[i])) return false;
            __builtin_prefetch(&t_.bucket_head(ring_[i]), 1);
        }
        return true;
    }

    // The bucket of the next node in b; a new one is drawn in its place.
    // False when the new one's piece cannot be mapped.
    bool take(std::uint32_t& b) {
        b = ring_[slot_];
        const std::uint32_t nb = bucket_of(rng_.next());
        if (!ensure_piece(t_, nb)) return false;
        ring_[slot_] = nb;
        __builtin_prefetch(&t_.bucket_head(nb), 1);
        slot_ = (slot_ + 1) & (RING - 1);
        // Halfway there the head of a later bucket is in cache: when there is
        // one, fetch its node and the counter; a quarter ahead that node is
        // in: fetch the bucket's last node.
        const std::uint32_t hb = ring_[(slot_ + RING / 2) & (RING - 1)];
        if (PTR h = t_.bucket_head(hb)) {
            __builtin_prefetch(h, 1);
            __builtin_prefetch(&t_.counter(hb), 1);
        }
        if (PTR h = t_.bucket_head(ring_[(slot_ + RING / 4) & (RING - 1)])) __builtin_prefetch(h->link3, 1);
        return true;
    }

private:
    static constexpr unsigned RING = 32;
    ShuffleTable& t_;
    console::Random& rng_;
    std::uint32_t ring_[RING];
    unsigned slot_ = 0;
};

// The star bar of the build: stars are due at each tenth of the codes.
class StarSteps {
public:
    StarSteps() : total_(std::max<std::int64_t>(1, ZAHL_DER_VERSUCHE)), next_(threshold()) {}
    // After each node: draws the bar when the next tenth is reached.
    void node_made() {
        if (GERATENE_VERSUCHE < next_) return;
        QU_10_2 = stars_due(GERATENE_VERSUCHE, total_);
        draw_star_bar(QU_10_2);
        next_ = threshold();
    }

private:
    // The node count at which the next tenth is reached.
    std::int64_t threshold() const { return ((static_cast<std::int64_t>(ZAHL_DER_STERNE) + 1) * total_ + 9) / 10; }
    std::int64_t total_;
    std::int64_t next_;
};

// Makes a node for every code of the digit counter: on the allocation chain,
// and into its bucket at once, or (with list) onto the list of its bucket's
// range, keeping the bucket number in link 3 until then. Looks at the clock
// and the keyboard every 256 nodes, from the first. False when the user
// broke off or memory ran out.
bool make_nodes(int l, int n, RangeList* list) {
    ShuffleTable& t = shuffle_table();
    console::Random& rng = console::active().rng;
    StoreCounter code(l, n, X.LEERZEICHEN_ERLAUBT);
    const std::size_t datalen = std::min<std::size_t>(46, SIZERATENPTR > 24 ? SIZERATENPTR - 24 : 0);
    StarSteps stars;
    BucketRing ring(t, rng);
    if (!list && !ring.fill()) return false;
    Pacer look(256, true);
    for (;;) {
        if (look.due()) {
            SCHREIBE_ZEIT();
            if (keyboard_breaks_off()) return false;
        }
        PTR node = static_cast<PTR>(STORE_ARENA.allocate(SIZERATENPTR));
        if (!node) return false;
        std::memcpy(node->data, code.data(), datalen);
        node->link1 = VERSLOE;
        VERSLOE = node;

        if (list) {
            const std::uint32_t b = bucket_of(rng.next());
            if (!ensure_piece(t, b)) return false;
            node->link3 = reinterpret_cast<PTR>(static_cast<std::uintptr_t>(b));
            if (!list->add_node(node, b)) return false;
        } else {
            std::uint32_t b;
            if (!ring.take(b)) return false;
            into_bucket(t, rng, node, b);
        }

        ++GERATENE_VERSUCHE;
        SETZEZEITLETZTERVERSUCH = true;
        stars.node_made();
        if (!code.next()) return true;
    }
}

// The buckets of a large build are filled range by range from its lists and
// each range joined onto the guess chain at once, with a look at the clock
// and the keyboard every 16 ranges. False when the user broke off.
bool fill_by_ranges(const RangeList& list) {
    ShuffleTable& t = shuffle_table();
    console::Random& rng = console::active().rng;
    VERS = nullptr;
    SCHLUSSLICHT = nullptr;
    constexpr std::uint32_t words = (std::uint32_t{1} << RangeList::BITS) / 4096;
    Pacer look(16);
    for (unsigned r = 0; r < RangeList::RANGES; ++r) {
        list.for_each_block(r, [&](PTR node) {
            const auto b = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(node->link3));
            into_bucket(t, rng, node, b);
        });
        link_range(r * words, (r + 1) * words);
        if (look.due()) {
            SCHREIBE_ZEIT();
            if (keyboard_breaks_off()) return false;
        }
    }
    return true;
}

}  // namespace

bool shuffle_in(PTR node, std::uint32_t b) {
    b &= SHUFFLE_SIZE - 1;
    if (!fetch_mischfeld_piece(b)) return false;
    mark_mischfeld_used();
    node->link1 = VERSLOE;
    VERSLOE = node;
    into_bucket(shuffle_table(), console::active().rng, node, b);
    return true;
}

void link_buckets() {
    VERS = nullptr;
    SCHLUSSLICHT = nullptr;
    link_range(0, BIT_WORDS);
}

void build_solution_chain() {
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

bool build_store(int l, int n) {
    const std::int64_t codes = std::max<std::int32_t>(0, ZAHL_DER_VERSUCHE);

    // 1. The whole store and the table are weighed against what the process
    // can really have before the first node.
    MemoryNeed need;
    if (!weigh_store(codes, need)) {
        SCHREIBE_ZEIT();
        keyboard_breaks_off();
        return false;
    }
    mark_mischfeld_used();

    // 2. A large build makes its nodes first and fills the buckets range by
    // range afterwards: a bucket gets its nodes in the same order as by
    // direct insertion, so the guess chain is shuffled just as well, but the
    // heads and the nodes being linked are in cache instead of anywhere in a
    // gigabyte.
    RangeList list;
    const bool by_ranges = ZAHL_DER_VERSUCHE >= LARGE_STORE && list.allocate_blocks(ZAHL_DER_VERSUCHE, need);

    // 3. A node for every code, into its bucket or onto its range's list.
    if (!make_nodes(l, n, by_ranges ? &list : nullptr)) return false;

    // 4. The buckets are joined in index order into the guess chain.
    if (!by_ranges) {
        link_buckets();
        return true;
    }
    return fill_by_ranges(list);
}

std::int64_t count_guess_list() {
    std::int64_t c = 0;
    for (PTR p = VERS; p; p = p->link2) ++c;
    return c;
}
std::int64_t count_solution_list() {
    std::int64_t c = 0;
    for (PTR p = ERLAUBT; p; p = p->link3) ++c;
    return c;
}
std::int64_t count_all_nodes() {
    std::int64_t c = 0;
    for (PTR p = VERSLOE; p; p = p->link1) ++c;
    return c;
}

}  // namespace zqspiel
