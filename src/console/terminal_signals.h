// The real terminal's signal handling, for terminal.cpp alone: the handlers
// that give the terminal back on every signal that ends the process (and on
// the crash signals), the stop and continue handling, the window-size
// signal, and the self-pipe through which a signal wakes a waiting poll.
//
// A handler touches only the state declared here (the saved settings, two
// descriptors and flags) and what terminal_signals.cpp keeps to itself (the
// saved actions, the exit hook and the pipe), so that restoring the terminal
// from a signal is a write() and a tcsetattr() and nothing else.
#pragma once

#include <csignal>
#include <cstddef>
#include <termios.h>

#include "console/signal_mask.h"

namespace console::signals {

// ---- state shared with the handlers -----------------------------------------

extern int g_in_fd;                    // the terminal's settings are given back here
extern int g_out_fd;                   // and RESTORE_SEQ written here
extern termios g_saved;                // the settings found at the start
extern volatile sig_atomic_t g_raw;    // raw mode and the game's screen are in force
extern volatile sig_atomic_t g_winch;  // the window changed its size
extern volatile sig_atomic_t g_cont;   // continued after a stop: raw mode and screen again

// A resize or a continue waits to be handled; two flag reads, no system call.
inline bool job_signal_pending() { return g_winch || g_cont; }

// CAN ends any sequence a flush may have left half written; then colours off,
// auto-wrap and the cursor back, and the shell's screen again.
inline constexpr char RESTORE_SEQ[] = "\x18\x1b[0m\x1b[?7h\x1b[?25h\x1b[?1049l";

// Writes all of p unless the descriptor is gone or refuses; safe in a handler.
void raw_write(int fd, const char* p, std::size_t n);

// Runs the exit hook of set_exit_hook (console.h) unless it ran already.
void run_exit_hook();

// ---- handlers ---------------------------------------------------------------

// Installs every handler once, keeping the actions found; again only after
// uninstall_handlers.
void install_handlers();
// Gives SIGWINCH, SIGCONT and SIGTSTP their old actions back: the terminal
// is no longer the game's, but an ending signal still runs the exit hook.
void uninstall_job_handlers();
// Gives every signal its old action back.
void uninstall_handlers();

// Holds the ending signals back while the terminal changes hands, so that no
// handler finds it half raw; one that comes meanwhile is delivered afterwards.
class EndingSignalsHeld : public SignalsHeld {
public:
    EndingSignalsHeld();
};

// ---- wake-up pipe -----------------------------------------------------------

// Opens the pipe (non-blocking, closed on exec) unless it is open.
void open_wake_pipe();
void close_wake_pipe();
// The end to wait on: readable once a signal came; -1 without a pipe.
int wake_fd();
// Reads what the signals wrote, so that the next wait does not return at once.
void drain_wake_pipe();

}  // namespace console::signals
