// The threads that share the computer's long searches with the main thread.
// They are started once, at the first search that wants them, and sleep
// between searches; the main thread always takes part itself and alone keeps
// the screen, the clock, the keyboard and the signals (a helper holds every
// signal from outside back, so the kernel hands those to the main thread).
//
// A helper that cannot be started (the process's thread limit, no memory for
// its stack) is no fault: the search goes on with the threads there are, down
// to the main thread alone, and the crew tries again a number of searches
// later rather than at every one. The jobs loop over shared work, so their
// result never depends on how many threads ran them.
//
// What a helper reads while it scores is fixed for the whole of a search and
// written by no one meanwhile: what the search hands it (the code length and
// the sign tables taken from X, MAXFARBE, ERL_FARBE, KENNEALLEFARBEN and
// GENUGPLATZ when the search starts, the reduction, the packed copy of the
// solution chain and the chosen block counter), the guesses' nodes and, when
// the secret's sign counts are known, the first candidate's. Helpers read no
// engine global. The main thread changes all of it only between searches,
// when every helper sleeps; run_on_crew's lock orders those writes before
// the helpers' reads. The chunks they score and hand back are the search's
// own protocol (parallel_search.cpp).
#pragma once

#include <functional>

namespace zqspiel {

// Threads a search asks for, the main thread included: every processor the
// process may use unless set_search_threads chose fewer.
int search_threads();

// 0 goes back to every usable processor. For tests and benchmarks, which
// compare one thread with all of them.
void set_search_threads(int n);

// Runs job(0) on the calling thread and job(1) .. job(k - 1) on the crew,
// and returns k when every one has returned: k = search_threads(), or fewer
// when not so many helpers could be started. One std::function per search,
// not per node: the jobs loop themselves.
int run_on_crew(const std::function<void(int)>& job);

// For tests: while set, starting a helper fails as when the system refuses
// a thread.
void refuse_helper_starts(bool refuse);

// After a helper could not be started, this many searches go by before the
// crew tries again.
inline constexpr int SEARCHES_BEFORE_RETRY = 16;

}  // namespace zqspiel
