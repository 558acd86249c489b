// Reading and writing the conditions file.
//
// The file holds one raw 80-byte BEDINGUNG record. Reading never fails: any
// content the program cannot use leaves the defaults. Writing goes to a
// temporary file beside the old one, which is renamed over it only when the
// record is complete on disk, so a crash or a full disk never leaves a
// truncated file behind.
#include "engine/conditions_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "console/console.h"
#include "engine/conditions.h"
#include "engine/names.h"
#include "engine/zqspiel.h"

namespace zqspiel {

namespace {

std::string bound_path;
// The same path and the temporary file's path as plain buffers, made once at
// binding: saving must also work from a signal handler, which may not allocate.
constexpr std::size_t PATH_CAP = 4096;
char save_path[PATH_CAP];
char temp_path[PATH_CAP];
bool save_paths_ok = false;

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

}  // namespace

std::string bedingungen_pfad(std::string_view programmpfad) {
    const auto slash = programmpfad.rfind('/');
    std::string p;
    if (slash != std::string_view::npos) p.assign(programmpfad.substr(0, slash + 1));
    p += BEDINGUNGEN_NAME;
    return p;
}

void binde_bedingungsdatei() {
    bound_path = bedingungen_pfad(console::program_path());
    const std::string temp = bound_path + "." + std::to_string(::getpid()) + ".tmp";
    save_paths_ok = temp.size() < PATH_CAP;
    if (!save_paths_ok) return;
    std::memcpy(save_path, bound_path.c_str(), bound_path.size() + 1);
    std::memcpy(temp_path, temp.c_str(), temp.size() + 1);
}

const std::string& bedingungsdatei() {
    if (bound_path.empty()) binde_bedingungsdatei();
    return bound_path;
}

void lese_bedingungen() {
    KANN_LESEN = false;
    const int fd = ::open(bedingungsdatei().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
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

    if (bound_path.empty()) binde_bedingungsdatei();
    if (!save_paths_ok) return;
    // O_EXCL with a name of this process: never write through a link planted there.
    ::unlink(temp_path);
    const int fd = ::open(temp_path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, new_file_mode(save_path));
    if (fd < 0) return;  // a directory we may not write: the conditions stay in memory
    bool ok = write_fully(fd, rec, sizeof rec) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp_path, save_path) != 0) ::unlink(temp_path);
}

}  // namespace zqspiel
