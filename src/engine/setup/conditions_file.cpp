// Reading and writing the conditions file.
//
// The file holds one raw 80-byte BEDINGUNG record. Reading never fails: any
// content the program cannot use leaves the defaults. Writing goes to a
// temporary file beside the old one, which is renamed over it only when the
// record is complete on disk, so a crash or a full disk never leaves a
// truncated file behind.
//
// The user's arrangements are respected: a link is written through to the file
// it names (the temporary file beside that file), and a file the user may not
// write is left as it is. Only links of the user's own (or root's) that no one
// else could have put there are followed: a planted one leaves the defaults
// and is never written through. A run killed in the middle of a save can still leave
// its temporary file; the next start removes those of processes that are gone.
#include "engine/setup/conditions_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "console/console.h"
#include "console/signal_mask.h"
#include "engine/setup/conditions.h"
#include "engine/setup/conditions_path.h"
#include "engine/setup/names.h"
#include "engine/zqspiel.h"

namespace zqspiel {

namespace {

std::string bound_path;
// The bound path as a plain buffer, made once at binding, and the buffers a
// save works in: saving must also work from a signal handler, which may not
// allocate. Signals are held off during a save, so no two saves share them.
constexpr std::size_t PATH_CAP = 4096;
char save_path[PATH_CAP];
char target_path[PATH_CAP];
char temp_path[PATH_CAP];
char dir_path[PATH_CAP];
char link_scratch[PATH_CAP];
bool save_paths_ok = false;

// More links than this in a row are taken for a loop (the kernel's own limit).
constexpr int MAX_LINKS = 40;

// Byte offsets of the boolean fields: any non-zero byte counts as true.
constexpr int FIRST_FLAG = 8, LAST_FLAG = 13;

// Reads up to n bytes, going on after short reads and interruptions; the
// number of bytes read, or -1 on an error.
long read_fully(int fd, unsigned char* buf, long n) {
    long got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, buf + got, static_cast<size_t>(n - got));
        if (r < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (r == 0) break;
        got += r;
    }
    return got;
}

bool write_fully(int fd, const unsigned char* buf, long n) {
    long put = 0;
    while (put < n) {
        const ssize_t w = ::write(fd, buf + put, static_cast<size_t>(n - put));
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        put += w;
    }
    return true;
}

// The permissions a new file gets: those of the file it replaces, else the
// usual ones under the process's umask.
mode_t new_file_mode(const char* path) {
    struct stat st;
    if (::stat(path, &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 0777;
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

// Appends text to the string of length len in buf (capacity PATH_CAP);
// false when it does not fit.
bool append(char* buf, std::size_t& len, const char* text) {
    const std::size_t n = std::strlen(text);
    if (len + n >= PATH_CAP) return false;
    std::memcpy(buf + len, text, n + 1);
    len += n;
    return true;
}

// The length of the directory part of path, its last '/' included (0: none).
std::size_t dir_part(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash ? static_cast<std::size_t>(slash - path) + 1 : 0;
}

// The directory part of path into out (capacity PATH_CAP): "." when it has none.
void directory_of(const char* path, char* out) {
    const std::size_t len = dir_part(path);
    if (len == 0) {
        out[0] = '.';
        out[1] = '\0';
    } else {
        std::memcpy(out, path, len);
        out[len] = '\0';
    }
}

// Whether a link may be followed: it must be the effective user's own or
// root's, and lie in a directory no one else can change, unless that is a
// sticky directory (like /tmp) and the link is ours. Otherwise another user
// could plant it to make us, root above all, overwrite or read a file that
// is not ours. dir receives the link's directory.
bool trusted_link(const char* link, const struct stat& st, char* dir) {
    const uid_t me = ::geteuid();
    if (st.st_uid != me && st.st_uid != 0) return false;
    directory_of(link, dir);
    struct stat d;
    if (::stat(dir, &d) != 0) return false;
    const bool others_may_write = (d.st_uid != me && d.st_uid != 0) || (d.st_mode & S_IWOTH) != 0 ||
                                  ((d.st_mode & S_IWGRP) != 0 && d.st_gid != ::getegid());
    return !others_may_write || ((d.st_mode & S_ISVTX) != 0 && st.st_uid == me);
}

// The file path names in the end: path with every link followed (a relative
// link counts from the link's own directory), into out. A missing end is fine
// (it will be created); false for a loop, an unreadable or untrusted link
// (trusted_link) or a path that does not fit. scratch receives the links'
// contents.
bool follow_links(const char* path, char* out, char* scratch) {
    std::size_t len = 0;
    out[0] = '\0';
    if (!append(out, len, path)) return false;
    for (int hops = 0; hops <= MAX_LINKS; ++hops) {
        struct stat st;
        if (::lstat(out, &st) != 0) return errno == ENOENT;
        if (!S_ISLNK(st.st_mode)) return true;
        if (!trusted_link(out, st, scratch)) return false;
        const ssize_t n = ::readlink(out, scratch, PATH_CAP - 1);
        if (n <= 0) return false;
        scratch[n] = '\0';
        len = scratch[0] == '/' ? 0 : dir_part(out);
        out[len] = '\0';
        if (!append(out, len, scratch)) return false;
    }
    return false;
}

// Whether the save may put a new file in place of what is at path: nothing
// yet, or a regular file the user may write. Root passes every access test,
// so a file without any write bit counts as write-protected for root as well:
// that is how a user keeps a set of conditions for good.
bool may_replace(const char* path) {
    struct stat st;
    if (::stat(path, &st) != 0) return errno == ENOENT;
    if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0) return false;
    return ::faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) == 0;
}

// path + "." + pid + ".tmp" into out.
bool make_temp_path(const char* path, char* out) {
    char digits[24];
    char* d = digits + sizeof digits;
    *--d = '\0';
    for (unsigned long v = static_cast<unsigned long>(::getpid()); ; v /= 10) {
        *--d = static_cast<char>('0' + v % 10);
        if (v < 10) break;
    }
    std::size_t len = 0;
    out[0] = '\0';
    return append(out, len, path) && append(out, len, ".") && append(out, len, d) && append(out, len, ".tmp");
}

// The rename is on disk only once the directory holding it is.
void sync_directory(const char* file) {
    directory_of(file, dir_path);
    const int fd = ::open(dir_path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// For the time of a save: no signal that would run a handler (which may save
// too) or end the program half way, and a write over the file-size limit
// failing with an error instead of ending the program. Faults stay deliverable.
class QuietSave {
public:
    QuietSave() {
        struct sigaction ignore{};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGXFSZ, &ignore, &old_xfsz_);
        sigset_t held = console::asynchronous_signals();
        // Not held: a held signal is kept pending rather than ignored, and
        // would end the program once the old action is back.
        sigdelset(&held, SIGXFSZ);
        ::pthread_sigmask(SIG_SETMASK, &held, &old_mask_);
    }
    ~QuietSave() {
        ::sigaction(SIGXFSZ, &old_xfsz_, nullptr);
        ::pthread_sigmask(SIG_SETMASK, &old_mask_, nullptr);
    }
    QuietSave(const QuietSave&) = delete;
    QuietSave& operator=(const QuietSave&) = delete;

private:
    struct sigaction old_xfsz_{};
    sigset_t old_mask_{};
};

void save_record(const unsigned char* rec, long n) {
    if (!follow_links(save_path, target_path, link_scratch) || !may_replace(target_path)) return;
    if (!make_temp_path(target_path, temp_path)) return;
    // O_EXCL with a name of this process: never write through a link planted there.
    ::unlink(temp_path);
    const int fd = ::open(temp_path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, new_file_mode(target_path));
    if (fd < 0) return;  // a directory we may not write: the conditions stay in memory
    bool ok = write_fully(fd, rec, n) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp_path, target_path) != 0) {
        ::unlink(temp_path);
        return;
    }
    sync_directory(target_path);
}

// Removes the temporary files of earlier runs that were killed during a save:
// <file>.<pid>.tmp beside the file the path leads to, whose process no longer
// exists. Those of running processes (another copy saving now) are kept.
void remove_leftovers(const std::string& path) {
    std::string target(PATH_CAP, '\0');
    std::string scratch(PATH_CAP, '\0');
    if (!follow_links(path.c_str(), target.data(), scratch.data())) return;
    target.resize(std::strlen(target.c_str()));
    const std::size_t cut = dir_part(target.c_str());
    const std::string dir = cut == 0 ? std::string(".") : target.substr(0, cut);
    const std::string prefix = target.substr(cut) + ".";
    const std::string suffix = ".tmp";

    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) return;
    const pid_t self = ::getpid();
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name(e->d_name);
        if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) || !name.ends_with(suffix))
            continue;
        const std::string_view digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos) continue;
        long pid = 0;
        for (char c : digits) pid = pid * 10 + (c - '0');
        if (pid <= 0 || pid == self) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // alive, maybe another user's
        struct stat st;
        if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
        ::unlinkat(::dirfd(d), e->d_name, 0);
    }
    ::closedir(d);
}

}  // namespace

void bind_conditions_file() {
    bound_path = choose_conditions_file(console::program_path());
    save_paths_ok = bound_path.size() < PATH_CAP;
    if (save_paths_ok) std::memcpy(save_path, bound_path.c_str(), bound_path.size() + 1);
}

const std::string& conditions_file() {
    if (bound_path.empty()) bind_conditions_file();
    return bound_path;
}

void read_conditions() {
    remove_leftovers(conditions_file());
    KANN_LESEN = false;
    // Links are followed here as for a save, so that one planted by another
    // user is not read through either; the end must then not be a link.
    std::string target(PATH_CAP, '\0');
    std::string scratch(PATH_CAP, '\0');
    if (!follow_links(conditions_file().c_str(), target.data(), scratch.data())) return;
    const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) return;
    struct stat st;
    // Only a regular file is the conditions file (not a directory, a pipe or a device).
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) {
        ::close(fd);
        return;
    }
    KANN_LESEN = true;
    unsigned char rec[sizeof(BEDINGUNG)];
    const long got = read_fully(fd, rec, sizeof rec);
    ::close(fd);
    if (got != static_cast<long>(sizeof rec)) {
        INITIALISIERE();
        return;
    }
    for (int i = FIRST_FLAG; i <= LAST_FLAG; ++i) rec[i] = rec[i] != 0;
    std::memcpy(&X, rec, sizeof X);
}

void BEDINGUNGENSPEICHERN() {
    const bool in_force = X.LEERZEICHEN_ERLAUBT;
    X.LEERZEICHEN_ERLAUBT = LEERZ_MERKER;
    NAMEOK(false);
    X.SPEICHER = SPEICHERSTUFE;
    X.NORMALATTR = NORMALFARBE;
    X.HERVORATTR = HERVORFARBE;

    unsigned char rec[sizeof(BEDINGUNG)];
    std::memcpy(rec, &X, sizeof rec);
    X.LEERZEICHEN_ERLAUBT = in_force;

    if (bound_path.empty()) bind_conditions_file();
    if (!save_paths_ok) return;
    const QuietSave quiet;
    save_record(rec, sizeof rec);
}

}  // namespace zqspiel
