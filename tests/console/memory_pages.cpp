#include "console/memory_pages.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

namespace {

struct Mapping {
    std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::size_t bytes = 4 * page;
    unsigned char* p = static_cast<unsigned char*>(console::map_pages(bytes));
    ~Mapping() { console::unmap_pages(p, bytes); }
    bool all(std::size_t from, std::size_t to, unsigned char v) const {
        for (std::size_t i = from; i < to; ++i)
            if (p[i] != v) return false;
        return true;
    }
};

}  // namespace

TEST(Pages, FreshPagesReadZeroAndAreWritable) {
    Mapping m;
    ASSERT_NE(m.p, nullptr);
    EXPECT_TRUE(m.all(0, m.bytes, 0));
    std::memset(m.p, 0xA5, m.bytes);
    EXPECT_TRUE(m.all(0, m.bytes, 0xA5));
    Mapping other;  // a second mapping shares nothing with the first
    ASSERT_NE(other.p, nullptr);
    EXPECT_TRUE(other.all(0, other.bytes, 0));
}

TEST(Pages, AdviceKeepsTheContentsAndIsOnlyGivenWithTheLinuxCalls) {
    Mapping m;
    ASSERT_NE(m.p, nullptr);
    std::memset(m.p, 0x3C, m.bytes);
    const bool large = console::advise_large_pages(m.p, m.bytes, true);
    const bool small = console::advise_large_pages(m.p, m.bytes, false);
    EXPECT_TRUE(m.all(0, m.bytes, 0x3C));
    if (!console::linux_page_calls()) {
        EXPECT_FALSE(large);
        EXPECT_FALSE(small);
    }
#if defined(__linux__) && !defined(ZQ_PORTABLE)
    EXPECT_TRUE(console::linux_page_calls());
#else
    EXPECT_FALSE(console::linux_page_calls());
#endif
}
