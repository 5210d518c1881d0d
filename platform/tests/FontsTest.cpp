// The font layer and text on canvases: resolution through fontconfig, metrics and
// advances from the font file, glyphs drawn where the advances say.
#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <cstring>
#include <vector>

#include "GuiTestApp.h"
#include "platform/Canvas.h"
#include "platform/CodePage.h"
#include "platform/Fonts.h"
#include "platform/Recording.h"

namespace {

const char* const kPangram = "Zażółć gęślą jaźń";  // UTF-8

// Widths of the pangram's characters in thousandths of an em, as published for the
// Helvetica/Arial design (Liberation Sans keeps them): Z 611, a o g e n 556, z c s 500,
// l j 222, space 278. Polish letters keep the width of their base letter.
const int kPangramThousandths[] = {611, 556, 500, 556, 222, 500, 278, 556, 556,
                                   500, 222, 556, 278, 222, 556, 500, 556};

TEST(FontResolution, ArialBecomesLiberationSans) {
  struct Case {
    const char* face;
    TFontStyles style;
    const char* family;
    const char* fileNamePart;
  };
  const Case cases[] = {
      {"Arial", 0, "Liberation Sans", "LiberationSans-Regular"},
      {"arial", fsBold, "Liberation Sans", "LiberationSans-Bold."},
      {"Arial", fsItalic, "Liberation Sans", "LiberationSans-Italic"},
      {"Arial", fsBold | fsItalic | fsUnderline, "Liberation Sans", "LiberationSans-BoldItalic"},
      {"Times New Roman", 0, "Liberation Serif", "LiberationSerif-Regular"},
      {"Courier New", fsBold, "Liberation Mono", "LiberationMono-Bold."},
  };
  for (const Case& c : cases) {
    const TFontFileRef ref = ResolveFontFile(c.face, c.style);
    EXPECT_EQ(ref.Family, c.family) << c.face;
    EXPECT_NE(ref.Path.find(c.fileNamePart), std::string::npos) << c.face << " -> " << ref.Path;
  }
}

TEST(FontResolution, MissingFaceFallsBackToAnInstalledFont) {
  const TFontFileRef ref = ResolveFontFile(codepage::Utf8ToAnsi("Nieistniejąca Czcionka"), 0);
  ASSERT_FALSE(ref.Path.empty());
  auto file = TFontFile::Open(ref);
  EXPECT_TRUE(file->HasOutlines());
  EXPECT_NE(file->GlyphIndex(U'ż'), 0);
}

// A big-endian 16-bit value of a font table.
int Int16At(const std::vector<uint8_t>& table, size_t offset) {
  if (table.size() < offset + 2) return -99999;
  return static_cast<int16_t>((table[offset] << 8) | table[offset + 1]);
}

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApp(); }
  static TCanvasFont Arial600() { return CanvasFont(TFont{}, 600); }  // Arial 10 at 600 dpi
};

TEST_F(TextTest, PangramExtentAt600DpiFollowsTheDesignWidths) {
  TRecordingCanvas canvas({1000, 200}, 600, 600);
  canvas.SetFont(Arial600());
  ASSERT_EQ(canvas.Font().Height, -83);
  const std::u16string text = codepage::Utf8ToWide(kPangram);
  ASSERT_EQ(text.size(), std::size(kPangramThousandths));

  std::vector<int> after(text.size());
  const TSize size = canvas.TextExtentW(text, after);
  // Expected: each width in font units (2048 per em) scaled to 83 pixels and rounded.
  int x = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const long units = std::lround(kPangramThousandths[i] * 2.048);
    x += static_cast<int>(std::lround(units * 83.0 / 2048.0));
    EXPECT_EQ(after[i], x) << "after character " << i;
  }
  EXPECT_EQ(size.Width, 641);
  EXPECT_EQ(size.Width, x);
  EXPECT_EQ(size.Height, canvas.TextMetrics().Height);

  // The same text as 8-bit Windows-1250 measures the same.
  std::vector<int> after8(text.size());
  const TSize size8 = canvas.TextExtent(codepage::Utf8ToAnsi(kPangram), after8);
  EXPECT_EQ(size8, size);
  EXPECT_EQ(after8, after);
}

TEST_F(TextTest, EightBitTextFollowsTheFontCharacterSet) {
  TRecordingCanvas canvas({10, 10});
  TCanvasFont f = Arial600();
  struct Case {
    int charset;
    std::string bytes;
    std::u16string wide;
  };
  const Case cases[] = {
      {DEFAULT_CHARSET, "\xB9\xEA", u"\u0105\u0119"},      // Windows-1250: ą ę
      {EASTEUROPE_CHARSET, "\xA3\xF3", u"\u0141\u00F3"},   // Ł ó
      {204, "\xC0\xE1", u"\u0410\u0431"},                  // Windows-1251: А б
  };
  for (const Case& c : cases) {
    f.Charset = c.charset;
    canvas.SetFont(f);
    std::vector<int> a(2), b(2);
    canvas.TextExtent(c.bytes, a);
    canvas.TextExtentW(c.wide, b);
    EXPECT_EQ(a, b) << c.charset;
  }
  // The same bytes are other letters, of other widths, in Windows-1250 (Ŕ á).
  f.Charset = DEFAULT_CHARSET;
  canvas.SetFont(f);
  const int polish = canvas.TextExtent("\xC0\xE1").Width;
  f.Charset = 204;
  canvas.SetFont(f);
  EXPECT_NE(canvas.TextExtent("\xC0\xE1").Width, polish);
}

TEST_F(TextTest, MeasuringIsTheSameOnEverySurface) {
  auto bmp = NewBitmap(10, 10, TPixelFormat::pf24bit, 600);
  TRecordingCanvas rec({10, 10}, 96, 96);
  const std::u16string text = codepage::Utf8ToWide(kPangram);
  std::vector<int> a(text.size()), b(text.size());
  bmp->Canvas().SetFont(Arial600());
  rec.SetFont(Arial600());
  bmp->Canvas().TextExtentW(text, a);
  rec.TextExtentW(text, b);
  EXPECT_EQ(a, b);
}

TEST_F(TextTest, MetricsOfArial) {
  TRecordingCanvas canvas({10, 10});
  struct Case {
    int height;
    int cellHeight;  // ascent + descent
  };
  // Arial's cell is 1854 + 434 font units: 83 px em gives 75 + 18.
  for (const Case& c : {Case{-83, 93}, Case{-2048, 2288}, Case{40, 40}}) {
    TCanvasFont f = Arial600();
    f.Height = c.height;
    canvas.SetFont(f);
    const TTextMetric tm = canvas.TextMetrics();
    EXPECT_EQ(tm.Height, c.cellHeight) << c.height;
    EXPECT_EQ(tm.Height, tm.Ascent + tm.Descent);
    if (c.height < 0) {
      EXPECT_EQ(tm.Height - tm.InternalLeading, -c.height);
    }
  }
  TCanvasFont f = Arial600();
  f.Height = -2048;  // one pixel per font unit
  canvas.SetFont(f);
  const TTextMetric tm = canvas.TextMetrics();
  EXPECT_EQ(tm.Ascent, 1854);
  EXPECT_EQ(tm.Descent, 434);
  EXPECT_EQ(tm.AveCharWidth, Int16At(canvas.FontData("OS/2"), 2));
}

TEST_F(TextTest, RawTablesAndOutlineMetricsForPdf) {
  TRecordingCanvas canvas({10, 10});
  TCanvasFont f = Arial600();
  f.Height = -1000;
  f.Style = fsBold;
  canvas.SetFont(f);

  const TFontFileRef ref = canvas.SelectedFontFile();
  QFile file(QString::fromStdString(ref.Path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray onDisk = file.readAll();
  const std::vector<uint8_t> whole = canvas.FontData();
  ASSERT_EQ(whole.size(), static_cast<size_t>(onDisk.size()));
  EXPECT_EQ(std::memcmp(whole.data(), onDisk.constData(), whole.size()), 0);

  const std::vector<uint8_t> head = canvas.FontData("head");
  ASSERT_EQ(head.size(), 54u);
  EXPECT_EQ(head[12], 0x5F);  // the head table's magic number
  EXPECT_EQ(head[15], 0xF5);
  EXPECT_TRUE(canvas.FontData("zzzz").empty());

  const auto om = canvas.OutlineTextMetrics();
  ASSERT_TRUE(om.has_value());
  EXPECT_EQ(om->EmSquare, 1000);
  EXPECT_EQ(om->Weight, 700);
  EXPECT_EQ(om->ItalicAngle, 0);
  // Typographic ascent and descent and the font box, from the file's own tables.
  const std::vector<uint8_t> os2 = canvas.FontData("OS/2");
  const int upem = Int16At(head, 18);
  auto em1000 = [&](int units) { return static_cast<int>(std::lround(units * 1000.0 / upem)); };
  EXPECT_EQ(om->Ascent, em1000(Int16At(os2, 68)));
  EXPECT_EQ(om->Descent, em1000(Int16At(os2, 70)));
  EXPECT_LT(om->Descent, 0);
  EXPECT_EQ(om->CellHeight, canvas.TextMetrics().Height);
  EXPECT_EQ(om->FontBox.Left, em1000(Int16At(head, 36)));
  EXPECT_EQ(om->FontBox.Bottom, em1000(Int16At(head, 38)));
  EXPECT_EQ(om->FontBox.Right, em1000(Int16At(head, 40)));
  EXPECT_EQ(om->FontBox.Top, em1000(Int16At(head, 42)));

  f.Style = fsItalic;
  canvas.SetFont(f);
  EXPECT_LT(canvas.OutlineTextMetrics()->ItalicAngle, -5);
}

TEST_F(TextTest, ShapingGivesTheGlyphsAndWidthsThatMeasuringUses) {
  TRecordingCanvas canvas({10, 10});
  TCanvasFont f = Arial600();
  f.Height = -1000;
  canvas.SetFont(f);
  const std::u16string text = codepage::Utf8ToWide("Faktura VAT nr 12/2024 – Łódź");
  const auto glyphs = canvas.ShapeText(text, false);
  ASSERT_EQ(glyphs.size(), text.size());
  std::vector<int> after(text.size());
  canvas.TextExtentW(text, after);
  auto file = TFontFile::Open(canvas.SelectedFontFile());
  for (size_t i = 0; i < text.size(); ++i) {
    EXPECT_EQ(glyphs[i].Glyph, file->GlyphIndex(text[i])) << i;
    EXPECT_EQ(glyphs[i].Cluster, static_cast<int>(i));
    EXPECT_EQ(glyphs[i].Advance, after[i] - (i ? after[i - 1] : 0)) << i;  // no kerning
  }
}

TEST_F(TextTest, RightToLeftShapingIsInVisualOrder) {
  TRecordingCanvas canvas({10, 10});
  TCanvasFont f;
  f.Name = "DejaVu Sans";
  f.Height = -100;
  canvas.SetFont(f);
  const std::u16string hebrew = u"\u05D0\u05D1\u05D2";  // alef bet gimel
  const auto glyphs = canvas.ShapeText(hebrew, true);
  ASSERT_EQ(glyphs.size(), 3u);
  EXPECT_EQ(glyphs[0].Cluster, 2);
  EXPECT_EQ(glyphs[2].Cluster, 0);
  // Latin text in a right-to-left paragraph keeps its own order.
  const auto latin = canvas.ShapeText(u"abc", true);
  ASSERT_EQ(latin.size(), 3u);
  EXPECT_EQ(latin[0].Cluster, 0);
}

TEST(VisualOrderTest, Cases) {
  struct Case {
    std::u16string text;
    bool rtl;
    std::vector<int> order;
  };
  const Case cases[] = {
      {u"abc", false, {0, 1, 2}},
      {u"abc", true, {0, 1, 2}},
      {u"\u05D0\u05D1\u05D2", true, {2, 1, 0}},
      {u"\u05D0\u05D1\u05D2", false, {2, 1, 0}},
      {u"ab \u05D0\u05D1", false, {0, 1, 2, 4, 3}},
  };
  for (const Case& c : cases) EXPECT_EQ(VisualOrder(c.text, c.rtl), c.order);
}

// Renders text on a fresh 600-dpi bitmap.
std::unique_ptr<TBitmap> Render(const TCanvasFont& font, const std::function<void(TCanvas&)>& draw) {
  auto bmp = NewBitmap(1900, 120, TPixelFormat::pf24bit, 600);
  bmp->Canvas().SetFont(font);
  draw(bmp->Canvas());
  return bmp;
}

TEST_F(TextTest, GlyphsAreDrawnWhereTheAdvancesSay) {
  const std::u16string text = codepage::Utf8ToWide(kPangram);
  // Advances unlike the font's own, wide enough that glyphs never touch.
  std::vector<int> advances(text.size());
  for (size_t i = 0; i < advances.size(); ++i) advances[i] = 100 + static_cast<int>(i % 3) * 7;

  auto whole = Render(Arial600(), [&](TCanvas& c) { c.ExtTextOutW(20, 10, 0, nullptr, text, advances); });
  auto pieces = Render(Arial600(), [&](TCanvas& c) {
    int x = 20;
    for (size_t i = 0; i < text.size(); ++i) {
      c.ExtTextOutW(x, 10, 0, nullptr, text.substr(i, 1));
      x += advances[i];
    }
  });
  EXPECT_TRUE(whole->Pixels() == pieces->Pixels());

  // Each glyph's ink lies in its own cell; spaces have none.
  const TRasterImage& px = whole->Pixels();
  int cell = 20;
  for (size_t i = 0; i < text.size(); ++i) {
    int ink = 0;
    for (int y = 0; y < px.Height(); ++y)
      for (int x = cell - 10; x < cell + advances[i] - 10; ++x)
        if (px.Pixel(x, y) != clWhite) ++ink;
    if (text[i] == u' ')
      EXPECT_EQ(ink, 0) << i;
    else
      EXPECT_GT(ink, 50) << "character " << i;
    cell += advances[i];
  }
}

TEST_F(TextTest, OwnAdvancesPlaceTheRunLikeItsExtent) {
  const std::string text = codepage::Utf8ToAnsi(kPangram);
  std::vector<int> after(text.size());
  int right = 0;
  auto bmp = Render(Arial600(), [&](TCanvas& c) {
    right = 20 + c.TextExtent(text, after).Width;
    c.TextOut(20, 10, text);
  });
  const TRasterImage& px = bmp->Pixels();
  int first = px.Width(), last = -1;
  for (int y = 0; y < px.Height(); ++y)
    for (int x = 0; x < px.Width(); ++x)
      if (px.Pixel(x, y) != clWhite) first = std::min(first, x), last = std::max(last, x);
  // The ink starts at the first glyph's side bearing and ends within the last cell.
  EXPECT_GE(first, 20);
  EXPECT_LT(first, 26);
  EXPECT_LE(last, right);
  EXPECT_GT(last, right - 15);
}

TEST_F(TextTest, RightToLeftRunPutsTheFirstCharacterRightmost) {
  TCanvasFont f;
  f.Name = "DejaVu Sans";
  f.Height = -60;
  const std::u16string hebrew = u"\u05D0\u05D1\u05D2";
  const int adv[] = {90, 90, 90};
  auto whole = Render(f, [&](TCanvas& c) { c.ExtTextOutW(10, 10, etoRtlReading, nullptr, hebrew, adv); });
  auto pieces = Render(f, [&](TCanvas& c) {
    for (int i = 0; i < 3; ++i) c.ExtTextOutW(10 + 90 * (2 - i), 10, 0, nullptr, hebrew.substr(i, 1));
  });
  EXPECT_TRUE(whole->Pixels() == pieces->Pixels());
}

TEST_F(TextTest, ClippedRunStaysInItsRectangle) {
  const TRect clip{40, 0, 120, 120};
  auto bmp = Render(Arial600(), [&](TCanvas& c) {
    c.ExtTextOut(20, 10, etoClipped, &clip, codepage::Utf8ToAnsi(kPangram));
  });
  const TRasterImage& px = bmp->Pixels();
  int inside = 0;
  for (int y = 0; y < px.Height(); ++y)
    for (int x = 0; x < px.Width(); ++x)
      if (px.Pixel(x, y) != clWhite) {
        ASSERT_TRUE(clip.Contains({x, y})) << x << "," << y;
        ++inside;
      }
  EXPECT_GT(inside, 0);
}

// Ink pixels in rows [y0, y1).
int InkInRows(TBitmap& bmp, int y0, int y1) {
  int ink = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if (bmp.Pixel(x, y) != clWhite) ++ink;
  return ink;
}

TEST_F(TextTest, UnderlineRunsUnderTheWholeRun) {
  TCanvasFont f = Arial600();
  int width = 0, ascent = 0;
  auto plain = Render(f, [&](TCanvas& c) {
    width = c.TextExtent("mama").Width;
    ascent = c.TextMetrics().Ascent;
    c.TextOut(20, 10, "mama");
  });
  f.Style = fsUnderline;
  auto underlined = Render(f, [&](TCanvas& c) { c.TextOut(20, 10, "mama"); });
  const int below0 = 10 + ascent + 2, below1 = 10 + ascent + 14;
  EXPECT_EQ(InkInRows(*plain, below0, below1), 0);
  EXPECT_GE(InkInRows(*underlined, below0, below1), width);
}

TEST_F(TextTest, EscapementTurnsTheRunAboutItsOrigin) {
  TCanvasFont f = Arial600();
  f.Escapement = 900;  // straight up
  auto bmp = NewBitmap(200, 400, TPixelFormat::pf24bit, 600);
  bmp->Canvas().SetFont(f);
  const int cell = bmp->Canvas().TextMetrics().Height;
  const int length = bmp->Canvas().TextExtent("Suma").Width;
  bmp->Canvas().TextOut(20, 380, "Suma");
  const TRasterImage& px = bmp->Pixels();
  int minX = px.Width(), maxX = -1, minY = px.Height(), maxY = -1;
  for (int y = 0; y < px.Height(); ++y)
    for (int x = 0; x < px.Width(); ++x)
      if (px.Pixel(x, y) != clWhite)
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
  // The run goes up from its origin; the cell lies on the right of the baseline's start.
  EXPECT_LE(maxY, 380);
  EXPECT_GT(minY, 380 - length - 2);
  EXPECT_LT(minY, 380 - length + 15);
  EXPECT_GE(minX, 20);
  EXPECT_LE(maxX, 20 + cell);
}

}  // namespace
