#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptHost.h"
#include "platform/CodePage.h"
#include "platform/FormatSettings.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassReport.h"
#include "script/fs_iexpression.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_ireportscript.h"

namespace {

// The type names a report script declares variables with, as a registration module.
class TestTypesModule : public TfsRTTIModule {
 public:
  explicit TestTypesModule(TfsScript& script) : TfsRTTIModule(script) { DeclareTestTypes(script); }
};

// Reports created inside a test get the script engine; the collaborators are restored after.
class ReportWithScript : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fsRegisterRTTIModule([](TfsScript& script) { return std::make_unique<TestTypesModule>(script); });
  }
  void SetUp() override {
    previous_ = frxReportCollaborators();
    fsUseScriptEngineForReports();
  }
  void TearDown() override { frxSetReportCollaborators(previous_); }
  TfrxReportCollaborators previous_;
};

TEST_F(ReportWithScript, PrepareCompilesAndRunsTheScript) {
  TfrxReport report;
  ASSERT_NE(dynamic_cast<TfsReportScript*>(report.Script()), nullptr);
  report.EngineOptions().NewSilentMode = simSilent;
  report.Variables().Set("Rabat", Variant(int32_t{5}));
  struct Case {
    const char* language;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"PascalScript",
       {"var i, s, Wynik: Integer;", "begin", "  for i := 1 to 6 do s := s + i;", "  Wynik := s * 2 - Get('Rabat')",
        "end."}},
      {"C++Script", {"int i, s = 0, Wynik;", "{ for (i = 1; i <= 6; i++) s += i; Wynik = s * 2 - Get(\"Rabat\"); }"}},
      {"BasicScript", {"s = 0", "For i = 1 To 6", "  s = s + i", "Next", "Wynik = s * 2 - Get(\"Rabat\")"}},
      {"JScript", {"var s = 0;", "for (var i = 1; i <= 6; i++) s += i;", "Wynik = s * 2 - Get(\"Rabat\");"}},
  };
  for (const Case& c : cases) {
    report.SetScriptLanguage(c.language);
    report.ScriptText() = c.lines;
    report.Prepare();
    EXPECT_EQ(report.Errors().Count(), 0) << c.language << ": " << report.Errors().Text();
    Variant result;
    EXPECT_TRUE(report.Script()->FindVariable("Wynik", result)) << c.language;
    EXPECT_EQ(fsVarToText(result), "37") << c.language;
    EXPECT_EQ(fsVarToText(report.Calc("Wynik + 1")), "38") << c.language;
  }
}

TEST_F(ReportWithScript, SetWritesReportVariables) {
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  report.EngineOptions().KeepTemplateCopy = false;  // the variables stay as the script left them
  report.ScriptText() = {"begin Set('Kwota', 6 * 7) end."};
  report.Prepare();
  ASSERT_EQ(report.Errors().Count(), 0) << report.Errors().Text();
  EXPECT_EQ(fsVarToText(report.Calc("Kwota")), "42");
}

TEST_F(ReportWithScript, CalcEvaluatesInTheReportsLanguage) {
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  report.ScriptText() = {"var Netto: Extended;", "function Brutto(x: Extended): Extended;",
                         "begin Result := x * 1.23 end;", "begin Netto := 100 end."};
  report.Prepare();
  ASSERT_EQ(report.Errors().Count(), 0) << report.Errors().Text();
  EXPECT_EQ(fsVarToText(report.Calc("Brutto(Netto)")), "123");
  EXPECT_EQ(fsVarToText(report.Calc("IIF(Netto > 50, 'duża', 'mała')")), "duża");
  EXPECT_EQ(fsVarToText(report.Calc("Brutto(Netto)")), "123");  // from the cache the second time
  EXPECT_THROW(report.Calc("Netto div 0"), std::exception);
  EXPECT_THROW(report.Calc("Brak + 1"), std::exception);
  report.EngineOptions().IgnoreDevByZero = true;
  EXPECT_NO_THROW(report.Calc("1 div 0"));
}

TEST_F(ReportWithScript, CompileErrorsReachTheReportsErrors) {
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  report.ScriptText() = {"begin", "  x := 1", "end."};
  EXPECT_FALSE(report.Prepare());
  ASSERT_EQ(report.Errors().Count(), 1);
  EXPECT_NE(report.Errors()[0].find("2:4"), std::string::npos) << report.Errors()[0];
  EXPECT_NE(report.Errors()[0].find("Undeclared identifier: 'x'"), std::string::npos) << report.Errors()[0];
}

TEST_F(ReportWithScript, EventProceduresAndTerminate) {
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  report.ScriptText() = {"var n: Integer;", "procedure Policz(Sender: Variant);", "begin n := n + 1 end;",
                         "begin end."};
  report.Prepare();
  ASSERT_EQ(report.Errors().Count(), 0) << report.Errors().Text();
  TfrxReportScript& script = *report.Script();
  for (int i = 0; i < 3; ++i) script.CallProcedure("Policz", nullptr);
  Variant n;
  ASSERT_TRUE(script.FindVariable("n", n));
  EXPECT_EQ(n.toInt32(), 3);
  EXPECT_FALSE(script.FindVariable("Policz", n));
}

// Memo texts expanded through the interpreter, with numbers and dates in the fixed Polish
// record.
class MemoWithScript : public ReportWithScript {
 protected:
  void SetUp() override {
    ReportWithScript::SetUp();
    report = std::make_unique<TfrxReport>();
    report->EngineOptions().NewSilentMode = simSilent;
    report->EngineOptions().KeepTemplateCopy = false;  // the memo below stays the one built here
    dane = std::make_unique<TfrxUserDataSet>(nullptr);
    dane->SetUserName("Dane");
    dane->Fields() = {"Nazwa"};
    dane->OnGetValue = [](const std::string& field, Variant& value) {
      if (field == "Nazwa") value = Variant(codepage::Utf8ToAnsi("Hurtownia Morwa, Łódź"));
    };
    report->DataSets().Add(dane.get());
    auto* page = new TfrxReportPage(report.get());
    page->SetName("Strona1");
    memo = new TfrxMemoView(page);
    memo->SetName("Memo1");
    memo->SetBounds(0, 0, 300, 20);
    report->Prepare();  // compiles the script; without an engine nothing more
    ASSERT_TRUE(report->Errors().Empty()) << report->Errors().Text();
  }
  void TearDown() override {
    report.reset();
    dane.reset();
    ReportWithScript::TearDown();
  }
  std::u16string Fill(const std::string& utf8) {
    memo->SetText(codepage::Utf8ToWide(utf8));
    memo->BeforePrint();
    memo->FetchData();
    std::u16string text = memo->Text();
    memo->AfterPrint();
    return text;
  }

  TScopedFormatSettings polish{PolishFormatSettings()};
  std::unique_ptr<TfrxUserDataSet> dane;
  std::unique_ptr<TfrxReport> report;
  TfrxMemoView* memo = nullptr;
};

TEST_F(MemoWithScript, ExpressionsAndFormatsInMemoText) {
  const std::pair<const char*, const char*> cases[] = {
      {"Sum: [1+2]", "Sum: 3"},
      {"[1+2] and [3*3]", "3 and 9"},
      {"[10 / 4]", "2,5"},
      {"[IIF(1 > 0, ' #', 'no')]", " #"},
      {"[Copy('abc', 1, 2) #x]", "ab"},
      {"[1234.5 #n%2.2f]", "1234.50"},
      {"[1234.5 #n%2,2f]", "1234,50"},
      {"[1234.5 #n%2.2n]", "1\u00a0234.50"},
      {"[EncodeDate(2025, 3, 15) #ddd.mm.yyyy]", "15.03.2025"},
      {"[EncodeDate(2025, 3, 15)]", "15.03.2025"},
      {"['Razem: ' + FloatToStr(2.5)]", "Razem: 2,5"},
      {"[VarToStr(EncodeDate(2025, 1, 1) + 0.5)]", "01.01.2025 12:00:00"},
      {"[Dane.\"Nazwa\"]", "Hurtownia Morwa, Łódź"},
      {"[<Dane.\"Nazwa\"> + ' – dostawa']", "Hurtownia Morwa, Łódź – dostawa"},
      {"[1 > 0 #bNie,Tak]", "Tak"},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(Fill(text), codepage::Utf8ToWide(expected) + u"\r\n") << text;
  EXPECT_TRUE(report->Errors().Empty()) << report->Errors().Text();
}

TEST_F(MemoWithScript, HighlightConditionSeesTheMemosValue) {
  memo->Highlight().SetCondition("Value > 1000");
  Fill("[1234.5]");
  EXPECT_TRUE(memo->Highlight().Active());
  Fill("[999]");
  EXPECT_FALSE(memo->Highlight().Active());
}

TEST_F(MemoWithScript, FailingExpressionsNameTheMemo) {
  for (const char* text : {"[1 div 0]", "[Brak + 1]", "[Dane.\"Nazwa\" +]"}) {
    report->Errors().Clear();
    EXPECT_THROW(Fill(text), EfrxReportError) << text;
    ASSERT_EQ(report->Errors().Count(), 1) << text;
    EXPECT_EQ(report->Errors()[0].rfind("Memo1: ", 0), 0u) << report->Errors()[0];
  }
  report->Errors().Clear();
  report->EngineOptions().IgnoreDevByZero = true;
  EXPECT_EQ(Fill("Rabat: [1 div 0]"), u"Rabat: \r\n");
  EXPECT_TRUE(report->Errors().Empty()) << report->Errors().Text();
}

}  // namespace
