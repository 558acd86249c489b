// The real terminal on a pseudo-terminal: each scenario runs in a child
// process whose standard input and output are the slave side, while the test
// plays the user on the master side and reads what the child reports through
// a pipe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <string>
#include <vector>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>
#ifdef __APPLE__
#include <util.h>
#else
#include <pty.h>
#endif

#include "console/console.h"
#include "console/terminal.h"

namespace {

std::int64_t now_ms() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int g_report = -1;  // the child's end of the report pipe

void report(const std::string& s) {
    const std::string line = s + "\n";
    [[maybe_unused]] ssize_t w = ::write(g_report, line.data(), line.size());
}

struct Child {
    pid_t pid = -1;
    int master = -1;
    int rep = -1;
    int slave = -1;  // our own hold on the child's terminal: its settings outlive the child
    std::string out;  // everything the child wrote to its terminal
    std::string rep_text;
    int status = 0;
    bool done = false;

    // Reads both channels for up to `ms`.
    void pump(int ms) {
        const std::int64_t end = now_ms() + ms;
        for (;;) {
            pollfd fds[2] = {{master, POLLIN, 0}, {rep, POLLIN, 0}};
            const std::int64_t left = end - now_ms();
            const int r = poll(fds, 2, left > 0 ? static_cast<int>(left) : 0);
            if (r <= 0) {
                if (r < 0 && errno == EINTR) continue;
                return;
            }
            char buf[4096];
            bool got = false;
            if (fds[0].revents & POLLIN) {
                const ssize_t n = ::read(master, buf, sizeof buf);
                if (n > 0) {
                    out.append(buf, static_cast<std::size_t>(n));
                    got = true;
                }
            }
            if (fds[1].revents & POLLIN) {
                const ssize_t n = ::read(rep, buf, sizeof buf);
                if (n > 0) {
                    rep_text.append(buf, static_cast<std::size_t>(n));
                    got = true;
                }
            }
            if (!got && left <= 0) return;
            if (!got) {
                // hang-up on both: the child has gone
                if ((fds[0].revents & (POLLHUP | POLLERR)) && (fds[1].revents & POLLHUP)) return;
                usleep(1000);
            }
        }
    }

    bool wait_out(const std::string& needle, std::size_t from = 0, int timeout_ms = 5000) {
        const std::int64_t end = now_ms() + timeout_ms;
        while (out.find(needle, from) == std::string::npos) {
            if (now_ms() > end) return false;
            pump(20);
        }
        return true;
    }
    bool wait_report(const std::string& needle, int timeout_ms = 5000) {
        const std::int64_t end = now_ms() + timeout_ms;
        while (rep_text.find(needle) == std::string::npos) {
            if (now_ms() > end) return false;
            pump(20);
        }
        return true;
    }

    void send(const std::string& bytes) {
        [[maybe_unused]] ssize_t w = ::write(master, bytes.data(), bytes.size());
    }

    // The settings the child's terminal has now (also after the child ended).
    termios settings() {
        if (slave < 0) slave = open(ptsname(master), O_RDWR | O_NOCTTY);
        termios t{};
        if (slave < 0 || tcgetattr(slave, &t) != 0) ADD_FAILURE() << "no settings of the child's terminal";
        return t;
    }

    void resize(int cols, int rows) {
        winsize ws{};
        ws.ws_col = static_cast<unsigned short>(cols);
        ws.ws_row = static_cast<unsigned short>(rows);
        ioctl(master, TIOCSWINSZ, &ws);
    }

    // Waits for the child to end (killing it after the timeout).
    bool finish(int timeout_ms = 5000) {
        const std::int64_t end = now_ms() + timeout_ms;
        for (;;) {
            pump(10);
            const pid_t r = waitpid(pid, &status, WNOHANG);
            if (r == pid) break;
            if (now_ms() > end) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                done = true;
                return false;
            }
        }
        pump(50);
        done = true;
        return true;
    }

    ~Child() {
        if (!done && pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        if (master >= 0) close(master);
        if (rep >= 0) close(rep);
        if (slave >= 0) close(slave);
    }
};

// Starts `body` in a child on a fresh pseudo-terminal of cols x rows.
void spawn(Child& c, int cols, int rows, const std::function<void()>& body) {
    int p[2];
    ASSERT_EQ(pipe(p), 0);
    winsize ws{};
    ws.ws_col = static_cast<unsigned short>(cols);
    ws.ws_row = static_cast<unsigned short>(rows);
    const pid_t pid = forkpty(&c.master, nullptr, nullptr, &ws);
    ASSERT_GE(pid, 0) << "forkpty: " << std::strerror(errno);
    if (pid == 0) {
        close(p[0]);
        g_report = p[1];
        body();
        _exit(0);
    }
    close(p[1]);
    c.pid = pid;
    c.rep = p[0];
}

std::string mode_bits(const termios& t) {
    return std::to_string(t.c_iflag) + "/" + std::to_string(t.c_oflag) + "/" + std::to_string(t.c_cflag) + "/" +
           std::to_string(t.c_lflag) + "/" + std::to_string(t.c_cc[VMIN]) + "/" + std::to_string(t.c_cc[VTIME]) +
           "/" + std::to_string(t.c_cc[VINTR]) + "/" + std::to_string(t.c_cc[VERASE]);
}

}  // namespace

TEST(TerminalPty, DecodesKeysAndRestoresTheSettings) {
    Child c;
    spawn(c, 80, 25, [] {
        termios before{};
        tcgetattr(0, &before);
        {
            console::Terminal t;
            if (!t.start("./prog")) {
                report("start failed");
                return;
            }
            console::use(&t);
            termios raw{};
            tcgetattr(0, &raw);
            report(std::string("raw ") + ((raw.c_lflag & (ECHO | ICANON | ISIG)) == 0 ? "ok" : "bad") +
                   ((raw.c_iflag & ICRNL) == 0 ? " cr-ok" : " cr-bad"));
            console::text_attr(0x1F);
            console::clr_scr();
            console::write_at(3, 2, "READY");
            std::string keys;
            for (;;) {
                const unsigned char k = console::read_key();
                keys += std::to_string(k) + ",";
                if (k == 'z') break;
            }
            report("keys " + keys);
            console::restore();
            console::write_plain("Bye-bye!\n");
            termios after{};
            tcgetattr(0, &after);
            report(mode_bits(before) == mode_bits(after) ? "restored" : "not restored: " + mode_bits(before) +
                                                                           " vs " + mode_bits(after));
            console::use(nullptr);
        }
    });
    ASSERT_TRUE(c.wait_out("READY")) << c.rep_text;
    EXPECT_NE(c.rep_text.find("raw ok cr-ok"), std::string::npos) << c.rep_text;
    // one key per write, as a person types them
    for (const char* k : {"a", "\x1b[A", "\x7f", "\x03", "\r", "\x1bOS", "\x1b[1;5D", "\x1b[3~", "\x1a", "\n"}) {
        c.send(k);
        c.pump(15);
    }
    c.send("\x1b");  // a lone Esc: told from a sequence by the pause after it
    c.pump(150);
    c.send("z");
    ASSERT_TRUE(c.wait_report("restored")) << c.rep_text;
    EXPECT_TRUE(c.finish());
    EXPECT_NE(c.rep_text.find("keys 97,0,72,8,3,13,0,62,0,115,0,83,26,13,27,122,"), std::string::npos) << c.rep_text;
    EXPECT_EQ(c.rep_text.find("not restored"), std::string::npos) << c.rep_text;
    const auto enter = c.out.find("\x1b[?1049h");
    const auto ready = c.out.find("READY");
    const auto leave = c.out.find("\x1b[?1049l");
    const auto bye = c.out.find("Bye-bye!");
    ASSERT_NE(enter, std::string::npos);
    ASSERT_NE(leave, std::string::npos);
    ASSERT_NE(bye, std::string::npos);
    EXPECT_LT(enter, ready);
    EXPECT_LT(ready, leave);
    EXPECT_LT(leave, bye) << "the farewell belongs on the shell's screen";
    // READY went out in white on blue, in row 2 from column 3
    const auto row2 = c.out.find("\x1b[2;1H  READY");
    EXPECT_NE(row2, std::string::npos);
    const auto colours = c.out.rfind("\x1b[", row2 - 1);
    ASSERT_NE(colours, std::string::npos);
    EXPECT_EQ(c.out.substr(colours, 8), "\x1b[97;44m") << ::testing::PrintToString(c.out.substr(0, 300));
}

// An exit hook that reports whether the terminal was already given back
// (cooked) when it ran.
static void report_terminal_mode() {
    termios now{};
    tcgetattr(0, &now);
    const char* msg = (now.c_lflag & (ICANON | ECHO)) == (ICANON | ECHO) ? "hook cooked\n" : "hook raw\n";
    [[maybe_unused]] ssize_t w = ::write(g_report, msg, std::strlen(msg));
}

TEST(TerminalPty, TerminateSignalRestoresThenRunsTheHook) {
    Child c;
    spawn(c, 80, 25, [] {
        console::Terminal t;
        if (!t.start("prog")) return;
        console::use(&t);
        console::set_exit_hook(report_terminal_mode);
        console::write_at(1, 1, "READY");
        for (;;) console::read_key();
    });
    ASSERT_TRUE(c.wait_out("READY"));
    const std::size_t mark = c.out.size();
    kill(c.pid, SIGTERM);
    ASSERT_TRUE(c.finish());
    EXPECT_TRUE(WIFSIGNALED(c.status) && WTERMSIG(c.status) == SIGTERM) << "status " << c.status;
    EXPECT_NE(c.rep_text.find("hook cooked"), std::string::npos) << c.rep_text;
    EXPECT_NE(c.out.find("\x1b[?1049l", mark), std::string::npos);
}

TEST(TerminalPty, HangUpRunsTheHookAndEnds) {
    Child c;
    spawn(c, 80, 25, [] {
        console::Terminal t;
        if (!t.start("prog")) return;
        console::use(&t);
        console::set_exit_hook([] {
            const char msg[] = "hook ran\n";
            [[maybe_unused]] ssize_t w = ::write(g_report, msg, sizeof msg - 1);
        });
        console::write_at(1, 1, "READY");
        for (;;) console::read_key();
    });
    ASSERT_TRUE(c.wait_out("READY"));
    close(c.master);  // the window is closed
    c.master = -1;
    const std::int64_t end = now_ms() + 5000;
    while (waitpid(c.pid, &c.status, WNOHANG) != c.pid) {
        ASSERT_LT(now_ms(), end) << "the game did not end when its terminal went away";
        usleep(10000);
    }
    c.done = true;
    char buf[64];
    const ssize_t n = read(c.rep, buf, sizeof buf);
    EXPECT_EQ(std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0), "hook ran\n");
    EXPECT_TRUE(WIFSIGNALED(c.status) && WTERMSIG(c.status) == SIGHUP) << "status " << c.status;
}

TEST(TerminalPty, InterruptFromOutsideRestoresToo) {
    Child c;
    spawn(c, 80, 25, [] {
        console::Terminal t;
        if (!t.start("prog")) return;
        console::use(&t);
        console::write_at(1, 1, "READY");
        for (;;) console::read_key();
    });
    ASSERT_TRUE(c.wait_out("READY"));
    const std::size_t mark = c.out.size();
    kill(c.pid, SIGINT);
    ASSERT_TRUE(c.finish());
    EXPECT_TRUE(WIFSIGNALED(c.status) && WTERMSIG(c.status) == SIGINT) << "status " << c.status;
    EXPECT_NE(c.out.find("\x1b[?1049l", mark), std::string::npos);
}

namespace {

// A child that waits for keys with an exit hook that reports each run.
void wait_with_hook(bool full_screen) {
    rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);  // the signals that dump core leave no file behind
    console::Terminal t;
    if (!t.start("prog")) return;
    console::use(&t);
    console::set_exit_hook(report_terminal_mode);
    if (full_screen) {
        // every cell in a colour of its own: each repaint is some 20 KB
        for (int r = 1; r <= console::ROWS; ++r) {
            console::goto_xy(1, r);
            for (int col = 1; col <= console::COLS; ++col) {
                console::text_attr(static_cast<std::uint8_t>(0x10 + (r + col) % 15 + 1));
                console::write(static_cast<char>('A' + (r * col) % 26));
            }
        }
    }
    console::write_at(1, 1, "READY");
    for (;;) console::read_key();
}

std::size_t count_of(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

// Every signal whose default action ends the process, not only the usual
// four: the terminal comes back cooked and on the shell's screen, the hook
// runs, and the process ends by the signal.
TEST(TerminalPty, EveryEndingSignalRestores) {
    std::vector<int> signals = {SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGSYS};
#ifdef SIGRTMIN
    signals.push_back(SIGRTMIN + 2);
    signals.push_back(SIGRTMAX);
#endif
    for (int sig : signals) {
        SCOPED_TRACE(std::string("signal ") + std::to_string(sig) + " " + strsignal(sig));
        Child c;
        spawn(c, 80, 25, [] { wait_with_hook(false); });
        ASSERT_TRUE(c.wait_out("READY"));
        EXPECT_EQ(c.settings().c_lflag & ICANON, 0u);
        const std::size_t mark = c.out.size();
        kill(c.pid, sig);
        ASSERT_TRUE(c.finish());
        EXPECT_TRUE(WIFSIGNALED(c.status) && WTERMSIG(c.status) == sig) << "status " << c.status;
        const termios after = c.settings();
        EXPECT_EQ(after.c_lflag & (ICANON | ECHO | ISIG), static_cast<tcflag_t>(ICANON | ECHO | ISIG));
        EXPECT_NE(after.c_iflag & ICRNL, 0u);
        EXPECT_NE(c.out.find("\x1b[?1049l", mark), std::string::npos) << "still on the game's screen";
        EXPECT_EQ(c.rep_text, "hook cooked\n");
    }
}

// The terminal has stopped reading (its window frozen, say) while the game
// repaints after many resizes, so the game's writes block; then an interrupt,
// and a quit while the first is still giving the terminal back. The terminal
// must be cooked at once and stay so; the first signal ends the process once
// the terminal reads again, and the hook runs once.
TEST(TerminalPty, SecondEndingSignalWhileTheOutputIsBlocked) {
    Child c;
    spawn(c, 80, 25, [] { wait_with_hook(true); });
    ASSERT_TRUE(c.wait_out("READY"));
    c.pump(100);
    // from here on nothing is read from the terminal
    for (int i = 0; i < 40; ++i) {
        kill(c.pid, SIGWINCH);
        usleep(5000);
    }
    usleep(200000);
    kill(c.pid, SIGINT);
    usleep(300000);
    kill(c.pid, SIGQUIT);
    usleep(100000);
    const termios blocked = c.settings();
    EXPECT_EQ(blocked.c_lflag & (ICANON | ECHO), static_cast<tcflag_t>(ICANON | ECHO))
        << "still raw while the output waits";
    siginfo_t info{};
    ASSERT_EQ(waitid(P_PID, static_cast<id_t>(c.pid), &info, WEXITED | WNOHANG | WNOWAIT), 0);
    EXPECT_EQ(info.si_pid, 0) << "ended before the terminal got its screen back";
    const std::size_t mark = c.out.size();
    ASSERT_TRUE(c.finish(10000));  // reads again
    EXPECT_TRUE(WIFSIGNALED(c.status) && WTERMSIG(c.status) == SIGINT) << "status " << c.status;
    const termios after = c.settings();
    EXPECT_EQ(after.c_lflag & (ICANON | ECHO | ISIG), static_cast<tcflag_t>(ICANON | ECHO | ISIG));
    const auto left = c.out.rfind("\x1b[?1049l");
    ASSERT_NE(left, std::string::npos);
    EXPECT_GE(left, mark);
    EXPECT_EQ(c.out.find("\x1b[?1049h", left), std::string::npos) << "the game's screen taken again";
    EXPECT_EQ(count_of(c.rep_text, "hook"), 1u) << c.rep_text;
    EXPECT_EQ(c.rep_text.find("raw"), std::string::npos) << c.rep_text;
}

TEST(TerminalPty, StopFromOutsideGivesTheTerminalBackAndResumeTakesItAgain) {
    Child c;
    spawn(c, 80, 25, [] {
        console::Terminal t;
        if (!t.start("prog")) return;
        console::use(&t);
        console::write_at(1, 1, "TOP");
        for (;;) {
            const unsigned char k = console::read_key();
            if (k == 'q') break;
            report("key " + std::to_string(k));
        }
        console::restore();
    });
    ASSERT_TRUE(c.wait_out("TOP"));
    termios raw{};
    ASSERT_EQ(tcgetattr(c.master, &raw), 0);
    EXPECT_EQ(raw.c_lflag & ICANON, 0u);
    std::size_t mark = c.out.size();
    kill(c.pid, SIGTSTP);
    int st = 0;
    ASSERT_EQ(waitpid(c.pid, &st, WUNTRACED), c.pid);
    ASSERT_TRUE(WIFSTOPPED(st));
    ASSERT_TRUE(c.wait_out("\x1b[?1049l", mark)) << "the shell's screen not given back before stopping";
    termios stopped{};
    ASSERT_EQ(tcgetattr(c.master, &stopped), 0);
    EXPECT_NE(stopped.c_lflag & ICANON, 0u) << "raw mode left on while stopped";
    EXPECT_NE(stopped.c_lflag & ECHO, 0u);

    mark = c.out.size();
    kill(c.pid, SIGCONT);
    ASSERT_TRUE(c.wait_out("\x1b[?1049h", mark)) << "the game's screen not taken again";
    ASSERT_TRUE(c.wait_out("TOP", mark)) << "no repaint after resuming";
    termios again{};
    ASSERT_EQ(tcgetattr(c.master, &again), 0);
    EXPECT_EQ(again.c_lflag & (ICANON | ECHO | ISIG), 0u) << "raw mode not set again";
    c.send("\x1a");  // Ctrl-Z in raw mode is just a key
    ASSERT_TRUE(c.wait_report("key 26")) << c.rep_text;
    c.send("q");
    EXPECT_TRUE(c.finish());
}

TEST(TerminalPty, CrashSignalRestoresAndStillEndsTheProcess) {
    Child c;
    spawn(c, 80, 25, [] {
        console::Terminal t;
        if (!t.start("prog")) return;
        console::use(&t);
        console::write_at(1, 1, "READY");
        console::active().flush();
        raise(SIGABRT);
        report("survived");
    });
    ASSERT_TRUE(c.wait_out("READY"));
    const std::size_t mark = c.out.find("READY");
    ASSERT_TRUE(c.finish());
    EXPECT_TRUE(WIFSIGNALED(c.status) && WTERMSIG(c.status) == SIGABRT) << "status " << c.status;
    EXPECT_EQ(c.rep_text.find("survived"), std::string::npos);
    EXPECT_NE(c.out.find("\x1b[?1049l", mark), std::string::npos);
}

TEST(TerminalPty, SegmentationFaultRestoresBeforeAnyReport) {
    Child c;
    spawn(c, 80, 25, [] {
        console::Terminal t;
        if (!t.start("prog")) return;
        console::use(&t);
        console::write_at(1, 1, "READY");
        console::active().flush();
        // a page that may not be touched: a real fault, not one a sanitizer
        // sees coming
        void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (page == MAP_FAILED) return;
        *static_cast<volatile int*>(page) = 1;
        report("survived");
    });
    ASSERT_TRUE(c.wait_out("READY"));
    const std::size_t mark = c.out.find("READY");
    ASSERT_TRUE(c.finish());
    // Ends by the signal, or by a sanitizer's report that takes over the fault.
    EXPECT_TRUE((WIFSIGNALED(c.status) && WTERMSIG(c.status) == SIGSEGV) ||
                (WIFEXITED(c.status) && WEXITSTATUS(c.status) != 0))
        << "status " << c.status;
    EXPECT_EQ(c.rep_text.find("survived"), std::string::npos);
    const auto restored = c.out.find("\x1b[?1049l", mark);
    ASSERT_NE(restored, std::string::npos) << ::testing::PrintToString(c.out.substr(c.out.size() > 300 ? c.out.size() - 300 : 0));
    const auto report_at = c.out.find("Sanitizer", mark);
    if (report_at != std::string::npos) {
        EXPECT_LT(restored, report_at) << "the report went to the game's screen";
    }
    std::printf("fault report %s\n", report_at == std::string::npos ? "none" : "after the restore");
}

namespace {
int deeper(int n) {
    if (n < 0) return 0;  // never: keeps the compiler from calling this endless
    volatile char frame[512];
    frame[0] = static_cast<char>(n);
    return deeper(n + 1) + frame[0];
}
}  // namespace

TEST(TerminalPty, StackOverflowStillRestores) {
    Child c;
    spawn(c, 80, 25, [] {
        console::Terminal t;
        if (!t.start("prog")) return;
        console::use(&t);
        console::write_at(1, 1, "READY");
        console::active().flush();
        report(std::to_string(deeper(0)));
    });
    ASSERT_TRUE(c.wait_out("READY"));
    const std::size_t mark = c.out.find("READY");
    ASSERT_TRUE(c.finish(20000));
    EXPECT_FALSE(WIFEXITED(c.status) && WEXITSTATUS(c.status) == 0) << "status " << c.status;
    EXPECT_NE(c.out.find("\x1b[?1049l", mark), std::string::npos) << "no restore after the stack ran out";
}

namespace {

// A child that lets keys pile up in the terminal, then takes them one by one
// with a millisecond of work after each (a game drawing its guesses), until
// 'z'; it reports the keys it got.
void slow_reader() {
    console::Terminal t;
    if (!t.start("prog")) return;
    console::use(&t);
    console::write_at(1, 1, "READY");
    console::active().flush();
    usleep(300000);
    std::string keys;
    for (;;) {
        const unsigned char k = console::read_key();
        keys += std::to_string(k) + ",";
        if (k == 'z') break;
        usleep(1000);
    }
    report("keys " + keys);
    console::restore();
}

std::string key_list(const std::string& typed) {
    std::string s;
    for (unsigned char b : typed) s += std::to_string(b) + ",";
    return s;
}

}  // namespace

// Keys typed ahead (a paste) are kept however many come in one read, and an
// escape sequence that one read cut in two is still one key, although the
// game took longer than the escape timeout over the keys in front of it.
TEST(TerminalPty, KeysTypedAheadAreKept) {
    struct Paste {
        const char* what;
        std::string bytes;
        std::string keys;  // as read_key gives them
    };
    const std::string as(254, 'a');
    const std::string bs(40, 'b');
    const std::vector<Paste> pastes = {
        {"200 keys", std::string(199, 'q') + "z", key_list(std::string(199, 'q') + "z")},
        // the first read ends after ESC [
        {"split sequence", as + "\x1b[A" + bs + "z", key_list(as) + "0,72," + key_list(bs + "z")},
        // a NUL is two keys: 0 and the scan code of Ctrl-2
        {"NULs", std::string(300, '\0') + "z", [] {
             std::string s;
             for (int i = 0; i < 300; ++i) s += "0,3,";
             return s + "122,";
         }()},
    };
    for (const Paste& p : pastes) {
        SCOPED_TRACE(p.what);
        Child c;
        spawn(c, 80, 25, slow_reader);
        ASSERT_TRUE(c.wait_out("READY"));
        c.send(p.bytes);
        ASSERT_TRUE(c.wait_report("keys ", 10000)) << c.rep_text;
        ASSERT_TRUE(c.finish());
        const std::string got = c.rep_text.substr(c.rep_text.find("keys ") + 5);
        EXPECT_EQ(got, p.keys + "\n");
        EXPECT_EQ(std::count(got.begin(), got.end(), ','), std::count(p.keys.begin(), p.keys.end(), ','));
    }
}

TEST(TerminalPty, ResizeRepaintsTheWholeScreen) {
    Child c;
    spawn(c, 80, 25, [] {
        console::Terminal t;
        if (!t.start("prog")) return;
        console::use(&t);
        console::write_at(70, 25, "BOTTOM");
        console::write_at(1, 1, "TOP");
        for (;;) {
            if (console::read_key() == 'q') break;
        }
        console::restore();
    });
    ASSERT_TRUE(c.wait_out("TOP"));
    ASSERT_NE(c.out.find("BOTTOM"), std::string::npos);
    c.pump(50);
    std::size_t mark = c.out.size();
    c.resize(60, 20);
    ASSERT_TRUE(c.wait_out("TOP", mark)) << "no repaint after the window shrank";
    c.pump(50);
    mark = c.out.size();
    c.resize(80, 25);
    ASSERT_TRUE(c.wait_out("BOTTOM", mark)) << "no repaint after the window grew again";
    EXPECT_NE(c.out.find("TOP", mark), std::string::npos);
    c.send("q");
    EXPECT_TRUE(c.finish());
    EXPECT_TRUE(WIFEXITED(c.status) && WEXITSTATUS(c.status) == 0);
}

TEST(TerminalPty, TooSmallWindowAsksAndEscGivesUp) {
    Child c;
    spawn(c, 40, 10, [] {
        termios before{};
        tcgetattr(0, &before);
        console::Terminal t;
        const bool ok = t.start("prog");
        termios after{};
        tcgetattr(0, &after);
        report(std::string(ok ? "started" : "refused") +
               (mode_bits(before) == mode_bits(after) ? " restored" : " raw-left"));
    });
    ASSERT_TRUE(c.wait_out("\x1b[8;25;80t")) << "no resize request";
    ASSERT_TRUE(c.wait_out("too small")) << c.out;
    EXPECT_NE(c.out.find("zu klein"), std::string::npos);
    c.send("x");  // other keys do not end the wait
    c.pump(100);
    EXPECT_EQ(c.rep_text, "");
    c.send("\x1b");
    ASSERT_TRUE(c.wait_report("refused restored")) << c.rep_text;
    EXPECT_TRUE(c.finish());
}

TEST(TerminalPty, TooSmallWindowWaitsUntilItFits) {
    Child c;
    spawn(c, 79, 25, [] {
        console::Terminal t;
        report(t.start("prog") ? "started" : "refused");
        console::use(&t);
        console::write_at(1, 1, "GAME");
        console::active().flush();
        console::restore();
    });
    ASSERT_TRUE(c.wait_out("too small"));
    c.resize(80, 25);
    ASSERT_TRUE(c.wait_report("started")) << c.rep_text;
    EXPECT_TRUE(c.wait_out("GAME"));
    EXPECT_TRUE(c.finish());
}

TEST(TerminalPty, IdleKeyTestsSleepAndStillSeeEscQuickly) {
    Child c;
    spawn(c, 80, 25, [] {
        console::Terminal t;
        if (!t.start("prog")) return;
        console::use(&t);
        console::write_at(1, 1, "WAITING");
        console::active().flush();
        timespec c0{}, c1{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c0);
        const std::int64_t start = now_ms();
        long tests = 0;
        // the game's waiting loop: the clock is read and shown (the cursor
        // put back each time, which changes the screen's version), then a key
        // is tested
        int shown = -1;
        while (!console::key_pressed()) {
            const int sx = console::where_x(), sy = console::where_y();
            const console::Time now = console::get_time();
            if (now.second != shown) {
                shown = now.second;
                console::goto_xy(73, 1);
                console::write_num(now.second);
            }
            console::goto_xy(sx, sy);
            ++tests;
        }
        const std::int64_t seen = now_ms();
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c1);
        const std::int64_t cpu_us = (c1.tv_sec - c0.tv_sec) * 1000000 + (c1.tv_nsec - c0.tv_nsec) / 1000;
        const int k = console::read_key();
        report("key " + std::to_string(k) + " seen " + std::to_string(seen) + " wall " +
               std::to_string(seen - start) + " cpu_us " + std::to_string(cpu_us) + " tests " + std::to_string(tests));
        console::restore();
    });
    ASSERT_TRUE(c.wait_out("WAITING"));
    c.pump(1000);
    const std::int64_t sent = now_ms();
    c.send("\x1b");
    ASSERT_TRUE(c.wait_report("tests")) << c.rep_text;
    EXPECT_TRUE(c.finish());
    long key = 0, seen = 0, wall = 0, cpu_us = 0, tests = 0;
    ASSERT_EQ(std::sscanf(c.rep_text.c_str(), "key %ld seen %ld wall %ld cpu_us %ld tests %ld", &key, &seen, &wall,
                          &cpu_us, &tests),
              5)
        << c.rep_text;
    EXPECT_EQ(key, 27);
    std::printf("idle: %ld key tests in %ld ms, %ld us CPU, Esc after %ld ms\n", tests, wall, cpu_us, seen - sent);
    EXPECT_LE(seen - sent, 50) << "Esc took too long to arrive";
    EXPECT_GE(seen - sent, console::Terminal::ESC_TIMEOUT_MS - 2) << "Esc reported before its timeout";
    ASSERT_GT(wall, 500);
    // far under a core: under 2.5 per cent even in a sanitizer build
    EXPECT_LT(cpu_us, wall * 1000 / 40) << tests << " key tests in " << wall << " ms";
}

TEST(TerminalPty, KeyTestsFromAComputationDoNotSlowItDown) {
    Child c;
    spawn(c, 80, 25, [] {
        console::Terminal t;
        if (!t.start("prog")) return;
        console::use(&t);
        console::write_at(1, 1, "COMPUTING");
        console::active().flush();
        // work between key tests as a search does it every few thousand nodes
        volatile std::uint64_t sink = 0;
        const std::int64_t start = now_ms();
        long tests = 0;
        bool key = false;
        while (now_ms() - start < 400) {
            for (int i = 0; i < 4000; ++i) sink = sink * 6364136223846793005ull + 1442695040888963407ull;
            ++tests;
            // a clock shown now and then moves the cursor away and back
            console::goto_xy(70, 1);
            if (tests % 1000 == 0) console::write_num(tests / 1000 % 10);
            console::goto_xy(1, 2);
            if (console::key_pressed()) key = true;
        }
        const std::int64_t wall = now_ms() - start;
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        report(std::string(key ? "key" : "nokey") + " wall " + std::to_string(wall) + " tests " +
               std::to_string(tests));
        console::restore();
    });
    ASSERT_TRUE(c.wait_report("tests", 10000)) << c.rep_text;
    EXPECT_TRUE(c.finish());
    char key[8] = {};
    long wall = 0, tests = 0;
    ASSERT_EQ(std::sscanf(c.rep_text.c_str(), "%7s wall %ld tests %ld", key, &wall, &tests), 3) << c.rep_text;
    EXPECT_STREQ(key, "nokey");
    // Measure the same work without key tests to compare.
    volatile std::uint64_t sink = 0;
    const std::int64_t start = now_ms();
    for (long n = 0; n < tests; ++n)
        for (int i = 0; i < 4000; ++i) sink = sink * 6364136223846793005ull + 1442695040888963407ull;
    const std::int64_t bare = now_ms() - start;
    std::printf("computation: %ld rounds, %ld ms with key tests, %ld ms without\n", tests, wall, bare);
    EXPECT_LT(wall, bare * 3 + 50) << tests << " rounds: " << wall << " ms with key tests, " << bare << " ms without";
}

TEST(TerminalPty, ToneIsTheBellAndDelayWaitsAfterFlushing) {
    Child c;
    spawn(c, 80, 25, [] {
        console::Terminal t;
        if (!t.start("prog")) return;
        console::use(&t);
        console::write_at(1, 1, "BEEP");
        const std::int64_t a = now_ms();
        console::sound(440);
        console::delay(200);
        console::no_sound();
        report("waited " + std::to_string(now_ms() - a));
        console::restore();
    });
    ASSERT_TRUE(c.wait_out("BEEP"));
    // what was written before the delay is out while the delay runs
    EXPECT_EQ(c.rep_text, "");
    ASSERT_TRUE(c.wait_report("waited"));
    EXPECT_TRUE(c.finish());
    long waited = 0;
    ASSERT_EQ(std::sscanf(c.rep_text.c_str(), "waited %ld", &waited), 1);
    EXPECT_GE(waited, 200);
    EXPECT_LT(waited, 400);
    const auto beep = c.out.find("BEEP");
    const auto bell = c.out.find('\a', beep);
    EXPECT_NE(bell, std::string::npos);
    EXPECT_LT(bell, c.out.find("\x1b[?1049l"));
}

TEST(TerminalClock, LocalDateAndTimeOfTheSystem) {
    console::Terminal t;  // not started: the clock needs no terminal
    for (int attempt = 0; attempt < 3; ++attempt) {
        const time_t before = time(nullptr);
        const console::Date d = t.get_date();
        const console::Time tm = t.get_time();
        const time_t after = time(nullptr);
        if (before != after) continue;  // a second boundary in between: again
        std::tm want{};
        localtime_r(&before, &want);
        EXPECT_EQ(d.year, want.tm_year + 1900);
        EXPECT_EQ(d.month, want.tm_mon + 1);
        EXPECT_EQ(d.day, want.tm_mday);
        EXPECT_EQ(d.weekday, want.tm_wday);
        EXPECT_EQ(tm.hour, want.tm_hour);
        EXPECT_EQ(tm.minute, want.tm_min);
        EXPECT_EQ(tm.second, want.tm_sec);
        EXPECT_LT(tm.hundredth, 100);
        return;
    }
    FAIL() << "no quiet second to compare in";
}

TEST(TerminalStart, StandardInputThatIsNoTerminalIsRefusedAtOnce) {
    int err[2];
    ASSERT_EQ(pipe(err), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int zero = open("/dev/null", O_RDONLY);
        dup2(zero, 0);
        dup2(err[1], 2);
        console::Terminal t;
        _exit(t.start("prog") ? 0 : 2);
    }
    close(err[1]);
    std::string msg;
    char buf[512];
    ssize_t n;
    while ((n = read(err[0], buf, sizeof buf)) > 0) msg.append(buf, static_cast<std::size_t>(n));
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
    EXPECT_NE(msg.find("not a terminal"), std::string::npos) << msg;
    EXPECT_EQ(std::count(msg.begin(), msg.end(), '\n'), 1) << "one line: " << msg;
}
