// The threads that share the computer's long searches with the main thread.
// They are started once, at the first search that wants them, and sleep
// between searches; the main thread always takes part itself and alone keeps
// the screen, the clock and the keyboard.
#pragma once

#include <functional>

namespace zqspiel {

// Threads a search uses, the main thread included: every processor the
// process may use unless set_search_threads chose fewer.
int search_threads();

// 0 goes back to every usable processor. For tests and benchmarks, which
// compare one thread with all of them.
void set_search_threads(int n);

// Runs job(0) on the calling thread and job(1) .. job(k - 1) on the crew,
// k = search_threads(), and returns when every one has returned. One
// std::function per search, not per node: the jobs loop themselves.
void run_on_crew(const std::function<void(int)>& job);

}  // namespace zqspiel
