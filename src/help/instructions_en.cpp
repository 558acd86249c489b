// Unit ZQE: the English instruction pages, the short rules and the detailed
// instructions of four pages.
#include <string_view>

#include "help/instruction_pages.h"
#include "help/zqe.h"

namespace zqe {

namespace {

constexpr std::string_view SHORT[] = {
    "~                         ***  Rules of the game !  ***~",
    "",
    "  Zentrovalquist is a mind game for two players. At first a number of four",
    "digits had to be guessed, which the other player had thought of.",
    "  Here letters are added to the digits. The set of signs, the length of the code",
    "and whether signs may be repeated can be chosen freely.",
    "  Player 1 thinks of a code, player 2 guesses. For each trial he is told P, the",
    "number of signs in the right position, and S, the number of further signs that",
    "are right but in a wrong position. Example: abc against acd gives P=1 (the a)",
    "and S=1 (the c). The game is won when P equals the length of the code.",
    "  The computer can take either role; two persons can play with the computer as",
    "referee, or the computer plays against itself.",
    "  If the computer guesses too long, stop it with Esc, or force it to decide at",
    "once with \"F4\".",
    "  To help the codebreaker a vacant sign (space or \"*\") may be allowed. It never",
    "counts as a hit: a*b against abc gives P=1 and S=1.",
    "  The code can be fixed or a variable answer code: then player 1 changes the",
    "code within the bounds of the answers already given.",
};

constexpr std::string_view PAGE1[] = {
    "~                            ***  Zentrovalquist  ***~",
    "",
    "  Zentrovalquist goes back to an old pencil-and-paper game for two players:",
    "one is the encoder, the other the codebreaker. Later it was also sold as a",
    "board game with coloured pegs, in which colours are guessed instead of digits.",
    "",
    "~                               Course of the game:~",
    "",
    "  The encoder thinks of a code, usually of four digits, none of them repeated.",
    "The codebreaker tries to find it by trials. For each trial the encoder gives",
    "two numbers:",
    "  P = number of signs that are in the right position,",
    "  S = number of further signs that are in the code, but in another position.",
    "Traditionally the P are often called \"hits\" and the S \"near hits\".",
    "",
    "     ~Example:~  Code 2934, trial 2473.",
    "               Only the first position (2) agrees              => P=1.",
    "               Both contain also a 4 and a 3                   => S=1+1=2.",
    "",
    "  The aim is to crack the code in as few trials as possible.",
};

constexpr std::string_view PAGE2[] = {
    "~               The present fundamentally improved computerversion:~",
    "",
    "  The course of the game stays the same. The computer can be encoder or",
    "codebreaker, two persons can play against each other, or the computer plays",
    "against itself.",
    "",
    "~                       Differences to the original game:~",
    "",
    "  ~The allowed set of signs~ is a stretch of the ring 0..9, a..z, given by its",
    "first and its last sign. Example: first sign y, last sign b gives",
    "y,z,0,1,2,3,4,5,6,7,8,9,a,b.",
    "  ~The length of the code~ lies between 2 and 9 signs; so ~the code~ is no longer",
    "bound to four digits.",
    "  ~Repetitions of signs~ can be allowed or forbidden where the set of signs",
    "permits it.",
    "  To help the codebreaker, ~guessing incomplete codes~ with ~vacant signs~ is",
    "possible (question ~'Are vacant signs allowed?'~). A vacant sign is typed as",
    "space or \"*\" and shown as \"*\", while a position not yet filled shows \".\".",
    "  Example: solution acab, trial *a*b gives P=1, S=1.",
};

constexpr std::string_view PAGE3[] = {
    "",
    "  The encoder can play with a ~fixed code~ or with a ~variable answer code~.",
    "With a variable answer code he changes his code within the bounds of his",
    "earlier answers, to make the riddle as hard as possible. He may never",
    "contradict an earlier answer.",
    "",
    "  ~Example:~ signs a and b, length of the code 2, repetitions allowed, variable",
    "code. There are four possible codes: aa, ab, ba and bb.",
    "  The codebreaker guesses ba. The encoder has three possible answers:",
    "    P=2, S=0: the game ends with ba;",
    "    P=0, S=2: the game ends after the next trial with ab;",
    "    P=1, S=0: aa or bb remain.",
    "  The encoder takes the third answer.",
    "  Now the codebreaker guesses bb. The encoder answers P=0, S=0 rather than",
    "P=2, S=0, because then aa still remains.",
    "  The third trial aa solves the riddle.",
};

constexpr std::string_view PAGE4[] = {
    "~          Here is a review of the game:~",
    "",
    "          No.  Code  P  S",
    "           1    ba   1  0",
    "           2    bb   0  0",
    "           3    aa   2  0",
    "          Solution: aa   Trials made: 3",
    "",
    "  ~A person guesses against a variable code set by the computer:~",
    "  In this trivial example the answer is known before the first trial, but it",
    "cannot be entered. The answers of the computer become rigid and are fully",
    "determined by the trials, so any game can be replayed, including games the",
    "computer played against itself.",
    "",
    "  ~The computer guesses and also sets a variable code:~",
    "  It guesses optimally unless it is interrupted, and it cheats against itself",
    "optimally. This is how the number of trials shown in the game was found, in",
    "which ~each~ code can be cracked under the given conditions.",
    "",
    "  ~A person sets the solution:~",
    "  The computer checks the answers of the person and accepts them only when",
    "they lead to valid results.",
};

constexpr help::Page PAGES[] = {PAGE1, PAGE2, PAGE3, PAGE4};

}  // namespace

void KURZANLEITUNGE(std::uint8_t normal, std::uint8_t highlight) { help::show_single_page(SHORT, normal, highlight); }

void SPIELANLEITUNGE(std::uint8_t normal, std::uint8_t highlight) { help::show_pages(PAGES, normal, highlight); }

help::Page short_page() { return SHORT; }
std::span<const help::Page> detailed_pages() { return PAGES; }

}  // namespace zqe
