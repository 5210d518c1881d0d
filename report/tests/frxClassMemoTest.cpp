// Memo views: published properties and their stored conditions, text, styles, the
// printing bracket, the component text and the difference form.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "report/frxClassMemo.h"
#include "report/frxClassReport.h"
#include "report/frxXMLSerializer.h"
#include "frxTestClasses.h"

namespace {

std::string Ansi(const char* utf8) { return codepage::Utf8ToAnsi(utf8); }

class DotSeparator {
 public:
  DotSeparator() : saved_(frxDecimalSeparator()) { frxSetDecimalSeparator('.'); }
  ~DotSeparator() { frxSetDecimalSeparator(saved_); }

 private:
  char saved_;
};

// The attribute text the serializer writes for the object alone.
std::string Attributes(TfrxComponent& object) {
  TMemoryStream unused;
  TfrxXMLSerializer s(&unused);
  return s.PropertiesToAttributes(object);
}

std::string SaveTree(TfrxComponent& root) {
  TMemoryStream out;
  root.SaveToStream(out);
  return out.DataString();
}

void LoadTree(TfrxComponent& root, const std::string& xml) {
  TMemoryStream in;
  in.WriteString(xml);
  in.SetPosition(0);
  root.LoadFromStream(in);
}

std::vector<std::string> PublishedAfterView(const TfrxClassInfo& cls) {
  std::vector<std::string> names;
  const size_t viewCount = TfrxView::StaticClassInfo().Properties().size();
  const auto& props = cls.Properties();
  for (size_t i = viewCount; i < props.size(); ++i) names.push_back(props[i]->Name);
  return names;
}

TEST(MemoView, PublishedPropertiesInTemplateOrder) {
  const std::vector<std::string> memo = {
      "StretchMode", "FirstParaBreak", "LastParaBreak", "Cursor", "TagStr", "URL", "AutoWidth", "AllowExpressions",
      "AllowHTMLTags", "BrushStyle", "CharSpacing", "Clipped", "Color", "DataField", "DataSet", "DataSetName",
      "DisplayFormat", "ExpressionDelimiters", "FlowTo", "Font", "Frame", "GapX", "GapY", "HAlign", "HideZeros",
      "Highlight", "LineSpacing", "Memo", "ParagraphGap", "ParentFont", "Rotation", "RTLReading", "Style",
      "SuppressRepeated", "Underlines", "UseDefaultCharset", "WordBreak", "WordWrap", "Wysiwyg", "VAlign"};
  EXPECT_EQ(PublishedAfterView(TfrxMemoView::StaticClassInfo()), memo);
  const std::vector<std::string> sysMemo = {
      "StretchMode", "FirstParaBreak", "LastParaBreak", "Cursor", "TagStr", "URL", "AutoWidth", "BrushStyle",
      "CharSpacing", "Color", "DisplayFormat", "Font", "Frame", "GapX", "GapY", "HAlign", "HideZeros", "Highlight",
      "Memo", "ParentFont", "Rotation", "RTLReading", "Style", "SuppressRepeated", "VAlign", "WordWrap"};
  EXPECT_EQ(PublishedAfterView(TfrxSysMemoView::StaticClassInfo()), sysMemo);
}

TEST(MemoView, DefaultsOfANewMemo) {
  TfrxMemoView memo(nullptr);
  EXPECT_TRUE(memo.AllowExpressions());
  EXPECT_TRUE(memo.Clipped());
  EXPECT_TRUE(memo.WordWrap());
  EXPECT_TRUE(memo.Wysiwyg());
  EXPECT_EQ(memo.GapX(), 2);
  EXPECT_EQ(memo.GapY(), 1);
  EXPECT_EQ(memo.LineSpacing(), 2);
  EXPECT_EQ(memo.ExpressionDelimiters(), "[,]");
  EXPECT_EQ(memo.Color(), clTransparent);
  EXPECT_EQ(memo.Highlight().Font().Color, clRed);
  EXPECT_EQ(memo.Highlight().Font().Name, "Arial");
  EXPECT_EQ(memo.Highlight().Color(), clTransparent);
  EXPECT_EQ(memo.DisplayFormat().Kind(), fkText);
  EXPECT_TRUE(memo.LastValue().isNull());
  // Memos write their own differences; they take part in output.
  EXPECT_EQ(memo.StyleFlags() & csoStoredInFull, 0);
  EXPECT_NE(memo.StyleFlags() & csoCopiedToOutput, 0);
  EXPECT_EQ(memo.NameStem(), "Memo");
  EXPECT_EQ(TfrxSysMemoView(nullptr).NameStem(), "SysMemo");
}

TEST(MemoView, RotationIsKeptModulo360WithItsSign) {
  const struct {
    int set, stored;
  } cases[] = {{370, 10}, {-30, -30}, {720, 0}, {-390, -30}, {90, 90}, {359, 359}};
  for (const auto& c : cases) {
    TfrxMemoView memo(nullptr);
    memo.SetRotation(c.set);
    EXPECT_EQ(memo.Rotation(), c.stored) << c.set;
  }
}

TEST(MemoView, StoredConditionsDecideTheAttributes) {
  DotSeparator dot;
  const struct {
    const char* what;
    std::function<void(TfrxMemoView&)> change;
    const char* attribute;  // expected in the attribute text
    const char* absent;     // must not be in it
  } cases[] = {
      {"GapX at its default", [](TfrxMemoView& m) { m.SetGapX(2); }, "", "GapX"},
      {"GapX of 3", [](TfrxMemoView& m) { m.SetGapX(3); }, " GapX=\"3\"", ""},
      {"GapY at its default", [](TfrxMemoView& m) { m.SetGapY(1); }, "", "GapY"},
      {"GapY of 0", [](TfrxMemoView& m) { m.SetGapY(0); }, " GapY=\"0\"", ""},
      {"LineSpacing of 2", [](TfrxMemoView& m) { m.SetLineSpacing(2); }, "", "LineSpacing"},
      {"LineSpacing of -2", [](TfrxMemoView& m) { m.SetLineSpacing(-2); }, " LineSpacing=\"-2\"", ""},
      {"CharSpacing of 0", [](TfrxMemoView&) {}, "", "CharSpacing"},
      {"CharSpacing of 0.5", [](TfrxMemoView& m) { m.SetCharSpacing(0.5); }, " CharSpacing=\"0.5\"", ""},
      {"ParagraphGap of 0", [](TfrxMemoView&) {}, "", "ParagraphGap"},
      {"ParagraphGap of 10", [](TfrxMemoView& m) { m.SetParagraphGap(10); }, " ParagraphGap=\"10\"", ""},
      {"delimiters [,]", [](TfrxMemoView&) {}, "", "ExpressionDelimiters"},
      {"delimiters <%,%>", [](TfrxMemoView& m) { m.SetExpressionDelimiters("<%,%>"); },
       " ExpressionDelimiters=\"&#60;%,%&#62;\"", ""},
      {"blank highlight condition", [](TfrxMemoView& m) { m.Highlight().SetCondition("  \t "); }, "", "Highlight"},
      {"highlight condition", [](TfrxMemoView& m) { m.Highlight().SetCondition("<Dane.\"D3\"> < 0"); },
       " Highlight.Font.Charset=\"1\" Highlight.Font.Color=\"255\"", ""},
      {"parent font", [](TfrxMemoView&) {}, "", "Font."},
      {"own font", [](TfrxMemoView& m) { m.SetFont(TFont{}); }, " Font.Charset=\"1\"", ""},
      {"rotation", [](TfrxMemoView& m) { m.SetRotation(450); }, " Rotation=\"90\"", ""},
      {"alignment", [](TfrxMemoView& m) { m.SetHAlign(haBlock); }, " HAlign=\"haBlock\"", ""},
      {"no word wrap", [](TfrxMemoView& m) { m.SetWordWrap(false); }, " WordWrap=\"False\"", ""},
      {"display format", [](TfrxMemoView& m) {
         m.DisplayFormat().SetKind(fkNumeric);
         m.DisplayFormat().SetFormatStr("%2.2n");
       }, " DisplayFormat.FormatStr=\"%2.2n\" DisplayFormat.Kind=\"fkNumeric\"", ""},
  };
  for (const auto& c : cases) {
    TfrxMemoView memo(nullptr);
    c.change(memo);
    std::string attrs = Attributes(memo);
    if (*c.attribute) {
      EXPECT_NE(attrs.find(c.attribute), std::string::npos) << c.what << ": " << attrs;
    }
    if (*c.absent) {
      EXPECT_EQ(attrs.find(c.absent), std::string::npos) << c.what << ": " << attrs;
    }
  }
}

TEST(MemoView, TextIsKeptAsLinesEachEndedByCrLf) {
  const struct {
    std::u16string set, text;
  } cases[] = {
      {u"", u""},
      {u"Razem", u"Razem\r\n"},
      {u"Razem\r\n", u"Razem\r\n"},
      {u"a\rb\nc\u2028d", u"a\r\nb\r\nc\r\nd\r\n"},
      {u"a\r\n\r\nb", u"a\r\n\r\nb\r\n"},
      {u"\r\n", u"\r\n"},
  };
  for (const auto& c : cases) {
    TfrxMemoView memo(nullptr);
    memo.SetText(c.set);
    EXPECT_EQ(memo.Text(), c.text);
  }
}

TEST(MemoView, AnsiTextUsesTheCodePageOfTheFontCharset) {
  TfrxMemoView memo(nullptr);
  memo.SetText(u"Łódź");
  EXPECT_EQ(memo.AnsiText(), Ansi("Łódź\r\n"));
  TFont cyrillic;
  cyrillic.Charset = 204;
  memo.SetFont(cyrillic);
  memo.SetAnsiText("\xCF\xF0\xE8");  // "При" in Windows-1251
  EXPECT_EQ(memo.Text(), u"При\r\n");
}

TEST(MemoView, TextAttributesOfTheTemplate) {
  TfrxTestReport report;
  auto* memo = new TfrxMemoView(&report);
  memo->SetName("Memo1");
  memo->SetText(u"Hurtownia Morwa\r\nul. Polna 5");
  std::string xml = SaveTree(report);
  EXPECT_NE(xml.find(" Text=\"Hurtownia Morwa&#13;&#10;ul. Polna 5\""), std::string::npos) << xml;
  EXPECT_EQ(xml.find("Memo.Text"), std::string::npos);

  TfrxTestReport other;
  LoadTree(other, "<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxTestReport><TfrxMemoView Name=\"Memo1\" "
                  "Memo.Text=\"Piekarnia K\xB3os\"/></TfrxTestReport>");  // 8-bit, as such lists are read
  auto* loaded = dynamic_cast<TfrxMemoView*>(other.FindObject("Memo1"));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Text(), u"Piekarnia Kłos\r\n");
}

TEST(MemoView, AMemoWithEverySettingRoundTripsToIdenticalBytes) {
  TfrxTestReport report;
  auto* page = new TfrxTestPage(&report);
  page->SetName("Page1");
  auto* memo = new TfrxMemoView(page);
  auto* next = new TfrxMemoView(page);
  auto* sys = new TfrxSysMemoView(page);
  next->SetName("Memo2");
  sys->SetName("SysMemo1");
  sys->SetText(u"[SUM(<Dane.\"D1\">,MasterData1)]");
  sys->SetHAlign(haRight);
  memo->SetName("Memo1");
  memo->SetBounds(18.89765, 3.77953, 317.48052, 37.7953);
  memo->SetText(u"Nabywca: [Dane.\"Nabywca\"]\r\nNIP: [Dane.\"NIP\"]");
  memo->SetStretchMode(smActualHeight);
  memo->SetAutoWidth(true);
  memo->SetAllowHTMLTags(true);
  memo->SetCharSpacing(1.5);
  memo->SetClipped(false);
  memo->SetColor(0xE0FFFF);
  memo->SetBrushStyle(bsBDiagonal);
  memo->DisplayFormat().SetKind(fkDateTime);
  memo->DisplayFormat().SetFormatStr("dd.mm.yyyy");
  memo->SetExpressionDelimiters("<,>");
  memo->SetFlowTo(next);
  memo->Frame().SetTyp(15);
  memo->Frame().SetStyle(fsDouble);
  memo->Frame().BottomLine().SetWidth(3);
  memo->SetGapX(4);
  memo->SetGapY(0);
  memo->SetHAlign(haCenter);
  memo->SetHideZeros(true);
  memo->Highlight().SetCondition("<Dane.\"Kwota\"> < 0");
  memo->Highlight().SetColor(0x0000C0);
  memo->SetLineSpacing(4);
  memo->SetParagraphGap(12);
  memo->SetRotation(270);
  memo->SetRTLReading(true);
  memo->SetSuppressRepeated(true);
  memo->SetUnderlines(true);
  memo->SetUseDefaultCharset(true);
  memo->SetWordBreak(true);
  memo->SetWysiwyg(false);
  memo->SetVAlign(vaCenter);
  memo->SetTagStr("[Dane.\"Id\"]");

  const std::string saved = SaveTree(report);
  TfrxTestReport copy;
  LoadTree(copy, saved);
  auto* loaded = dynamic_cast<TfrxMemoView*>(copy.FindObject("Memo1"));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->FlowTo(), copy.FindObject("Memo2"));
  EXPECT_EQ(loaded->Rotation(), 270);
  EXPECT_EQ(loaded->Frame().BottomLine().Width(), 3);
  EXPECT_EQ(SaveTree(copy), saved);
}

TEST(MemoView, FlowToIsClearedWhenItsTargetGoes) {
  TfrxTestReport report;
  auto* first = new TfrxMemoView(&report);
  auto* second = new TfrxMemoView(&report);
  first->SetFlowTo(second);
  delete second;
  EXPECT_EQ(first->FlowTo(), nullptr);
  first->SetFlowTo(first);
  EXPECT_EQ(first->FlowTo(), nullptr);
}

struct StyledReport {
  TfrxReport report;
  TfrxMemoView* memo = new TfrxMemoView(&report);
  StyledReport() {
    TfrxStyleItem& item = report.Styles().Add();
    item.SetName("Style1");
    item.SetColor(0x00FFFF);
    TFont font;
    font.Name = "Tahoma";
    font.Size = 14;
    font.Style = fsBold;
    item.SetFont(font);
    item.Frame().SetTyp(15);
    item.Frame().SetWidth(2);
    memo->SetColor(clWhite);
  }
};

TEST(MemoView, AStyleFoundInTheReportGivesColourFontAndFrame) {
  StyledReport r;
  r.memo->SetStyle("STYLE1");
  EXPECT_EQ(r.memo->Style(), "STYLE1");
  EXPECT_EQ(r.memo->Color(), 0x00FFFFu);
  EXPECT_EQ(r.memo->Font().Name, "Tahoma");
  EXPECT_EQ(r.memo->Font().Size, 14);
  EXPECT_FALSE(r.memo->ParentFont());
  EXPECT_EQ(r.memo->Frame().Typ(), 15);
  EXPECT_EQ(r.memo->Frame().LeftLine().Width(), 2);
  // A copy: changing the memo's frame leaves the style's alone.
  r.memo->Frame().SetTyp(0);
  EXPECT_EQ(r.report.Styles().Find("Style1")->Frame().Typ(), 15);
}

TEST(MemoView, AStyleNotFoundChangesNothingButTheName) {
  StyledReport r;
  r.memo->SetStyle("nope");
  EXPECT_EQ(r.memo->Style(), "nope");
  EXPECT_EQ(r.memo->Color(), clWhite);
  EXPECT_EQ(r.memo->Font().Name, "Arial");
  EXPECT_TRUE(r.memo->ParentFont());
  EXPECT_EQ(r.memo->Frame().Typ(), 0);
}

TEST(MemoView, PrintingRestoresTheTemplateTextUnlessDataBound) {
  TfrxTestReport report;
  auto* dataSet = new TfrxTestDataSet(&report);
  dataSet->userName = "Dane";
  report.dataSets.push_back(dataSet);
  const struct {
    bool dataBound;
    std::u16string after;
  } cases[] = {{false, u"[Dane.\"D1\"]\r\n"}, {true, u"Hurtownia Morwa\r\n"}};
  for (const auto& c : cases) {
    auto* memo = new TfrxMemoView(&report);
    memo->SetBounds(10, 20, 100, 18);
    memo->SetText(u"[Dane.\"D1\"]");
    if (c.dataBound) {
      memo->SetDataSet(dataSet);
      memo->SetDataField("D1");
    }
    memo->BeforePrint();
    memo->SetText(u"Hurtownia Morwa");
    memo->SetHeight(40);
    memo->AfterPrint();
    EXPECT_EQ(memo->Text(), c.after) << c.dataBound;
    EXPECT_EQ(memo->Height(), 18);
    EXPECT_EQ(report.scriptSelf, memo);
    delete memo;
  }
}

TEST(MemoView, ComponentTextPutsInTheTotalPagesOnce) {
  const struct {
    bool allowExpressions;
    const char16_t* text;
    const char* result;
  } cases[] = {
      {true, u"Strona [Page#] z [TotalPages]", "Strona [Page#] z 12\r\n"},
      {true, u"[TOTALPAGES]/[TOTALPAGES]", "12/[TOTALPAGES]\r\n"},
      {false, u"z [TOTALPAGES]", "z [TOTALPAGES]\r\n"},
      {true, u"Łączna kwota", "\xA3\xB9\x63zna kwota\r\n"},
  };
  for (const auto& c : cases) {
    TfrxMemoView memo(nullptr);
    memo.SetAllowExpressions(c.allowExpressions);
    memo.SetTotalPagesValue(12);
    memo.SetText(c.text);
    EXPECT_EQ(memo.ComponentText(), c.result);
  }
}

TEST(MemoDifferences, MemoAttributesInTheirOrderAfterTheViewOnes) {
  DotSeparator dot;
  TfrxMemoView reference(nullptr), memo(nullptr);
  memo.SetColor(0xFF);
  memo.SetAutoWidth(true);
  memo.SetWidth(300);  // not written: the width of an auto-width memo comes from its text
  memo.SetCharSpacing(1);
  memo.SetGapX(3);
  memo.SetGapY(0.5);
  memo.SetHAlign(haRight);
  memo.Highlight().SetActive(true);
  memo.SetLineSpacing(0);
  memo.SetUseDefaultCharset(true);
  memo.SetText(u"Suma: <\"100\">\r\nZapłacono");
  memo.SetParagraphGap(5);
  memo.SetRotation(90);
  memo.SetRTLReading(true);
  memo.SetUnderlines(true);
  memo.SetVAlign(vaBottom);
  memo.SetWordWrap(false);
  memo.DisplayFormat().SetKind(fkNumeric);
  memo.DisplayFormat().SetDecimalSeparator(",");
  memo.DisplayFormat().SetThousandSeparator(" ");
  memo.DisplayFormat().SetFormatStr("%2.2m");
  EXPECT_EQ(memo.WriteDifferences(&reference),
            " Color=\"255\" AutoWidth=\"1\" CharSpacing=\"1\" GapX=\"3\" GapY=\"0.5\" HAlign=\"1\""
            " Highlight.Active=\"1\" LineSpacing=\"0\" UseDefaultCharset=\"1\""
            " u=\"Suma: &#60;&#34;100&#34;&#62;&#13;&#10;Zap\xC5\x82\x61\x63ono\" ParagraphGap=\"5\" Rotation=\"90\""
            " RTLReading=\"1\" Underlines=\"1\" VAlign=\"1\" WordWrap=\"0\" DisplayFormat.Kind=\"1\""
            " DisplayFormat.DecimalSeparator=\",\" DisplayFormat.ThousandSeparator=\" \""
            " DisplayFormat.FormatStr=\"%2.2m\"");
}

TEST(MemoDifferences, TextIsAlwaysWrittenAndEmptyGivesAnEmptyValue) {
  TfrxMemoView reference(nullptr), memo(nullptr);
  EXPECT_EQ(memo.WriteDifferences(&reference), " u=\"\"");
  reference.SetText(u"Razem");
  memo.SetText(u"Razem");
  EXPECT_EQ(memo.WriteDifferences(&reference), " u=\"Razem\"");
}

TEST(MemoDifferences, ParagraphFlagsAreHandedToTheContinuation) {
  TfrxMemoView reference(nullptr), memo(nullptr);
  memo.SetLastParaBreak(true);
  EXPECT_EQ(memo.WriteDifferences(&reference), " u=\"\" LastParaBreak=\"1\"");
  EXPECT_TRUE(memo.FirstParaBreak());
  EXPECT_FALSE(memo.LastParaBreak());
  EXPECT_EQ(memo.WriteDifferences(&reference), " u=\"\" FirstParaBreak=\"1\"");
  EXPECT_FALSE(memo.FirstParaBreak());
  memo.SetFirstParaBreak(true);
  memo.SetLastParaBreak(true);
  EXPECT_EQ(memo.WriteDifferences(&reference), " u=\"\" FirstParaBreak=\"1\" LastParaBreak=\"1\"");
  EXPECT_TRUE(memo.FirstParaBreak());
}

TEST(MemoGeometry, TextAreaAndExtrasFollowGapsFrameLinesAndShadow) {
  const struct {
    const char* what;
    double scale;
    TfrxFrameTypes typ;
    double frameWidth;
    bool shadow;
    TRect area;
    double vertical, horizontal;
  } cases[] = {
      // Memo at (10, 20), 100 x 30: device rectangle (10, 20)-(110, 50) at scale 1.
      {"no frame", 1, 0, 1, false, {12, 21, 109, 50}, 2, 4},
      {"all sides of width 3", 1, 15, 3, false, {13, 22, 107, 48}, 2 + 1 + 1.5, 4 + 1 + 1.5},
      {"left and bottom only", 1, 1 | 8, 3, false, {13, 21, 109, 48}, 2 + 1.5, 4 + 1},
      {"shadow", 1, 0, 1, true, {12, 21, 105, 46}, 6, 8},
      {"scale 2, all sides of width 1", 2, 15, 1, false, {24, 42, 216, 98}, 2 + 0 + 0.5, 4 + 0 + 0.5},
  };
  for (const auto& c : cases) {
    TfrxMemoView memo(nullptr);
    memo.SetBounds(10, 20, 100, 30);
    memo.Frame().SetTyp(c.typ);
    memo.Frame().SetWidth(c.frameWidth);
    memo.Frame().SetDropShadow(c.shadow);
    auto bitmap = NewBitmap(8, 8, TPixelFormat::pf24bit);
    memo.PrepareDrawGeometry(bitmap->Canvas(), c.scale, c.scale, 0, 0);
    EXPECT_EQ(memo.CalcTextArea(), c.area) << c.what;
    EXPECT_EQ(memo.TextArea(), c.area) << c.what;
    EXPECT_DOUBLE_EQ(memo.VerticalExtra(), c.vertical) << c.what;
    EXPECT_DOUBLE_EQ(memo.HorizontalExtra(), c.horizontal) << c.what;
  }
}

}  // namespace
