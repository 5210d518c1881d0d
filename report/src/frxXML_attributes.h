#pragma once
// Attribute search inside an item's raw attribute text, shared by Prop and the reader's
// paging marker: a match counts only at the start of the text or right after a space,
// and letters compare without regard to ASCII case.

#include <cstring>
#include <string_view>

namespace frxxml {

inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

inline bool SameTextAt(std::string_view text, size_t pos, std::string_view pattern) {
  if (text.size() - pos < pattern.size()) return false;
  for (size_t i = 0; i < pattern.size(); ++i)
    if (UpperAscii(text[pos + i]) != UpperAscii(pattern[i])) return false;
  return true;
}

inline bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && SameTextAt(a, 0, b); }

// Position of the first `pattern` that starts the text or follows a space, or npos.
inline size_t FindAttribute(std::string_view text, std::string_view pattern) {
  if (SameTextAt(text, 0, pattern)) return 0;
  size_t pos = 0;
  while (pos < text.size()) {
    const void* space = std::memchr(text.data() + pos, ' ', text.size() - pos);
    if (!space) break;
    pos = static_cast<size_t>(static_cast<const char*>(space) - text.data()) + 1;
    if (SameTextAt(text, pos, pattern)) return pos;
  }
  return std::string_view::npos;
}

}  // namespace frxxml
