// Memo views filled for output: bracket expansion through the report's Calc, the " #"
// formats, display formats, data-bound memos, HideZeros, the highlight, repeated values
// and the errors of failing expressions.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frxReportTestDoubles.h"
#include "platform/CodePage.h"
#include "platform/FormatSettings.h"
#include "platform/Stream.h"
#include "report/frxClassMemo.h"

namespace {

std::u16string Wide(const char* utf8) { return codepage::Utf8ToWide(utf8); }

// A report with the test script (integers, a+b, a*b, 'text', x/0), a page and one memo
// "Memo1", formatting with the fixed Polish record.
class MemoExpansion : public ::testing::Test {
 protected:
  MemoExpansion() : settings_(PolishFormatSettings()) {
    auto* page = new TfrxTestInvoicePage(&r.report);
    page->SetName("Strona1");
    memo = new TfrxMemoView(page);
    memo->SetName("Memo1");
    memo->SetBounds(0, 0, 300, 20);
    Variables().Set("Kwota", 1234.5);
    Variables().Set("Zero", int32_t{0});
    Variables().Set("ZeroTekst", "'0'");
    Variables().Set("Prawda", true);
    Variables().Set("Falsz", false);
    Variables().Set("Pusto", Variant::Null());
    Variables().Set("Dzien", Variant::Date(45658));  // 1 January 2025
    Variables().Set("Firma", Ansi("'Piekarnia Kłos sp. z o.o.'"));
  }

  TfrxVariables& Variables() { return r.report.Variables(); }

  // The memo's text after one output with `text` as its template text.
  std::u16string Fill(const std::u16string& text) {
    memo->SetText(text);
    memo->BeforePrint();
    memo->FetchData();
    std::u16string result = memo->Text();
    memo->AfterPrint();
    return result;
  }

  TScopedFormatSettings settings_;
  PluggedReport r;
  TfrxMemoView* memo = nullptr;
};

struct ExpandCase {
  const char* text;        // UTF-8
  const char* delimiters;
  const char* expected;    // UTF-8, without the final line break
};

TEST_F(MemoExpansion, BracketsAreReplacedByTheirValues) {
  const ExpandCase cases[] = {
      {"Sum: [1+2]", "[,]", "Sum: 3"},
      {"[1+2] and [3*3]", "[,]", "3 and 9"},
      {"<<1+1>>", "<<,>>", "2"},
      {"[1+1]", "<<,>>", "[1+1]"},
      {"[1+1]", "[", "[1+1]"},  // without a comma there is no opening delimiter
      {"Kwota: [Kwota]", "[,]", "Kwota: 1234,5"},
      {"[Firma]", "[,]", "Piekarnia Kłos sp. z o.o."},
      {"[Pusto]|", "[,]", "|"},
      {"[Prawda]", "[,]", "True"},
      {"[Dzien]", "[,]", "01.01.2025"},
      {"['[1+2]']", "[,]", "[1+2]"},  // inserted text is not expanded again
      {"[TotalPages#] / [totalpages#]", "[,]", "[TotalPages#] / [TotalPages#]"},
      {"[CopyName#]", "[,]", "[CopyName#]"},
  };
  for (const ExpandCase& c : cases) {
    memo->SetExpressionDelimiters(c.delimiters);
    EXPECT_EQ(Fill(Wide(c.text)), Wide(c.expected) + u"\r\n") << c.text;
  }
  EXPECT_TRUE(r.report.Errors().Empty());
}

TEST_F(MemoExpansion, NestedBracketsAndQuotedTextStayInsideOneExpression) {
  std::vector<std::string> asked;
  r.report.OnGetValue = [&](const std::string& name, Variant& value) {
    asked.push_back(name);
    value = Variant(std::string("x"));
  };
  Fill(uR"(a[IIF(<x> > 0, '[a]', "]")]b [Dane."D1"] [Copy("[", 1)])");
  EXPECT_EQ(asked, (std::vector<std::string>{R"(IIF(<x> > 0, '[a]', "]"))", R"(Dane."D1")", R"(Copy("[", 1))"}));
}

TEST_F(MemoExpansion, FormatSuffixAfterABlankAndAHash) {
  const ExpandCase cases[] = {
      {"[Kwota #n%2.2f]", "", "1234.50"},
      {"[Kwota #n%2,2f]", "", "1234,50"},
      {"[Kwota #N%2-2f]", "", "1234-50"},
      {"[Kwota #n%2.2n]", "", "1\u00a0234.50"},
      {"[Kwota #n#0.00]", "", "1234.50"},
      {"[Kwota #n%d]", "", "1234"},  // 1234.5 rounds half to even
      {"[Dzien #ddd.mm.yyyy]", "", "01.01.2025"},
      {"[Dzien #tyyyy-mm-dd]", "", "2025-01-01"},
      {"[Prawda #bNie,Tak]", "", "Tak"},
      {"[Falsz #bNie,Tak]", "", "Nie"},
      {"[1+2 #x]", "", "3"},
      {"[Firma #n%2.2f]", "", "Piekarnia Kłos sp. z o.o."},  // text that is no number prints as it is
      {"[Kwota #n%q]", "", "1234,5"},                         // a bad format prints the plain value
  };
  for (const ExpandCase& c : cases) EXPECT_EQ(Fill(Wide(c.text)), Wide(c.expected) + u"\r\n") << c.text;
  EXPECT_TRUE(r.report.Errors().Empty()) << r.report.Errors().Text();
}

TEST_F(MemoExpansion, ParenthesisAfterTheHashKeepsTheWholeExpression) {
  std::vector<std::string> asked;
  r.report.OnGetValue = [&](const std::string& name, Variant& value) {
    asked.push_back(name);
    value = Variant(std::string("abc"));
  };
  Fill(u"[IIF(1 > 0, ' #', 'no')]|[Copy('abc', 1, 2) #x]");
  EXPECT_EQ(asked, (std::vector<std::string>{"IIF(1 > 0, ' #', 'no')", "Copy('abc', 1, 2)"}));
}

struct DisplayCase {
  TfrxFormatKind kind;
  const char* formatStr;
  const char* decimal;
  const char* thousands;
  const char* text;      // the memo text
  const char* expected;  // UTF-8
};

TEST_F(MemoExpansion, DisplayFormatsOfEveryKind) {
  const DisplayCase cases[] = {
      {fkText, "", "", "", "[Kwota]", "1234,5"},
      {fkNumeric, "%2.2f", "", "", "[Kwota]", "1234,50"},
      {fkNumeric, "%2.2n", "", "", "[Kwota]", "1\u00a0234,50"},
      {fkNumeric, "%2.2n", ".", "", "[Kwota]", "1\u00a0234.50"},
      {fkNumeric, "%2.2n", ".", "'", "[Kwota]", "1'234.50"},
      {fkNumeric, "%2.2n", ",", "\xA0", "[Kwota]", "1\u00a0234,50"},  // the locale's own separators
      {fkNumeric, "%2.2n", "..", "''", "[Kwota]", "1\u00a0234,50"},    // longer than one character: ignored
      {fkNumeric, "%2.2n", "", " ", "[Kwota]", "1 234,50"},
      {fkNumeric, "#,##0.00", ".", "'", "[Kwota]", "1'234.50"},
      {fkNumeric, "%d", "", "", "[Kwota]", "1234"},
      {fkNumeric, "%5.1f", "", "", "['12,25']", " 12,3"},  // a number text reads with the locale
      {fkNumeric, "%2.2f", "", "", "[Firma]", "Piekarnia Kłos sp. z o.o."},
      {fkDateTime, "dd.mm.yyyy", "", "", "[Dzien]", "01.01.2025"},
      {fkDateTime, "dddd, d mmmm yyyy", "", "", "[Dzien]", "środa, 1 styczeń 2025"},
      {fkDateTime, "dd.mm.yyyy", "", "", "['15.03.2025']", "15.03.2025"},
      {fkDateTime, "dd.mm.yyyy", "", "", "['nie data']", "nie data"},
      {fkBoolean, "Nie,Tak", "", "", "[Prawda]", "Tak"},
      {fkBoolean, "Nie,Tak", "", "", "[Falsz]", "Nie"},
      {fkBoolean, "Nie,Tak", "", "", "[1]", "Tak"},
      {fkBoolean, "Nie", "", "", "[Prawda]", ""},
      {fkBoolean, "Nie", "", "", "[Falsz]", "Nie"},
      {fkBoolean, "Nie,Tak", "", "", "[Pusto]", ""},
  };
  for (const DisplayCase& c : cases) {
    TfrxFormat& f = memo->DisplayFormat();
    f.SetKind(c.kind);
    f.SetFormatStr(Ansi(c.formatStr));
    f.SetDecimalSeparator(c.decimal);
    f.SetThousandSeparator(c.thousands);
    EXPECT_EQ(Fill(Wide(c.text)), Wide(c.expected) + u"\r\n") << c.formatStr << " " << c.text;
  }
  EXPECT_TRUE(r.report.Errors().Empty()) << r.report.Errors().Text();
}

TEST_F(MemoExpansion, HideZerosHidesNumbersButNotTexts) {
  memo->SetHideZeros(true);
  EXPECT_EQ(Fill(u"Rabat: [Zero]"), u"Rabat: \r\n");
  EXPECT_EQ(Fill(u"Rabat: [Falsz]"), u"Rabat: \r\n");
  EXPECT_EQ(Fill(u"Rabat: [ZeroTekst]"), u"Rabat: 0\r\n");
  memo->DisplayFormat().SetKind(fkNumeric);
  memo->DisplayFormat().SetFormatStr("%2.2f");
  EXPECT_EQ(Fill(u"Rabat: [Zero]"), u"Rabat: \r\n");
  EXPECT_EQ(Fill(u"Rabat: [ZeroTekst]"), u"Rabat: 0,00\r\n");
  EXPECT_EQ(Fill(u"Rabat: [Kwota]"), u"Rabat: 1234,50\r\n");
  memo->SetHideZeros(false);
  EXPECT_EQ(Fill(u"Rabat: [Zero]"), u"Rabat: 0,00\r\n");
}

TEST_F(MemoExpansion, ValueIsTheLastExpressionAndReachesTheScript) {
  Fill(u"[Kwota] [1+2]");
  EXPECT_TRUE(memo->Value().identical(Variant(int32_t{3})));
  EXPECT_TRUE(r.script->valueVariable.identical(Variant(int32_t{3})));
}

TEST_F(MemoExpansion, TemplateTextIsExpandedAgainForEveryRecord) {
  Variables().Set("Nr", int32_t{1});
  EXPECT_EQ(Fill(u"Poz. [Nr]"), u"Poz. 1\r\n");
  Variables().Set("Nr", int32_t{2});
  memo->BeforePrint();
  memo->FetchData();
  EXPECT_EQ(memo->Text(), u"Poz. 2\r\n");
  memo->AfterPrint();
  EXPECT_EQ(memo->Text(), u"Poz. [Nr]\r\n");
}

TEST_F(MemoExpansion, ExpressionsStayWhenTheyAreNotAllowed) {
  memo->SetAllowExpressions(false);
  EXPECT_EQ(Fill(u"[1+2]"), u"[1+2]\r\n");
}

TEST_F(MemoExpansion, SuppressRepeatedPrintsARepeatedTextOnce) {
  memo->SetSuppressRepeated(true);
  std::vector<std::u16string> printed;
  for (const char* value : {"'A'", "'A'", "'B'", "'B'"}) {
    Variables().Set("Grupa", value);
    printed.push_back(Fill(u"[Grupa]"));
  }
  EXPECT_EQ(printed, (std::vector<std::u16string>{u"A\r\n", u"", u"B\r\n", u""}));
  memo->ResetSuppress();
  EXPECT_EQ(Fill(u"[Grupa]"), u"B\r\n");
}

TEST_F(MemoExpansion, HighlightConditionIsEvaluatedForEveryRecord) {
  memo->Highlight().SetCondition("Flaga");
  Variables().Set("Flaga", true);
  Fill(u"x");
  EXPECT_TRUE(memo->Highlight().Active());
  Variables().Set("Flaga", int32_t{0});
  Fill(u"x");
  EXPECT_FALSE(memo->Highlight().Active());
  // A condition that is no Boolean is a conversion error that names the memo.
  Variables().Set("Flaga", "'tak'");
  EXPECT_THROW(Fill(u"x"), EfrxReportError);
  ASSERT_EQ(r.report.Errors().Count(), 1);
  EXPECT_EQ(r.report.Errors()[0], "Memo1: Could not convert variant of type (String) into type (Boolean)");
  EXPECT_FALSE(memo->Highlight().Active());
}

TEST_F(MemoExpansion, FailingExpressionsGoIntoTheErrorsWithTheMemosName) {
  struct Case {
    const char* text;
    bool ignoreDivisionByZero;
    const char* error;  // empty: no error
  } cases[] = {
      {"[Nieznane]", false, "Memo1: Unknown variable or function: 'Nieznane'"},
      {"[1/0]", false, "Memo1: Division by zero"},
      {"[1/0]", true, ""},
      {"x [1+2", false, "Memo1: Unknown variable or function: '1+2\r'"},  // unclosed: the rest of the text
  };
  for (const Case& c : cases) {
    r.report.Errors().Clear();
    r.report.EngineOptions().IgnoreDevByZero = c.ignoreDivisionByZero;
    memo->SetText(Wide(c.text));
    memo->BeforePrint();
    if (*c.error) {
      EXPECT_THROW(memo->FetchData(), EfrxReportError) << c.text;
      EXPECT_EQ(r.report.Errors().Items(), (std::vector<std::string>{c.error})) << c.text;
    } else {
      EXPECT_NO_THROW(memo->FetchData()) << c.text;
      EXPECT_TRUE(r.report.Errors().Empty()) << c.text;
    }
    memo->AfterPrint();
    EXPECT_EQ(memo->Text(), Wide(c.text) + u"\r\n");
  }
}

// --- data-bound memos ----------------------------------------------------------------------

// "Dane" with the values of one record; "Opis" is a large-data field, and display
// texts are the dataset's own (here with a currency).
class RecordDataSet : public TfrxUserDataSet {
 public:
  RecordDataSet() : TfrxUserDataSet(nullptr) {
    SetUserName("Dane");
    Fields() = {"Nazwa", "Kwota", "Zero", "Pusto", "Opis"};
    OnGetValue = [this](const std::string& field, Variant& value) {
      if (field == "Nazwa") value = Variant(nazwa);
      if (field == "Kwota") value = Variant(1234.5);
      if (field == "Zero") value = Variant(int32_t{0});
    };
  }
  std::u16string DisplayText(const std::string& field) override {
    return field == "Kwota" ? Wide("1 234,50 zł") : TfrxUserDataSet::DisplayText(field);
  }
  bool IsBlobField(const std::string& field) override { return field == "Opis"; }
  void CopyBlobTo(const std::string& field, TStream& stream) override {
    if (field == "Opis") stream.WriteString(opis);
  }
  std::string nazwa = Ansi("Piekarnia Kłos sp. z o.o., ul. Źródlana 5, Łódź");
  std::string opis = Ansi("Chleb żytni\r\nBułki pszenne");
};

class DataBoundMemo : public MemoExpansion {
 protected:
  DataBoundMemo() {
    r.report.DataSets().Add(&dane);
    memo->SetDataSet(&dane);
  }
  std::u16string FillField(const char* field) {
    memo->SetDataField(field);
    return Fill(u"[1+2] bez znaczenia");
  }
  void UseCharset(int charset) {
    TFont font = memo->Font();
    font.Charset = charset;
    memo->SetFont(font);
  }
  RecordDataSet dane;
};

TEST_F(DataBoundMemo, PolishTextReachesTheMemoUnchanged) {
  const std::u16string nazwa = Wide("Piekarnia Kłos sp. z o.o., ul. Źródlana 5, Łódź\r\n");
  const std::u16string opis = Wide("Chleb żytni\r\nBułki pszenne\r\n");
  // Default and Central European character sets, and the system code page.
  for (int charset : {1, 238, 0}) {
    UseCharset(charset);
    memo->SetUseDefaultCharset(charset == 0);
    EXPECT_EQ(FillField("Nazwa"), nazwa) << charset;
    EXPECT_EQ(FillField("Opis"), opis) << charset;
    memo->SetDataField("");
    EXPECT_EQ(Fill(u"[Dane.\"Nazwa\"]"), nazwa) << charset;
    EXPECT_EQ(Fill(Wide("Odbiorca: [Dane.\"Nazwa\"] – [Firma]")),
              Wide("Odbiorca: Piekarnia Kłos sp. z o.o., ul. Źródlana 5, Łódź – Piekarnia Kłos sp. z o.o.\r\n"))
        << charset;
  }
  EXPECT_TRUE(r.report.Errors().Empty()) << r.report.Errors().Text();
}

TEST_F(DataBoundMemo, DisplayTextDisplayFormatHideZerosAndNull) {
  EXPECT_EQ(FillField("Kwota"), Wide("1 234,50 zł\r\n"));
  EXPECT_TRUE(memo->Value().identical(Variant(1234.5)));
  EXPECT_EQ(FillField("Pusto"), u"");
  memo->DisplayFormat().SetKind(fkNumeric);
  memo->DisplayFormat().SetFormatStr("%2.2n");
  EXPECT_EQ(FillField("Kwota"), u"1\u00a0234,50\r\n");
  EXPECT_EQ(FillField("Pusto"), u"");
  EXPECT_EQ(FillField("Zero"), u"0,00\r\n");
  memo->SetHideZeros(true);
  EXPECT_EQ(FillField("Zero"), u"");
  EXPECT_TRUE(r.report.Errors().Empty());
}

TEST_F(MemoExpansion, FlowToTakesWhatTheFilledMemoCannotHold) {
  auto* next = new TfrxMemoView(memo->Parent());
  next->SetName("Memo2");
  next->SetBounds(0, 30, 300, 100);
  memo->SetFlowTo(next);
  memo->SetText(u"Razem: [1+2]\r\n[Firma]");
  memo->BeforePrint();
  memo->FetchData();
  EXPECT_EQ(memo->Text(), u"Razem: 3\r\n");
  EXPECT_EQ(next->Text(), Wide("Piekarnia Kłos sp. z o.o.\r\n"));
  EXPECT_FALSE(next->AllowExpressions());
  memo->AfterPrint();
}

}  // namespace
