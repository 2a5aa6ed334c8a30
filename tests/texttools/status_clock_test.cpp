#include "status_clock.h"

#include "atomic_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using zk::ClockReading;

struct FormatCase {
    const char* what;
    ClockReading now;
    const char* dayName;
    const char* expected;
};

TEST(StatusClockFormat, BuildsTimeDateAndName) {
    const FormatCase cases[] = {
        {"worked example",
         {2026, 12, 8, 21, 5, 9},
         "Saint Exemple",
         "21:05:09 • Mardi 08 Décembre 2026 • Saint Exemple"},
        {"midnight of a new year",
         {2027, 1, 1, 0, 0, 0},
         "Jour de l'An",
         "00:00:00 • Vendredi 01 Janvier 2027 • Jour de l'An"},
        {"29 February",
         {2024, 2, 29, 23, 59, 59},
         "Saint Auguste",
         "23:59:59 • Jeudi 29 Février 2024 • Saint Auguste"},
        {"first day of the year",
         {2026, 1, 1, 8, 0, 1},
         "Sainte Marie",
         "08:00:01 • Jeudi 01 Janvier 2026 • Sainte Marie"},
        {"last day of the year",
         {2026, 12, 31, 12, 30, 0},
         "Saint Sylvestre",
         "12:30:00 • Jeudi 31 Décembre 2026 • Saint Sylvestre"},
        {"no name: the text ends with the separator",
         {2026, 8, 15, 7, 8, 9},
         "",
         "07:08:09 • Samedi 15 Août 2026 • "},
        {"year without leading zeros",
         {999, 6, 1, 1, 2, 3},
         "X",
         "01:02:03 • Samedi 01 Juin 999 • X"},
        {"name taken as it is",
         {2026, 12, 8, 21, 5, 9},
         " a\tb ",
         "21:05:09 • Mardi 08 Décembre 2026 •  a\tb "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zk::formatStatusClock(c.now, c.dayName), c.expected) << c.what;
}

TEST(StatusClockFormat, EveryMonthName) {
    const char* names[] = {"Janvier", "Février", "Mars",      "Avril",   "Mai",      "Juin",
                           "Juillet", "Août",    "Septembre", "Octobre", "Novembre", "Décembre"};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(zk::frenchMonthName(m), names[m - 1]);
        const std::string text = zk::formatStatusClock({2026, m, 10, 0, 0, 0}, "");
        EXPECT_NE(text.find(std::string(" 10 ") + names[m - 1] + " 2026 • "), std::string::npos)
            << text;
    }
    EXPECT_EQ(zk::frenchMonthName(0), "");
    EXPECT_EQ(zk::frenchMonthName(13), "");
}

TEST(StatusClockFormat, EveryDayName) {
    // 14 to 20 June 2026 run from Sunday to Saturday.
    const char* names[] = {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(zk::frenchWeekdayName(i), names[i]);
        const std::string text = zk::formatStatusClock({2026, 6, 14 + i, 0, 0, 0}, "");
        EXPECT_EQ(text, std::string("00:00:00 • ") + names[i] + " " + std::to_string(14 + i) +
                            " Juin 2026 • ");
    }
    EXPECT_EQ(zk::frenchWeekdayName(-1), "");
    EXPECT_EQ(zk::frenchWeekdayName(7), "");
}

TEST(StatusClockFormat, DayOfWeekAcrossCenturiesAndLeapDays) {
    struct Case {
        int y, m, d, weekday;
    };
    const Case cases[] = {
        {2026, 12, 8, 2}, {2024, 2, 29, 4}, {2000, 3, 1, 3}, {1900, 3, 1, 4}, {2100, 3, 1, 1},
        {1600, 2, 29, 2}, {1970, 1, 1, 4},  {1, 1, 1, 1},    {2027, 1, 3, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zk::dayOfWeek(c.y, c.m, c.d), c.weekday) << c.y << "-" << c.m << "-" << c.d;
}

TEST(StatusClockLookup, KeyHasTwoDigitsEach) {
    EXPECT_EQ(zk::dayNameKey(12, 8), "12 08");
    EXPECT_EQ(zk::dayNameKey(1, 1), "01 01");
    EXPECT_EQ(zk::dayNameKey(2, 29), "02 29");
}

struct LookupCase {
    const char* what;
    std::string text;
    int month, day;
    std::optional<std::string> expected;
};

TEST(StatusClockLookup, FindsTheLineOfTheDay) {
    const LookupCase cases[] = {
        {"space separator", "12 07 Autre\r\n12 08 Saint Exemple\r\n12 09 Suite\r\n", 12, 8,
         "Saint Exemple"},
        {"tab as the sixth byte", "12 08\tSaint Exemple\r\n", 12, 8, "Saint Exemple"},
        {"any separator character is skipped", "12 08-Saint Exemple\r\n", 12, 8, "Saint Exemple"},
        {"a separator of several bytes counts as one character", "12 08\xC2\xA0Noël\r\n", 12, 8,
         "Noël"},
        {"the first matching line wins", "12 08 Premier\r\n12 08 Second\r\n", 12, 8, "Premier"},
        {"order of the lines does not matter", "12 09 X\r\n01 01 Y\r\n12 08 Z", 12, 8, "Z"},
        {"spaces of the name are kept", "12 08  deux  \r\n", 12, 8, " deux  "},
        {"a line of exactly five characters gives an empty name", "12 08\r\n", 12, 8, ""},
        {"a line of six characters gives an empty name", "12 08 \r\n", 12, 8, ""},
        {"a shorter line never matches", "12 0\r\n", 12, 8, std::nullopt},
        {"no line for the day", "12 07 A\r\n12 09 B\r\n", 12, 8, std::nullopt},
        {"the key must start the line", "x12 08 A\r\n 12 08 B\r\n", 12, 8, std::nullopt},
        {"the day has two digits", "12 8  A\r\n", 12, 8, std::nullopt},
        {"empty file", "", 12, 8, std::nullopt},
        {"line feeds alone end lines", "12 07 A\n12 08 B\n", 12, 8, "B"},
        {"carriage returns alone end lines", "12 07 A\r12 08 B\r", 12, 8, "B"},
        {"a byte order mark before the first line",
         "\xEF\xBB\xBF"
         "01 01 Jour de l'An\r\n",
         1, 1, "Jour de l'An"},
        {"29 February", "02 28 A\r\n02 29 Saint Auguste\r\n03 01 B\r\n", 2, 29, "Saint Auguste"},
        {"last line of the year without a line end", "12 30 A\r\n12 31 Saint Sylvestre", 12, 31,
         "Saint Sylvestre"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zk::findDayName(c.text, c.month, c.day), c.expected) << c.what;
}

// A temporary folder holding the name-day file, removed afterwards.
class StatusClockFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zk_clock_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = (dir_ / "fetes.txt").string();
    }
    void TearDown() override { fs::remove_all(dir_); }
    void write(const std::string& bytes) {
        ASSERT_TRUE(zk::writeFileAtomically(path_, bytes).ok());
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(StatusClockFile, LooksTheFileUpOncePerDay) {
    write("12 08 Saint Exemple\r\n12 09 Saint Suivant\r\n");
    zk::StatusClock clock(path_);
    EXPECT_EQ(clock.text({2026, 12, 8, 21, 5, 9}),
              "21:05:09 • Mardi 08 Décembre 2026 • Saint Exemple");

    // Later ticks of the same day do not read the file again.
    write("12 08 Changé\r\n12 09 Saint Suivant\r\n");
    EXPECT_EQ(clock.text({2026, 12, 8, 23, 59, 59}),
              "23:59:59 • Mardi 08 Décembre 2026 • Saint Exemple");

    // The first tick of the next day looks the new day up.
    EXPECT_EQ(clock.text({2026, 12, 9, 0, 0, 0}),
              "00:00:00 • Mercredi 09 Décembre 2026 • Saint Suivant");

    // Back to the 8th (the clock was set back): looked up again, the file has changed.
    EXPECT_EQ(clock.dayName(), "Saint Suivant");
    clock.text({2026, 12, 8, 0, 0, 1});
    EXPECT_EQ(clock.dayName(), "Changé");
}

TEST_F(StatusClockFile, SameDayOfAnotherMonthIsLookedUpAgain) {
    write("11 08 Saint Geoffroy\r\n12 08 Immaculée Conception\r\n");
    zk::StatusClock clock(path_);
    clock.text({2026, 11, 8, 10, 0, 0});
    EXPECT_EQ(clock.dayName(), "Saint Geoffroy");
    clock.text({2026, 12, 8, 10, 0, 0});
    EXPECT_EQ(clock.dayName(), "Immaculée Conception");
}

TEST_F(StatusClockFile, DecodesAWindows1252File) {
    write("12 25 No\xEBl\r\n02 29 F\xEAte\r\n");
    zk::StatusClock clock(path_);
    EXPECT_EQ(clock.text({2026, 12, 25, 9, 0, 0}), "09:00:00 • Vendredi 25 Décembre 2026 • Noël");
    EXPECT_EQ(clock.text({2028, 2, 29, 9, 0, 0}), "09:00:00 • Mardi 29 Février 2028 • Fête");
}

TEST_F(StatusClockFile, MissingFileOrMissingDayGivesNoName) {
    zk::StatusClock missing((dir_ / "absent.txt").string());
    EXPECT_EQ(missing.text({2026, 12, 8, 21, 5, 9}), "21:05:09 • Mardi 08 Décembre 2026 • ");

    write("12 07 Saint Ambroise\r\n");
    zk::StatusClock noLine(path_);
    EXPECT_EQ(noLine.text({2026, 12, 8, 21, 5, 9}), "21:05:09 • Mardi 08 Décembre 2026 • ");
    EXPECT_EQ(noLine.dayName(), "");
}

TEST_F(StatusClockFile, NameOfYesterdayDoesNotOutliveTheFile) {
    write("12 07 Saint Ambroise\r\n12 08 Immaculée Conception\r\n");
    zk::StatusClock clock(path_);
    clock.text({2026, 12, 7, 23, 59, 59});
    EXPECT_EQ(clock.dayName(), "Saint Ambroise");
    fs::remove(path_);
    EXPECT_EQ(clock.text({2026, 12, 8, 0, 0, 0}), "00:00:00 • Mardi 08 Décembre 2026 • ");
}

TEST_F(StatusClockFile, AFolderInPlaceOfTheFileGivesNoName) {
    fs::create_directory(path_);
    zk::StatusClock clock(path_);
    EXPECT_EQ(clock.text({2026, 12, 8, 21, 5, 9}), "21:05:09 • Mardi 08 Décembre 2026 • ");
}

} // namespace
