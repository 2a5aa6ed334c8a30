#include "status_clock.h"

#include "ordinary_file.h"
#include "text.h"

#include <array>
#include <cstdio>

namespace zk {

namespace {

constexpr std::array<std::string_view, 7> kWeekdays = {"Dimanche", "Lundi",    "Mardi", "Mercredi",
                                                       "Jeudi",    "Vendredi", "Samedi"};

constexpr std::array<std::string_view, 12> kMonths = {
    "Janvier", "Février", "Mars",      "Avril",   "Mai",      "Juin",
    "Juillet", "Août",    "Septembre", "Octobre", "Novembre", "Décembre"};

// The bullet U+2022, between a space on each side.
constexpr std::string_view kSeparator = " \xE2\x80\xA2 ";

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

void appendTwoDigits(std::string& out, int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", value);
    out += buf;
}

} // namespace

int dayOfWeek(int year, int month, int day) {
    // Days since 1970-01-01 of a proleptic Gregorian date, counted from March so that
    // the leap day falls at the end of the counting year.
    const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long mp = (month + 9) % 12;
    const long long doy = (153 * mp + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long days = era * 146097 + doe - 719468;
    // 1970-01-01 was a Thursday (4).
    const long long w = (days + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

std::string_view frenchWeekdayName(int weekday) {
    if (weekday < 0 || weekday > 6)
        return {};
    return kWeekdays[static_cast<std::size_t>(weekday)];
}

std::string_view frenchMonthName(int month) {
    if (month < 1 || month > 12)
        return {};
    return kMonths[static_cast<std::size_t>(month - 1)];
}

std::string dayNameKey(int month, int day) {
    std::string key;
    appendTwoDigits(key, month);
    key += ' ';
    appendTwoDigits(key, day);
    return key;
}

std::optional<std::string> findDayName(std::string_view text, int month, int day) {
    const std::string key = dayNameKey(month, day);
    // An editor may have saved the file as UTF-8 with a byte order mark.
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        text.remove_prefix(kUtf8Bom.size());

    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        if (line.size() >= key.size() && line.substr(0, key.size()) == key) {
            // Skip the separator: one character, however many bytes it takes.
            std::size_t nameStart = key.size();
            if (nameStart < line.size()) {
                ++nameStart;
                while (nameStart < line.size() &&
                       (static_cast<unsigned char>(line[nameStart]) & 0xC0) == 0x80)
                    ++nameStart;
            }
            return std::string(line.substr(nameStart));
        }
        // CR LF, a lone CR and a lone LF each end a line.
        pos = end;
        if (pos < text.size() && text[pos] == '\r')
            ++pos;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    return std::nullopt;
}

std::string formatStatusClock(const ClockReading& now, std::string_view dayName) {
    std::string out;
    appendTwoDigits(out, now.hour);
    out += ':';
    appendTwoDigits(out, now.minute);
    out += ':';
    appendTwoDigits(out, now.second);
    out += kSeparator;
    out += frenchWeekdayName(dayOfWeek(now.year, now.month, now.day));
    out += ' ';
    appendTwoDigits(out, now.day);
    out += ' ';
    out += frenchMonthName(now.month);
    out += ' ';
    out += std::to_string(now.year);
    out += kSeparator;
    out += dayName;
    return out;
}

StatusClock::StatusClock(std::string nameDayFile) : path_(std::move(nameDayFile)) {}

std::string StatusClock::text(const ClockReading& now) {
    if (now.year != lastYear_ || now.month != lastMonth_ || now.day != lastDay_) {
        // Yesterday's name must not stay when the file has gone: no file, no name.
        dayName_.clear();
        const ReadResult read = readOrdinaryFile(path_, kNameDayFileSizeLimit);
        if (read.ok()) {
            if (auto name = findDayName(decodeTextFile(read.bytes), now.month, now.day))
                dayName_ = std::move(*name);
        }
        lastYear_ = now.year;
        lastMonth_ = now.month;
        lastDay_ = now.day;
    }
    return formatStatusClock(now, dayName_);
}

} // namespace zk
