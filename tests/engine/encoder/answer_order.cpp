#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "engine/encoder/answer_order.h"

using namespace zqspiel;

namespace {

void order_for(byte n) {
    X.CODELAENGE = n;
    REIHENFOLGE();
}

// Which of the six blocks of the order an answer (p, common) belongs to.
int block(int n, int p, int common) {
    const int z = common - p;
    if (p == n) return 6;                    // solving
    if (common == n) return 5;               // every sign common
    if (p == 0 && z == 0) return 4;
    if (z == 0) return 3;                    // P only
    if (p == 0) return 2;                    // Z only
    return 1;                                // both
}

}  // namespace

TEST(AnswerOrder, EveryLengthListsEachPossibleAnswerOnce) {
    for (int n = 1; n <= 9; ++n) {
        SCOPED_TRACE(n);
        order_for(static_cast<byte>(n));
        ASSERT_EQ(ZAHL_DER_GRUPPEN, (n + 1) * (n + 2) / 2 - 1);
        std::set<std::pair<int, int>> seen;
        for (int i = 1; i <= ZAHL_DER_GRUPPEN; ++i) {
            const int p = POS_ORD[i], c = ZEI_ORD[i];
            EXPECT_LE(p, c);
            EXPECT_LE(c, n);
            EXPECT_FALSE(p == n - 1 && c == n) << "P = n-1 with Z = 1 cannot occur";
            EXPECT_TRUE(seen.insert({p, c}).second) << "duplicate " << p << "/" << c - p;
        }
        // Nothing beyond the entries in use.
        for (int i = ZAHL_DER_GRUPPEN + 1; i < 54; ++i) EXPECT_EQ(POS_ORD[i] + ZEI_ORD[i], 0);
        EXPECT_EQ(POS_ORD[ZAHL_DER_GRUPPEN], n);
        EXPECT_EQ(ZEI_ORD[ZAHL_DER_GRUPPEN], n);
    }
}

TEST(AnswerOrder, LongerCodesFollowTheCommonShape) {
    for (int n = 2; n <= 9; ++n) {
        SCOPED_TRACE(n);
        order_for(static_cast<byte>(n));
        int last_block = 0, last_p_only = 0, last_all_common_p = -1;
        for (int i = 1; i <= ZAHL_DER_GRUPPEN; ++i) {
            const int p = POS_ORD[i], c = ZEI_ORD[i];
            const int b = block(n, p, c);
            EXPECT_GE(b, last_block) << "entry " << i << " " << p << "/" << c - p;
            last_block = b;
            if (b == 3) {
                EXPECT_GT(p, last_p_only);
                last_p_only = p;
            }
            if (b == 5) {
                EXPECT_GT(p, last_all_common_p);
                last_all_common_p = p;
            }
        }
        EXPECT_EQ(last_p_only, n - 1);
        EXPECT_EQ(last_all_common_p, n - 2);
    }
}

TEST(AnswerOrder, KnownEntriesOfShortCodes) {
    order_for(2);
    // 0/1 comes before 1/0, so equal classes of the two are answered 0/1.
    EXPECT_EQ(POS_ORD[1], 0);
    EXPECT_EQ(ZEI_ORD[1], 1);
    EXPECT_EQ(POS_ORD[2], 1);
    EXPECT_EQ(ZEI_ORD[2], 1);
    order_for(1);
    EXPECT_EQ(ZAHL_DER_GRUPPEN, 2);
    EXPECT_EQ(POS_ORD[1] + ZEI_ORD[1], 0);
}

TEST(AnswerOrder, WrittenOnlyWhenTheLengthChanges) {
    order_for(4);
    EXPECT_EQ(LETZTEZAHL, 4);
    // Marks left in the table survive a second match with the same length...
    POS_ORD[1] = 77;
    order_for(4);
    EXPECT_EQ(POS_ORD[1], 77);
    // ...and vanish when another length comes and goes.
    order_for(5);
    EXPECT_EQ(LETZTEZAHL, 5);
    EXPECT_EQ(ZAHL_DER_GRUPPEN, 20);
    order_for(4);
    EXPECT_EQ(POS_ORD[1], 1);
    EXPECT_EQ(ZAHL_DER_GRUPPEN, 14);
}

TEST(AnswerOrder, LengthOutsideTheRangeLeavesNoEntries) {
    order_for(3);
    order_for(10);
    EXPECT_EQ(ZAHL_DER_GRUPPEN, 0);
    EXPECT_EQ(LETZTEZAHL, 10);
}
