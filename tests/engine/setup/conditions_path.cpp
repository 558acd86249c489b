#include "engine/setup/conditions_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "console/virtual_console.h"
#include "engine/setup/conditions.h"
#include "engine/setup/conditions_file.h"
#include "engine/zqspiel.h"
#include "frame/temp_dir.h"

using namespace zqspiel;
namespace fs = std::filesystem;

namespace {

// Sets (or, with nullptr, removes) an environment variable for one scope.
struct ScopedEnv {
    std::string name;
    std::optional<std::string> old;
    ScopedEnv(const char* n, const char* value) : name(n) {
        if (const char* o = std::getenv(n)) old = o;
        if (value) ::setenv(n, value, 1);
        else ::unsetenv(n);
    }
    ~ScopedEnv() {
        if (old) ::setenv(name.c_str(), old->c_str(), 1);
        else ::unsetenv(name.c_str());
    }
};

mode_t mode_of(const fs::path& p) {
    struct stat st{};
    if (::stat(p.c_str(), &st) != 0) return 0;
    return st.st_mode & 07777;
}

void make_file(const fs::path& p, mode_t mode) {
    std::ofstream(p) << "#!/bin/sh\n";
    ASSERT_EQ(::chmod(p.c_str(), mode), 0);
}

bool never_writable(const std::string&) { return false; }
bool always_writable(const std::string&) { return true; }

}  // namespace

TEST(ProgramDirectory, FromThePathOrAlongTheSearchPath) {
    TempDir tmp;
    EXPECT_EQ(program_directory("/usr/games/zentrovalquist", "/bin"), "/usr/games/");
    EXPECT_EQ(program_directory("./zentrovalquist", nullptr), "./");
    EXPECT_EQ(program_directory("/zq", nullptr), "/");

    const fs::path a = tmp.dir / "a", b = tmp.dir / "b", c = tmp.dir / "c";
    fs::create_directories(a);
    fs::create_directories(b);
    fs::create_directories(c / "zq_game");          // a directory of that name is no program
    make_file(a / "zq_game", 0644);                 // nor is a file nobody may run
    make_file(b / "zq_game", 0755);
    const std::string path = "/nonexistent:" + c.string() + ":" + a.string() + ":" + b.string() + "/:/bin";
    EXPECT_EQ(program_directory("zq_game", path.c_str()), b.string() + "/");
    // the first match wins, as with the shell
    make_file(a / "zq_game", 0755);
    EXPECT_EQ(program_directory("zq_game", path.c_str()), a.string() + "/");
    // not on the search path: the working directory, as for a bare name before
    EXPECT_EQ(program_directory("zq_no_such_game", path.c_str()), "");
    EXPECT_EQ(program_directory("zq_game", nullptr), "");
    EXPECT_EQ(program_directory("", path.c_str()), "");
}

TEST(UserFile, ConfigHomeSetUnsetOrRelative) {
    EXPECT_EQ(user_conditions_file("/cfg", "/home/u"), "/cfg/zentrovalquist/BEDINGUN.DAT");
    EXPECT_EQ(user_conditions_file("/cfg/", "/home/u"), "/cfg/zentrovalquist/BEDINGUN.DAT");
    EXPECT_EQ(user_conditions_file(nullptr, "/home/u"), "/home/u/.config/zentrovalquist/BEDINGUN.DAT");
    EXPECT_EQ(user_conditions_file("", "/home/u/"), "/home/u/.config/zentrovalquist/BEDINGUN.DAT");
    EXPECT_EQ(user_conditions_file("cfg", "/home/u"), "/home/u/.config/zentrovalquist/BEDINGUN.DAT");
    EXPECT_EQ(user_conditions_file("./cfg", "/home/u"), "/home/u/.config/zentrovalquist/BEDINGUN.DAT");
    // no absolute directory at all: no user's file
    EXPECT_EQ(user_conditions_file("cfg", "home"), "");
    EXPECT_EQ(user_conditions_file(nullptr, nullptr), "");
}

TEST(Choice, BesideAWritableProgramNothingIsMade) {
    TempDir tmp;
    const fs::path home = tmp.dir / "home";
    Environment u;
    u.home = home.c_str();
    u.writable = always_writable;
    const ConditionsPlace o = choose_conditions_place((tmp.dir / "bin/zentrovalquist").string(), u);
    EXPECT_EQ(o.path, (tmp.dir / "bin/BEDINGUN.DAT").string());
    EXPECT_FALSE(o.per_user);
    EXPECT_FALSE(fs::exists(home));
}

TEST(Choice, UnwritableProgramDirectoryGivesTheUsersFileInDirectoriesOf0700) {
    TempDir tmp;
    const fs::path home = tmp.dir / "home", cfg = tmp.dir / "cfg";
    fs::create_directories(home);
    Environment u;
    u.home = home.c_str();
    u.writable = never_writable;

    // XDG_CONFIG_HOME unset: ~/.config, both levels made for this user alone
    ConditionsPlace o = choose_conditions_place("/usr/games/zentrovalquist", u);
    EXPECT_TRUE(o.per_user);
    EXPECT_EQ(o.path, (home / ".config/zentrovalquist/BEDINGUN.DAT").string());
    EXPECT_EQ(mode_of(home / ".config"), 0700u);
    EXPECT_EQ(mode_of(home / ".config/zentrovalquist"), 0700u);

    // set and absolute, two levels missing; an existing directory keeps its mode
    fs::create_directories(cfg);
    ASSERT_EQ(::chmod(cfg.c_str(), 0755), 0);
    const std::string xdg = (cfg / "deep").string();
    u.xdg_config_home = xdg.c_str();
    o = choose_conditions_place("/usr/games/zentrovalquist", u);
    EXPECT_EQ(o.path, (cfg / "deep/zentrovalquist/BEDINGUN.DAT").string());
    EXPECT_EQ(mode_of(cfg), 0755u);
    EXPECT_EQ(mode_of(cfg / "deep"), 0700u);
    EXPECT_EQ(mode_of(cfg / "deep/zentrovalquist"), 0700u);

    // relative: taken as unset
    u.xdg_config_home = "cfg";
    EXPECT_EQ(choose_conditions_place("/usr/games/zentrovalquist", u).path,
              (home / ".config/zentrovalquist/BEDINGUN.DAT").string());
}

TEST(Choice, NoPlaceForTheUsersFileLeavesItBesideTheProgram) {
    TempDir tmp;
    Environment u;
    u.writable = never_writable;
    ConditionsPlace o = choose_conditions_place("/usr/games/zentrovalquist", u);  // no home
    EXPECT_EQ(o.path, "/usr/games/BEDINGUN.DAT");
    EXPECT_FALSE(o.per_user);

    // a file where the directory should be made
    std::ofstream(tmp.dir / "blocked") << "x";
    const std::string xdg = (tmp.dir / "blocked").string();
    u.xdg_config_home = xdg.c_str();
    o = choose_conditions_place("/usr/games/zentrovalquist", u);
    EXPECT_EQ(o.path, "/usr/games/BEDINGUN.DAT");
    EXPECT_FALSE(o.per_user);
}

TEST(Choice, WritabilityIsTheProcesssOwn) {
    TempDir tmp;
    const fs::path own = tmp.dir / "own", ro = tmp.dir / "ro";
    ASSERT_EQ(::chmod(tmp.dir.c_str(), 0755), 0);
    make_home_for_other_user(own);
    make_unwritable(ro);
    EXPECT_TRUE(directory_writable(tmp.dir.string() + "/"));
    AsOtherUser other;
    EXPECT_TRUE(directory_writable(own.string()));
    EXPECT_FALSE(directory_writable(ro.string()));
    EXPECT_FALSE(directory_writable((tmp.dir / "missing").string()));
}

// The whole way at start: an installed copy the user may not write keeps its
// conditions in the user's own file, read and written with the same record.
TEST(Choice, InstalledCopyKeepsItsConditionsPerUser) {
    console::ScopedVirtualConsole s;
    TempDir tmp;
    ASSERT_EQ(::chmod(tmp.dir.c_str(), 0755), 0);
    const fs::path bin = tmp.dir / "bin", home = tmp.dir / "home";
    make_unwritable(bin);
    make_home_for_other_user(home);
    ScopedEnv h("HOME", home.c_str());
    ScopedEnv x("XDG_CONFIG_HOME", nullptr);
    const fs::path want = home / ".config/zentrovalquist/BEDINGUN.DAT";

    AsOtherUser other;
    console::active().program_path = (bin / "zentrovalquist").string();
    bind_conditions_file();
    EXPECT_EQ(conditions_file(), want.string());
    EXPECT_TRUE(conditions_per_user());

    INITIALISIERE();
    LEERZ_MERKER = false;
    SPEICHERSTUFE = 3;
    X.CODELAENGE = 7;
    BEDINGUNGENSPEICHERN();
    EXPECT_EQ(fs::file_size(want), 80u);
    EXPECT_FALSE(fs::exists(bin / "BEDINGUN.DAT"));

    INITIALISIERE();
    read_conditions();
    EXPECT_TRUE(KANN_LESEN);
    EXPECT_EQ(X.CODELAENGE, 7);
    EXPECT_EQ(X.SPEICHER, 3);

    // the same program in a directory it may write: beside it, as always
    console::active().program_path = (home / "zentrovalquist").string();
    bind_conditions_file();
    EXPECT_EQ(conditions_file(), (home / "BEDINGUN.DAT").string());
    EXPECT_FALSE(conditions_per_user());
}
