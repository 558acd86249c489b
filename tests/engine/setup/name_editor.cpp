#include "engine/setup/name_editor.h"

#include "engine/setup/names.h"
#include "engine/play/match_support.h"

using namespace zqtest;

namespace {

struct NameEditor : ::testing::Test {
    console::ScopedVirtualConsole s;
    void SetUp() override { fresh_conditions(s.vc); }

    // Edits player `which` with the keys given; returns the final key.
    unsigned char edit(byte which) {
        unsigned char key = 0;
        LESE_NAMEN(which, which == 1 ? X.NAME1 : X.NAME2, key);
        return key;
    }
};

TEST_F(NameEditor, InitialGetsPeriodAndWordsAreCapitalised) {
    s.vc.keys("j wald").key(13).keys("y");
    EXPECT_EQ(edit(1), 'j');
    EXPECT_EQ(name_of(X.NAME1), "J. Wald");
    EXPECT_EQ(at(38, 23, 8), "J. Wald ");
    EXPECT_EQ(s.vc.pending(), 0u);
}

TEST_F(NameEditor, DoubledSeparatorIsSwallowed) {
    s.vc.keys("anna--maria").key(13).keys("j");
    EXPECT_EQ(edit(2), 'j');
    EXPECT_EQ(name_of(X.NAME2), "Anna-Maria");
    EXPECT_EQ(at(38, 24, 11), "Anna-Maria ");
}

TEST_F(NameEditor, OneLetterNameIsAnInitial) {
    s.vc.keys("x").key(13).key(13);  // Enter also confirms
    EXPECT_EQ(edit(1), 'j');
    EXPECT_EQ(name_of(X.NAME1), "X.");
    EXPECT_EQ(at(38, 23, 3), "X. ");
}

TEST_F(NameEditor, UpperCaseInsideAWordIsLowered) {
    s.vc.keys("mEIER").key(13).keys("Y");
    edit(1);
    EXPECT_EQ(name_of(X.NAME1), "Meier");
}

TEST_F(NameEditor, StoredNameIsOnlyConfirmed) {
    set_name(X.NAME1, "Otto");
    s.vc.keys("Z");
    EXPECT_EQ(edit(1), 'j');
    EXPECT_EQ(name_of(X.NAME1), "Otto");
    EXPECT_EQ(at(38, 23, 5), "Otto ");
}

TEST_F(NameEditor, NoAtConfirmationClearsAndOpensTyping) {
    set_name(X.NAME1, "Otto");
    s.vc.keys("N").keys("eva").key(13).keys("j");
    EXPECT_EQ(edit(1), 'j');
    EXPECT_EQ(name_of(X.NAME1), "Eva");
    EXPECT_EQ(at(38, 23, 5), "Eva  ");
}

TEST_F(NameEditor, BackspaceOnEmptyFirstPositionLeavesWithoutConfirmation) {
    s.vc.key(8).keys("j");
    EXPECT_EQ(edit(2), 8);
    EXPECT_EQ(s.vc.pending(), 1u);  // the 'j' was not read
    EXPECT_EQ(name_of(X.NAME2), "");
}

TEST_F(NameEditor, BreakKeysAndWhatTheyReturn) {
    s.vc.keys("ab").key(3);
    EXPECT_EQ(edit(1), 2);  // Ctrl-C while typing: Ctrl-B
    EXPECT_EQ(s.vc.pending(), 0u);

    set_name(X.NAME1, "Otto");
    s.vc.key(3);
    EXPECT_EQ(edit(1), 27);  // Ctrl-C at the confirmation: Esc

    s.vc.key(27);
    EXPECT_EQ(edit(1), 8);  // Esc at the confirmation: one field back
    EXPECT_EQ(name_of(X.NAME1), "Otto");
}

TEST_F(NameEditor, EscWhileTypingGoesToConfirmation) {
    s.vc.keys("ute").key(27).keys("j");
    EXPECT_EQ(edit(1), 'j');
    EXPECT_EQ(name_of(X.NAME1), "Ute");
}

TEST_F(NameEditor, BackspaceRemovesLetterOrPeriodWithBlank) {
    s.vc.keys("ab").key(8).keys("c");           // "Ac"
    s.vc.keys(" ").keys("j ").key(8).key(8);  // "Ac J. ", then ". " and "J" go again
    s.vc.keys("d").key(13).keys("j");
    edit(1);
    EXPECT_EQ(name_of(X.NAME1), "Ac D.");
    EXPECT_EQ(at(38, 23, 7), "Ac D.  ");
}

TEST_F(NameEditor, SeparatorReplacesSeparatorAndIsIgnoredFirst) {
    s.vc.keys(" -ab -cd").key(13).keys("j");
    edit(1);
    EXPECT_EQ(name_of(X.NAME1), "Ab-Cd");
    EXPECT_EQ(at(38, 23, 6), "Ab-Cd ");
}

TEST_F(NameEditor, PeriodAfterWordAndColonAndUnderscore) {
    s.vc.keys("dr:hans_ulf").key(13).keys("j");
    edit(1);
    EXPECT_EQ(name_of(X.NAME1), "Dr. Hans-Ulf");
}

TEST_F(NameEditor, OtherKeysAreIgnoredWithoutOutput) {
    s.vc.keys("1#").ext(72).keys("bo!7").ext(75).keys("b").key(13).keys("j");
    edit(1);
    EXPECT_EQ(name_of(X.NAME1), "Bob");
    EXPECT_EQ(at(38, 23, 4), "Bob ");
}

TEST_F(NameEditor, TrailingSeparatorIsDroppedOnEnter) {
    s.vc.keys("ina-").key(13).keys("j");
    edit(1);
    EXPECT_EQ(name_of(X.NAME1), "Ina");
    EXPECT_EQ(at(38, 23, 4), "Ina ");
}

TEST_F(NameEditor, BackspaceAtConfirmationResumesAtTheEnd) {
    s.vc.keys("anna").key(13).key(8).keys(" b").key(13).keys("j");
    EXPECT_EQ(edit(1), 'j');
    EXPECT_EQ(name_of(X.NAME1), "Anna B.");
    // after an initial the typing resumes behind its blank
    s.vc.key(8).keys("erg").key(13).keys("j");
    set_name(X.NAME1, "Anna B.");
    EXPECT_EQ(edit(1), 'j');
    EXPECT_EQ(name_of(X.NAME1), "Anna B. Erg");
}

TEST_F(NameEditor, FieldRunsFullAtThirtyOneCharacters) {
    s.vc.keys(std::string(31, 'q')).keys("x").keys("j");  // the field ends by itself; 'x' is no answer
    EXPECT_EQ(edit(1), 'j');
    EXPECT_EQ(name_of(X.NAME1), "Q" + std::string(30, 'q'));
    EXPECT_EQ(at(38, 23, 31), "Q" + std::string(30, 'q'));
    EXPECT_EQ(at(69, 23, 1), " ");
}

TEST_F(NameEditor, SeparatorNearTheEndClosesTheName) {
    // 28 letters, blank, initial at 30, then a separator at 31 ends the typing
    s.vc.keys(std::string(28, 'k')).keys(" m ").keys("j");
    edit(1);
    EXPECT_EQ(name_of(X.NAME1), "K" + std::string(27, 'k') + " M.");
}

TEST_F(NameEditor, ShowNamesAndTheComputer) {
    set_name(X.NAME1, "erna");
    set_name(X.NAME2, "Paul");
    SCHREIBE_NAME(true, true, true);
    EXPECT_EQ(name_of(X.NAME1), "Paul");
    EXPECT_EQ(name_of(X.NAME2), "Erna");
    EXPECT_EQ(X.NAME1[0], ' ');
    EXPECT_EQ(X.NAME2[32], ' ');
    EXPECT_EQ(at(38, 23, 5), "Paul ");
    EXPECT_EQ(at(38, 24, 5), "Erna ");
    SCHREIBE_PC(false, true);
    EXPECT_EQ(at(38, 24, 31), "*** Der Computer ***           ");
    EXPECT_EQ(at(38, 23, 5), "Paul ");
    SP_D = false;
    SCHREIBE_PC(true, false);
    EXPECT_EQ(at(38, 23, 31), "*** The computer ***           ");
}

}  // namespace
