// PDF fonts: one per face and style, glyphs by shaping, the characters behind each
// glyph, and the objects written for a font.

#include <gtest/gtest.h>

#include "output/frxExportPDF_writer.h"
#include "output/frxPDFFont.h"
#include "platform/Stream.h"

namespace {

TFont MakeFont(const std::string& name, TFontStyles style = 0, int size = 10) {
  TFont f;
  f.Name = name;
  f.Style = style;
  f.Size = size;
  return f;
}

std::u16string CharsOf(const TfrxPDFFont& font, uint16_t glyph) {
  const auto& used = font.UsedGlyphs();
  for (size_t i = 0; i < used.size(); ++i)
    if (used[i] == glyph) return font.GlyphChars()[i];
  return u"(unused)";
}

TEST(PdfFontTest, OneFontPerFaceAndStyleWhateverTheSize) {
  TfrxPDFFonts fonts;
  EXPECT_EQ(fonts.SelectPDFFont(MakeFont("Arial")), 0);
  EXPECT_EQ(fonts.SelectPDFFont(MakeFont("Arial", fsBold)), 1);
  EXPECT_EQ(fonts.SelectPDFFont(MakeFont("Arial", 0, 24)), 0);
  EXPECT_EQ(fonts.SelectPDFFont(MakeFont("Arial", fsBold | fsUnderline)), 2);
  EXPECT_EQ(fonts.SelectPDFFont(MakeFont("arial")), 3);  // names compare exactly
  ASSERT_EQ(fonts.Count(), 4);
  EXPECT_EQ(fonts[1].ResourceName(), "/F1");
  EXPECT_EQ(fonts[0].PDFFontName(), "Arial");
  EXPECT_EQ(fonts[1].PDFFontName(), "Arial,Bold");
  EXPECT_EQ(fonts[2].PDFFontName(), "Arial,Bold");
}

TEST(PdfFontTest, NamesEscapeWhatPdfNamesCannotHold) {
  const struct {
    const char* face;
    TFontStyles style;
    const char* name;
  } cases[] = {{"Times New Roman", 0, "Times#20New#20Roman"},
               {"Arial", fsBold | fsItalic, "Arial,BoldItalic"},
               {"Courier New", fsItalic | fsStrikeOut, "Courier#20New,Italic"},
               {"A(b)[c]{d}<e>%/", 0, "A#28b#29#5Bc#5D#7Bd#7D#3Ce#3E#25#2F"},
               {"Czcionka \xA3\xF3" "d\x9F", 0, "Czcionka#20#C5#81#F3d#C5#BA"}};
  for (const auto& c : cases) EXPECT_EQ(TfrxPDFFont(MakeFont(c.face, c.style), 0).PDFFontName(), c.name) << c.face;
}

TEST(PdfFontTest, MetricsAtTheThousandUnitEm) {
  TfrxPDFFont font(MakeFont("Arial"), 0);
  const TOutlineTextMetric& m = font.Metrics();
  EXPECT_NEAR(m.Ascent, 728, 10);   // Liberation Sans, Arial's metrics
  EXPECT_NEAR(m.Descent, -212, 10);
  EXPECT_GT(m.FontBox.Right, m.FontBox.Left);
  EXPECT_EQ(m.Weight, 400);
}

TEST(PdfFontTest, LatinLineMapsEachGlyphToItsCharacterOnce) {
  TfrxPDFFont font(MakeFont("Arial"), 0);
  const TfrxPDFGlyphLine line = font.TextToGlyphs(u"Łódź 2024", false);
  ASSERT_EQ(line.Glyphs.size(), 9u);
  EXPECT_EQ(font.UsedGlyphs().size(), 8u);  // "2" twice
  EXPECT_EQ(CharsOf(font, line.Glyphs[0]), u"Ł");
  EXPECT_EQ(CharsOf(font, line.Glyphs[3]), u"ź");
  EXPECT_EQ(font.GlyphWidths()[0], 556);  // Ł in the 1000-unit em
  // Used again: nothing new is recorded.
  font.TextToGlyphs(u"ź2", false);
  EXPECT_EQ(font.UsedGlyphs().size(), 8u);
}

TEST(PdfFontTest, LigatureMapsToEveryCharacterItStandsFor) {
  TfrxPDFFont font(MakeFont("DejaVu Serif"), 0);
  const TfrxPDFGlyphLine line = font.TextToGlyphs(u"filia", false);
  ASSERT_EQ(line.Glyphs.size(), 4u) << "the shaper makes the fi ligature";
  EXPECT_EQ(CharsOf(font, line.Glyphs[0]), u"fi");
  EXPECT_EQ(CharsOf(font, line.Glyphs[1]), u"l");
  EXPECT_EQ(CharsOf(font, line.Glyphs[3]), u"a");
}

TEST(PdfFontTest, ArabicLamAlefStandsForBothLetters) {
  TfrxPDFFont font(MakeFont("DejaVu Sans"), 0);
  const TfrxPDFGlyphLine line = font.TextToGlyphs(u"\u0644\u0627", true);
  ASSERT_EQ(line.Glyphs.size(), 1u);
  EXPECT_EQ(CharsOf(font, line.Glyphs[0]), u"\u0644\u0627");
}

TEST(PdfFontTest, RightToLeftLineInVisualOrderWithLogicalCharacters) {
  TfrxPDFFont font(MakeFont("Arial"), 0);
  const std::u16string shalom = u"\u05E9\u05DC\u05D5\u05DD";  // shin lamed vav final-mem
  const TfrxPDFGlyphLine line = font.TextToGlyphs(shalom, true);
  ASSERT_EQ(line.Glyphs.size(), 4u);
  // Visual order: the last letter comes first.
  EXPECT_EQ(CharsOf(font, line.Glyphs[0]), u"\u05DD");
  EXPECT_EQ(CharsOf(font, line.Glyphs[3]), u"\u05E9");
}

TEST(PdfFontTest, MixedLineKeepsEachCharacterWithItsGlyph) {
  TfrxPDFFont font(MakeFont("Arial"), 0);
  const TfrxPDFGlyphLine line = font.TextToGlyphs(u"Nr \u05D0\u05D1 7", false);
  ASSERT_EQ(line.Glyphs.size(), 7u);
  // The number after the Hebrew joins its right-to-left run: "Nr 7 BA" on screen.
  EXPECT_EQ(CharsOf(font, line.Glyphs[3]), u"7");
  EXPECT_EQ(CharsOf(font, line.Glyphs[5]), u"\u05D1");
  EXPECT_EQ(CharsOf(font, line.Glyphs[6]), u"\u05D0");
}

TEST(PdfFontTest, DamagedTextStillGivesOneGlyphPerUnitAndNoCrash) {
  TfrxPDFFont font(MakeFont("Arial"), 0);
  const std::u16string damaged = {u'a', 0xD800, u'b', 0xDC00, 0x0001, 0xFFFF, u'\t', 0x202E, u'c'};
  const TfrxPDFGlyphLine line = font.TextToGlyphs(damaged, false);
  EXPECT_FALSE(line.Glyphs.empty());
  for (size_t i = 0; i < font.UsedGlyphs().size(); ++i) EXPECT_LE(font.GlyphChars()[i].size(), damaged.size());
  EXPECT_TRUE(font.TextToGlyphs(u"", true).Glyphs.empty());
}

std::string WrittenFont(TfrxPDFFont& font, const TfrxPDFFontOptions& options) {
  TMemoryStream out;
  TfrxPDFWriter writer(out);
  font.SetObjectNumber(writer.NewObject());
  font.WriteFont(writer, options);
  writer.Flush();
  return out.DataString();
}

TEST(PdfFontTest, WritesDescriptorToUnicodeAndCompositeFont) {
  TfrxPDFFont font(MakeFont("DejaVu Sans", fsBold), 0);
  font.TextToGlyphs(u"\u0644\u0627", true);
  TfrxPDFFontOptions options;
  options.Embedded = false;
  options.Compressed = false;
  const std::string text = WrittenFont(font, options);
  EXPECT_EQ(text.find("/FontFile2"), std::string::npos);
  // Without the font file the descriptor is object 2.
  EXPECT_NE(text.find("2 0 obj\r\n<<\r\n/Type /FontDescriptor\r\n/FontName /DejaVu#20Sans,Bold\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("/CMapName /DejaVu#20Sans+Bold def"), std::string::npos);
  EXPECT_NE(text.find("1 beginbfchar\r\n<"), std::string::npos);
  EXPECT_NE(text.find("> <06440627>\r\nendbfchar"), std::string::npos);
  EXPECT_NE(text.find("/Subtype /CIDFontType2"), std::string::npos);
  EXPECT_NE(text.find("/Encoding /Identity-H\r\n/DescendantFonts [5 0 R]\r\n/ToUnicode 3 0 R"), std::string::npos);
  // The Type0 font is written last, at the number taken before.
  EXPECT_NE(text.rfind("1 0 obj\r\n<<\r\n/Type /Font\r\n/Subtype /Type0"), std::string::npos);
}

TEST(PdfFontTest, SubsetIsFarSmallerThanTheWholeFile) {
  TfrxPDFFont font(MakeFont("Arial"), 0);
  font.TextToGlyphs(u"Faktura VAT nr 12/2024", false);
  TfrxPDFFontOptions whole;
  TfrxPDFFontOptions subset;
  subset.Subset = true;
  const std::string full = WrittenFont(font, whole);
  const std::string small = WrittenFont(font, subset);
  EXPECT_NE(full.find("/FontFile2 2 0 R"), std::string::npos);
  EXPECT_LT(small.size() * 4, full.size());
  EXPECT_NE(small.find("+Arial\r\n"), std::string::npos);  // the subset tag
}

}  // namespace
