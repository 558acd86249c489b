// Shared by the fuzz targets: a failed property aborts with a message, which
// libFuzzer records as a crash with the input that caused it, and which fails
// the replay driver's test.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(cond, ...)                                                     \
    do {                                                                          \
        if (!(cond)) {                                                            \
            std::fprintf(stderr, "%s:%d: property failed: %s\n  ", __FILE__,      \
                         __LINE__, #cond);                                        \
            std::fprintf(stderr, __VA_ARGS__);                                    \
            std::fprintf(stderr, "\n%s\n", fuzzsupport::context.c_str());      \
            std::abort();                                                         \
        }                                                                         \
    } while (0)

namespace fuzzsupport {

// What a target was working on, shown with a failed property.
inline std::string context;

// Printable form of raw bytes: C escapes for the others.
inline std::string escaped(const void* data, std::size_t n) {
    std::string s;
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] >= 32 && p[i] < 127 && p[i] != '\\') {
            s += static_cast<char>(p[i]);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", p[i]);
            s += buf;
        }
    }
    return s;
}

// A scratch directory for the conditions file, made once per process and
// removed at exit, so no run writes beside the program or the sources.
inline const std::string& scratch_dir() {
    static const std::string dir = [] {
        // tmpfs where there is one: the conditions file is synced on every save
        const char* base = std::getenv("TMPDIR");
        if (::access("/dev/shm", W_OK) == 0) base = "/dev/shm";
        std::string tmpl = std::string(base && *base ? base : "/tmp") + "/zqfuzz.XXXXXX";
        if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
        static std::string keep;
        keep = tmpl;
        std::atexit([] {
            const std::string f = keep + "/BEDINGUN.DAT";
            ::unlink(f.c_str());
            ::rmdir(keep.c_str());
        });
        return tmpl;
    }();
    return dir;
}

inline std::string conditions_path() { return scratch_dir() + "/BEDINGUN.DAT"; }
inline std::string program_path() { return scratch_dir() + "/zentrovalquist"; }

}  // namespace fuzzsupport
