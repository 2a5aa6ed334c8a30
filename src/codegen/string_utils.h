// Small string helpers shared by the generator and the rest of the program. Texts are
// UTF-8; counts and positions are in code points.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formatting_state.h"

namespace zk {

std::string UpperCaseAscii(std::string_view text); // a..z only; accented letters stay
std::string LowerCaseAscii(std::string_view text); // A..Z only
std::string IntToBase(std::uint32_t value, int base); // base 2..16, digits "0123456789ABCDEF"
std::string PadLeft(std::size_t width, char fill, std::string_view text); // cut or padded on the left
std::string RepeatChar(char fill, std::size_t count);
std::string KeepLeft(std::string_view text, std::size_t count);
std::string KeepRight(std::string_view text, std::size_t count);

// Every occurrence of search replaced, left to right, without overlap; case-sensitive.
std::string ReplaceAll(std::string_view source, std::string_view search,
                       std::string_view replacement);

// A system colour (negative value, index in the low byte) resolved to red-green-blue.
Color ResolveColor(Color color);
// Six upper-case hexadecimal digits in red-green-blue order.
std::string ColorToHtml(Color color);

} // namespace zk
