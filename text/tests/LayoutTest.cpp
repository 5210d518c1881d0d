// Laying text out: style tags, wrapping, hyphenation, paragraph flags, block measures
// and splitting.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "LayoutTestHelpers.h"
#include "frxGraphicUtils_hyphen.h"

namespace {

class LayoutTest : public ::testing::Test {
 protected:
  TfrxDrawText draw;
  TfrxDrawTextLock lock{draw};
  TLayoutSetup setup;

  void LayOut(const std::u16string& text) { setup.Apply(draw, text); }
  const TfrxHTMLTags& Runs(int line) { return draw.StyleRuns()[static_cast<size_t>(line)]; }
};

// --- Style tags -------------------------------------------------------------------

// One letter a character: b bold, i italic, u underline, s strike-out, n plain.
std::string StylesOf(const TfrxHTMLTags& tags) {
  std::string out;
  for (const TfrxHTMLTag& t : tags) {
    std::string s;
    if (t.Style & fsBold) s += 'b';
    if (t.Style & fsItalic) s += 'i';
    if (t.Style & fsUnderline) s += 'u';
    if (t.Style & fsStrikeOut) s += 's';
    out += s.empty() ? "n" : s;
    out += ' ';
  }
  return out;
}

struct TagCase {
  const char* name;
  bool allowTags;
  std::u16string source;
  std::u16string text;  // the laid-out line
  std::string styles;
};

TEST_F(LayoutTest, TagsSetStylesAndDisappear) {
  const TagCase cases[] = {
      {"bold run", true, u"a <b>bold</b> c", u"a bold c", "n n b b b b n n "},
      {"tags not allowed stay text", false, u"a <b>b</b>", u"a <b>b</b>", "n n n n n n n n n n "},
      {"names ignore case", true, u"<B>x</B><I>y</i>", u"xy", "b i "},
      {"nested styles", true, u"<u><i>x</i></u>y", u"xy", "iu n "},
      {"strike", true, u"<strike>x</strike>y", u"xy", "s n "},
      {"five-character tag dropped", true, u"a<abc>b", u"ab", "n n "},
      {"longer unknown tag is text", true, u"a<abcd>b", u"a<abcd>b", "n n n n n n n n "},
      {"lone less-than is text", true, u"2 < 3", u"2 < 3", "n n n n n "},
      {"unclosed tag is text", true, u"<b", u"<b", "n n "},
      {"style carries over spaces", true, u"<i>a b", u"a b", "i i i "},
  };
  for (const TagCase& c : cases) {
    setup.AllowTags = c.allowTags;
    LayOut(c.source);
    ASSERT_EQ(draw.WrappedLines().Count(), 1) << c.name;
    EXPECT_EQ(draw.WrappedLines()[0], c.text) << c.name;
    EXPECT_EQ(StylesOf(Runs(0)), c.styles) << c.name;
  }
}

TEST_F(LayoutTest, StyleRecordsKnowTheirSourcePositionAndTheirFirstChange) {
  LayOut(u"x\r\na <b>bold</b> c");
  // Line 2 starts at position 4 (x, CR, LF); "<b>" takes 6..8.
  const TfrxHTMLTags& tags = Runs(1);
  const int positions[] = {4, 5, 9, 10, 11, 12, 17, 18};
  const bool same[] = {true, true, false, true, true, true, false, true};
  ASSERT_EQ(tags.size(), 8u);
  for (size_t i = 0; i < tags.size(); ++i) {
    EXPECT_EQ(tags[i].Position, positions[i]) << i;
    EXPECT_EQ(tags[i].Default, same[i]) << i;
  }
  EXPECT_EQ(draw.SourceText(), u"x\r\na <b>bold</b> c\r\n");
}

struct ColorCase {
  const char* name;
  std::u16string source;
  std::u16string text;
  TColor color;  // of the last character
};

TEST_F(LayoutTest, FontColourTagsTakeQuotedHexOrPlatformNames) {
  const ColorCase cases[] = {
      {"quoted hex", u"<font color=\"#FF0000\">x</font>", u"x", clRed},
      {"hex is RGB", u"<font color=\"#102030\">x", u"x", RGBColor(0x10, 0x20, 0x30)},
      {"lower-case hex", u"<font color=\"#00ff00\">x", u"x", RGBColor(0, 255, 0)},
      {"name", u"<font color=red>x", u"x", clRed},
      {"name in any case, spaces after =", u"<FONT COLOR=  Navy>x", u"x", 0x800000},
      {"closing restores the default", u"<font color=red>x</font>y", u"xy", clBlack},
      {"quoted name is no tag", u"<font color=\"red\">x", u"<font color=\"red\">x", clBlack},
      {"unknown name is no tag", u"<font color=rosa>x", u"<font color=rosa>x", clBlack},
      {"short hex is no tag", u"<font color=\"#F00\">x", u"<font color=\"#F00\">x", clBlack},
      {"bad hex digit is no tag", u"<font color=\"#GG0000\">x", u"<font color=\"#GG0000\">x", clBlack},
      {"unquoted hex is no tag", u"<font color=#FF0000>x", u"<font color=#FF0000>x", clBlack},
      {"unclosed is no tag", u"<font color=red", u"<font color=red", clBlack},
  };
  setup.Width = 1000;
  for (const ColorCase& c : cases) {
    LayOut(c.source);
    ASSERT_EQ(draw.WrappedLines().Count(), 1) << c.name;
    EXPECT_EQ(draw.WrappedLines()[0], c.text) << c.name;
    EXPECT_EQ(Runs(0).back().Color, c.color) << c.name;
  }
}

TEST_F(LayoutTest, SubscriptAndSuperscriptUseTwoThirdsOfTheSize) {
  struct Case {
    const char* name;
    int size;
    std::u16string source;
    int reduced;
    int shift;
  };
  const Case cases[] = {
      {"subscript of 10 points", 10, u"H<sub>2</sub>O", 7, 1},
      {"superscript of 10 points", 10, u"x<sup>2</sup>", 7, 0},
      {"subscript of 9 points", 9, u"H<sub>2</sub>O", 6, 1},
  };
  for (const Case& c : cases) {
    setup.Font.Size = c.size;
    LayOut(c.source);
    const TfrxHTMLTags& tags = Runs(0);
    EXPECT_EQ(tags[0].Size, c.size) << c.name;
    EXPECT_FALSE(tags[0].Small) << c.name;
    EXPECT_EQ(tags[1].Size, c.reduced) << c.name;
    EXPECT_EQ(tags[1].AddY, c.shift) << c.name;
    EXPECT_TRUE(tags[1].Small) << c.name;
  }
}

TEST_F(LayoutTest, TagsHoldAcrossSourceLines) {
  LayOut(u"<b>Piekarnia\r\nKłos</b> sp. z o.o.");
  EXPECT_EQ(Runs(1)[0].Style, fsBold);
  EXPECT_EQ(Runs(1).back().Style, 0);
}

// --- Wrapping -----------------------------------------------------------------------

TEST_F(LayoutTest, EmptyLinesAndTagOnlyLinesAreOneSpace) {
  LayOut(u"a\r\n\r\n<b></b>\r\nb");
  EXPECT_EQ(Joined(draw.WrappedLines()), u"a| | |b");
  EXPECT_EQ(draw.SourceText(), u"a\r\n \r\n<b></b>\r\nb\r\n");
}

TEST_F(LayoutTest, BreaksAtTheLastSpaceThatFitsAndDropsIt) {
  setup.Width = ScreenWidthFor(u"Hurtownia Morwa");
  LayOut(u"Hurtownia Morwa sp. j. Lublin");
  ASSERT_GE(draw.WrappedLines().Count(), 2);
  EXPECT_EQ(draw.WrappedLines()[0], u"Hurtownia Morwa");
  for (int i = 0; i < draw.WrappedLines().Count(); ++i) {
    const std::u16string& line = draw.WrappedLines()[i];
    EXPECT_NE(line.front(), u' ') << i;
    EXPECT_NE(line.back(), u' ') << i;
    EXPECT_LE(DesignWidth(line), static_cast<int>(std::lround(setup.Width * 6.25))) << i;
  }
  std::u16string all = Joined(draw.WrappedLines());
  for (char16_t& c : all)
    if (c == u'|') c = u' ';
  EXPECT_EQ(all, u"Hurtownia Morwa sp. j. Lublin");
}

TEST_F(LayoutTest, LongWordIsCutAtTheFirstCharacterThatDoesNotFit) {
  const std::u16string word = u"Konstantynopolitańczykowianeczka";
  setup.Width = 50;
  LayOut(word);
  const int max = static_cast<int>(std::lround(50 * 6.25));
  std::u16string all;
  for (int i = 0; i < draw.WrappedLines().Count(); ++i) {
    const std::u16string& line = draw.WrappedLines()[i];
    EXPECT_LE(DesignWidth(line), max) << i;
    if (i + 1 < draw.WrappedLines().Count()) {
      EXPECT_GT(DesignWidth(line + draw.WrappedLines()[i + 1].substr(0, 1)), max) << i;
    }
    all += line;
  }
  EXPECT_GE(draw.WrappedLines().Count(), 3);
  EXPECT_EQ(all, word);
}

TEST_F(LayoutTest, CharacterWiderThanTheAreaStandsAlone) {
  setup.Width = 1;
  LayOut(u"WW W");
  EXPECT_EQ(Joined(draw.WrappedLines()), u"W|W|W");
  // A line of spaces only still gives one line.
  LayOut(u"   ");
  EXPECT_EQ(draw.WrappedLines().Count(), 1);
}

TEST_F(LayoutTest, NowrapSpacesAreNoBreakPoints) {
  setup.Width = ScreenWidthFor(u"Termin zapłaty") + 2;
  LayOut(u"<nowrap>Termin zapłaty</nowrap> 14 dni");
  EXPECT_EQ(Joined(draw.WrappedLines()), u"Termin zapłaty|14 dni");
  // Narrower than the no-wrap run: cut like one long word, not at its space.
  setup.Width = ScreenWidthFor(u"Termin za");
  LayOut(u"<nowrap>Termin zapłaty</nowrap>");
  ASSERT_GE(draw.WrappedLines().Count(), 2);
  EXPECT_EQ(draw.WrappedLines()[0].substr(0, 8), u"Termin z");
}

TEST_F(LayoutTest, WithoutWordWrapEachSourceLineIsOneLine) {
  setup.WordWrap = false;
  setup.Width = 10;
  LayOut(u"Hurtownia Morwa sp. j.\r\nLublin");
  EXPECT_EQ(Joined(draw.WrappedLines()), u"Hurtownia Morwa sp. j.|Lublin");
}

TEST_F(LayoutTest, ParagraphFlagsMarkFirstAndLastLines) {
  setup.Width = ScreenWidthFor(u"Hurtownia");
  LayOut(u"Hurtownia Morwa Lublin\r\nFV");
  EXPECT_EQ(Joined(draw.WrappedLines()), u"Hurtownia|Morwa|Lublin|FV");
  const uint32_t flags[] = {1, 0, 2, 3};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(draw.WrappedLines().Flags(i), flags[i]) << i;

  draw.UseParagraphFlags(true, true);
  EXPECT_EQ(draw.WrappedLines().Flags(0), 0u);
  EXPECT_EQ(draw.WrappedLines().Flags(3), 1u);
}

TEST_F(LayoutTest, ParagraphGapNarrowsOnlyTheFirstLine) {
  const int width = ScreenWidthFor(u"Hurtownia Morwa");
  setup.Width = width;
  setup.ParagraphGap = 30;
  LayOut(u"Hurtownia Morwa Hurtownia Morwa");
  EXPECT_EQ(Joined(draw.WrappedLines()), u"Hurtownia|Morwa Hurtownia|Morwa");
}

TEST_F(LayoutTest, RotatedQuarterTurnsWrapToTheHeight) {
  setup.Width = 1000;
  setup.Height = ScreenWidthFor(u"Hurtownia");
  for (int rotation : {90, 270, -90}) {
    setup.Rotation = rotation;
    LayOut(u"Hurtownia Morwa");
    EXPECT_EQ(Joined(draw.WrappedLines()), u"Hurtownia|Morwa") << rotation;
  }
  setup.Rotation = 180;
  LayOut(u"Hurtownia Morwa");
  EXPECT_EQ(Joined(draw.WrappedLines()), u"Hurtownia Morwa");
}

TEST_F(LayoutTest, CharacterSpacingWidensTheMeasure) {
  setup.Width = ScreenWidthFor(u"Hurtownia Morwa") + 1;
  LayOut(u"Hurtownia Morwa");
  EXPECT_EQ(draw.WrappedLines().Count(), 1);
  setup.CharSpacing = 2;
  LayOut(u"Hurtownia Morwa");
  EXPECT_EQ(Joined(draw.WrappedLines()), u"Hurtownia|Morwa");
}

TEST_F(LayoutTest, LineLongerThanTheAdvanceArrayIsLaidOutWhole) {
  std::u16string line = u"Faktura";
  while (line.size() < 40000) line += u" Faktura VAT";
  setup.Width = 400;
  LayOut(line);
  std::u16string all = Joined(draw.WrappedLines());
  for (char16_t& c : all)
    if (c == u'|') c = u' ';
  EXPECT_EQ(all, line);
  setup.WordWrap = false;
  LayOut(line);
  EXPECT_EQ(draw.WrappedLines()[0], line);
  EXPECT_GT(draw.WidestLineWidth(), 40000 * 3);
}

// --- Hyphenation ----------------------------------------------------------------------

TEST_F(LayoutTest, RussianWordIsHyphenatedAtTheLargestAllowedPosition) {
  setup.WordBreak = true;
  // Ten letters fit; the allowed positions below ten are 4, 5, 7 and 9.
  setup.Width = ScreenWidthFor(u"строительс");
  LayOut(u"строительство");
  EXPECT_EQ(Joined(draw.WrappedLines()), u"строитель-|ство");
  EXPECT_EQ(Runs(0).back(), Runs(0)[8]);  // the hyphen copies the letter before it

  setup.WordBreak = false;
  LayOut(u"строительство");
  EXPECT_EQ(draw.WrappedLines()[0], u"строительс");
}

TEST(HyphenationTest, BreaksFollowTheLetterClasses) {
  struct Case {
    const char* name;
    std::u16string word;
    int fitting;
    int expected;
  };
  const Case cases[] = {
      {"largest position below the fitting count", u"строительство", 10, 9},
      {"a later position", u"строительство", 12, 11},
      {"only the first vowel break fits", u"строительство", 5, 4},
      {"no part without a vowel", u"строительство", 4, 0},
      {"upper case too", u"СТРОИТЕЛЬСТВО", 10, 9},
      {"doubled consonant before a vowel stays after the break", u"класса", 6, 4},
      {"not before the doubled consonant", u"класса", 4, 0},
      {"not before the short i", u"чайка", 5, 3},
      {"soft sign stays with its consonant", u"письмо", 6, 4},
      {"three letters never", u"дом", 3, 0},
      {"Latin letters have no vowels here", u"przeterminowany", 12, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(frxHyphenationPoint(c.word, c.fitting), c.expected) << c.name;
}

TEST_F(LayoutTest, HyphenationAfterASpaceKeepsTheWordsBefore) {
  setup.WordBreak = true;
  setup.Width = ScreenWidthFor(u"Наш строительс");
  LayOut(u"Наш строительство");
  EXPECT_EQ(Joined(draw.WrappedLines()), u"Наш строитель-|ство");
}

TEST_F(LayoutTest, PolishWordsAreNotHyphenated) {
  setup.WordBreak = true;
  setup.Width = ScreenWidthFor(u"Rachunek przeterminowa");
  LayOut(u"Rachunek przeterminowany");
  EXPECT_EQ(Joined(draw.WrappedLines()), u"Rachunek|przeterminowany");
}

// --- Block measures ---------------------------------------------------------------------

TEST_F(LayoutTest, TextBlockHeightCountsLinePitchesAndNegativeSpacingOnce) {
  struct Case {
    double spacing;
    double pitch;
    double height;
  };
  const Case cases[] = {{2, 14, 42}, {-2, 10, 32}, {0, 12, 36}};
  setup.Font.Size = 9;
  for (const Case& c : cases) {
    setup.LineSpacing = c.spacing;
    LayOut(u"Dostawa\r\nOdbiór\r\nZwrot");
    EXPECT_EQ(draw.DesignFontHeight(), 75);
    EXPECT_DOUBLE_EQ(draw.LinePitch(), c.pitch) << c.spacing;
    EXPECT_DOUBLE_EQ(draw.TextBlockHeight(), c.height) << c.spacing;
  }
  LayOut(u"");
  EXPECT_EQ(draw.TextBlockHeight(), 0);
  EXPECT_EQ(draw.WidestLineWidth(), 0);
}

TEST_F(LayoutTest, WidestLineWidthAddsSpacingAndTheParagraphGap) {
  setup.Width = 1000;
  LayOut(u"Suma\r\n<b>Razem do zapłaty</b>");
  EXPECT_DOUBLE_EQ(draw.WidestLineWidth(), DesignWidth(u"Razem do zapłaty", fsBold) / 6.25);
  setup.CharSpacing = 1;
  setup.ParagraphGap = 8;
  LayOut(u"Suma\r\nRazem");
  EXPECT_DOUBLE_EQ(draw.WidestLineWidth(), (DesignWidth(u"Razem") + 31 + 50) / 6.25);
}

TEST_F(LayoutTest, SubscriptsMeasureTwoThirdsWide) {
  setup.Width = 1000;
  LayOut(u"<sub>MMMMMM</sub>");
  const double full = DesignWidth(u"MMMMMM") / 6.25;
  EXPECT_NEAR(draw.WidestLineWidth(), full / 1.5, 1.0);
}

TEST_F(LayoutTest, LeftoverHeightIsTheRestBelowTheLastWholeLine) {
  // Arial 10: 83 design pixels, a pitch of 13.28; the height counts one pixel more.
  struct Case {
    int height;
    double leftover;
  };
  const Case cases[] = {{5, 0}, {12, 0}, {13, 14 - 13.28}, {27, 28 - 2 * 13.28}};
  for (const Case& c : cases) {
    setup.Height = c.height;
    LayOut(u"a");
    EXPECT_NEAR(draw.LeftoverHeight(), c.leftover, 1e-9) << c.height;
  }
}

TEST_F(LayoutTest, LeftoverHeightIsNeverZeroWhenLinesFitExactly) {
  setup.Font.Size = 9;  // pitch 12
  setup.Height = 23;    // 24 = two pitches
  LayOut(u"a");
  EXPECT_DOUBLE_EQ(draw.LeftoverHeight(), 0.0001);
}

// --- Splitting ------------------------------------------------------------------------

TEST_F(LayoutTest, SplitKeepsTheLinesThatFitAndReturnsTheRest) {
  setup.Height = 27;  // two pitches of 13.28 in 28
  LayOut(u"Faktura VAT 12/2026\r\nSprzedawca: <b>Piekarnia Kłos\r\nsp. z o.o.</b>\r\n"
         u"Nabywca: Hurtownia Morwa\r\nTermin: 14 dni");
  ASSERT_EQ(draw.WrappedLines().Count(), 5);
  const TfrxTextSplit split = draw.SplitAtHeight();
  EXPECT_EQ(draw.WrappedLines().Count(), 2);
  EXPECT_EQ(draw.StyleRuns().size(), 2u);
  EXPECT_FALSE(split.InsideParagraph);
  EXPECT_EQ(draw.FittingText(), u"Faktura VAT 12/2026\r\nSprzedawca: <b>Piekarnia Kłos\r\n");
  EXPECT_EQ(split.Rest, u"<font color=\"#000000\"><b>sp. z o.o.</b>\r\nNabywca: Hurtownia Morwa\r\n"
                        u"Termin: 14 dni\r\n");
}

TEST_F(LayoutTest, SplitReopensColourAndStylesInOrder) {
  setup.Height = 13;
  LayOut(u"a\r\n<font color=\"#1A2B3C\"><b><i><u><strike>b");
  const TfrxTextSplit split = draw.SplitAtHeight();
  EXPECT_EQ(split.Rest, u"<font color=\"#1A2B3C\"><u><i><b><strike>b\r\n");
}

TEST_F(LayoutTest, SplitWithoutTagsReturnsThePlainRest) {
  setup.AllowTags = false;
  setup.Height = 13;
  LayOut(u"a\r\n<b>b");
  EXPECT_EQ(draw.SplitAtHeight().Rest, u"<b>b\r\n");
}

TEST_F(LayoutTest, SplitInsideAParagraphDropsTheLeadingSpace) {
  setup.AllowTags = false;
  setup.Width = ScreenWidthFor(u"Hurtownia");
  setup.Height = 13;
  LayOut(u"Hurtownia  Morwa");  // two spaces: the second starts line two
  ASSERT_EQ(Joined(draw.WrappedLines()), u"Hurtownia| Morwa");
  const TfrxTextSplit split = draw.SplitAtHeight();
  EXPECT_TRUE(split.InsideParagraph);
  EXPECT_EQ(split.Rest, u"Morwa\r\n");
  EXPECT_EQ(draw.FittingText(), u"Hurtownia ");
}

TEST_F(LayoutTest, SplitAfterAnInsertedHyphenKeepsIt) {
  setup.WordBreak = true;
  setup.AllowTags = false;
  setup.Width = ScreenWidthFor(u"строительс");
  setup.Height = 13;
  LayOut(u"строительство");
  const TfrxTextSplit split = draw.SplitAtHeight();
  EXPECT_TRUE(split.InsideParagraph);
  EXPECT_EQ(draw.FittingText(), u"строитель-");
  EXPECT_EQ(split.Rest, u"ство\r\n");

  // A hyphen of the text itself is already in the fitting text.
  setup.Width = ScreenWidthFor(u"biało-");
  LayOut(u"biało-czerwony");
  ASSERT_EQ(draw.WrappedLines()[0], u"biało-");
  draw.SplitAtHeight();
  EXPECT_EQ(draw.FittingText(), u"biało-");
}

TEST_F(LayoutTest, SplitWhenEverythingOrNothingFits) {
  setup.Height = 100;
  LayOut(u"a\r\nb");
  TfrxTextSplit split = draw.SplitAtHeight();
  EXPECT_EQ(split.Rest, u"");
  EXPECT_EQ(draw.WrappedLines().Count(), 2);
  EXPECT_EQ(draw.FittingText(), u"a\r\nb\r\n");

  setup.Height = 5;
  setup.AllowTags = false;
  LayOut(u"a\r\nb");
  split = draw.SplitAtHeight();
  EXPECT_EQ(split.Rest, u"a\r\nb\r\n");
  EXPECT_FALSE(split.InsideParagraph);
  EXPECT_EQ(draw.WrappedLines().Count(), 0);
  EXPECT_EQ(draw.FittingText(), u"");
}

TEST_F(LayoutTest, LineSpacingThatEatsTheFontKeepsEverythingTogether) {
  setup.LineSpacing = -20;
  setup.Height = 5;
  LayOut(u"a\r\nb\r\nc");
  EXPECT_EQ(draw.SplitAtHeight().Rest, u"");
  EXPECT_EQ(draw.WrappedLines().Count(), 3);
}

// --- The lock ---------------------------------------------------------------------------

TEST(DrawTextLockTest, OneLockSerialisesEveryInstance) {
  TfrxDrawText reportEngine;
  std::atomic<bool> entered{false};
  std::thread other;
  {
    TfrxDrawTextLock held(reportEngine);
    other = std::thread([&] {
      TfrxDrawTextLock lock(frxDrawText());
      entered = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(entered) << "another instance was used while the lock was held";
  }
  other.join();
  EXPECT_TRUE(entered);
}

}  // namespace
