// Any 33 bytes as a stored name (shorter inputs are padded with blanks): the
// normalised name obeys the name rules and a second pass changes nothing.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/setup/names.h"
#include "engine/zqspiel.h"
#include "fuzz_check.h"

using namespace zqspiel;

namespace {

bool upper(char c) { return c >= 'A' && c <= 'Z'; }
bool lower(char c) { return c >= 'a' && c <= 'z'; }
bool sep(char c) { return c == ' ' || c == '-'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NAMENSFELD n;
    n.fill(' ');
    std::memcpy(n.data(), data, size < n.size() ? size : n.size());
    const NAMENSFELD input = n;
    CLEAR_NAME(n);
    fuzzsupport::context = "name [" + fuzzsupport::escaped(input.data(), 33) + "] -> [" +
                           fuzzsupport::escaped(n.data(), 33) + "]";

    FUZZ_CHECK(n[0] == ' ' && n[32] == ' ', "guards not blank");
    int end = 32;  // first blank of the blank tail
    while (end > 1 && n[end - 1] == ' ') --end;
    for (int i = 1; i <= 31; ++i) {
        const char c = n[i], prev = n[i - 1];
        FUZZ_CHECK(upper(c) || lower(c) || c == ' ' || c == '-' || c == '.', "character %d at %d", c, i);
        if (i >= end) continue;
        // words start with a capital, go on in lower case; one letter is an initial
        if (upper(c)) FUZZ_CHECK(i == 1 || sep(prev), "capital inside a word at %d", i);
        if (lower(c)) FUZZ_CHECK(upper(prev) || lower(prev), "lower case letter starts a word at %d", i);
        if (c == '.') FUZZ_CHECK(upper(prev) || lower(prev), "period not after a letter at %d", i);
        if (prev == '.') FUZZ_CHECK(sep(c), "period followed by %d at %d", c, i);
        if (sep(c)) FUZZ_CHECK(!sep(prev), "doubled separator inside the name at %d", i);
        if (sep(c) && upper(prev)) FUZZ_CHECK(false, "one letter without its period at %d", i);
    }
    FUZZ_CHECK(end == 1 || upper(n[1]), "the name does not start with a capital");
    FUZZ_CHECK(n[31] != '-', "name ends in '-'");
    if (end > 1) FUZZ_CHECK(n[end - 1] != '-', "name ends in '-'");

    // no letter is lost or made up inside the name: its letters, case aside,
    // are the first letters of the input (an initial's period moves the rest
    // on, so the name may be cut short at its end)
    std::string in_letters, out_letters;
    for (int i = 1; i <= 31; ++i) {
        if (upper(input[i]) || lower(input[i])) in_letters += static_cast<char>(input[i] | 0x20);
        if (upper(n[i]) || lower(n[i])) out_letters += static_cast<char>(n[i] | 0x20);
    }
    FUZZ_CHECK(in_letters.compare(0, out_letters.size(), out_letters) == 0, "letters [%s] are not a prefix of [%s]",
               out_letters.c_str(), in_letters.c_str());

    NAMENSFELD again = n;
    CLEAR_NAME(again);
    FUZZ_CHECK(again == n, "a second pass changes the name");
    return 0;
}
