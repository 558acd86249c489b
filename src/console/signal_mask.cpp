#include "console/signal_mask.h"

#include <pthread.h>

#include <initializer_list>

namespace console {

sigset_t asynchronous_signals() {
    sigset_t s;
    sigfillset(&s);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS}) sigdelset(&s, sig);
    return s;
}

SignalsHeld::SignalsHeld(const sigset_t& set) { pthread_sigmask(SIG_BLOCK, &set, &old_); }

SignalsHeld::~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }

}  // namespace console
