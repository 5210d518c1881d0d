#pragma once
// The fonts of a PDF export. Every text of the file is written as glyph indices of a
// TrueType font (a composite font, encoding Identity-H), so any character the font has
// can be shown and copied out as Unicode.
//
// Contract
// - TfrxPDFFonts is the document's font list: one TfrxPDFFont per face name and style
//   set (bold, italic, underline, strike-out) in the order memos first select them;
//   font i has the resource name "/Fi". The list owns its fonts; Clear ends them.
// - A font measures at a 1000-pixel em (the unit of PDF glyph space) through the font
//   layer, so glyph indices and advances are those of the very file it embeds.
// - TextToGlyphs shapes one line (HarfBuzz over FriBidi's runs) and returns the glyphs
//   in visual order; each glyph is recorded once, at its first use, with its advance
//   and the characters it stands for (by the shaper's clusters: a ligature stands for
//   several characters, a right-to-left glyph for its logical character).
// - WriteFont writes the font's objects at the end of the export; ObjectNumber must
//   have been taken by then (when the first page using the font ended).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Graphics.h"

class TFontInstance;
class TfrxPDFWriter;

// How the font files go into the PDF file.
struct TfrxPDFFontOptions {
  bool Embedded = true;    // embed the TrueType data
  bool Compressed = true;  // deflate the font file and the ToUnicode map
  bool Subset = false;     // embed only the glyphs used (same glyph indices)
};

// One line as glyphs in visual order, and its advance (thousandths of an em).
struct TfrxPDFGlyphLine {
  std::vector<uint16_t> Glyphs;
  int64_t Advance = 0;
};

class TfrxPDFFont {
 public:
  // `font`: the report font (its size does not matter); `index`: its place in the list.
  TfrxPDFFont(const TFont& font, int index);
  ~TfrxPDFFont();
  TfrxPDFFont(const TfrxPDFFont&) = delete;
  TfrxPDFFont& operator=(const TfrxPDFFont&) = delete;

  const TFont& SourceFont() const { return font_; }
  const std::string& ResourceName() const { return resourceName_; }
  // The Type0 font object's number, 0 until taken.
  int ObjectNumber() const { return objectNumber_; }
  void SetObjectNumber(int number) { objectNumber_ = number; }
  bool Assigned() const { return objectNumber_ != 0; }

  // Metrics at the 1000-unit em (those of "Arial" in the same style when the face has
  // no outlines).
  const TOutlineTextMetric& Metrics() const { return metrics_; }

  TfrxPDFGlyphLine TextToGlyphs(std::u16string_view text, bool rightToLeft);

  const std::vector<uint16_t>& UsedGlyphs() const { return usedGlyphs_; }
  const std::vector<int>& GlyphWidths() const { return glyphWidths_; }
  // The characters each used glyph stands for (empty for the further glyphs of a
  // character shaped into several).
  const std::vector<std::u16string>& GlyphChars() const { return glyphChars_; }

  // The face name with the characters PDF names cannot hold as "#XX", and ",Bold",
  // ",Italic" or ",BoldItalic".
  std::string PDFFontName() const;

  void WriteFont(TfrxPDFWriter& writer, const TfrxPDFFontOptions& options) const;

 private:
  void Record(uint16_t glyph, int advance, std::u16string chars);
  std::string ToUnicodeMap(const std::string& cmapName) const;
  std::vector<uint8_t> FontFileBytes(const TfrxPDFFontOptions& options) const;

  TFont font_;
  std::string resourceName_;
  int objectNumber_ = 0;
  std::shared_ptr<const TFontInstance> measuring_;
  TOutlineTextMetric metrics_;
  std::vector<uint16_t> usedGlyphs_;
  std::vector<int> glyphWidths_;
  std::vector<std::u16string> glyphChars_;
  std::vector<int32_t> glyphSlot_;  // glyph index -> its place in usedGlyphs_, -1 unused
};

class TfrxPDFFonts {
 public:
  // The index of the font of this face and style, made when there is none yet.
  int SelectPDFFont(const TFont& font);
  TfrxPDFFont& operator[](int index) { return *fonts_[static_cast<size_t>(index)]; }
  int Count() const { return static_cast<int>(fonts_.size()); }
  void Clear() { fonts_.clear(); }

 private:
  std::vector<std::unique_ptr<TfrxPDFFont>> fonts_;
};
