// Text as the program holds it: UTF-8 std::string everywhere in the core.
// Files and pages meet the outside world through the conversions below.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// Code points of a UTF-8 text; an invalid byte becomes U+FFFD.
std::u32string utf8ToU32(std::string_view utf8);
std::string u32ToUtf8(std::u32string_view text);
void appendUtf8(std::string& out, char32_t cp);

bool isValidUtf8(std::string_view bytes);

// Windows-1252 <-> Unicode. Every byte maps to one character (the five bytes the code
// page leaves undefined map to the control character of the same number), so any byte
// string survives the round trip.
char32_t cp1252ToUnicode(unsigned char byte);
std::optional<unsigned char> unicodeToCp1252(char32_t cp);
std::string cp1252ToUtf8(std::string_view bytes);
// nullopt when a character does not fit in Windows-1252.
std::optional<std::string> utf8ToCp1252(std::string_view utf8);

// Reading a text file: UTF-8 when the bytes are valid UTF-8 and hold a byte above 127,
// Windows-1252 otherwise. Returns UTF-8.
std::string decodeTextFile(std::string_view bytes);
// Writing a text file: Windows-1252 when every character fits, UTF-8 otherwise.
std::string encodeTextFile(std::string_view utf8);

// A lone CR or a lone LF becomes CR LF; CR LF pairs stay.
std::string normalizeLineEnds(std::string_view text);

// Number of code points of a UTF-8 text.
std::size_t codePointCount(std::string_view utf8);

// The value of a hexadecimal digit (either case); -1 for any other character.
int hexDigitValue(char c);

// Byte offsets where the user-perceived characters (extended grapheme clusters) of a
// UTF-8 text start, followed by text.size(). CR and LF always stand on their own.
std::vector<std::size_t> graphemeBoundaries(std::string_view utf8);

// Writes a page for a browser: Windows-1252, a character outside it as "&#N;".
std::string encodeHtmlPage(std::string_view utf8);

} // namespace zk
