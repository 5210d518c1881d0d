#pragma once
// The bracketed parts of view texts: memo text (wide, with the memo's own delimiters)
// and the tag and URL of views (8-bit, "[" and "]") are scanned by the same rules.

#include <cstddef>
#include <string_view>

namespace frx_brackets {

template <class Char>
struct TBracketPart {
  size_t End = 0;                         // last character of the part
  std::basic_string_view<Char> Expression;  // the text between the delimiters
  bool Closed = false;                    // false: the part runs to the end of the text
};

// The bracketed part that opens at `start` (where `open` begins). Outside quotes an
// opening delimiter deepens the nesting and a closing one ends a level; a double quote
// toggles double quoting unless inside single quotes, and the other way round; the
// part ends where the depth is back to 0. A part that never closes takes the rest of
// the text after the opening delimiter, without the text's last character, as its
// expression. An empty delimiter matches nowhere.
template <class Char>
TBracketPart<Char> FindBracketEnd(std::basic_string_view<Char> text, std::basic_string_view<Char> open,
                                  std::basic_string_view<Char> close, size_t start) {
  auto at = [&](size_t i, std::basic_string_view<Char> what) {
    return !what.empty() && text.substr(i, what.size()) == what;
  };
  const size_t inner = start + open.size();
  int depth = 0;
  bool inDouble = false, inSingle = false;
  for (size_t i = start; i < text.size(); ++i) {
    const Char c = text[i];
    if (!inDouble && !inSingle) {
      if (at(i, open))
        ++depth;
      else if (at(i, close))
        --depth;
    }
    if (c == Char('"') && !inSingle) inDouble = !inDouble;
    if (c == Char('\'') && !inDouble) inSingle = !inSingle;
    if (depth == 0) {
      TBracketPart<Char> part;
      part.End = i + close.size() - 1;
      part.Expression = text.substr(inner, i > inner ? i - inner : 0);
      part.Closed = true;
      return part;
    }
  }
  TBracketPart<Char> part;
  part.End = text.empty() ? 0 : text.size() - 1;
  part.Expression = inner < part.End ? text.substr(inner, part.End - inner) : std::basic_string_view<Char>();
  return part;
}

}  // namespace frx_brackets
