// Memos painted on bitmaps at 96 and 300 dpi, compared with stored pictures. The
// stored PNGs are in text/tests/golden/; after a deliberate change of the drawing,
// record them again with
//   TAVREL_UPDATE_GOLDEN=1 ctest --test-dir build/test -R TextGolden
// and look at every picture before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "GuiTestApp.h"
#include "LayoutTestHelpers.h"
#include "PixelDifference.h"
#include "platform/Picture.h"

namespace {

struct GoldenMemo {
  const char* name;
  std::u16string text;
  TLayoutSetup setup;  // font, options, gaps and the text area at 100%
  TfrxHAlign hAlign = haLeft;
  TfrxVAlign vAlign = vaTop;
};

TLayoutSetup Area(int width, int height) {
  TLayoutSetup s;
  s.Width = width;
  s.Height = height;
  return s;
}

std::vector<GoldenMemo> Memos() {
  std::vector<GoldenMemo> memos;
  {
    GoldenMemo m{"polish", u"Piekarnia Kłos sp. z o.o.\r\nul. Źródlana 12, 20-950 Lublin\r\n"
                           u"Zażółć gęślą jaźń: łódź, żółw, ćma, śnieg.",
                 Area(190, 80)};
    memos.push_back(m);
  }
  {
    GoldenMemo m{"tags", u"<b>Faktura VAT</b> nr <i>FV/12/2026</i>\r\n<u>Do zapłaty:</u> "
                         u"<font color=red>1 234,56 zł</font>\r\nH<sub>2</sub>O, 12 m<sup>2</sup>, "
                         u"<strike>99,00</strike> <font color=\"#008000\">89,00</font>",
                 Area(220, 60)};
    memos.push_back(m);
  }
  {
    GoldenMemo m{"justified", u"Hurtownia Morwa zamawia u Piekarni Kłos pieczywo na cały "
                              u"tydzień, z dostawą do godziny szóstej rano.\r\nDziękujemy.",
                 Area(200, 90), haBlock};
    m.setup.ParagraphGap = 16;
    m.setup.LineSpacing = 2;
    memos.push_back(m);
  }
  {
    GoldenMemo m{"rotated90", u"Dowód dostawy WZ 7/2026\r\nHurtownia Morwa", Area(40, 160), haCenter,
                 vaCenter};
    m.setup.Rotation = 90;
    memos.push_back(m);
  }
  {
    GoldenMemo m{"slanted30", u"Zapłacono\r\n<b>Piekarnia Kłos</b>", Area(150, 130), haLeft, vaCenter};
    m.setup.Rotation = 30;
    memos.push_back(m);
  }
  {
    GoldenMemo m{"hebrew", u"חשבונית מס 12\r\nשלום עולם, תודה רבה", Area(180, 40), haRight};
    m.setup.Rtl = true;
    memos.push_back(m);
  }
  return memos;
}

constexpr int kMargin = 4;  // 96-dpi pixels around the text area

TRasterImage PaintMemo(const GoldenMemo& memo, int dpi) {
  const double scale = dpi / 96.0;
  const int margin = static_cast<int>(std::lround(kMargin * scale));
  const TRect target{margin, margin, margin + static_cast<int>(std::lround(memo.setup.Width * scale)),
                     margin + static_cast<int>(std::lround(memo.setup.Height * scale))};
  std::unique_ptr<TBitmap> bitmap =
      NewBitmap(target.Right + margin, target.Bottom + margin, TPixelFormat::pf24bit, dpi);
  TfrxDrawText draw;
  TfrxDrawTextLock lock(draw);
  memo.setup.Apply(draw, memo.text);
  draw.UseAreas({0, 0, memo.setup.Width, memo.setup.Height}, target, 1, scale, scale);
  TCanvas& canvas = bitmap->Canvas();
  TPen frame;
  frame.Color = clSilver;
  canvas.SetPen(frame);
  canvas.SetBrush({clWhite, bsClear});
  canvas.Rectangle({target.Left - 1, target.Top - 1, target.Right + 1, target.Bottom + 1});
  draw.PaintLines(canvas, memo.hAlign, memo.vAlign);
  return bitmap->Pixels();
}

std::filesystem::path GoldenPath(const GoldenMemo& memo, int dpi) {
  return std::filesystem::path(TAVREL_SOURCE_DIR) / "text/tests/golden" /
         (std::string(memo.name) + "_" + std::to_string(dpi) + ".png");
}

int InkedPixels(const TRasterImage& image) {
  int count = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (image.Pixel(x, y) != clWhite && image.Pixel(x, y) != clSilver) ++count;
  return count;
}

class TextGolden : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { EnsureGuiApp(); }
};

TEST_P(TextGolden, MemosMatchTheirStoredPictures) {
  const int dpi = GetParam();
  const bool update = std::getenv("TAVREL_UPDATE_GOLDEN") != nullptr;
  for (const GoldenMemo& memo : Memos()) {
    const TRasterImage painted = PaintMemo(memo, dpi);
    EXPECT_GT(InkedPixels(painted), 50) << memo.name;
    const std::filesystem::path path = GoldenPath(memo, dpi);
    if (update) {
      const std::vector<uint8_t> png = EncodePng(painted);
      std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()),
                                                  static_cast<std::streamsize>(png.size()));
      continue;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing " << path;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const TRasterImage stored = DecodePng(bytes);
    ASSERT_EQ(stored.Width(), painted.Width()) << memo.name;
    ASSERT_EQ(stored.Height(), painted.Height()) << memo.name;
    // Glyph edges are antialiased: allow faint shade differences and a few pixels.
    const int allowed = painted.Width() * painted.Height() / 500;
    EXPECT_LE(DifferingPixels(painted, stored, 48), allowed) << memo.name << " at " << dpi << " dpi";
  }
}

INSTANTIATE_TEST_SUITE_P(Resolutions, TextGolden, ::testing::Values(96, 300));

}  // namespace
