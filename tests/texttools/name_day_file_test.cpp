// The data delivered beside the program: the name-day file and the help page.
#include "status_clock.h"

#include "atomic_file.h"
#include "text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::string readDataFile(const std::string& relative) {
    std::string bytes;
    EXPECT_TRUE(zk::readWholeFile(std::string(ZK_DATA_DIR) + "/" + relative, bytes)) << relative;
    return bytes;
}

// Lines of a text whose every line must end with CR LF.
std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "the last line has no CR LF";
        if (end == std::string::npos)
            break;
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

TEST(NameDayFile, IsWindows1252WithCrLfLineEnds) {
    const std::string bytes = readDataFile("Bin/fetes.txt");
    ASSERT_FALSE(bytes.empty());
    bool high = false;
    for (unsigned char c : bytes)
        high = high || c > 127;
    EXPECT_TRUE(high) << "accented names are expected";
    EXPECT_FALSE(zk::isValidUtf8(bytes)) << "the file must be Windows-1252, not UTF-8";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at " << i;
        }
        if (bytes[i] == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at " << i;
        }
    }
}

TEST(NameDayFile, HasOneWellFormedLinePerDayInCalendarOrder) {
    const std::string bytes = readDataFile("Bin/fetes.txt");
    const std::vector<std::string> lines = crlfLines(bytes);
    ASSERT_EQ(lines.size(), 366u);

    const int lengths[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::size_t i = 0;
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= lengths[m - 1]; ++d, ++i) {
            const std::string& line = lines[i];
            const std::string where = zk::dayNameKey(m, d);
            ASSERT_GT(line.size(), 6u) << where;
            EXPECT_EQ(line.substr(0, 5), where);
            EXPECT_EQ(line[5], ' ') << where;
            const std::string name = line.substr(6);
            EXPECT_NE(name.front(), ' ') << where;
            EXPECT_NE(name.back(), ' ') << where;
            for (unsigned char c : name)
                EXPECT_GE(c, 32) << where << ": control character in the name";
            // The lookup finds exactly this line for the day.
            EXPECT_EQ(zk::findDayName(zk::decodeTextFile(bytes), m, d), zk::cp1252ToUtf8(name))
                << where;
        }
    }
}

TEST(NameDayFile, KnownDaysOfTheFrenchCalendar) {
    const std::string text = zk::decodeTextFile(readDataFile("Bin/fetes.txt"));
    struct Case {
        int month, day;
        const char* part;
    };
    const Case cases[] = {
        {1, 1, "Jour de l'An"},  {2, 14, "Saint Valentin"},      {2, 29, "Saint Auguste"},
        {3, 19, "Saint Joseph"}, {6, 24, "Saint Jean-Baptiste"}, {8, 10, "Saint Laurent"},
        {11, 1, "Toussaint"},    {12, 4, "Sainte Barbara"},      {12, 6, "Saint Nicolas"},
        {12, 25, "Noël"},        {12, 31, "Saint Sylvestre"},
    };
    for (const auto& c : cases) {
        const auto name = zk::findDayName(text, c.month, c.day);
        ASSERT_TRUE(name.has_value()) << c.part;
        EXPECT_NE(name->find(c.part), std::string::npos) << *name;
    }
}

TEST(HelpPage, IsAWindows1252PageWhoseTableOfContentsLinksResolve) {
    const std::string bytes = readDataFile("Aide/ZelkoHTMLDOC.htm");
    ASSERT_FALSE(bytes.empty());
    EXPECT_FALSE(zk::isValidUtf8(bytes)) << "the page must be Windows-1252, not UTF-8";
    EXPECT_NE(bytes.find("<meta charset=\"windows-1252\">"), std::string::npos);
    EXPECT_EQ(bytes.rfind("<!DOCTYPE", 0), 0u);

    std::set<std::string> anchors;
    for (std::size_t p = bytes.find("id=\""); p != std::string::npos;
         p = bytes.find("id=\"", p + 1)) {
        const std::size_t end = bytes.find('"', p + 4);
        ASSERT_NE(end, std::string::npos);
        EXPECT_TRUE(anchors.insert(bytes.substr(p + 4, end - p - 4)).second)
            << "duplicate id " << bytes.substr(p + 4, end - p - 4);
    }
    std::size_t links = 0;
    for (std::size_t p = bytes.find("href=\"#"); p != std::string::npos;
         p = bytes.find("href=\"#", p + 1)) {
        const std::size_t end = bytes.find('"', p + 7);
        ASSERT_NE(end, std::string::npos);
        const std::string target = bytes.substr(p + 7, end - p - 7);
        EXPECT_TRUE(anchors.count(target)) << "link to a missing section: #" << target;
        ++links;
    }
    EXPECT_GE(links, 10u) << "a table of contents is expected";
}

} // namespace
