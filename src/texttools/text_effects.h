// The twelve text effects that rewrite the typed text, without the window: the text to
// work on goes in (UTF-8), the rewritten text comes out. The window runs the frame
// (LastTextEffect, UndoFromClipboard, the undo copy on the clipboard) and writes the
// result back.
//
// The effects walk user-perceived characters (an emoji with its modifiers, a letter with
// its combining accents), CR and LF each on their own; for Windows-1252 text that is one
// byte at a time. A letter is one of A-Z and a-z; every other character, whatever its
// script, comes out unchanged unless a rule names it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

// The effect numbers, as LastTextEffect keeps them; the menu items C2..C13 are 1..12.
enum class TextEffect : int {
    Mirror = 1,         // C2  "riori&M"
    LowerCase = 2,      // C3  "min&uscules"
    UpperCase = 3,      // C4  "MA&JUSCULES"
    AlternateLower = 4, // C5  "a&LtErNaNcE Min - Maj"
    AlternateUpper = 5, // C6  "&AlTeRnAnCe Maj - Min"
    SpaceOut = 6,       // C7  "Intercaler des &E s p a c e s"
    RemoveSpaces = 7,   // C8  "&Supprimer les Espaces"
    Hacker = 8,         // C9  "&Hacker"
    Choucroute = 9,     // C10 "&Choucroute"
    DomTom = 10,        // C11 "&Dom-Tom"
    Atchoum = 11,       // C12 "Atch&oum"
    Viking = 12,        // C13 "&Viking"
};
constexpr int kFirstTextEffect = 1;
constexpr int kLastTextEffectNumber = 12;

struct TextEffectInfo final {
    int number = 0;
    const char* menuItem = nullptr; // "C2".."C13"
    const char* caption = nullptr;  // the menu caption, with its accelerator
};
// nullptr outside 1..12.
const TextEffectInfo* textEffectInfo(int number);

// The effect random generator: one unsigned 32-bit state, 0 when the program starts and
// never reseeded; the caller keeps one for the whole run. Only the Hacker effect draws.
struct EffectRandom final {
    std::uint32_t state = 0;
    // Advances state := state * 134775813 + 1 (mod 2^32), returns its top 8 bits.
    int draw() {
        state = state * 134775813u + 1u;
        return static_cast<int>(state >> 24);
    }
};

// What an effect works on: the selection when it is not empty, else the whole text.
// Only mirror writing treats the two differently.
enum class EffectTarget { Selection, WholeText };
inline EffectTarget effectTargetFor(std::string_view selectedText) {
    return selectedText.empty() ? EffectTarget::WholeText : EffectTarget::Selection;
}

// Hacker replacements, Windows-1252 bytes indexed by alphabet position 0..25.
extern const unsigned char HackerTable1[26];
extern const unsigned char HackerTable2[26];

// Selection: the characters in reverse order as one sequence (CR LF becomes LF CR).
// Whole text: every line reversed on its own; lines and line breaks stay in place.
std::string mirrorText(std::string_view target, EffectTarget scope);
std::string lowerCaseLetters(std::string_view target); // A-Z only
std::string upperCaseLetters(std::string_view target); // a-z only
// Odd positions (from 1) lower case and even upper, or the other way round; every
// character, both halves of a line break included, takes a position.
std::string alternateCase(std::string_view target, bool upperFirst);
// A space after every character; CR gives CR LF, LF gives nothing.
std::string spaceOut(std::string_view target);
// Every space (code 32) removed; tabs, non-breaking spaces and line breaks stay.
std::string removeSpaces(std::string_view target);
// Same length in characters; one draw per character, letters or not.
std::string hackerText(std::string_view target, EffectRandom& random);

// Runs effect `number` (1..12) on target; nullopt for any other number.
std::optional<std::string> applyTextEffect(int number, std::string_view target, EffectTarget scope,
                                           EffectRandom& random);

} // namespace zk
