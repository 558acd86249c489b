#include "engine/setup/conditions_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <random>

#include "console/virtual_console.h"
#include "engine/setup/conditions.h"
#include "engine/setup/names.h"
#include "engine/zqspiel.h"
#include "frame/temp_dir.h"

using namespace zqspiel;

namespace {

struct File : ::testing::Test {
    console::ScopedVirtualConsole s;
    TempDir tmp;
    void SetUp() override {
        tmp.bind();
        INITIALISIERE();
        LEERZ_MERKER = false;
        SPEICHERSTUFE = 10;
        NORMALFARBE = 31;
        HERVORFARBE = 30;
    }
    // What the start-up makes of the file: read, then checked.
    void load() {
        INITIALISIERE();
        read_conditions();
        check_conditions();
        NAMEOK(false);
    }
    void expect_defaults() {
        BEDINGUNG d = X;
        INITIALISIERE();
        check_conditions();
        EXPECT_EQ(std::memcmp(&d, &X, sizeof X), 0);
    }
    std::vector<unsigned char> record_of_x() {
        std::vector<unsigned char> v(sizeof X);
        std::memcpy(v.data(), &X, sizeof X);
        return v;
    }
};

}  // namespace

TEST_F(File, MissingFileGivesTheDefaults) {
    load();
    EXPECT_FALSE(KANN_LESEN);
    expect_defaults();
}

TEST_F(File, WrittenRecordIsReadBack) {
    X.ZEITSTUFE = 3;
    X.CODELAENGE = 6;
    X.SPEICHER = 1;  // replaced by the step in use
    X.ERSTES_ZEICHEN = 'x';
    X.LETZTES_ZEICHEN = '3';
    X.TON = true;
    X.PC_RAET = true;
    X.LOESUNG_FEST = false;
    std::memcpy(&X.NAME1[1], "Eva", 3);
    std::memcpy(&X.NAME2[1], "otto", 4);  // normalised on the way out
    SPEICHERSTUFE = 4;
    NORMALFARBE = 0x2F;
    HERVORFARBE = 0x2E;
    BEDINGUNGENSPEICHERN();

    const auto bytes = tmp.read();
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(bytes[0], 0x2F);
    EXPECT_EQ(bytes[1], 0x2E);
    EXPECT_EQ(bytes[2], 3);
    EXPECT_EQ(bytes[3], 6);
    EXPECT_EQ(bytes[5], 4);
    EXPECT_EQ(bytes[6], 'x');
    EXPECT_EQ(bytes[7], '3');
    EXPECT_EQ(bytes[8], 1);
    EXPECT_EQ(bytes[12], 1);
    EXPECT_EQ(bytes[13], 0);
    EXPECT_EQ(std::string(bytes.begin() + 14, bytes.begin() + 19), " Eva ");
    EXPECT_EQ(std::string(bytes.begin() + 47, bytes.begin() + 53), " Otto ");
    EXPECT_TRUE(tmp.others().empty());

    const BEDINGUNG written = X;
    INITIALISIERE();
    read_conditions();
    EXPECT_TRUE(KANN_LESEN);
    EXPECT_EQ(std::memcmp(&written, &X, sizeof X), 0);
}

TEST_F(File, VacantSignSavedAsTheUserSetIt) {
    X.LEERZEICHEN_ERLAUBT = false;  // a match switched it off for the computer
    LEERZ_MERKER = true;
    BEDINGUNGENSPEICHERN();
    EXPECT_EQ(tmp.read().at(10), 1);
    EXPECT_FALSE(X.LEERZEICHEN_ERLAUBT);  // the condition in force stays
}

TEST_F(File, EightyZeroBytes) {
    tmp.write(std::vector<unsigned char>(80, 0));
    load();
    EXPECT_TRUE(KANN_LESEN);
    EXPECT_EQ(X.NORMALATTR, 0);
    EXPECT_EQ(X.HERVORATTR, 0);
    EXPECT_EQ(X.ZEITSTUFE, 0);
    EXPECT_EQ(X.CODELAENGE, 4);
    EXPECT_EQ(X.RESERVE4, 8);
    EXPECT_EQ(X.SPEICHER, 10);
    EXPECT_EQ(X.ERSTES_ZEICHEN, 'a');
    EXPECT_EQ(X.LETZTES_ZEICHEN, 'f');
    EXPECT_FALSE(X.TON || X.WIEDERHOLUNG || X.LEERZEICHEN_ERLAUBT || X.PC_LOESUNG || X.PC_RAET || X.LOESUNG_FEST);
    EXPECT_EQ(std::string(X.NAME1.begin(), X.NAME1.end()), std::string(33, ' '));
    EXPECT_EQ(std::string(X.NAME2.begin(), X.NAME2.end()), std::string(33, ' '));
}

TEST_F(File, ShortOrEmptyFilesGiveTheDefaults) {
    for (std::size_t size : {0, 1, 40, 79}) {
        tmp.write(std::vector<unsigned char>(size, 7));
        load();
        EXPECT_EQ(KANN_LESEN, size > 0) << size;
        expect_defaults();
    }
}

TEST_F(File, OnlyTheFirstRecordOfALongFileAndTheNextSaveShortensIt) {
    INITIALISIERE();
    X.CODELAENGE = 7;
    std::vector<unsigned char> bytes = record_of_x();
    bytes.resize(10000, 0xAA);
    tmp.write(bytes);
    load();
    EXPECT_EQ(X.CODELAENGE, 7);
    BEDINGUNGENSPEICHERN();
    EXPECT_EQ(tmp.read().size(), 80u);
}

TEST_F(File, BooleansReadAsAnyNonZeroByte) {
    std::vector<unsigned char> bytes = record_of_x();
    for (int i = 8; i <= 13; ++i) bytes[i] = static_cast<unsigned char>(0x80 + i);
    tmp.write(bytes);
    load();
    EXPECT_TRUE(X.TON && X.WIEDERHOLUNG && X.LEERZEICHEN_ERLAUBT && X.PC_LOESUNG && X.PC_RAET && X.LOESUNG_FEST);
    BEDINGUNGENSPEICHERN();
    const auto back = tmp.read();
    for (int i = 8; i <= 13; ++i) EXPECT_EQ(back[i], i == 10 ? 0 : 1) << i;  // 10: LEERZ_MERKER is false
}

TEST_F(File, RandomContentAlwaysGivesValidConditions) {
    std::mt19937 gen(11);
    for (int round = 0; round < 300; ++round) {
        std::vector<unsigned char> bytes(80);
        for (auto& b : bytes) b = static_cast<unsigned char>(gen());
        tmp.write(bytes);
        load();
        ASSERT_LE(X.ZEITSTUFE, 9);
        ASSERT_GE(X.CODELAENGE, 2);
        ASSERT_LE(X.CODELAENGE, 9);
        ASSERT_GE(X.SPEICHER, 1);
        ASSERT_LE(X.SPEICHER, 15);
        ASSERT_GE(MAXFARBE, 2);
        ASSERT_TRUE(X.CODELAENGE <= MAXFARBE || X.WIEDERHOLUNG);
        for (char c : {X.ERSTES_ZEICHEN, X.LETZTES_ZEICHEN})
            ASSERT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) << int(c);
        for (int i = 8; i <= 13; ++i) ASSERT_LE(reinterpret_cast<const unsigned char*>(&X)[i], 1);
    }
}

TEST_F(File, ADirectoryOfThatNameIsLeftAlone) {
    std::filesystem::create_directory(tmp.file());
    load();
    EXPECT_FALSE(KANN_LESEN);
    expect_defaults();
    BEDINGUNGENSPEICHERN();
    EXPECT_TRUE(std::filesystem::is_directory(tmp.file()));
    EXPECT_TRUE(tmp.others().empty());  // no temporary file left behind
}

TEST_F(File, UnreadableFileGivesTheDefaults) {
    std::vector<unsigned char> bytes = record_of_x();
    bytes[3] = 7;
    tmp.write(bytes);
    ::chmod(tmp.dir.c_str(), 0755);
    ::chmod(tmp.file().c_str(), 0);
    // Root reads any file: the check runs in a child without that right.
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(3);
            load();
            std::_Exit(KANN_LESEN ? 1 : X.CODELAENGE == 4 ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(File, UnwritableDirectoryKeepsTheOldFile) {
    X.CODELAENGE = 5;
    BEDINGUNGENSPEICHERN();
    const auto before = tmp.read();
    X.CODELAENGE = 8;
    // A temporary file that cannot be made: here a directory holding its name.
    const std::string temp = tmp.file() + "." + std::to_string(::getpid()) + ".tmp";
    std::filesystem::create_directory(temp);
    std::filesystem::create_directory(temp + "/x");  // not empty: unlink and rename fail
    BEDINGUNGENSPEICHERN();
    EXPECT_EQ(tmp.read(), before);
}

TEST_F(File, ReplacingKeepsThePermissions) {
    BEDINGUNGENSPEICHERN();
    ::chmod(tmp.file().c_str(), 0640);
    X.CODELAENGE = 6;
    BEDINGUNGENSPEICHERN();
    struct stat st;
    ASSERT_EQ(::stat(tmp.file().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(tmp.read().at(3), 6);
}

TEST_F(File, PathWithoutSlashIsTheWorkingDirectory) {
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(tmp.dir);
    console::active().program_path = "zentrovalquist";
    bind_conditions_file();
    EXPECT_EQ(conditions_file(), "BEDINGUN.DAT");
    X.CODELAENGE = 9;
    BEDINGUNGENSPEICHERN();
    std::filesystem::current_path(old);
    EXPECT_EQ(tmp.read().at(3), 9);
}

TEST_F(File, APipeOfThatNameDoesNotHoldUpTheStart) {
    ASSERT_EQ(::mkfifo(tmp.file().c_str(), 0644), 0);
    load();  // would block for ever if the pipe were read
    EXPECT_FALSE(KANN_LESEN);
    expect_defaults();
}

// ---- the user's protections, links and leftovers --------------------------

namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> read_bytes(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::string temp_name(pid_t pid) { return "BEDINGUN.DAT." + std::to_string(pid) + ".tmp"; }

// The id of a process that has ended and been reaped.
pid_t ended_pid() {
    const pid_t pid = ::fork();
    if (pid == 0) std::_Exit(0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return pid;
}

volatile sig_atomic_t xfsz_seen = 0;
void note_xfsz(int) { xfsz_seen = 1; }

}  // namespace

// With a file-size limit of nothing the write fails with a signal whose
// default action ends the process. The save must fail quietly, keep the old
// file, leave no temporary file, and leave the signal's action as it found it.
TEST_F(File, SaveOverTheFileSizeLimitFailsQuietly) {
    X.CODELAENGE = 5;
    BEDINGUNGENSPEICHERN();
    const auto before = tmp.read();
    ASSERT_EQ(before.size(), 80u);
    X.CODELAENGE = 8;
    EXPECT_EXIT(
        {
            rlimit lim{};
            ::getrlimit(RLIMIT_FSIZE, &lim);
            lim.rlim_cur = 0;
            if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) std::_Exit(3);
            std::signal(SIGXFSZ, SIG_DFL);
            BEDINGUNGENSPEICHERN();  // killed here when the signal is not held off
            struct sigaction now{};
            ::sigaction(SIGXFSZ, nullptr, &now);
            if (now.sa_handler != SIG_DFL) std::_Exit(4);
            // A handler someone installed is neither called nor replaced.
            std::signal(SIGXFSZ, note_xfsz);
            BEDINGUNGENSPEICHERN();
            ::sigaction(SIGXFSZ, nullptr, &now);
            if (now.sa_handler != note_xfsz) std::_Exit(5);
            std::_Exit(xfsz_seen ? 6 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(tmp.read(), before);
    EXPECT_TRUE(tmp.others().empty());
}

// A file without any write bit is the user's way of fixing the conditions;
// root passes every access test, so the mode bits decide for root as well.
TEST_F(File, AWriteProtectedFileIsKept) {
    X.CODELAENGE = 5;
    BEDINGUNGENSPEICHERN();
    const auto before = tmp.read();
    ASSERT_EQ(::chmod(tmp.file().c_str(), 0444), 0);
    X.CODELAENGE = 8;
    BEDINGUNGENSPEICHERN();
    EXPECT_EQ(tmp.read(), before);
    EXPECT_TRUE(tmp.others().empty());
    struct stat st;
    ASSERT_EQ(::stat(tmp.file().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    // Once writable again it is saved as usual.
    ASSERT_EQ(::chmod(tmp.file().c_str(), 0644), 0);
    BEDINGUNGENSPEICHERN();
    EXPECT_EQ(tmp.read().at(3), 8);
}

// Someone else's file in a directory anyone may write: the rename would be
// allowed, but the user may not write the file, so it stays. The save runs in
// a child that has given up root.
TEST_F(File, AFileOfAnotherUserIsKept) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    X.CODELAENGE = 5;
    BEDINGUNGENSPEICHERN();
    const auto before = tmp.read();
    ASSERT_EQ(::chmod(tmp.file().c_str(), 0644), 0);
    ASSERT_EQ(::chmod(tmp.dir.c_str(), 0777), 0);
    X.CODELAENGE = 8;
    EXPECT_EXIT(
        {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) std::_Exit(3);
            BEDINGUNGENSPEICHERN();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(tmp.read(), before);
    EXPECT_TRUE(tmp.others().empty());
}

// A link is followed to the file it names, through a chain of links with
// relative and absolute targets; the links stay links.
TEST_F(File, ALinkIsWrittenThrough) {
    fs::create_directories(tmp.dir / "real");
    fs::create_directories(tmp.dir / "sub");
    std::ofstream(tmp.dir / "real" / "conf.dat") << "old";
    fs::create_symlink("../real/conf.dat", tmp.dir / "sub" / "mid");  // relative to its own directory
    fs::create_symlink(tmp.dir / "sub" / "mid", tmp.dir / "abs");
    fs::create_symlink("abs", tmp.file());
    X.CODELAENGE = 7;
    BEDINGUNGENSPEICHERN();
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(tmp.file())));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(tmp.dir / "sub" / "mid")));
    const auto target = read_bytes(tmp.dir / "real" / "conf.dat");
    ASSERT_EQ(target.size(), 80u);
    EXPECT_EQ(target[3], 7);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.dir / "real"), fs::directory_iterator()), 1);  // no temporary

    load();
    EXPECT_EQ(X.CODELAENGE, 7);
}

TEST_F(File, ADanglingLinkGetsItsTarget) {
    fs::create_directories(tmp.dir / "real");
    fs::create_symlink("real/new.dat", tmp.file());
    X.CODELAENGE = 6;
    BEDINGUNGENSPEICHERN();
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(tmp.file())));
    const auto target = read_bytes(tmp.dir / "real" / "new.dat");
    ASSERT_EQ(target.size(), 80u);
    EXPECT_EQ(target[3], 6);
}

TEST_F(File, ALinkLoopIsLeftAlone) {
    fs::create_symlink("BEDINGUN.DAT", tmp.file());
    BEDINGUNGENSPEICHERN();
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(tmp.file())));
    EXPECT_TRUE(tmp.others().empty());
}

TEST_F(File, ALinkToAWriteProtectedFileKeepsIt) {
    std::ofstream(tmp.dir / "conf.dat") << "old";
    ASSERT_EQ(::chmod((tmp.dir / "conf.dat").c_str(), 0444), 0);
    fs::create_symlink("conf.dat", tmp.file());
    BEDINGUNGENSPEICHERN();
    EXPECT_EQ(read_bytes(tmp.dir / "conf.dat").size(), 3u);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(tmp.file())));
}

// A run killed in the middle of a save leaves its temporary file; the next
// start removes those whose process is gone, and nothing else.
TEST_F(File, LeftoversOfEndedRunsAreRemovedAtStart) {
    const std::string dead = temp_name(ended_pid());
    const std::string alive = temp_name(::getppid());
    const std::vector<std::string> kept = {alive, "BEDINGUN.DAT.12x.tmp", "BEDINGUN.DAT.tmp", "BEDINGUN.DAT.7.tmp.x",
                                           "notes.txt"};
    for (const auto& n : kept) std::ofstream(tmp.dir / n) << "x";
    std::ofstream(tmp.dir / dead) << "x";
    load();
    EXPECT_FALSE(fs::exists(tmp.dir / dead));
    for (const auto& n : kept) EXPECT_TRUE(fs::exists(tmp.dir / n)) << n;
}

TEST_F(File, LeftoversBesideALinkedFileAreRemovedToo) {
    fs::create_directories(tmp.dir / "real");
    fs::create_symlink("real/conf.dat", tmp.file());
    const std::string dead = "conf.dat." + std::to_string(ended_pid()) + ".tmp";
    std::ofstream(tmp.dir / "real" / dead) << "x";
    load();
    EXPECT_FALSE(fs::exists(tmp.dir / "real" / dead));
}

// A link is followed only when no one else could have put it there: the
// user's own or root's, in a directory others cannot change unless that is
// sticky and the link ours. A planted link is neither read nor written
// through; the file behind it stays as it is and the defaults are read.
TEST_F(File, OnlyLinksNoOneElseCouldPlantAreFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a link to another user";
    constexpr uid_t OTHER = 65534;
    struct Case {
        const char* what;
        mode_t dir_mode;
        uid_t link_owner;
        bool through_second_link;  // the planted link is the second of a chain
        bool followed;
    };
    const Case cases[] = {
        {"own link, private directory", 0755, 0, false, true},
        {"own link, sticky directory", 01777, 0, false, true},
        {"another's link, sticky directory", 01777, OTHER, false, false},
        {"own link, directory anyone may write", 0777, 0, false, false},
        {"another's link, private directory", 0755, OTHER, false, false},
        {"another's link further down a chain", 01777, OTHER, true, false},
    };
    fs::create_directories(tmp.dir / "real");
    fs::create_directories(tmp.dir / "drop");
    const fs::path target = tmp.dir / "real" / "conf.dat";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        INITIALISIERE();
        X.CODELAENGE = 6;
        std::vector<unsigned char> kept(sizeof X);
        std::memcpy(kept.data(), &X, sizeof X);
        std::ofstream(target, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(kept.data()), static_cast<std::streamsize>(kept.size()));
        fs::remove(tmp.file());
        fs::remove(tmp.dir / "drop" / "mid");
        // The link that decides lies in tmp.dir, or in drop/ behind one of ours.
        const fs::path decisive = c.through_second_link ? tmp.dir / "drop" / "mid" : fs::path(tmp.file());
        fs::create_symlink(target, decisive);
        if (c.through_second_link) fs::create_symlink(decisive, tmp.file());
        ASSERT_EQ(::lchown(decisive.c_str(), c.link_owner, c.link_owner), 0);
        ASSERT_EQ(::chmod(decisive.parent_path().c_str(), c.dir_mode), 0);

        load();
        EXPECT_EQ(X.CODELAENGE, c.followed ? 6 : 4) << "read through the link";
        X.CODELAENGE = 8;
        BEDINGUNGENSPEICHERN();
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(tmp.file())));
        EXPECT_EQ(read_bytes(target).at(3), c.followed ? 8 : 6) << "written through the link";
        EXPECT_EQ(std::distance(fs::directory_iterator(tmp.dir / "real"), fs::directory_iterator()), 1);
        ASSERT_EQ(::chmod(decisive.parent_path().c_str(), 0700), 0);
    }
    // An ordinary user's own link in a sticky directory anyone may write
    // leads that user to the file it names, for reading and for saving.
    fs::remove(tmp.file());
    ASSERT_EQ(::chown(target.c_str(), OTHER, OTHER), 0);
    ASSERT_EQ(::chown((tmp.dir / "real").c_str(), OTHER, OTHER), 0);
    fs::create_symlink(target, tmp.file());
    ASSERT_EQ(::lchown(tmp.file().c_str(), OTHER, OTHER), 0);
    ASSERT_EQ(::chmod(tmp.dir.c_str(), 01777), 0);
    EXPECT_EXIT(
        {
            if (::setgid(OTHER) != 0 || ::setuid(OTHER) != 0) std::_Exit(3);
            load();
            if (X.CODELAENGE != 6) std::_Exit(4);
            X.CODELAENGE = 9;
            BEDINGUNGENSPEICHERN();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(read_bytes(target).at(3), 9);
}
