// The key decoder against the byte sequences of the terminal families the game
// meets: xterm (and its imitators), tmux/screen, rxvt, the Linux console and
// the macOS terminals.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "console/key_decoder.h"

using console::KeyDecoder;

namespace {

std::vector<int> drain(KeyDecoder& d) {
    std::vector<int> out;
    while (d.has_key()) out.push_back(d.pop());
    return out;
}

// Feeds each chunk in one go and lets the escape timeout pass after it: the
// way bytes arrive from a person typing one key after another.
std::vector<int> typed(std::initializer_list<std::string_view> chunks) {
    KeyDecoder d;
    for (auto c : chunks) {
        for (char b : c) d.feed(static_cast<unsigned char>(b));
        d.timeout();
    }
    return drain(d);
}

std::vector<int> ext(int scan) { return {0, scan}; }

struct Case {
    const char* bytes;
    int scan;
};

void expect_scans(const char* family, std::initializer_list<Case> cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(typed({c.bytes}), ext(c.scan)) << family << ": bytes " << ::testing::PrintToString(std::string(c.bytes));
    }
}

}  // namespace

TEST(KeyDecoderPlain, OrdinaryKeysPassAndTerminalQuirksAreEvenedOut) {
    EXPECT_EQ(typed({"aZ9 *"}), (std::vector<int>{'a', 'Z', '9', ' ', '*'}));
    // CR and LF both are Enter; the DEL byte most terminals send for Backspace
    // arrives as 8 like Ctrl-H does.
    EXPECT_EQ(typed({"\r", "\n", "\x7f", "\b"}), (std::vector<int>{13, 13, 8, 8}));
    // Ctrl-C, Ctrl-B and Ctrl-Z are ordinary keys in raw mode
    EXPECT_EQ(typed({"\x03\x02\x1a"}), (std::vector<int>{3, 2, 26}));
}

TEST(KeyDecoderPlain, NulByteCannotPoseAsTheStartOfAnExtendedKey) {
    // Ctrl-Space sends 0; alone it would make the game read the next key as a
    // scan code. It comes as the PC's 0 + 3 instead.
    EXPECT_EQ(typed({std::string_view("\0a", 2)}), (std::vector<int>{0, 3, 'a'}));
}

TEST(KeyDecoderPlain, NonAsciiBytesAreDropped) {
    EXPECT_EQ(typed({"\xc3\xa4x\xe2\x82\xac"}), (std::vector<int>{'x'}));
}

TEST(KeyDecoderEscape, LoneEscNeedsTheTimeout) {
    KeyDecoder d;
    d.feed(27);
    EXPECT_TRUE(d.pending());
    EXPECT_FALSE(d.has_key()) << "Esc must not be reported before the timeout tells it from a sequence";
    d.timeout();
    EXPECT_FALSE(d.pending());
    EXPECT_EQ(drain(d), (std::vector<int>{27}));
}

TEST(KeyDecoderEscape, RepeatedEscKeys) {
    EXPECT_EQ(typed({"\x1b", "\x1b"}), (std::vector<int>{27, 27}));
    // two Esc bytes before the timeout are two Esc keys as well
    EXPECT_EQ(typed({"\x1b\x1b"}), (std::vector<int>{27, 27}));
    // Esc, then Alt + cursor up (ESC ESC [ A) in one burst
    EXPECT_EQ(typed({"\x1b\x1b\x1b[A"}), (std::vector<int>{27, 0, 152}));
}

TEST(KeyDecoderEscape, EscBeforeAnOrdinaryKeyIsAlt) {
    expect_scans("alt", {{"\x1bx", 45}, {"\x1bQ", 16}, {"\x1b" "1", 120}, {"\x1b" "0", 129}, {"\x1b\r", 28}});
    // Esc quickly followed by a control key is two keys
    EXPECT_EQ(typed({"\x1b\x03"}), (std::vector<int>{27, 3}));
}

TEST(KeyDecoderEscape, TimeoutAfterIntroducerIsTheAltKeyTypedByHand) {
    EXPECT_EQ(typed({"\x1b["}), ext(26));  // Alt-[
    EXPECT_EQ(typed({"\x1bO"}), ext(24));  // Alt-O
}

TEST(KeyDecoderXterm, FunctionKeysWithModifiers) {
    expect_scans("xterm", {
                              {"\x1bOP", 59},       {"\x1b[1;2P", 84},   {"\x1b[1;5P", 94},   {"\x1b[1;3P", 104},
                              {"\x1bOS", 62},       {"\x1b[1;2S", 87},   {"\x1b[1;5S", 97},   {"\x1b[1;3S", 107},
                              {"\x1b[17~", 64},     {"\x1b[17;2~", 89},  {"\x1b[17;5~", 99},  {"\x1b[17;3~", 109},
                              {"\x1b[15~", 63},     {"\x1b[21~", 68},    {"\x1b[23~", 133},   {"\x1b[24;5~", 138},
                          });
}

TEST(KeyDecoderXterm, CursorAndEditingKeys) {
    expect_scans("xterm", {
                              {"\x1b[A", 72},      {"\x1b[B", 80},      {"\x1b[D", 75},      {"\x1b[C", 77},
                              {"\x1b[1;5A", 141},  {"\x1b[1;3A", 152},  {"\x1b[1;5B", 145},  {"\x1b[1;3B", 160},
                              {"\x1b[1;5D", 115},  {"\x1b[1;3D", 155},  {"\x1b[1;5C", 116},  {"\x1b[1;3C", 157},
                              {"\x1b[5~", 73},     {"\x1b[6~", 81},     {"\x1b[3~", 83},     {"\x1b[3;3~", 163},
                              {"\x1b[H", 71},      {"\x1b[F", 79},      {"\x1b[2~", 82},     {"\x1b[Z", 15},
                              // application cursor mode
                              {"\x1bOA", 72},      {"\x1bOD", 75},
                          });
}

TEST(KeyDecoderXterm, ModifierBitsCombine) {
    // m - 1 carries Shift (1), Alt (2), Ctrl (4), Meta (8); Shift does not
    // change a cursor key, Alt goes before Ctrl, Meta counts as Alt.
    expect_scans("xterm", {{"\x1b[1;2A", 72}, {"\x1b[1;7A", 152}, {"\x1b[1;6D", 115}, {"\x1b[1;9C", 157},
                           {"\x1b[1;4P", 104}, {"\x1b[1;6S", 97}});
}

TEST(KeyDecoderXterm, KeypadEnterAndApplicationKeypad) {
    EXPECT_EQ(typed({"\x1bOM"}), (std::vector<int>{13}));
    EXPECT_EQ(typed({"\x1bOp\x1bOy\x1bOk\x1bOj"}), (std::vector<int>{'0', '9', '+', '*'}));
}

TEST(KeyDecoderTmux, ScreenStyleKeys) {
    expect_scans("tmux/screen", {{"\x1b[1~", 71}, {"\x1b[4~", 79}, {"\x1bOP", 59}, {"\x1bOS", 62},
                                 {"\x1b[17~", 64}, {"\x1b[1;5A", 141}, {"\x1b[1;2P", 84}});
}

TEST(KeyDecoderRxvt, CaretDollarAndAtForms) {
    expect_scans("rxvt", {
                             {"\x1b[11~", 59},  {"\x1b[14~", 62},  {"\x1b[17~", 64},
                             {"\x1b[11^", 94},  {"\x1b[14^", 97},  {"\x1b[17^", 99},
                             {"\x1b[26~", 87},  {"\x1b[29~", 89},  {"\x1b[33~", 92},
                             {"\x1b[a", 72},    {"\x1b[d", 75},    {"\x1bOa", 141},  {"\x1bOb", 145},
                             {"\x1bOd", 115},   {"\x1bOc", 116},   {"\x1b[3$", 83},  {"\x1b[3^", 147},
                             {"\x1b[7~", 71},   {"\x1b[8~", 79},   {"\x1b[5^", 132}, {"\x1b[6@", 118},
                             // Alt: ESC in front of the whole sequence
                             {"\x1b\x1b[A", 152}, {"\x1b\x1b[3~", 163}, {"\x1b\x1b[14~", 107},
                             {"\x1b\x1bOd", 155},
                         });
}

TEST(KeyDecoderLinuxConsole, DoubleBracketFunctionKeys) {
    expect_scans("linux", {{"\x1b[[A", 59}, {"\x1b[[D", 62}, {"\x1b[[E", 63}, {"\x1b[17~", 64},
                           {"\x1b[26~", 87}, {"\x1b[29~", 89}, {"\x1b[1~", 71}, {"\x1b[3~", 83},
                           {"\x1b\x1b[[A", 104}});
}

TEST(KeyDecoderMac, TerminalAndITermSequences) {
    expect_scans("macOS", {
                              {"\x1b" "b", 48},       // Option-Left as word left (Alt-B)
                              {"\x1b" "f", 33},       // Option-Right (Alt-F)
                              {"\x1bOP", 59},         {"\x1b[1;5D", 115}, {"\x1b[3~", 83},
                              {"\x1b[1;9A", 152},     // iTerm2 with Option as Meta
                              {"\x1b\x1b[B", 160},    // iTerm2 with Option as Esc+
                              {"\x1bO2P", 84},        // older form: modifier as the only parameter
                              {"\x1b[5D", 115},
                          });
}

TEST(KeyDecoderUnknown, SequencesAreSwallowedWhole) {
    // bracketed paste marks, device attributes, focus reports, keypad 5,
    // kitty keys, a long parameter list, an unknown SS3 final, a mouse report
    EXPECT_EQ(typed({"\x1b[200~x\x1b[201~"}), (std::vector<int>{'x'}));
    EXPECT_EQ(typed({"\x1b[?1;2c"}), (std::vector<int>{}));
    EXPECT_EQ(typed({"\x1b[I\x1b[O"}), (std::vector<int>{}));
    EXPECT_EQ(typed({"\x1b[E\x1b[97;5u"}), (std::vector<int>{}));
    EXPECT_EQ(typed({"\x1b[1;2;3;4;5;6;7;8~y"}), (std::vector<int>{'y'}));
    EXPECT_EQ(typed({"\x1bOz"}), (std::vector<int>{}));
    EXPECT_EQ(typed({"\x1b[M !!q"}), (std::vector<int>{'q'}));
    EXPECT_EQ(typed({"\x1b[99~"}), (std::vector<int>{}));
    EXPECT_EQ(typed({"\x1b[1 q"}), (std::vector<int>{})) << "an intermediate byte makes it no key";
}

TEST(KeyDecoderSplit, SequenceArrivingInPiecesBeforeTheTimeout) {
    KeyDecoder d;
    for (char b : std::string_view("\x1b[1;")) d.feed(static_cast<unsigned char>(b));
    EXPECT_TRUE(d.pending());
    EXPECT_FALSE(d.has_key());
    d.feed('5');
    d.feed('A');
    EXPECT_FALSE(d.pending());
    EXPECT_EQ(drain(d), ext(141));
}

TEST(KeyDecoderSplit, TimeoutInsideASequenceDropsTheBrokenPart) {
    KeyDecoder d;
    for (char b : std::string_view("\x1b[1;5")) d.feed(static_cast<unsigned char>(b));
    d.timeout();
    EXPECT_EQ(drain(d), (std::vector<int>{})) << "no stray characters from half a sequence";
    EXPECT_FALSE(d.pending());
}

TEST(KeyDecoderSplit, ControlByteOrNewEscBreaksASequenceOff) {
    EXPECT_EQ(typed({"\x1b[1\x1b[A"}), ext(72));
    EXPECT_EQ(typed({"\x1b[1\rx"}), (std::vector<int>{13, 'x'}));
    EXPECT_EQ(typed({"\x1b[[\x1b[B"}), ext(80));
}

TEST(KeyDecoderQueue, OverflowNeverSplitsAnExtendedKey) {
    KeyDecoder d;
    for (std::size_t i = 0; i < KeyDecoder::CAPACITY; ++i)
        for (char b : std::string_view("\x1b[A")) d.feed(static_cast<unsigned char>(b));
    ASSERT_GT(d.queued(), 0u);
    EXPECT_EQ(d.queued() % 2, 0u);
    auto keys = drain(d);
    for (std::size_t i = 0; i < keys.size(); i += 2) {
        ASSERT_EQ(keys[i], 0) << "at " << i;
        ASSERT_EQ(keys[i + 1], 72) << "at " << i;
    }
    // and the decoder works on after the overflow
    d.feed('k');
    EXPECT_EQ(drain(d), (std::vector<int>{'k'}));
}

// The terminal reads 256 bytes at a time while the queue is empty: a whole
// read of keys typed ahead must fit, also when every byte is a two-key NUL.
TEST(KeyDecoderQueue, HoldsAWholeReadOfKeys) {
    KeyDecoder d;
    for (int i = 0; i < 256; ++i) d.feed(static_cast<unsigned char>('a' + i % 26));
    auto keys = drain(d);
    ASSERT_EQ(keys.size(), 256u);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(keys[i], 'a' + i % 26) << "at " << i;

    for (int i = 0; i < 256; ++i) d.feed(0);
    keys = drain(d);
    ASSERT_EQ(keys.size(), 512u);
    for (std::size_t i = 0; i < keys.size(); i += 2) {
        ASSERT_EQ(keys[i], 0) << "at " << i;
        ASSERT_EQ(keys[i + 1], 3) << "at " << i;
    }
}

// `room` is what may be fed without a loss even in the worst case: ESC ESC
// pending, then NULs (four keys from the first, two from each after it).
TEST(KeyDecoderQueue, RoomIsNeverTooLarge) {
    KeyDecoder d;
    EXPECT_GE(d.room(), 256u);
    d.feed('x');
    d.feed(27);
    d.feed(27);
    const std::size_t room = d.room();
    for (std::size_t i = 0; i < room; ++i) d.feed(0);
    d.timeout();
    EXPECT_EQ(d.queued(), 1 + 4 + 2 * (room - 1)) << "a key was lost";
    EXPECT_GE(d.queued() + 2, KeyDecoder::CAPACITY) << "room left unused";
    const auto keys = drain(d);
    ASSERT_GE(keys.size(), 5u);
    EXPECT_EQ((std::vector<int>(keys.begin(), keys.begin() + 5)), (std::vector<int>{'x', 27, 27, 0, 3}));
    EXPECT_EQ(keys.back(), 3);
    // a nearly full queue has no room
    for (std::size_t i = 0; i + 1 < KeyDecoder::CAPACITY; ++i) d.feed('k');
    EXPECT_EQ(d.room(), 0u);
}

TEST(KeyDecoderQueue, ResetDropsPendingAndQueued) {
    KeyDecoder d;
    d.feed('a');
    d.feed(27);
    d.reset();
    EXPECT_FALSE(d.has_key());
    EXPECT_FALSE(d.pending());
    d.feed('A');  // no longer the final of a sequence
    EXPECT_EQ(drain(d), (std::vector<int>{'A'}));
}
