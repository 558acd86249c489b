#include "engine/search_crew.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "console/system_info.h"

namespace zqspiel {

namespace {

int wanted = 0;  // 0: every usable processor

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

    void run(int k, const std::function<void(int)>& job) {
        const int helpers = k - 1;
        if (helpers <= 0) {
            job(0);
            return;
        }
        {
            std::unique_lock lock(m_);
            while (static_cast<int>(threads_.size()) < helpers) {
                const int i = static_cast<int>(threads_.size()) + 1;
                threads_.emplace_back([this, i] { serve(i); });
            }
            job_ = &job;
            active_ = helpers;
            pending_ = helpers;
            ++round_;
        }
        wake_.notify_all();
        job(0);
        std::unique_lock lock(m_);
        done_.wait(lock, [this] { return pending_ == 0; });
        job_ = nullptr;
    }

private:
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

void run_on_crew(const std::function<void(int)>& job) { crew().run(search_threads(), job); }

}  // namespace zqspiel
