#include "text_effects.h"

#include <vector>

#include "dialects.h"
#include "effect_characters.h"
#include "text.h"

namespace zk {
namespace {

using effects::asciiLetter;
using effects::splitCharacters;

constexpr TextEffectInfo kEffects[] = {
    {1, "C2", "riori&M"},
    {2, "C3", "min&uscules"},
    {3, "C4", "MA&JUSCULES"},
    {4, "C5", "a&LtErNaNcE Min - Maj"},
    {5, "C6", "&AlTeRnAnCe Maj - Min"},
    {6, "C7", "Intercaler des &E s p a c e s"},
    {7, "C8", "&Supprimer les Espaces"},
    {8, "C9", "&Hacker"},
    {9, "C10", "&Choucroute"},
    {10, "C11", "&Dom-Tom"},
    {11, "C12", "Atch&oum"},
    {12, "C13", "&Viking"},
};

char toLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char toUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

void appendReversed(std::string& out, const std::vector<std::string_view>& chars) {
    for (auto it = chars.rbegin(); it != chars.rend(); ++it)
        out.append(*it);
}

bool isLineBreak(std::string_view ch) {
    return ch == "\r" || ch == "\n";
}

} // namespace

// clang-format off
const unsigned char HackerTable1[26] = {
//  a     b     c     d    e     f    g    h    i     j    k    l     m
    0xC4, 0xDF, 0xA9, 'd', 0x80, 'F', 'G', 'h', 0xCD, 'j', 'k', 0xA3, 'm',
//  n     o     p    q    r     s    t    u     v    w    x    y     z
    0xD1, 0xD8, 'p', 'q', 0xAE, '$', 't', 0xDC, 'v', 'w', 'x', 0x9F, 'z'};
const unsigned char HackerTable2[26] = {
//  a    b     c     d    e     f    g    h    i     j    k    l    m
    '@', 0xFE, 0xA2, 'D', 0xCB, 'f', 'g', 'H', 0xEC, 'J', 'K', 'L', 'M',
//  n     o     p    q    r    s    t    u     v    w    x    y     z
    0xF1, 0xF8, 'P', 'Q', 'R', 'S', 'T', 0xFC, 'V', 'W', 'X', 0xFF, 'Z'};
// clang-format on

const TextEffectInfo* textEffectInfo(int number) {
    if (number < kFirstTextEffect || number > kLastTextEffectNumber)
        return nullptr;
    return &kEffects[number - kFirstTextEffect];
}

std::string mirrorText(std::string_view target, EffectTarget scope) {
    const std::vector<std::string_view> chars = splitCharacters(target);
    std::string out;
    out.reserve(target.size());
    if (scope == EffectTarget::Selection) {
        appendReversed(out, chars);
        return out;
    }
    // Line by line: a CR, an LF or a CR LF pair ends a line and stays where it was.
    std::vector<std::string_view> line;
    for (std::string_view ch : chars) {
        if (isLineBreak(ch)) {
            appendReversed(out, line);
            line.clear();
            out.append(ch);
        } else {
            line.push_back(ch);
        }
    }
    appendReversed(out, line);
    return out;
}

std::string lowerCaseLetters(std::string_view target) {
    std::string out;
    out.reserve(target.size());
    for (std::string_view ch : splitCharacters(target))
        if (asciiLetter(ch))
            out += toLower(ch[0]);
        else
            out.append(ch);
    return out;
}

std::string upperCaseLetters(std::string_view target) {
    std::string out;
    out.reserve(target.size());
    for (std::string_view ch : splitCharacters(target))
        if (asciiLetter(ch))
            out += toUpper(ch[0]);
        else
            out.append(ch);
    return out;
}

std::string alternateCase(std::string_view target, bool upperFirst) {
    std::string out;
    out.reserve(target.size());
    bool upper = upperFirst;
    for (std::string_view ch : splitCharacters(target)) {
        if (asciiLetter(ch))
            out += upper ? toUpper(ch[0]) : toLower(ch[0]);
        else
            out.append(ch);
        upper = !upper;
    }
    return out;
}

std::string spaceOut(std::string_view target) {
    std::string out;
    out.reserve(target.size() * 2);
    for (std::string_view ch : splitCharacters(target)) {
        if (ch == "\r") {
            out += "\r\n";
        } else if (ch == "\n") {
            // A line feed after a CR is already written; a lone one is dropped.
        } else {
            out.append(ch);
            out += ' ';
        }
    }
    return out;
}

std::string removeSpaces(std::string_view target) {
    std::string out;
    out.reserve(target.size());
    for (std::string_view ch : splitCharacters(target))
        if (ch != " ")
            out.append(ch);
    return out;
}

std::string hackerText(std::string_view target, EffectRandom& random) {
    std::string out;
    out.reserve(target.size() + target.size() / 2);
    for (std::string_view ch : splitCharacters(target)) {
        const int r = random.draw();
        const char letter = asciiLetter(ch);
        if (r >= 128 || letter == 0) {
            out.append(ch);
            continue;
        }
        const bool capital = letter <= 'Z';
        const int k = capital ? letter - 'A' : letter - 'a';
        const bool odd = (r & 1) != 0;
        // Capitals take table 1 on odd draws, small letters on even draws.
        const unsigned char* table = (capital == odd) ? HackerTable1 : HackerTable2;
        appendUtf8(out, cp1252ToUnicode(table[k]));
    }
    return out;
}

std::optional<std::string> applyTextEffect(int number, std::string_view target, EffectTarget scope,
                                           EffectRandom& random) {
    switch (static_cast<TextEffect>(number)) {
    case TextEffect::Mirror:
        return mirrorText(target, scope);
    case TextEffect::LowerCase:
        return lowerCaseLetters(target);
    case TextEffect::UpperCase:
        return upperCaseLetters(target);
    case TextEffect::AlternateLower:
        return alternateCase(target, false);
    case TextEffect::AlternateUpper:
        return alternateCase(target, true);
    case TextEffect::SpaceOut:
        return spaceOut(target);
    case TextEffect::RemoveSpaces:
        return removeSpaces(target);
    case TextEffect::Hacker:
        return hackerText(target, random);
    case TextEffect::Choucroute:
        return choucroute(target);
    case TextEffect::DomTom:
        return domTom(target);
    case TextEffect::Atchoum:
        return atchoum(target);
    case TextEffect::Viking:
        return viking(target);
    }
    return std::nullopt;
}

} // namespace zk
