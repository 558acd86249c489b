#include "engine/setup/yes_no.h"

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

TEST_F(Field, YesAndNoSwitchAndRewriteInTheLanguage) {
    struct Case {
        unsigned char k;
        bool in_german, before;
        const char* shown;
    } cases[] = {{'N', true, true, "Nein."}, {'n', false, true, "No. -"}, {'y', true, false, "Ja.  "},
                 {'Y', true, false, "Ja.  "}, {'J', true, false, "Ja.  "}, {'j', true, false, "Ja.  "},
                 {'Z', true, false, "Ja.  "}, {'z', false, false, "Yes.-"}};
    for (const Case& c : cases) {
        SP_D = c.in_german;
        console::write_at(30, 12, "-----");
        s.vc.key(c.k);
        unsigned char key = 0;
        bool value = c.before, changed = false;
        JA_NEIN(key, value, changed);
        EXPECT_EQ(key, c.before ? 'n' : 'j') << c.k;
        EXPECT_EQ(value, !c.before) << c.k;
        EXPECT_TRUE(changed) << c.k;
        EXPECT_EQ(shown(), c.shown) << c.k;
    }
}

TEST_F(Field, SameValueIsNotRedrawn) {
    s.vc.keys("z");
    unsigned char key = 0;
    bool value = true, changed = true;
    const auto before = console::screen().version();
    JA_NEIN(key, value, changed);
    EXPECT_EQ(key, 'j');
    EXPECT_TRUE(value);
    EXPECT_FALSE(changed);
    EXPECT_EQ(console::screen().version(), before);
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
    for (unsigned char k : {8, 3, 27}) {  // the leaving keys are handed back
        s.vc.key(k);
        JA_NEIN(key, value, changed);
        EXPECT_EQ(key, k);
    }
}
