// The answer entry: only answers some remaining code gives are taken, forced
// values are filled in, Backspace goes back to P only after a typed P.
#include "engine/play/answer_check.h"

#include "engine/codebreaker/codebreaker_support.h"

using namespace cbtest;

namespace {

struct Entered {
    bool ok = false;
    byte p = 99, z = 99;
    unsigned char pressed_key = 0;
};

// Runs the entry for code length 4 with P at column 56 and Z at 58, row 9.
Entered read_answer(console::ScopedVirtualConsole& s, const ClassTable& t, byte n = 4) {
    Entered e;
    try {
        e.ok = read_checked_answer(t, n, 56, 58, 9, e.p, e.z, e.pressed_key);
    } catch (const console::ScriptEnd&) {
        e.pressed_key = 255;  // still waiting when the keys ran out
    }
    (void)s;
    return e;
}

void prepare(console::ScopedVirtualConsole& s) {
    Conditions b;
    prepare_store(b);
    s.vc.idle_limit_ms = 60 * 1000;
}

}  // namespace

TEST(Answer, UniquePIsFilledInAndOnlyZIsAsked) {
    console::ScopedVirtualConsole s(41);
    prepare(s);
    ClassTable t{};
    t[2][1] = 5;  // P = 1, Z = 1
    t[3][1] = 2;  // P = 1, Z = 2
    s.vc.keys("0").keys("2");  // Z = 0 has no code: ignored
    const Entered e = read_answer(s, t);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.p, 1);
    EXPECT_EQ(e.z, 2);
    EXPECT_EQ(console::screen().text(56, 9, 3), "1 2");
}

TEST(Answer, BothValuesForcedNeedNoKey) {
    console::ScopedVirtualConsole s(42);
    prepare(s);
    ClassTable t{};
    t[3][1] = 7;
    const Entered e = read_answer(s, t);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.p, 1);
    EXPECT_EQ(e.z, 2);
    EXPECT_EQ(s.vc.key_tests, 0);
}

TEST(Answer, PThreeOfFourGivesZZeroWithoutAsking) {
    console::ScopedVirtualConsole s(43);
    prepare(s);
    ClassTable t{};
    t[3][3] = 1;
    t[2][0] = 4;
    t[4][2] = 3;
    s.vc.keys("3");
    const Entered e = read_answer(s, t);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.p, 3);
    EXPECT_EQ(e.z, 0);
    EXPECT_EQ(s.vc.pending(), 0u);
}

TEST(Answer, ImpossibleAndOutOfRangeKeysAreIgnored) {
    console::ScopedVirtualConsole s(44);
    prepare(s);
    ClassTable t{};
    t[2][0] = 4;
    t[3][0] = 1;
    t[2][2] = 3;
    // 5 > code length, 1 has no class, a letter and an extended key mean nothing.
    s.vc.keys("51x").ext(72).keys("0").keys("9").keys("3");
    const Entered e = read_answer(s, t);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.p, 0);
    EXPECT_EQ(e.z, 3);
}

TEST(Answer, BackspaceAfterATypedPAsksPAgain) {
    console::ScopedVirtualConsole s(45);
    prepare(s);
    ClassTable t{};
    t[1][0] = 2;
    t[2][0] = 2;
    t[2][1] = 2;
    t[3][1] = 2;
    s.vc.keys("0").key(8);
    Entered e = read_answer(s, t);
    EXPECT_EQ(e.pressed_key, 255);  // waiting for P again
    EXPECT_EQ(console::screen().text(56, 9, 1), " ");
    EXPECT_EQ(console::where_x(), 56);
    console::screen().clear();
    s.vc.keys("0").key(8).keys("1").keys("2");
    e = read_answer(s, t);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.p, 1);
    EXPECT_EQ(e.z, 2);
}

TEST(Answer, BackspaceAfterAnAutomaticPDoesNothing) {
    console::ScopedVirtualConsole s(46);
    prepare(s);
    ClassTable t{};
    t[1][1] = 2;
    t[2][1] = 2;
    s.vc.key(8).keys("1");
    const Entered e = read_answer(s, t);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.p, 1);
    EXPECT_EQ(e.z, 1);
    EXPECT_EQ(console::screen().text(56, 9, 1), "1");
}

TEST(Answer, SolvingAnswerOnlyWhenTheGuessIsStillPossible) {
    console::ScopedVirtualConsole s(47);
    prepare(s);
    ClassTable t{};
    t[4][2] = 3;
    t[2][0] = 1;
    s.vc.keys("4").keys("2");  // Z is then forced
    Entered e = read_answer(s, t);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.p, 2);
    EXPECT_EQ(e.z, 2);
    t[4][4] = 1;
    s.vc.keys("4");
    e = read_answer(s, t);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.p, 4);
    EXPECT_EQ(e.z, 0);
}

TEST(Answer, EscOrCtrlCBreakOffAndReleaseTheStore) {
    for (unsigned char k : {27, 3}) {
        console::ScopedVirtualConsole s(48);
        prepare(s);
        bool ok = false;
        INIT_RATEN(ok);
        INITFELD();
        ASSERT_TRUE(ok);
        ClassTable t{};
        t[1][0] = 1;
        t[2][1] = 1;
        s.vc.key(k);
        const Entered e = read_answer(s, t);
        EXPECT_FALSE(e.ok);
        EXPECT_EQ(e.pressed_key, 27);
        EXPECT_EQ(STORE_ARENA.used(), 0);
        EXPECT_EQ(VERS, nullptr);
        EXPECT_FALSE(ZEITEIN);
    }
}

TEST(Answer, ToneAnnouncesTheQuestionWhenSoundIsOn) {
    console::ScopedVirtualConsole s(49);
    prepare(s);
    X.TON = true;
    ClassTable t{};
    t[0][0] = 1;
    const Entered e = read_answer(s, t);
    ASSERT_TRUE(e.ok);
    ASSERT_EQ(s.vc.tones.size(), 1u);
    EXPECT_EQ(s.vc.tones[0].hz, 440u);
    EXPECT_EQ(s.vc.tones[0].end_ms - s.vc.tones[0].start_ms, 500);
}

TEST(Answer, PersonAnswersTheComputersOpeningGuess) {
    // The whole road: the computer shows its guess, the person's answer is
    // checked against the candidates and the store narrowed by it.
    console::ScopedVirtualConsole s(50);
    Conditions b;
    b.computer_encodes = false;
    prepare_store(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    const std::string secret = "6543";
    std::string opening;
    for (int i = 1; i <= 4; ++i) opening += FARBARRAY[ANFANG.d(i)];
    byte ep, ez;
    BEWERTE(as_code(opening), as_code(secret), ep, ez);
    // The person answers once the guess is on the screen: keys typed during
    // the search would be dropped by it.
    s.vc.wait(200).keys(std::string(1, static_cast<char>('0' + ep)));
    s.vc.keys(std::string(1, static_cast<char>('0' + ez)));
    next_trial();
    CODE move;
    byte p = 0, z = 0;
    unsigned char pressed_key = 0;
    try {
        RATE_CODE(move, p, z, pressed_key);
    } catch (const console::ScriptEnd&) {
        FAIL() << "the entry asked for more than P and Z";
    }
    EXPECT_EQ(p, ep);
    EXPECT_EQ(z, ez);
    for (const std::string& c : solution_list()) {
        byte cp, cz;
        BEWERTE(as_code(opening), as_code(c), cp, cz);
        ASSERT_EQ(cp, ep);
        ASSERT_EQ(cz, ez);
    }
    const auto solution = solution_list();
    EXPECT_NE(std::find(solution.begin(), solution.end(), secret), solution.end());
    LISTEN_FREIGEBEN(true);
}
