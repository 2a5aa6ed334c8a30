// Reading the files that hold one value per line and no keys (the settings and the
// presets): strings and numbers by one set of rules.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zk {

// Parses an optionally signed decimal integer (the whole text, no blanks). False when it is
// not one or when it lies outside the signed 32-bit range, the widest value the files hold.
bool parseSettingsInteger(std::string_view text, std::int64_t& value);

// Walks the decoded text of a file value by value.
class ValueReader final {
public:
    explicit ValueReader(std::string_view text) : text_(text) {}

    // The rest of the current line, as it is; then the next line. Empty at the end.
    std::string readString();

    // Blanks and line ends before the number are passed over (so empty lines are skipped);
    // the number is the run of at most 32 characters above the blank that follows, and the
    // rest of its line is ignored. At the end of the text it reads 0. False when the run is
    // not an integer; numberLine() then names its line.
    bool readNumber(std::int64_t& value);

    // 1-based line of the last number read (or of the bad one).
    int numberLine() const { return numberLine_; }

private:
    void skipLineEnd();

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int numberLine_ = 1;
};

} // namespace zk
