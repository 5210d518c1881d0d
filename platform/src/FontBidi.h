#pragma once
// Bidirectional ordering of one text run (FriBidi levels, our own reordering), shared
// by text output and shaping.

#include <string_view>
#include <vector>

namespace fontbidi {

// True when the text holds a character of a right-to-left script.
bool HasRightToLeft(std::u16string_view text);

// Embedding level per UTF-16 unit; the paragraph is right-to-left when `rightToLeft`.
std::vector<int> EmbeddingLevels(std::u16string_view text, bool rightToLeft);

// Visual position -> logical index, by reversing every maximal sequence at a level or
// above, from the highest level down to the lowest odd one.
std::vector<int> ReorderByLevels(const std::vector<int>& levels);

// Runs of one level in visual order (each run's characters are in logical order).
struct TRun {
  int Start = 0;
  int Length = 0;
  int Level = 0;
};
std::vector<TRun> VisualRuns(const std::vector<int>& levels);

}  // namespace fontbidi
