#include "platform/TextCase.h"

#include <array>

#include "platform/CodePage.h"

namespace {

// The simple case pair of the Latin letters the system code page can hold
// (Latin-1 Supplement and Latin Extended-A); 0 when the character has none.
char16_t UpperOf(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  if (c >= 0x100 && c <= 0x17F) {
    // Pairs start on an even code, except in U+0139-U+0148 and U+0179-U+017E.
    const bool oddStart = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    const bool lower = oddStart ? (c % 2 == 0) : (c % 2 == 1);
    if (lower && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) return static_cast<char16_t>(c - 1);
  }
  return 0;
}

char16_t LowerOf(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  if (c >= 0x100 && c <= 0x17F && c != 0x130) {
    const char16_t next = static_cast<char16_t>(c + 1);
    if (UpperOf(next) == c) return next;
  }
  return 0;
}

struct TCaseTables {
  std::array<char, 256> upper;
  std::array<char, 256> lower;
};

// Built once through the code page, so that the table always matches the converter.
const TCaseTables& Tables() {
  static const TCaseTables tables = [] {
    TCaseTables t;
    for (int i = 0; i < 256; ++i) {
      const char byte = static_cast<char>(i);
      t.upper[static_cast<size_t>(i)] = byte;
      t.lower[static_cast<size_t>(i)] = byte;
      const std::u16string wide = codepage::ToWide(std::string_view(&byte, 1));
      if (wide.size() != 1) continue;
      auto mapBack = [&](char16_t mapped, char& slot) {
        if (!mapped) return;
        const std::string back = codepage::FromWide(std::u16string(1, mapped));
        if (back.size() == 1 && codepage::ToWide(back) == std::u16string(1, mapped)) slot = back[0];
      };
      mapBack(UpperOf(wide[0]), t.upper[static_cast<size_t>(i)]);
      mapBack(LowerOf(wide[0]), t.lower[static_cast<size_t>(i)]);
    }
    return t;
  }();
  return tables;
}

}  // namespace

char AnsiUpperChar(char c) { return Tables().upper[static_cast<unsigned char>(c)]; }
char AnsiLowerChar(char c) { return Tables().lower[static_cast<unsigned char>(c)]; }

std::string AnsiUpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AnsiUpperChar(c);
  return out;
}

std::string AnsiLowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AnsiLowerChar(c);
  return out;
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(AnsiUpperChar(a[i]));
    const unsigned char y = static_cast<unsigned char>(AnsiUpperChar(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}
