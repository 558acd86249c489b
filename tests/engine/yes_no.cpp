#include "engine/yes_no.h"

#include <gtest/gtest.h>

#include "console/virtual_console.h"
#include "engine/zqspiel.h"

using namespace zqspiel;

namespace {

struct Field : ::testing::Test {
    console::ScopedVirtualConsole s;
    void SetUp() override {
        WXX = 30;
        WYY = 12;
        console::write_at(30, 12, "-----");
        console::goto_xy(30, 12);
    }
    std::string shown() { return console::screen().text(30, 12, 5); }
};

}  // namespace

TEST_F(Field, NoSwitchesOffAndRewritesInTheLanguage) {
    SP_D = true;
    s.vc.keys("N");
    unsigned char key = 0;
    bool value = true, changed = false;
    JA_NEIN(key, value, changed);
    EXPECT_EQ(key, 'n');
    EXPECT_FALSE(value);
    EXPECT_TRUE(changed);
    EXPECT_EQ(shown(), "Nein.");

    SP_D = false;
    console::write_at(30, 12, "-----");
    value = true;
    s.vc.keys("n");
    JA_NEIN(key, value, changed);
    EXPECT_EQ(shown(), "No. -");  // four characters in English
}

TEST_F(Field, EveryYesKeySwitchesOn) {
    for (char k : std::string("yYJjzZ")) {
        SP_D = true;
        console::write_at(30, 12, "-----");
        s.vc.key(static_cast<unsigned char>(k));
        unsigned char key = 0;
        bool value = false, changed = false;
        JA_NEIN(key, value, changed);
        EXPECT_EQ(key, 'j') << k;
        EXPECT_TRUE(value) << k;
        EXPECT_TRUE(changed) << k;
        EXPECT_EQ(shown(), "Ja.  ") << k;
    }
    SP_D = false;
    console::write_at(30, 12, "-----");
    s.vc.keys("z");
    unsigned char key = 0;
    bool value = false, changed = false;
    JA_NEIN(key, value, changed);
    EXPECT_EQ(shown(), "Yes.-");
}

TEST_F(Field, SameValueIsNotRedrawn) {
    SP_D = true;
    s.vc.keys("z");
    unsigned char key = 0;
    bool value = true, changed = true;
    const auto before = console::screen().version();
    JA_NEIN(key, value, changed);
    EXPECT_EQ(key, 'j');
    EXPECT_TRUE(value);
    EXPECT_FALSE(changed);
    EXPECT_EQ(console::screen().version(), before);
    EXPECT_EQ(shown(), "-----");
}

TEST_F(Field, OtherKeysAndExtendedKeysAreSwallowed) {
    // The scan code 72 is 'H' and 78 'N': neither may be taken for a key.
    s.vc.ext(72).ext(78).keys("aq1 ").key(13);
    unsigned char key = 0;
    bool value = true, changed = false;
    JA_NEIN(key, value, changed);
    EXPECT_EQ(key, 13);
    EXPECT_TRUE(value);
    EXPECT_FALSE(changed);
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_EQ(shown(), "-----");
}

TEST_F(Field, LeavingKeysAreHandedBack) {
    for (unsigned char k : {8, 3, 27}) {
        s.vc.key(k);
        unsigned char key = 0;
        bool value = false, changed = true;
        JA_NEIN(key, value, changed);
        EXPECT_EQ(key, k);
        EXPECT_FALSE(value);
        EXPECT_FALSE(changed);
    }
}
