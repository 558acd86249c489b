// Any byte stream from the terminal through the key decoder: it never hangs
// in a sequence, never holds more than its queue, and every key it gives is
// one the game can get: 7-bit characters, and 0 only in front of a PC scan
// code. A stream without Esc comes through byte for byte.
//
// The first input byte drives the reader: bit 0 set means the keys are taken
// out only at the end (the queue fills up), bits 1..3 give how often the
// escape timeout strikes between bytes (0: never).
#include <cstdint>
#include <vector>

#include "console/key_decoder.h"
#include "fuzz_check.h"

namespace {

// The extended keys a PC keyboard gives (second byte after the 0).
bool known_scan(unsigned s) {
    return s == 3 || (s >= 14 && s <= 53) || (s >= 59 && s <= 68) || s == 71 || s == 72 || s == 73 || s == 75 ||
           s == 77 || (s >= 79 && s <= 113) || (s >= 115 && s <= 165);
}

void check_keys(const std::vector<unsigned char>& keys) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const unsigned char k = keys[i];
        FUZZ_CHECK(k < 128, "key %u at %zu is not 7-bit", k, i);
        if (k == 0) {
            FUZZ_CHECK(i + 1 < keys.size(), "a 0 without its scan code at the end");
            FUZZ_CHECK(known_scan(keys[i + 1]), "scan code %u", keys[i + 1]);
            ++i;
        }
    }
}

void drain(console::KeyDecoder& d, std::vector<unsigned char>& out) {
    while (d.has_key()) out.push_back(d.pop());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool late_reader = data[0] & 1;
    const unsigned timeout_every = (data[0] >> 1) & 7;
    ++data;
    --size;

    console::KeyDecoder d;
    std::vector<unsigned char> keys;
    bool has_esc = false;
    for (std::size_t i = 0; i < size; ++i) {
        d.feed(data[i]);
        has_esc |= data[i] == 27;
        FUZZ_CHECK(d.queued() <= console::KeyDecoder::CAPACITY, "queue holds %zu keys", d.queued());
        if (timeout_every && i % timeout_every == 0) d.timeout();
        if (!late_reader) drain(d, keys);
    }
    d.timeout();
    FUZZ_CHECK(!d.pending(), "a sequence is still pending after the timeout");
    drain(d, keys);
    FUZZ_CHECK(!d.has_key() && d.queued() == 0, "keys left after draining");
    check_keys(keys);

    if (!has_esc && !late_reader) {
        // no sequences: each byte is its own key
        std::vector<unsigned char> expect;
        for (std::size_t i = 0; i < size; ++i) {
            const unsigned char b = data[i];
            if (b == 127 || b == 8) expect.push_back(8);
            else if (b == 10) expect.push_back(13);
            else if (b == 0) expect.insert(expect.end(), {0, 3});
            else if (b < 128) expect.push_back(b);
        }
        FUZZ_CHECK(keys == expect, "plain bytes decoded to %zu keys, not %zu", keys.size(), expect.size());
    }

    // after reset and a fresh start the decoder reads plain text again
    d.reset();
    d.feed('x');
    FUZZ_CHECK(d.has_key() && d.pop() == 'x' && !d.has_key() && !d.pending(), "no fresh start after reset");
    return 0;
}
