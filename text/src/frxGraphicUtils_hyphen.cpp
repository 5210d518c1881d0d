#include "frxGraphicUtils_hyphen.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Letter classes by the upper-case letter's byte in code page 1251.
enum TLetterClass : uint8_t { lcVowel = 1, lcConsonant = 2, lcSign = 4, lcShortI = 8 };

constexpr uint8_t kVowels[] = {0xC0, 0xC5, 0xA8, 0xC8, 0xCE, 0xD3, 0xDB, 0xDD, 0xDE, 0xDF};
constexpr uint8_t kConsonants[] = {0xC1, 0xC2, 0xC3, 0xC4, 0xC6, 0xC7, 0xC9, 0xCA,
                                   0xCB, 0xCC, 0xCD, 0xCF, 0xD0, 0xD1, 0xD2, 0xD4,
                                   0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDC, 0xDA};
constexpr uint8_t kSigns[] = {0xDC, 0xDA};
constexpr uint8_t kShortI = 0xC9;

struct TClassTable {
  uint8_t Classes[256] = {};
  constexpr TClassTable() {
    for (uint8_t b : kVowels) Classes[b] |= lcVowel;
    for (uint8_t b : kConsonants) Classes[b] |= lcConsonant;
    for (uint8_t b : kSigns) Classes[b] |= lcSign;
    Classes[kShortI] |= lcShortI;
  }
};
constexpr TClassTable kClasses;

// The code page 1251 byte of a Cyrillic letter in upper case; 0 for anything else.
uint8_t UpperCyrillicByte(char16_t c) {
  if (c >= 0x0430 && c <= 0x044F) c = static_cast<char16_t>(c - 0x20);
  if (c >= 0x0410 && c <= 0x042F) return static_cast<uint8_t>(0xC0 + (c - 0x0410));
  if (c == 0x0401 || c == 0x0451) return 0xA8;
  return 0;
}

}  // namespace

int frxHyphenationPoint(std::u16string_view word, int fitting) {
  const int length = static_cast<int>(word.size());
  if (length <= 3) return 0;
  // Classes from 1 to length, as the rules count positions.
  std::vector<uint8_t> cls(static_cast<size_t>(length) + 2, 0);
  std::vector<int> vowelsBefore(static_cast<size_t>(length) + 1, 0);
  for (int p = 1; p <= length; ++p) {
    cls[static_cast<size_t>(p)] = kClasses.Classes[UpperCyrillicByte(word[static_cast<size_t>(p - 1)])];
    vowelsBefore[static_cast<size_t>(p)] =
        vowelsBefore[static_cast<size_t>(p - 1)] + ((cls[static_cast<size_t>(p)] & lcVowel) ? 1 : 0);
  }
  auto is = [&](int p, uint8_t c) { return (cls[static_cast<size_t>(p)] & c) != 0; };
  auto letterAt = [&](int p) { return UpperCyrillicByte(word[static_cast<size_t>(p - 1)]); };
  const int totalVowels = vowelsBefore[static_cast<size_t>(length)];

  for (int p = std::min(fitting - 1, length - 1); p >= 2; --p) {
    bool candidate = false;
    if (is(p, lcConsonant)) {
      candidate = !is(p + 1, lcVowel) && !is(p + 1, lcSign);
    } else if (is(p, lcVowel) && !is(p + 1, lcShortI)) {
      // Not before a doubled consonant that a vowel follows (the pair stays apart later).
      const bool doubledBeforeVowel = p <= length - 3 && is(p + 1, lcConsonant) &&
                                      letterAt(p + 1) == letterAt(p + 2) && is(p + 3, lcVowel);
      candidate = !doubledBeforeVowel;
    }
    if (!candidate) continue;
    const int vowelsLeft = vowelsBefore[static_cast<size_t>(p)];
    if (length - p > 1 && vowelsLeft > 0 && totalVowels - vowelsLeft > 0) return p;
  }
  return 0;
}
