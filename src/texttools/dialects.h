// The four comic accents. Each walks the text one character at a time and decides from
// the character and the one after it (none after the last: the text after a selection
// is never looked at). Decisions read the text as it was; a replacement takes the case
// of the letter it replaces.
#pragma once

#include <string>
#include <string_view>

namespace zk {

// b d v j -> p t f ch; q -> k unless before u; c -> k unless before e h i è é;
// g -> ch before e è é, stays before n, else k; s -> z before a letter other than h, or è é.
std::string choucroute(std::string_view target);
// r -> w.
std::string domTom(std::string_view target);
// m -> b; n -> d before a e i n o u.
std::string atchoum(std::string_view target);
// a i o u -> å ì ø ü.
std::string viking(std::string_view target);

} // namespace zk
