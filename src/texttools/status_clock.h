// The clock panel of the status bar: time, French date and the name of the day read
// from the name-day file. No Qt: the window hands in the local date and time.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

// A local date and time as the clock shows it.
struct ClockReading {
    int year = 2000;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Day of the week of a Gregorian date, 0 for Sunday to 6 for Saturday.
int dayOfWeek(int year, int month, int day);

// "Dimanche" .. "Samedi" for 0..6; empty outside.
std::string_view frenchWeekdayName(int weekday);
// "Janvier" .. "Décembre" for 1..12 (UTF-8); empty outside.
std::string_view frenchMonthName(int month);

// The key of a day in the name-day file: month and day with two digits and a space
// between, so 8 December gives "12 08".
std::string dayNameKey(int month, int day);

// Looks a day up in the decoded (UTF-8) text of the name-day file. The first line whose
// first five characters are the key wins; its name is the line from its seventh character
// to its end, unchanged (the sixth character, a space or a tab, separates). nullopt when
// no line matches.
std::optional<std::string> findDayName(std::string_view fileText, int month, int day);

// The clock text: "HH:MM:SS • Weekday DD Month YYYY • name".
std::string formatStatusClock(const ClockReading& now, std::string_view dayName);

// The largest name-day file read: eight times the delivered one (a line per day of the year).
inline constexpr std::size_t kNameDayFileSizeLimit = std::size_t{64} << 10;

// The clock of the status bar. The name-day file is read at the first call and again
// only when the date changes; a missing file, or a day without a line, gives no name, and
// so does anything but an ordinary file of at most kNameDayFileSizeLimit bytes.
class StatusClock final {
public:
    explicit StatusClock(std::string nameDayFile);

    // The clock text for now, reading the file first when the day has changed.
    std::string text(const ClockReading& now);
    const std::string& dayName() const { return dayName_; }

private:
    std::string path_;
    int lastYear_ = 0;
    int lastMonth_ = 0; // 0: not looked up yet
    int lastDay_ = 0;
    std::string dayName_;
};

} // namespace zk
