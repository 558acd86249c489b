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

AsynchronousSignalsHeld::AsynchronousSignalsHeld() {
    const sigset_t s = asynchronous_signals();
    pthread_sigmask(SIG_BLOCK, &s, &old_);
}

AsynchronousSignalsHeld::~AsynchronousSignalsHeld() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }

}  // namespace console
