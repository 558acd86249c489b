#include "engine/codebreaker/search_crew.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "console/signal_mask.h"
#include "console/system_info.h"

namespace zqspiel {

namespace {

int wanted = 0;  // 0: every usable processor
bool refused = false;

class Crew {
public:
    ~Crew() {
        {
            std::lock_guard lock(m_);
            quit_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

    int run(int k, const std::function<void(int)>& job) {
        int helpers = k - 1;
        if (helpers > 0) {
            std::unique_lock lock(m_);
            grow(helpers);
            helpers = std::min(helpers, static_cast<int>(threads_.size()));
            if (helpers > 0) {
                job_ = &job;
                active_ = helpers;
                pending_ = helpers;
                ++round_;
            }
        }
        if (helpers <= 0) {
            job(0);
            return 1;
        }
        wake_.notify_all();
        job(0);
        std::unique_lock lock(m_);
        done_.wait(lock, [this] { return pending_ == 0; });
        job_ = nullptr;
        return helpers + 1;
    }

private:
    // Starts helpers until there are `helpers`, unless a start failed in one
    // of the last searches. Called with m_ held.
    void grow(int helpers) {
        ++searches_;
        if (static_cast<int>(threads_.size()) >= helpers || searches_ < retry_at_) return;
        // The new threads inherit the mask: signals from outside never land
        // on them, even in the moment before they run.
        const console::AsynchronousSignalsHeld held;
        while (static_cast<int>(threads_.size()) < helpers) {
            const int i = static_cast<int>(threads_.size()) + 1;
            try {
                if (refused) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
                threads_.emplace_back([this, i] { serve(i); });
            } catch (const std::exception&) {
                // std::system_error from the thread limit, or no memory for
                // the thread or its stack.
                retry_at_ = searches_ + SEARCHES_BEFORE_RETRY;
                return;
            }
        }
    }

    void serve(int i) {
        std::uint64_t seen = 0;
        for (;;) {
            const std::function<void(int)>* job = nullptr;
            {
                std::unique_lock lock(m_);
                // Sleeps between searches; a round that does not want this
                // thread (fewer threads asked for) passes it by.
                wake_.wait(lock, [&] { return quit_ || (round_ != seen && i <= active_); });
                if (quit_) return;
                seen = round_;
                job = job_;
            }
            (*job)(i);
            std::lock_guard lock(m_);
            if (--pending_ == 0) done_.notify_one();
        }
    }

    std::mutex m_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
    const std::function<void(int)>* job_ = nullptr;
    std::uint64_t round_ = 0;
    std::uint64_t searches_ = 0, retry_at_ = 0;
    int active_ = 0;
    int pending_ = 0;
    bool quit_ = false;
};

Crew& crew() {
    static Crew c;
    return c;
}

}  // namespace

int search_threads() { return wanted > 0 ? wanted : console::usable_cores(); }

void set_search_threads(int n) { wanted = n > 0 ? n : 0; }

int run_on_crew(const std::function<void(int)>& job) { return crew().run(search_threads(), job); }

void refuse_helper_starts(bool refuse) { refused = refuse; }

}  // namespace zqspiel
