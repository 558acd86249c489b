#include "engine/codebreaker/bit_planes.h"

#include <cstring>

namespace zqspiel {

std::size_t bit_plane_words(std::size_t count, int l, int kinds) {
    const std::size_t blocks = (count + PLANE_BLOCK - 1) / PLANE_BLOCK;
    return 2 * static_cast<std::size_t>(l) * static_cast<std::size_t>(kinds) * blocks * PLANE_BLOCK_WORDS;
}

void lay_out_bit_planes(BitPlanes& p, std::uint64_t* words, std::size_t count, int l, int signs,
                        const std::array<bool, 37>& with_plane) {
    p = BitPlanes{};
    p.words = words;
    p.count = count;
    p.blocks = (count + PLANE_BLOCK - 1) / PLANE_BLOCK;
    p.length = l;
    for (int s = 1; s <= signs && s <= 36; ++s)
        if (with_plane[s]) p.slot[s] = static_cast<byte>(++p.kinds);
    std::memset(words, 0, bit_plane_words(count, l, p.kinds) * sizeof(std::uint64_t));
}

bool add_to_bit_planes(BitPlanes& p, std::size_t k, const byte* code, const byte* counts, int signs) {
    for (int s = 1; s <= signs; ++s)
        if (counts[s - 1] != 0 && p.slot[s] == 0) return false;
    const std::size_t word = k / 64;
    const std::uint64_t bit = std::uint64_t{1} << (k % 64);
    const std::size_t stride = p.plane_words();
    const std::size_t kinds = static_cast<std::size_t>(p.kinds);
    for (int i = 1; i <= p.length; ++i) {
        const byte s = code[i - 1];
        if (s == 0) continue;
        p.words[(static_cast<std::size_t>(i - 1) * kinds + p.slot[s] - 1) * stride + word] |= bit;
    }
    const std::size_t counts_from = static_cast<std::size_t>(p.length) * kinds;
    for (int s = 1; s <= signs; ++s)
        for (int t = 1; t <= counts[s - 1] && t <= p.length; ++t)
            p.words[(counts_from + static_cast<std::size_t>(p.slot[s] - 1) * p.length + (t - 1)) * stride + word] |= bit;
    return true;
}

}  // namespace zqspiel
