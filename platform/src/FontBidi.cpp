#include "FontBidi.h"

#include <fribidi.h>

#include <algorithm>

namespace fontbidi {

bool HasRightToLeft(std::u16string_view text) {
  for (char16_t c : text) {
    // Hebrew, Arabic, Syriac, Thaana, NKo ... and the presentation forms.
    if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
        (c >= 0xFE70 && c <= 0xFEFF) || c == 0x200F || c == 0x202B || c == 0x202E)
      return true;
  }
  return false;
}

std::vector<int> EmbeddingLevels(std::u16string_view text, bool rightToLeft) {
  const int n = static_cast<int>(text.size());
  std::vector<int> levels(text.size(), rightToLeft ? 1 : 0);
  if (n == 0) return levels;
  std::vector<FriBidiChar> chars(text.begin(), text.end());
  std::vector<FriBidiCharType> types(text.size());
  std::vector<FriBidiBracketType> brackets(text.size());
  std::vector<FriBidiLevel> fl(text.size());
  fribidi_get_bidi_types(chars.data(), n, types.data());
  fribidi_get_bracket_types(chars.data(), n, types.data(), brackets.data());
  FriBidiParType base = rightToLeft ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
  if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &base, fl.data()) == 0)
    return levels;  // FriBidi failed (out of memory): the paragraph's own direction
  for (int i = 0; i < n; ++i) levels[static_cast<size_t>(i)] = fl[static_cast<size_t>(i)];
  return levels;
}

std::vector<int> ReorderByLevels(const std::vector<int>& levels) {
  std::vector<int> order(levels.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  if (levels.empty()) return order;
  const int highest = *std::max_element(levels.begin(), levels.end());
  int lowestOdd = highest + 1;
  for (int l : levels)
    if (l % 2 == 1) lowestOdd = std::min(lowestOdd, l);
  for (int level = highest; level >= lowestOdd; --level) {
    size_t i = 0;
    while (i < order.size()) {
      if (levels[static_cast<size_t>(order[i])] < level) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < order.size() && levels[static_cast<size_t>(order[j])] >= level) ++j;
      std::reverse(order.begin() + static_cast<std::ptrdiff_t>(i),
                   order.begin() + static_cast<std::ptrdiff_t>(j));
      i = j;
    }
  }
  return order;
}

std::vector<TRun> VisualRuns(const std::vector<int>& levels) {
  std::vector<TRun> runs;
  const std::vector<int> order = ReorderByLevels(levels);
  size_t v = 0;
  while (v < order.size()) {
    const int level = levels[static_cast<size_t>(order[v])];
    // Consecutive visual positions of one level form one logical run, ascending for
    // even levels and descending for odd ones.
    size_t w = v + 1;
    const int step = level % 2 ? -1 : 1;
    while (w < order.size() && levels[static_cast<size_t>(order[w])] == level &&
           order[w] == order[w - 1] + step)
      ++w;
    const int a = order[v];
    const int b = order[w - 1];
    runs.push_back({std::min(a, b), static_cast<int>(w - v), level});
    v = w;
  }
  return runs;
}

}  // namespace fontbidi
