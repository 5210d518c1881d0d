#pragma once
// Letter case of 8-bit text in the system code page (Windows-1250), Polish letters
// included: "ąćęłńóśźż" and "ĄĆĘŁŃÓŚŹŻ" are each other's cases. Characters without a
// case stay as they are.

#include <string>
#include <string_view>

std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
// Comparison without regard to case: negative, 0 or positive. Letters compare by their
// upper-case codes, so the order is that of the code page, not of a dictionary.
int AnsiCompareText(std::string_view a, std::string_view b);
