#include "value_reader.h"

namespace zk {
namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

bool parseSettingsInteger(std::string_view text, std::int64_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return false;
    // Accumulate the magnitude, stopping as soon as it leaves the 32-bit range.
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit)
            return false;
    }
    if (!negative && magnitude == kLimit)
        return false;
    value = negative ? -magnitude : magnitude;
    return true;
}

std::string ValueReader::readString() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !isLineEnd(text_[pos_]))
        ++pos_;
    std::string value(text_.substr(start, pos_ - start));
    skipLineEnd();
    return value;
}

bool ValueReader::readNumber(std::int64_t& value) {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= 32) {
        if (isLineEnd(text_[pos_]))
            skipLineEnd();
        else
            ++pos_;
    }
    numberLine_ = line_;
    value = 0;
    if (pos_ >= text_.size())
        return true;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && pos_ - start < 32 && static_cast<unsigned char>(text_[pos_]) > 32)
        ++pos_;
    if (!parseSettingsInteger(text_.substr(start, pos_ - start), value))
        return false;
    while (pos_ < text_.size() && !isLineEnd(text_[pos_]))
        ++pos_;
    skipLineEnd();
    return true;
}

// CR LF, a lone CR and a lone LF each end one line.
void ValueReader::skipLineEnd() {
    if (pos_ >= text_.size())
        return;
    if (text_[pos_] == '\r') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
    } else if (text_[pos_] == '\n') {
        ++pos_;
    } else {
        return;
    }
    ++line_;
}

} // namespace zk
