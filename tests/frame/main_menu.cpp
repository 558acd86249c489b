// The program from start to exit on key scripts.
#include <gtest/gtest.h>

#include "console/virtual_console.h"
#include "engine/setup/conditions.h"
#include "engine/zqspiel.h"
#include "frame/frame.h"
#include "frame/temp_dir.h"
#include "support/screen_check.h"

using namespace zqspiel;

namespace {

// Notes the screen's version at every key read, so a test can tell whether
// anything was drawn between two keys.
class RecordingConsole : public console::VirtualConsole {
public:
    unsigned char read_key() override {
        versions.push_back(screen.version());
        return VirtualConsole::read_key();
    }
    std::vector<std::uint64_t> versions;
};

struct Program : ::testing::Test {
    RecordingConsole vc;
    TempDir tmp;
    void SetUp() override {
        console::use(&vc);
        vc.program_path = (tmp.dir / "zentrovalquist").string();
    }
    void TearDown() override { console::use(nullptr); }

    void run() { frame::ZENTROVALQUIST(); }

    std::string farewell() const {
        return vc.program_path +
               "\n\n"
               "Zentrovalquist  ***  macOS - 64-Bit - Version  2025-06-21,\n"
               "Version ohne Grafik- und Sonderzeichen / version without graphics characters.\n"
               "\n"
               "Zentrovalquist is free software: you may use, copy and change it.\n"
               "How to build, play and test it is told in the file README.md beside it.\n"
               "\n"
               "Bye-bye!\n";
    }
    void expect_ended() {
        EXPECT_TRUE(vc.restored);
        EXPECT_EQ(vc.plain_output, farewell());
        EXPECT_EQ(tmp.read().size(), 80u);
    }
};

}  // namespace

TEST_F(Program, EnglishThenNineEnds) {
    vc.keys("e9");
    run();
    expect_ended();
    EXPECT_FALSE(frame::SPRACHE_DEUTSCH);
    EXPECT_EQ(vc.pending(), 0u);
    // The English title page was on screen when the program ended.
    EXPECT_EQ(row_of(1), "                             Operating instructions:");
    EXPECT_EQ(console::screen().attr_at(30, 1), 30);
    EXPECT_EQ(console::screen().attr_at(9, 6), 30);   // 'Esc'
    EXPECT_EQ(console::screen().attr_at(13, 6), 30);  // the closing quote
    EXPECT_EQ(console::screen().attr_at(14, 6), 31);  // the slash
    EXPECT_EQ(row_of(25), " 4 - Lend colour to the game.    9 - End of the game.");
    EXPECT_EQ(console::screen().attr_at(2, 25), 31);
}

// Started through a directory whose name holds escape sequences (leave the
// shell's screen, hide the cursor, set the window title) and UTF-8: the
// farewell shows them as '?', and the conditions still go beside the program.
TEST_F(Program, FarewellShowsNoControlCharactersOfThePath) {
    const std::string name = "d\x1b[?1049h\x1b[?25l\x1b]0;pwned\x07\t\x7f\xc3\xa4\x9b" "2J";
    const auto dir = tmp.dir / name;
    ASSERT_TRUE(std::filesystem::create_directory(dir));
    vc.program_path = (dir / "zentrovalquist").string();
    vc.keys("e9");
    run();
    EXPECT_TRUE(vc.restored);
    const std::string shown = (tmp.dir / "d").string() + "?[?1049h?[?25l?]0;pwned??????2J/zentrovalquist";
    EXPECT_EQ(vc.plain_output.substr(0, shown.size() + 2), shown + "\n\n");
    EXPECT_EQ(vc.plain_output.substr(shown.size()), farewell().substr(vc.program_path.size()));
    for (unsigned char c : vc.plain_output) ASSERT_TRUE(c == '\n' || (c >= 32 && c < 127)) << int(c);
    EXPECT_EQ(std::filesystem::file_size(dir / "BEDINGUN.DAT"), 80u);
}

// An installed copy in a directory the user may not write: the conditions go
// to the user's own file, and the farewell says where it is.
TEST_F(Program, FarewellNamesTheUsersConditionsFile) {
    ASSERT_EQ(::chmod(tmp.dir.c_str(), 0755), 0);
    make_unwritable(tmp.dir / "bin");
    make_home_for_other_user(tmp.dir / "home");
    const std::string conf = tmp.dir / "home/conf";
    ::setenv("XDG_CONFIG_HOME", conf.c_str(), 1);
    vc.program_path = (tmp.dir / "bin/zentrovalquist").string();
    vc.keys("e9");
    {
        AsOtherUser other;
        run();
    }
    ::unsetenv("XDG_CONFIG_HOME");
    const std::string file = conf + "/zentrovalquist/BEDINGUN.DAT";
    const std::string farewell = vc.plain_output;
    const std::string told = "Die Bedingungen stehen in / the conditions are kept in:\n" + file + "\n\nBye-bye!\n";
    ASSERT_GE(farewell.size(), told.size());
    EXPECT_EQ(farewell.substr(farewell.size() - told.size()), told);
    EXPECT_EQ(std::filesystem::file_size(file), 80u);
    EXPECT_FALSE(std::filesystem::exists(tmp.dir / "bin/BEDINGUN.DAT"));
}

TEST_F(Program, EscAtTheLanguageScreenEndsAtOnce) {
    vc.key(27).keys("9");
    run();
    expect_ended();
    EXPECT_TRUE(frame::SPRACHE_DEUTSCH);
    EXPECT_EQ(vc.pending(), 1u);  // the menu never read a key
    EXPECT_EQ(row_of(1), " ********  Zentrovalquist  ***  macOS - 64-Bit - Version  2025-06-21.  ********");
}

TEST_F(Program, CtrlCAtTheLanguageScreenIsEsc) {
    vc.key(3);
    run();
    expect_ended();
    EXPECT_TRUE(frame::SPRACHE_DEUTSCH);
}

TEST_F(Program, EscAndOtherKeysAreIgnoredInTheMenu) {
    vc.keys("d").key(27).keys("x0").key(13).key(8).keys("9");
    run();
    expect_ended();
    EXPECT_EQ(vc.pending(), 0u);
    EXPECT_EQ(row_of(1), "                              Bedienungsanleitung:");
    // Reads: 'd', then the menu's six; the page was drawn once before them.
    ASSERT_EQ(vc.versions.size(), 7u);
    for (std::size_t i = 2; i < 7; ++i) EXPECT_EQ(vc.versions[i], vc.versions[1]) << i;
}

TEST_F(Program, CtrlCEndsTheMenu) {
    vc.keys("d").key(3).keys("9");
    run();
    expect_ended();
    EXPECT_EQ(vc.pending(), 1u);
}

TEST_F(Program, CursorKeyIsSwallowedWithoutRedraw) {
    // 57 is the scan code of the space bar's neighbour and the code of '9':
    // as a scan code it must not end the program.
    vc.keys("d").ext(72).ext(57).key(3);
    run();
    expect_ended();
    EXPECT_EQ(vc.pending(), 0u);
    ASSERT_EQ(vc.versions.size(), 6u);
    for (std::size_t i = 2; i < 6; ++i) EXPECT_EQ(vc.versions[i], vc.versions[1]) << i;
}

TEST_F(Program, LanguageAgainThenEscEndsWithGerman) {
    vc.keys("e1").key(27);
    run();
    expect_ended();
    EXPECT_TRUE(frame::SPRACHE_DEUTSCH);
    EXPECT_EQ(vc.pending(), 0u);
    EXPECT_EQ(row_of(1), " ********  Zentrovalquist  ***  macOS - 64-Bit - Version  2025-06-21.  ********");
}

TEST_F(Program, LanguageAgainSwitchesTheTitlePage) {
    vc.keys("d1e9");
    run();
    expect_ended();
    EXPECT_FALSE(frame::SPRACHE_DEUTSCH);
    EXPECT_EQ(row_of(1), "                             Operating instructions:");
}

TEST_F(Program, ConditionsAreSavedOnEnteringTheMenu) {
    vc.keys("d");  // the script runs out while the menu waits
    EXPECT_THROW(run(), console::ScriptEnd);
    EXPECT_FALSE(vc.restored);
    EXPECT_EQ(tmp.read().size(), 80u);
}

TEST_F(Program, ColoursAndConditionsFromTheFile) {
    INITIALISIERE();
    X.NORMALATTR = 0x2F;
    X.HERVORATTR = 0x2E;
    X.SPEICHER = 3;
    X.LEERZEICHEN_ERLAUBT = true;
    X.CODELAENGE = 5;
    std::vector<unsigned char> rec(80);
    std::memcpy(rec.data(), &X, 80);
    tmp.write(rec);

    vc.keys("e9");
    run();
    expect_ended();
    EXPECT_EQ(console::screen().attr_at(30, 1), 0x2E);
    EXPECT_EQ(console::screen().attr_at(2, 3), 0x2F);
    const auto saved = tmp.read();
    EXPECT_EQ(saved[0], 0x2F);
    EXPECT_EQ(saved[1], 0x2E);
    EXPECT_EQ(saved[3], 5);
    EXPECT_EQ(saved[5], 3);
    EXPECT_EQ(saved[10], 1);
}

TEST_F(Program, AMatchStartsWithTheMenuState) {
    INITIALISIERE();
    X.LEERZEICHEN_ERLAUBT = true;
    X.SPEICHER = 2;
    std::vector<unsigned char> rec(80);
    std::memcpy(rec.data(), &X, 80);
    tmp.write(rec);

    // '5' starts the match; Ctrl-C leaves a match screen or, back in the menu, the program.
    vc.keys("e5").key(3).key(3).key(3);
    run();
    expect_ended();
    EXPECT_FALSE(SP_D);
    EXPECT_EQ(MEMAVAIL, memavail_of(2));
    EXPECT_TRUE(LEERZ_MERKER);
    EXPECT_EQ(tmp.read().at(10), 1);
}

TEST_F(Program, ConditionsAreSavedAfterTheConfigurationPage) {
    // Step 1 chosen and confirmed; the script then runs out in the menu, so
    // only the save after the page can have written the step.
    vc.keys("e81").key(13);
    EXPECT_THROW(run(), console::ScriptEnd);
    EXPECT_EQ(SPEICHERSTUFE, 1);
    EXPECT_EQ(tmp.read().at(5), 1);
    EXPECT_EQ(row_of(1), "                             Operating instructions:");  // back at the menu
}
