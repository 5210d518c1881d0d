#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptHost.h"
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

}  // namespace
