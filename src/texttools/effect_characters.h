// The user-perceived characters the text effects walk, and how the effects classify them.
// Internal to the text effects and dialects.
#pragma once

#include <string_view>
#include <vector>

namespace zk::effects {

// The text cut into user-perceived characters; CR and LF stand on their own. For a
// Windows-1252 text this is one character per byte of the code page.
std::vector<std::string_view> splitCharacters(std::string_view text);

// The ASCII letter (A-Z, a-z) a character is, or 0. A letter with a combining accent is
// not a letter, just as a precomposed accented letter is not.
char asciiLetter(std::string_view ch);

// è or é, precomposed or written as e followed by a combining grave or acute accent.
bool isSmallEGraveOrAcute(std::string_view ch);

} // namespace zk::effects
