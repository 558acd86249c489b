// A temporary directory for tests that read or write the conditions file, and
// the program path pointing into it, so no test writes beside the sources.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "console/console.h"
#include "engine/setup/conditions_file.h"

struct TempDir {
    std::filesystem::path dir;
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "zqtest.XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
        dir = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(dir, ec);
    }
    std::string file() const { return (dir / "BEDINGUN.DAT").string(); }

    // Points the program path into the directory and binds the conditions file there.
    void bind() const {
        console::active().program_path = (dir / "zentrovalquist").string();
        zqspiel::bind_conditions_file();
    }
    void write(const std::vector<unsigned char>& bytes) const {
        std::ofstream f(file(), std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<unsigned char> read() const {
        std::ifstream f(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    // Entries of the directory other than the conditions file (left-over temporary files).
    std::vector<std::string> others() const {
        std::vector<std::string> r;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            if (e.path().filename() != "BEDINGUN.DAT") r.push_back(e.path().filename().string());
        return r;
    }
};

// Runs a scope as a user who may not write where the tests' own user may:
// as root, the effective ids become those of "nobody" (root writes
// everywhere); otherwise nothing changes and the test makes its directory
// read-only instead (only_as_root() tells which).
struct AsOtherUser {
    static constexpr uid_t NOBODY = 65534;
    bool switched = false;
    AsOtherUser() {
        if (::geteuid() != 0) return;
        if (::setegid(NOBODY) != 0 || ::seteuid(NOBODY) != 0) std::abort();
        switched = true;
    }
    ~AsOtherUser() {
        if (!switched) return;
        if (::seteuid(0) != 0 || ::setegid(0) != 0) std::abort();
    }
    AsOtherUser(const AsOtherUser&) = delete;
    AsOtherUser& operator=(const AsOtherUser&) = delete;
};

// A directory the test's user (or, as root, AsOtherUser) may not write, and a
// home directory the same user owns.
inline void make_unwritable(const std::filesystem::path& d) {
    std::filesystem::create_directories(d);
    if (::chmod(d.c_str(), 0555) != 0) std::abort();
}
inline void make_home_for_other_user(const std::filesystem::path& d) {
    std::filesystem::create_directories(d);
    if (::geteuid() == 0 && ::chown(d.c_str(), AsOtherUser::NOBODY, AsOtherUser::NOBODY) != 0) std::abort();
}
