#include "console/terminal_signals.h"

#include <cerrno>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include "console/console.h"

namespace console {

namespace signals {

int g_in_fd = -1;
int g_out_fd = -1;
termios g_saved{};
volatile sig_atomic_t g_raw = 0;
volatile sig_atomic_t g_winch = 0;
volatile sig_atomic_t g_cont = 0;

namespace {

volatile sig_atomic_t g_hook_done = 0;
void (*volatile g_exit_hook)() = nullptr;
int g_wake[2] = {-1, -1};  // self-pipe: a signal makes the waiting poll return

// The settings first: they take effect at once, while the sequence may wait
// behind a full output queue (a terminal that stopped reading). The flag goes
// only when both are done, so that a handler that interrupts this one still
// finds the work to do.
void restore_terminal_now() {
    if (!g_raw) return;
    if (g_in_fd >= 0) tcsetattr(g_in_fd, TCSANOW, &g_saved);
    if (g_out_fd >= 0) raw_write(g_out_fd, RESTORE_SEQ, sizeof RESTORE_SEQ - 1);
    g_raw = 0;
}

void wake_up() {
    if (g_wake[1] >= 0) {
        const int saved = errno;
        const char b = 1;
        [[maybe_unused]] const ssize_t w = ::write(g_wake[1], &b, 1);
        errno = saved;
    }
}

void on_winch(int) {
    g_winch = 1;
    wake_up();
}

void on_cont(int) {
    g_cont = 1;
    wake_up();
}

// Ctrl-Z is an ordinary key in raw mode, but a stop sent from outside must not
// leave the shell with a raw terminal: give it back, stop, and take it again
// when continued (see on_cont).
void on_tstp(int) {
    const int saved = errno;
    const bool was_raw = g_raw;
    restore_terminal_now();
    raise(SIGSTOP);
    if (was_raw) g_cont = 1;
    wake_up();
    errno = saved;
}

void on_terminate(int sig) {
    restore_terminal_now();
    run_exit_hook();
    signal(sig, SIG_DFL);
    raise(sig);  // delivered when the handler returns: ends with the right status
}

constexpr int CRASH_SIGNALS[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int JOB_SIGNALS[] = {SIGWINCH, SIGCONT, SIGTSTP};

// Every signal whose default action ends the process, apart from the crashes:
// each must give the terminal back first. SIGINT too: in raw mode Ctrl-C is a
// key, so an interrupt comes from outside. The real-time signals are added
// when the handlers are installed (their range is known at run time only).
constexpr int FIXED_TERM_SIGNALS[] = {
    SIGTERM, SIGHUP, SIGQUIT, SIGINT, SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGSYS,
#ifdef SIGEMT
    SIGEMT,
#endif
#ifdef __linux__
    SIGPOLL, SIGPWR, SIGSTKFLT,
#endif
};
constexpr int MAX_TERM_SIGNALS = 128;

struct SavedActions {
    int term_signals[MAX_TERM_SIGNALS] = {};
    int term_count = 0;
    struct sigaction term[MAX_TERM_SIGNALS], crash[5], job[3];
    sigset_t ending{};  // the ending signals and SIGTSTP: held back while the terminal is given back
    bool installed = false;
} g_old;

// After the terminal is back, the crash goes on as it would have without us:
// to the handler that was there before (a sanitizer's report, say) or to the
// default action, which ends the process.
void on_crash(int sig) {
    restore_terminal_now();
    bool passed_on = false;
    for (int i = 0; i < 5; ++i) {
        if (CRASH_SIGNALS[i] != sig) continue;
        const struct sigaction& old = g_old.crash[i];
        if (!(old.sa_flags & SA_SIGINFO) && old.sa_handler == SIG_IGN) break;  // ignoring a fault would loop
        sigaction(sig, &old, nullptr);
        passed_on = true;
    }
    if (!passed_on) signal(sig, SIG_DFL);
    raise(sig);
}

alignas(16) char g_alt_stack[64 * 1024];

void install(int sig, void (*fn)(int), int flags, const sigset_t& mask, struct sigaction* old) {
    struct sigaction sa{};
    sa.sa_handler = fn;
    sa.sa_mask = mask;
    sa.sa_flags = flags;
    sigaction(sig, &sa, old);
}

void collect_term_signals() {
    int n = 0;
    for (int sig : FIXED_TERM_SIGNALS) g_old.term_signals[n++] = sig;
#ifdef SIGRTMIN
    for (int sig = SIGRTMIN; sig <= SIGRTMAX && n < MAX_TERM_SIGNALS; ++sig) g_old.term_signals[n++] = sig;
#endif
    g_old.term_count = n;
    sigemptyset(&g_old.ending);
    for (int i = 0; i < n; ++i) sigaddset(&g_old.ending, g_old.term_signals[i]);
    sigaddset(&g_old.ending, SIGTSTP);
}

}  // namespace

void raw_write(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return;  // the terminal is gone or refuses: nothing more to do
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
}

void run_exit_hook() {
    if (g_hook_done) return;
    g_hook_done = 1;
    void (*hook)() = g_exit_hook;
    if (hook) hook();
}

void install_handlers() {
    if (g_old.installed) return;
    // A stack overflow must still be able to give the terminal back. An
    // alternate stack set up by someone else (a sanitizer) is kept.
    stack_t cur{};
    if (sigaltstack(nullptr, &cur) == 0 && (cur.ss_flags & SS_DISABLE)) {
        stack_t ss{};
        ss.ss_sp = g_alt_stack;
        ss.ss_size = sizeof g_alt_stack;
        sigaltstack(&ss, nullptr);
    }
    collect_term_signals();
    // A second ending signal waits until the first has given the terminal
    // back; so does a stop, and the terminal is given back in one piece.
    for (int i = 0; i < g_old.term_count; ++i)
        install(g_old.term_signals[i], on_terminate, SA_RESTART, g_old.ending, &g_old.term[i]);
    for (int i = 0; i < 5; ++i)
        install(CRASH_SIGNALS[i], on_crash, SA_ONSTACK | SA_NODEFER, g_old.ending, &g_old.crash[i]);
    sigset_t none;
    sigemptyset(&none);
    install(SIGWINCH, on_winch, SA_RESTART, none, &g_old.job[0]);
    install(SIGCONT, on_cont, SA_RESTART, none, &g_old.job[1]);
    install(SIGTSTP, on_tstp, SA_RESTART, g_old.ending, &g_old.job[2]);
    g_old.installed = true;
}

void uninstall_job_handlers() {
    if (!g_old.installed) return;
    for (int i = 0; i < 3; ++i) sigaction(JOB_SIGNALS[i], &g_old.job[i], nullptr);
}

void uninstall_handlers() {
    if (!g_old.installed) return;
    uninstall_job_handlers();
    for (int i = 0; i < g_old.term_count; ++i) sigaction(g_old.term_signals[i], &g_old.term[i], nullptr);
    for (int i = 0; i < 5; ++i) sigaction(CRASH_SIGNALS[i], &g_old.crash[i], nullptr);
    g_old.installed = false;
}

EndingSignalsHeld::EndingSignalsHeld() : SignalsHeld(g_old.ending) {}

void open_wake_pipe() {
    if (g_wake[0] < 0 && pipe(g_wake) == 0) {
        for (int fd : g_wake) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
}

void close_wake_pipe() {
    for (int& fd : g_wake) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

int wake_fd() { return g_wake[0]; }

void drain_wake_pipe() {
    if (g_wake[0] < 0) return;
    char buf[64];
    while (::read(g_wake[0], buf, sizeof buf) > 0) {
    }
}

}  // namespace signals

void set_exit_hook(void (*hook)()) {
    signals::g_exit_hook = hook;
    signals::g_hook_done = 0;
}

}  // namespace console
