#pragma once
// Word hyphenation of the text layout. The rules are those of Russian: letters are
// classified as upper-case letters of code page 1251, so words in other scripts have
// no vowels in this sense and are never hyphenated.

#include <string_view>

// The number of leading characters of `word` to keep before a hyphen: the largest
// allowed break position smaller than `fitting` (the characters that fit the line), or
// 0 when the word must not be hyphenated there.
int frxHyphenationPoint(std::u16string_view word, int fitting);
