// The date texts of the board's date rows in both languages.
#include <gtest/gtest.h>

#include <string>

#include "console/console.h"
#include "engine/clock/date_texts.h"

using namespace zqspiel;

TEST(DateTexts, EnglishWeekdayShorteningAndSuffixes) {
    auto e = [](int y, int m, int d) {
        return date_english(static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(m),
                            static_cast<std::uint16_t>(d), console::weekday_of(y, m, d));
    };
    EXPECT_EQ(e(2022, 5, 4), "Wednesday, 4th May 2022,");  // 24 columns: fits
    EXPECT_EQ(e(2018, 3, 14), "Weds., 14th March 2018,");
    EXPECT_EQ(e(2024, 5, 1), "Wednesday, 1st May 2024,");
    EXPECT_EQ(e(2024, 6, 5), "Weds., 5th June 2024,");
    EXPECT_EQ(e(2026, 6, 2), "Tuesday, 2nd June 2026,");     // slack 2
    EXPECT_EQ(e(2026, 3, 3), "Tuesday, 3rd March 2026,");    // slack 1
    EXPECT_EQ(e(2026, 3, 10), "Tues., 10th March 2026,");    // slack 0
    EXPECT_EQ(e(2026, 1, 22), "Thurs., 22nd Jan. 2026,");   // slack 1
    EXPECT_EQ(e(2026, 1, 8), "Thursday, 8th Jan. 2026,");    // slack 2
    EXPECT_EQ(e(2026, 9, 12), "Sat., 12th Sept. 2026,");
    EXPECT_EQ(e(2026, 12, 7), "Monday, 7th Dec. 2026,");
    EXPECT_EQ(e(2026, 9, 30), "Weds., 30th Sept. 2026,");
    for (int d : {11, 12, 13}) EXPECT_NE(e(2026, 2, d).find(std::to_string(d) + "th Feb."), std::string::npos);
    EXPECT_NE(e(2026, 8, 21).find("21st Aug."), std::string::npos);
    EXPECT_NE(e(2026, 8, 31).find("31st Aug."), std::string::npos);
    EXPECT_NE(e(2026, 10, 22).find("22nd Oct."), std::string::npos);
    EXPECT_NE(e(2026, 11, 23).find("23rd Nov."), std::string::npos);
    EXPECT_NE(e(2026, 4, 1).find("1st April 2026,"), std::string::npos);
    EXPECT_NE(e(2026, 7, 3).find("3rd July 2026,"), std::string::npos);
    EXPECT_EQ(date_english(33, 1, 1, 0), "Sunday, 1st Jan. 0033,");
    // Whatever the date, the English date fits its 24 columns.
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d)
            for (std::uint16_t w = 0; w < 7; ++w)
                ASSERT_LE(date_english(2026, static_cast<std::uint16_t>(m), static_cast<std::uint16_t>(d), w).size(),
                          24u);
}

TEST(DateTexts, German) {
    EXPECT_EQ(date_german(2026, 12, 7, 1), "Montag, 7.12.2026,");
    EXPECT_EQ(date_german(33, 1, 5, 4), "Donnerstag, 5.1.0033,");
    EXPECT_EQ(date_german(1582, 10, 15, 5), "Freitag, 15.10.1582,");
    EXPECT_LE(date_german(2026, 12, 31, 4).size(), 23u);
}
