// Memo texts come from templates and data files: any text with any tags, in any area
// and with any options, must lay out, measure, split and paint without a crash, a hang
// or a write beyond an array. The first eight bytes choose the settings, the rest is
// the text (UTF-8), also read as a text file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/Recording.h"
#include "platform/Stream.h"
#include "text/frxGraphicUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  const uint8_t flags = data[0];
  const int width = data[1];
  const int height = data[2];
  const int rotation = data[3] * 3;
  const double lineSpacing = static_cast<int8_t>(data[4]) / 4.0;
  const double charSpacing = static_cast<int8_t>(data[5]) / 8.0;
  const double paragraphGap = static_cast<int8_t>(data[6]);
  TFont font;
  font.Size = static_cast<int8_t>(data[7]);
  font.Style = static_cast<TFontStyles>(flags >> 4);
  font.Charset = (flags & 0x80) ? EASTEUROPE_CHARSET : DEFAULT_CHARSET;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 8, size - 8);

  TWideStrings lines;
  lines.SetText(codepage::Utf8ToWide(bytes));

  TfrxDrawText& draw = frxDrawText();
  TfrxDrawTextLock lock(draw);
  draw.UseFont(font);
  draw.UseOptions(flags & 1, flags & 2, rotation, flags & 4, flags & 8, flags & 16, flags & 32);
  draw.UseDefaultCharset(flags & 64);
  const TRect area{0, 0, width, height};
  draw.UseAreas(area, {3, 5, 3 + width * 2, 5 + height * 2}, 1, 2, 2);
  draw.UseGaps(lineSpacing, charSpacing, paragraphGap);

  // Split page by page, as the engine does with a memo that spans pages.
  for (int page = 0; page < 4 && !lines.Empty(); ++page) {
    draw.LayOutText(lines);
    draw.UseParagraphFlags(page > 0, false);
    (void)draw.TextBlockHeight();
    (void)draw.WidestLineWidth();
    (void)draw.LeftoverHeight();
    const TfrxTextSplit split = draw.SplitAtHeight();
    TRecordingCanvas canvas({width * 2 + 10, height * 2 + 10}, 192, 192);
    draw.UseParagraphFlags(page > 0, split.InsideParagraph);
    draw.PaintLines(canvas, static_cast<TfrxHAlign>(page % 4), static_cast<TfrxVAlign>(page % 3));
    lines.SetText(split.Rest);
  }

  TMemoryStream stream;
  stream.WriteString(std::string(bytes));
  stream.SetPosition(0);
  TWideStrings file;
  file.LoadFromStream(stream);
  return 0;
}
