// The candidate store of the computer codebreaker: one node per code, built
// once per match through the shuffle table into a randomly ordered guess
// chain (link 2), with the solution chain (link 3) of the codes that may be
// the secret, and every node on the allocation chain (link 1).
#pragma once

#include <cstdint>

#include "engine/codebreaker/shuffle_table.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// Number of codes the store holds for code length l over n signs, with the
// vacant sign as an extra value when vacant (the all-vacant code is left out).
std::int64_t candidate_count(int l, int n, bool vacant);

// Puts a filled node into the shuffle table: pushes it on the allocation
// chain and inserts it at a uniformly drawn place of bucket b. False when the
// bucket's piece of the table cannot be mapped (nothing is changed then).
bool shuffle_in(PTR node, std::uint32_t b);

// Joins the non-empty buckets in index order into the guess chain (VERS ..
// SCHLUSSLICHT, link 2). Every bucket head is nil again afterwards.
void link_buckets();

// Threads the solution chain (link 3 from ERLAUBT) through the allocation
// chain: every node, or only those without a vacant sign (with LEERZEICHEN)
// and without a repeated sign (without WIEDERHOLUNG).
void build_solution_chain();

// The whole build for code length l over n signs (vacant sign as value when
// X.LEERZEICHEN_ERLAUBT), in the order of the digit counter, each code
// renamed by PERMZTM/PERMFTM. Calls SCHREIBE_ZEIT and tests the keyboard
// every 256 codes (and while a large build fills its buckets), draws the
// star bar. Returns false when the user broke off (Esc, Ctrl-C) or an
// allocation failed, and at once, before the first node, when the store and
// the table are more than the process can really have (the machine's
// available memory less its reserve, the cgroup's room, the address-space
// limits); the caller then releases the store.
// The node layout globals (FARBEPL ...) must be set.
bool build_store(int l, int n);

// For tests: nodes in the guess chain, in the solution chain, allocated.
std::int64_t count_guess_list();
std::int64_t count_solution_list();
std::int64_t count_all_nodes();

}  // namespace zqspiel
