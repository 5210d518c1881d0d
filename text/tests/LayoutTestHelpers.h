#pragma once
// Shared set-up of the layout tests: a layout engine with the memo defaults, text lists
// from one string, and widths measured independently through a canvas at 600 dpi.
#include <cmath>
#include <string>
#include <string_view>

#include "platform/Recording.h"
#include "text/frxGraphicUtils.h"

inline TWideStrings Lines(std::u16string_view text) {
  TWideStrings lines;
  lines.SetText(text);
  return lines;
}

// Design pixels (600 dpi) of `text` in Arial of `size` points and `style`.
inline int DesignWidth(std::u16string_view text, TFontStyles style = 0, int size = 10) {
  TRecordingCanvas canvas({1, 1}, 600, 600);
  TFont font;
  font.Size = size;
  font.Style = style;
  canvas.SetFont(CanvasFont(font, 600));
  return canvas.TextExtentW(text).Width;
}

// The narrowest whole screen width whose design width holds `text`.
inline int ScreenWidthFor(std::u16string_view text, TFontStyles style = 0) {
  return static_cast<int>(std::ceil(DesignWidth(text, style) / 6.25));
}

// A layout engine prepared as a memo would: Arial 10, given options, a text area of
// width x height at the origin (on the device too, at scale 1).
struct TLayoutSetup {
  TFont Font;
  bool WordWrap = true;
  bool AllowTags = true;
  int Rotation = 0;
  bool Wysiwyg = true;
  bool Clipped = false;
  bool WordBreak = false;
  bool Rtl = false;
  double LineSpacing = 0, CharSpacing = 0, ParagraphGap = 0;
  int Width = 200, Height = 100;

  void Apply(TfrxDrawText& d, const std::u16string& text) const {
    d.UseFont(Font);
    d.UseOptions(WordWrap, AllowTags, Rotation, Wysiwyg, Clipped, WordBreak, Rtl);
    d.UseAreas({0, 0, Width, Height}, {0, 0, Width, Height}, 1, 1, 1);
    d.UseGaps(LineSpacing, CharSpacing, ParagraphGap);
    d.LayOutText(Lines(text));
  }
};

inline std::u16string Joined(const TWideStrings& lines) {
  std::u16string out;
  for (int i = 0; i < lines.Count(); ++i) {
    if (i > 0) out += u"|";
    out += lines[i];
  }
  return out;
}
