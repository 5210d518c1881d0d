#pragma once
// The style tag parser of the text layout: strips the tags of one source line and gives
// every remaining character its style record. The state (bold, colour, size, ...)
// carries over from one line to the next, as a tag opened on one line holds until it is
// closed.

#include <string>
#include <string_view>

#include "platform/Graphics.h"
#include "text/frxGraphicUtils.h"

class TfrxHTMLTagsParser {
 public:
  // Starts a text in `font`'s style.
  void Reset(const TFont& font);

  // Parses one source line whose first character sits at `offset` in the source text
  // (0-based). Appends the remaining characters to `text` and their records to `tags`.
  // Without `allowTags` every character is text in the default style.
  void ParseLine(std::u16string_view line, size_t offset, bool allowTags, std::u16string& text,
                 TfrxHTMLTags& tags);

  // The record a character would get at `position` in the current state.
  TfrxHTMLTag CurrentRecord(int position);

 private:
  // The length of the tag at `line[i]` after applying it, or 0 when it is no tag.
  size_t ApplyTag(std::u16string_view line, size_t i);
  bool ApplyFontTag(std::u16string_view line, size_t i, size_t& length);

  int defaultSize_ = 10;
  TFontStyles defaultStyle_ = 0;
  TColor defaultColor_ = clBlack;
  TfrxHTMLTag current_;
  TfrxHTMLTag previous_;  // the last record made, or the defaults before the first
};
