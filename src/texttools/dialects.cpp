#include "dialects.h"

#include <vector>

#include "effect_characters.h"

namespace zk {
namespace {

using effects::asciiLetter;
using effects::isSmallEGraveOrAcute;

bool isCapital(char letter) {
    return letter >= 'A' && letter <= 'Z';
}

// The letter of `next` folded to small, or 0 when it is not a letter (or there is none).
char smallLetter(std::string_view next) {
    const char c = asciiLetter(next);
    return isCapital(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

// Replacement for a letter: the small spelling, in capitals when the letter is one.
std::string sameCase(char letter, const char* small) {
    std::string out(small);
    if (isCapital(letter))
        for (char& c : out)
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// One scan for every dialect: rule(letter, next) appends the letter's replacement, or
// returns false to keep the character as it is.
template <typename Rule> std::string scan(std::string_view target, Rule rule) {
    const std::vector<std::string_view> chars = effects::splitCharacters(target);
    std::string out;
    out.reserve(target.size() + target.size() / 4);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char letter = asciiLetter(chars[i]);
        const std::string_view next = i + 1 < chars.size() ? chars[i + 1] : std::string_view();
        if (letter == 0 || !rule(out, letter, next))
            out.append(chars[i]);
    }
    return out;
}

bool choucrouteRule(std::string& out, char letter, std::string_view next) {
    const char n = smallLetter(next);
    const bool eAccent = isSmallEGraveOrAcute(next);
    const char* small = nullptr;
    switch (letter | 0x20) { // the letter in small
    case 'b':
        small = "p";
        break;
    case 'd':
        small = "t";
        break;
    case 'v':
        small = "f";
        break;
    case 'j':
        small = "ch";
        break;
    case 'q':
        if (n != 'u')
            small = "k";
        break;
    case 'c':
        if (n != 'e' && n != 'h' && n != 'i' && !eAccent)
            small = "k";
        break;
    case 'g':
        if (n == 'e' || eAccent)
            small = "ch";
        else if (n != 'n')
            small = "k";
        break;
    case 's':
        if ((n != 0 && n != 'h') || eAccent)
            small = "z";
        break;
    default:
        break;
    }
    if (small == nullptr)
        return false;
    out += sameCase(letter, small);
    return true;
}

bool domTomRule(std::string& out, char letter, std::string_view) {
    if ((letter | 0x20) != 'r')
        return false;
    out += sameCase(letter, "w");
    return true;
}

bool atchoumRule(std::string& out, char letter, std::string_view next) {
    switch (letter | 0x20) {
    case 'm':
        out += sameCase(letter, "b");
        return true;
    case 'n':
        switch (smallLetter(next)) {
        case 'a':
        case 'e':
        case 'i':
        case 'n':
        case 'o':
        case 'u':
            out += sameCase(letter, "d");
            return true;
        default:
            return false;
        }
    default:
        return false;
    }
}

bool vikingRule(std::string& out, char letter, std::string_view) {
    const char* replacement = nullptr;
    switch (letter) {
    case 'A':
        replacement = "\xC3\x85"; // Å
        break;
    case 'I':
        replacement = "\xC3\x8C"; // Ì
        break;
    case 'O':
        replacement = "\xC3\x98"; // Ø
        break;
    case 'U':
        replacement = "\xC3\x9C"; // Ü
        break;
    case 'a':
        replacement = "\xC3\xA5"; // å
        break;
    case 'i':
        replacement = "\xC3\xAC"; // ì
        break;
    case 'o':
        replacement = "\xC3\xB8"; // ø
        break;
    case 'u':
        replacement = "\xC3\xBC"; // ü
        break;
    default:
        return false;
    }
    out += replacement;
    return true;
}

} // namespace

std::string choucroute(std::string_view target) {
    return scan(target, choucrouteRule);
}
std::string domTom(std::string_view target) {
    return scan(target, domTomRule);
}
std::string atchoum(std::string_view target) {
    return scan(target, atchoumRule);
}
std::string viking(std::string_view target) {
    return scan(target, vikingRule);
}

} // namespace zk
