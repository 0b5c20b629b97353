#pragma once
// Pattern rewriting done before the engine sees a pattern: case folding by
// letter classes, the whole-word and whole-line frames, and several patterns
// joined into one. Rewritten patterns use only the engine's own syntax, so
// what velgrep finds is what the memo window's find would find.
#include <string>
#include <vector>

namespace vel::velgrep {

// Characters that may stand on either side of a whole word, besides the
// line's edges: the bytes 0x01-0x20 (tab and space among them).
constexpr bool IsWordBlank(unsigned char c) { return c >= 1 && c <= 0x20; }

// Rewrites each letter (ASCII, or full-width Latin Ａ-Ｚ ａ-ｚ) as a class of
// its two cases, and widens classes and ranges by the other case of the
// letters they hold. Escapes keep their meaning (\x41 is a letter too);
// other characters, trail bytes included, are untouched. With `fuzzy` the
// letters outside classes are left to the fuzzy dictionary, which already
// folds them. Throws ERegExpParser for a pattern the scanner refuses.
std::string FoldCasePattern(const std::string& pattern, bool fuzzy);

// Joins patterns into one that matches where any of them does.
std::string JoinPatterns(const std::vector<std::string>& patterns);

// The frame that lets a match through only when blanks or the line's edges
// surround it; and the one that requires the whole line.
std::string WholeWordPattern(const std::string& pattern);
std::string WholeLinePattern(const std::string& pattern);

}  // namespace vel::velgrep
