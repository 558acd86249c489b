// Which thread a signal may land on. The main thread alone keeps the
// terminal, the screen and the conditions file, so every thread the program
// starts holds back the asynchronous signals (those sent from outside: the
// ending signals, SIGTSTP, SIGWINCH, SIGCONT, ...) and the kernel delivers
// them to the main thread. The faults a thread raises itself stay with it.
#pragma once

#include <csignal>

namespace console {

// Every signal but the faults a thread can raise itself (SIGSEGV, SIGBUS,
// SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS).
sigset_t asynchronous_signals();

// Holds the signals of a set back on the calling thread while it lives; a
// thread started meanwhile inherits the mask and keeps it. One that comes
// meanwhile is delivered when the old mask is back.
class SignalsHeld {
public:
    explicit SignalsHeld(const sigset_t& set);
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t old_{};
};

// The asynchronous signals held back, as for starting a thread that must
// never take one.
class AsynchronousSignalsHeld : public SignalsHeld {
public:
    AsynchronousSignalsHeld() : SignalsHeld(asynchronous_signals()) {}
};

}  // namespace console
