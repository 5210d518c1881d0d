#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/CodePage.h"
#include "report/frxClassReport.h"
#include "report/frxRes.h"
#include "frxReportTestDoubles.h"

// ---------------------------------------------------------------------------------------
// Test doubles

bool TestScript::Evaluate(const std::string& expression, Variant& result, std::string& errorText) {
  calls.push_back("Evaluate " + expression);
  if (expression.size() >= 2 && expression.front() == '\'' && expression.back() == '\'') {
    result = Variant(expression.substr(1, expression.size() - 2));
    return true;
  }
  auto number = [](const std::string& s, long& out) {
    char* end = nullptr;
    out = std::strtol(s.c_str(), &end, 10);
    return !s.empty() && end && *end == 0;
  };
  long a = 0, b = 0;
  if (number(expression, a)) {
    result = Variant(static_cast<int32_t>(a));
    return true;
  }
  for (char op : {'*', '+', '/'}) {
    size_t at = expression.find(op);
    if (at == std::string::npos || !number(expression.substr(0, at), a) || !number(expression.substr(at + 1), b))
      continue;
    if (op == '/' && b == 0) {
      errorText = "Division by zero";
      return false;
    }
    result = Variant(static_cast<int32_t>(op == '*' ? a * b : op == '+' ? a + b : a / b));
    return true;
  }
  errorText = "Unknown variable or function: '" + expression + "'";
  return false;
}

const TfrxClassInfo& TfrxTestInvoicePage::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestInvoicePage", &TfrxComponent::StaticClassInfo(),
                                  [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxTestInvoicePage(owner); },
                                  [](TfrxClassInfo& c) {
                                    TfrxPublish<TfrxTestInvoicePage> p(c);
                                    p.Publish("Left");
                                    p.Publish("Width");
                                  });
  return info;
}
TFRX_REGISTER_CLASS(TfrxTestInvoicePage);

const TfrxClassInfo& TfrxTestTextView::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestTextView", &TfrxView::StaticClassInfo(),
                                  [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxTestTextView(owner); },
                                  [](TfrxClassInfo& c) {
                                    TfrxPublish<TfrxTestTextView> p(c);
                                    p.String("Caption", &TfrxTestTextView::Caption, &TfrxTestTextView::SetCaption);
                                  });
  return info;
}
TFRX_REGISTER_CLASS(TfrxTestTextView);

std::string FixturePath(const std::string& name) {
  return std::string(TAVREL_SOURCE_DIR) + "/report/tests/fixtures/" + name;
}

std::string Ansi(const char* utf8) { return codepage::Utf8ToAnsi(utf8); }

// The export filter framework comes with the output library; the report only passes a
// filter on.
class TfrxCustomExportFilter {
 public:
  virtual ~TfrxCustomExportFilter() = default;
};

namespace {

// A dataset whose fields are all null, with a type per field name.
class NullFieldsDataSet : public TfrxUserDataSet {
 public:
  explicit NullFieldsDataSet(const std::string& alias) : TfrxUserDataSet(nullptr) { SetUserName(alias); }
  TfrxFieldType FieldType(const std::string& field) override {
    if (field == "Nazwa") return fftString;
    if (field == "Zaplacono") return fftBoolean;
    return fftNumeric;
  }
};

// ---------------------------------------------------------------------------------------
// Members and defaults

TEST(TfrxReport, DefaultsOfANewReport) {
  TfrxReport report;
  EXPECT_EQ(report.Version(), "4.9.85");
  EXPECT_EQ(report.IniFile().rfind("\\Software\\", 0), 0u) << report.IniFile();
  EXPECT_EQ(report.ScriptLanguage(), "PascalScript");
  EXPECT_EQ(report.ScriptText(), (std::vector<std::string>{"begin", "", "end."}));
  EXPECT_TRUE(report.ShowProgress());
  EXPECT_TRUE(report.StoreInDFM());
  EXPECT_EQ(report.EngineOptions().NewSilentMode, simMessageBoxes);
  EXPECT_EQ(report.EngineOptions().MaxMemSize, 10);
  EXPECT_EQ(report.PreviewOptions().Buttons, frxAllPreviewButtons);
  EXPECT_EQ(report.PrintOptions().Printer, Ansi("Domyślny"));
  EXPECT_EQ(report.PrintOptions().SplicingLine, 3);
  EXPECT_GT(report.ReportOptions().CreateDate, 40000.0);  // now, not zero
  EXPECT_EQ(report.SystemVariables(), (std::vector<std::string>{"Date", "Time", "Page", "Page#", "TotalPages",
                                                                "TotalPages#", "Line", "Line#", "CopyName#"}));
}

TEST(TfrxReport, SilentModeIsTheBooleanViewOfNewSilentMode) {
  TfrxEngineOptions o;
  struct Case {
    TfrxSilentMode mode;
    bool silent;
  } cases[] = {{simMessageBoxes, false}, {simSilent, true}, {simReThrow, false}};
  for (const Case& c : cases) {
    o.NewSilentMode = c.mode;
    EXPECT_EQ(o.SilentMode(), c.silent) << int(c.mode);
  }
  o.NewSilentMode = simReThrow;
  o.SetSilentMode(true);
  EXPECT_EQ(o.NewSilentMode, simSilent);
  o.SetSilentMode(false);
  EXPECT_EQ(o.NewSilentMode, simMessageBoxes);
}

TEST(TfrxReport, ClearResetsOnlyWhatItsRulesSay) {
  TfrxReport report;
  TfrxEngineOptions& e = report.EngineOptions();
  TfrxPreviewOptions& p = report.PreviewOptions();
  e.ConvertNulls = false;
  e.DoublePass = true;
  e.IgnoreDevByZero = true;
  e.NewSilentMode = simSilent;
  e.MaxMemSize = 99;
  e.TempDir = "/tmp/raporty";
  p.OutlineVisible = true;
  p.OutlineWidth = 300;
  p.OutlineExpand = false;
  p.PagesInCache = 5;
  p.ThumbnailVisible = true;
  p.Modal = false;
  p.Zoom = 2;
  report.PrintOptions().Copies = 4;
  report.PrintOptions().Printer = "HP";
  report.PrintOptions().PrintPages = ppEven;
  report.ReportOptions().Author = "Jan Kowalski";
  report.ReportOptions().Password = "tajne";
  report.Variables().Set("Netto", 1);
  report.Styles().Add();
  report.SetDotMatrixReport(true);
  report.SetScriptLanguage("C++Script");
  report.ScriptText() = {"{", "}"};
  report.OnStartReport = "Start";
  report.DrillState().push_back("GroupHeader1");

  report.Clear();

  EXPECT_TRUE(e.ConvertNulls);
  EXPECT_FALSE(e.DoublePass);
  EXPECT_FALSE(e.IgnoreDevByZero);
  EXPECT_EQ(e.NewSilentMode, simSilent);  // kept
  EXPECT_EQ(e.MaxMemSize, 99);            // kept
  EXPECT_EQ(e.TempDir, "/tmp/raporty");   // kept
  EXPECT_FALSE(p.OutlineVisible);
  EXPECT_EQ(p.OutlineWidth, 120);
  EXPECT_TRUE(p.OutlineExpand);
  EXPECT_EQ(p.PagesInCache, 50);
  EXPECT_FALSE(p.ThumbnailVisible);
  EXPECT_FALSE(p.Modal);  // kept
  EXPECT_EQ(p.Zoom, 2);   // kept
  EXPECT_EQ(report.PrintOptions().Copies, 1);
  EXPECT_EQ(report.PrintOptions().Printer, Ansi("Domyślny"));
  EXPECT_EQ(report.PrintOptions().PrintPages, ppAll);
  EXPECT_EQ(report.ReportOptions().Author, "");
  EXPECT_EQ(report.ReportOptions().Password, "");
  EXPECT_EQ(report.Variables().Count(), 0);
  EXPECT_EQ(report.Styles().Count(), 0);
  EXPECT_FALSE(report.DotMatrixReport());
  EXPECT_EQ(report.ScriptLanguage(), "PascalScript");
  EXPECT_EQ(report.ScriptText(), (std::vector<std::string>{"begin", "", "end."}));
  EXPECT_EQ(report.OnStartReport, "");
  EXPECT_EQ(report.DrillState(), (std::vector<std::string>{"GroupHeader1"}));  // not emptied
}

// ---------------------------------------------------------------------------------------
// Errors and how they are shown

TEST(TfrxErrorList, SortedWithoutCaseAndWithoutDuplicates) {
  TfrxErrorList errors;
  for (const char* m : {"Nieznaleziono pola: Dane.\"D250\"", "brak drukarki", "Nieznaleziono pola: Dane.\"D250\"",
                        "BRAK DRUKARKI", "Źródło \"Faktury\" nie istnieje", "źródło \"faktury\" nie istnieje",
                        "Ala"})
    errors.Add(Ansi(m));
  EXPECT_EQ(errors.Items(), (std::vector<std::string>{"Ala", "brak drukarki", Ansi("Nieznaleziono pola: Dane.\"D250\""),
                                                      Ansi("Źródło \"Faktury\" nie istnieje")}));
  EXPECT_EQ(errors.Text(), "Ala\r\nbrak drukarki\r\n" + Ansi("Nieznaleziono pola: Dane.\"D250\"\r\n") +
                               Ansi("Źródło \"Faktury\" nie istnieje\r\n"));
}

TEST(TfrxReport, ShowErrorsFollowsNewSilentMode) {
  ErrorBoxes boxes;
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simMessageBoxes;
  report.ShowErrors("Nie ma papieru");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Nie ma papieru");
  EXPECT_EQ(boxes.shown[0].title, Ansi("Błąd"));

  report.EngineOptions().NewSilentMode = simSilent;
  report.ShowErrors("Nie ma papieru");
  EXPECT_EQ(boxes.shown.size(), 1u);

  report.EngineOptions().NewSilentMode = simReThrow;
  try {
    report.ShowErrors("Nie ma papieru");
    FAIL() << "expected the error to be raised";
  } catch (const EfrxReportError& e) {
    EXPECT_STREQ(e.what(), "Nie ma papieru");
  }
  EXPECT_EQ(boxes.shown.size(), 1u);
}

// ---------------------------------------------------------------------------------------
// Values

TEST(TfrxReport, NullFieldsBecomeEmptyValuesOfTheirTypeWithConvertNulls) {
  NullFieldsDataSet faktury("Faktury");
  TfrxReport report;
  report.DataSets().Add(&faktury);
  struct Case {
    const char* name;
    bool convert;
    Variant expected;
  } cases[] = {
      {"Faktury.\"Nazwa\"", true, Variant(std::string())},
      {"faktury.\"Zaplacono\"", true, Variant(false)},
      {"Faktury.\"Kwota\"", true, Variant(int32_t{0})},
      {"Faktury.\"Nazwa\"", false, Variant::Null()},
  };
  for (const Case& c : cases) {
    report.EngineOptions().ConvertNulls = c.convert;
    bool found = false;
    Variant v = report.LookupValue(c.name, found);
    EXPECT_TRUE(found) << c.name;
    EXPECT_TRUE(v.identical(c.expected)) << c.name << " kind " << int(v.kind());
  }
}

TEST(TfrxReport, SystemVariablesReadTheEngineAndThePages) {
  PluggedReport r;
  frxGlobalVariables().Set("CopyName0", "Oryginał");
  struct Case {
    const char* name;
    Variant expected;
  } cases[] = {
      {"Date", Variant::Date(46000)},    {"Time", Variant::Date(0.5)},        {"Page", Variant(int32_t{3})},
      {"Page#", Variant(int32_t{5})},    {"TotalPages", Variant(int32_t{7})}, {"TotalPages#", Variant(int32_t{9})},
      {"Line", Variant(int32_t{11})},    {"Line#", Variant(int32_t{12})},     {"CopyName#", Variant("Oryginał")},
  };
  for (const Case& c : cases) {
    bool found = false;
    EXPECT_TRUE(r.report.LookupValue(c.name, found).identical(c.expected)) << c.name;
    EXPECT_TRUE(found);
  }
  frxGlobalVariables().DeleteVariable("CopyName0");
}

TEST(TfrxReport, ReportVariablesAreEvaluatedWhenTheyAreOneLineText) {
  PluggedReport r;
  TfrxVariables& v = r.report.Variables();
  v.Set("Netto", "100*2");
  v.Set("Opis", "100*2\r\nsztuk");
  v.Set("Ilosc", 12);
  v.Set("Stawka", 0.23);
  struct Case {
    const char* name;
    Variant expected;
  } cases[] = {
      {"Netto", Variant(int32_t{200})},
      {"netto", Variant(int32_t{200})},
      {"Opis", Variant("100*2\r\nsztuk")},
      {"Ilosc", Variant(int32_t{12})},
      {"Stawka", Variant(0.23)},
  };
  for (const Case& c : cases) {
    bool found = false;
    EXPECT_TRUE(r.report.LookupValue(c.name, found).identical(c.expected)) << c.name;
    EXPECT_TRUE(found);
    EXPECT_TRUE(r.report.Calc(c.name).identical(c.expected)) << c.name;
  }
}

TEST(TfrxReport, LookupOrderHostEventsThenVariablesThenGlobalsThenScript) {
  PluggedReport r;
  r.report.Variables().Set("Nabywca", "'z raportu'");
  frxGlobalVariables().Set("Nabywca", "z globalnych");
  frxGlobalVariables().Set("Sprzedawca", "100*2");  // never evaluated
  r.script->variables = {{"Nabywca", Variant("ze skryptu")}, {"Kurs", Variant(4.3)}};
  bool found = false;

  EXPECT_EQ(r.report.LookupValue("Nabywca", found).toString8(), "z raportu");
  EXPECT_EQ(r.report.LookupValue("Sprzedawca", found).toString8(), "100*2");
  EXPECT_EQ(r.report.LookupValue("Kurs", found).toDouble(), 4.3);
  r.report.OnNewGetValue = [](TfrxReport&, const std::string& name, Variant& value) {
    if (name == "Nabywca") value = "z hosta";
  };
  EXPECT_EQ(r.report.LookupValue("Nabywca", found).toString8(), "z hosta");
  r.report.OnGetValue = [](const std::string& name, Variant& value) {
    if (name == "Nabywca") value = "z OnGetValue";
  };
  EXPECT_EQ(r.report.LookupValue("Nabywca", found).toString8(), "z OnGetValue");

  r.report.LookupValue("Odbiorca", found);
  EXPECT_FALSE(found);
  frxGlobalVariables().DeleteVariable("Nabywca");
  frxGlobalVariables().DeleteVariable("Sprzedawca");
}

TEST(TfrxReport, CalcWithoutScriptEngineNamesTheExpression) {
  TfrxReport report;
  report.Variables().Set("Ilosc", 3);
  EXPECT_EQ(report.Calc("Ilosc").toInt32(), 3);
  report.SetCurrentObjectName("Memo1");
  try {
    report.Calc("<Ilosc>*2");
    FAIL() << "expected an error";
  } catch (const EfrxReportError& e) {
    EXPECT_NE(std::string(e.what()).find("<Ilosc>*2"), std::string::npos) << e.what();
    EXPECT_EQ(std::string(e.what()).rfind("Memo1: ", 0), 0u) << e.what();
  }
  EXPECT_EQ(report.Errors().Count(), 1);
}

TEST(TfrxReport, CalcErrorsByCaller) {
  struct Case {
    const char* expression;
    bool fromScript, ignoreDivByZero;
    const char* objectName;
    const char* message;  // empty: no error
    bool recorded;
  } cases[] = {
      {"Brak", false, false, "Memo3", "Memo3: Unknown variable or function: 'Brak'", true},
      {"Brak", false, false, "", "Unknown variable or function: 'Brak'", true},
      {"Brak", true, false, "Memo3", "Error in Calc expression: Unknown variable or function: 'Brak'", false},
      {"5/0", false, false, "Memo3", "Memo3: Division by zero", true},
      {"5/0", false, true, "Memo3", "", false},
  };
  for (const Case& c : cases) {
    PluggedReport r;
    r.report.EngineOptions().IgnoreDevByZero = c.ignoreDivByZero;
    r.report.SetCurrentObjectName(c.objectName);
    std::string message;
    try {
      r.report.Calc(c.expression, c.fromScript);
    } catch (const EfrxReportError& e) {
      message = e.what();
    }
    EXPECT_EQ(message, c.message) << c.expression;
    EXPECT_EQ(r.report.Errors().Count(), c.recorded ? 1 : 0) << c.expression;
    if (c.recorded) {
      EXPECT_EQ(r.report.Errors()[0], c.message);
    }
  }
}

TEST(TfrxReport, RegisteredScriptFunctionsAnswer) {
  PluggedReport r;
  r.report.Variables().Set("Netto", "100*2");
  EXPECT_EQ(r.report.ScriptGet("Netto").toInt32(), 200);
  EXPECT_TRUE(r.report.ScriptGet("Odbiorca").isNull());
  ASSERT_EQ(r.report.Errors().Count(), 1);
  EXPECT_EQ(r.report.Errors()[0], Ansi("Nieznana zmienna lub pole danych: Odbiorca"));
  // A SUM call that is no name is evaluated as an expression: here through the engine's
  // aggregate behind SUM when the script calls back.
  EXPECT_THROW(r.report.ScriptGet(" sum (<Dane.\"D1\">)"), EfrxReportError);  // the stand-in cannot evaluate it
  EXPECT_EQ(r.script->calls.back(), "Evaluate  sum (<Dane.\"D1\">)");

  r.report.ScriptSet("Brutto", 246);
  EXPECT_EQ(r.report.Variables().Get("Brutto").toInt32(), 246);
  EXPECT_EQ(r.report.ScriptIIF("1", "'tak'", "'nie'").toString8(), "tak");
  EXPECT_EQ(r.report.ScriptIIF("0", "'tak'", "'nie'").toString8(), "nie");
  EXPECT_TRUE(r.report.ScriptIIF("Brak", "'tak'", "'nie'").isNull());  // errors inside are swallowed
  EXPECT_EQ(r.report.ScriptAggregate("sum", "<Dane.\"D5\">", "", " ").toString8(), "SUM(<Dane.\"D5\">)/0/0");
  EXPECT_EQ(r.report.ScriptAggregate("COUNT", "", "2", "1").toString8(), "COUNT()/1/2");
}

// ---------------------------------------------------------------------------------------
// Datasets

TEST(TfrxReport, GetDatasetByAliasAndADestroyedDatasetIsForgotten) {
  TfrxReport report;
  auto dane = std::make_unique<TfrxUserDataSet>(nullptr);
  dane->SetUserName("Dane");
  report.DataSets().Add(dane.get());
  report.SetDataSet(dane.get());
  EXPECT_EQ(report.GetDataset("dANE"), dane.get());
  EXPECT_EQ(report.GetDataset("Seria"), nullptr);
  dane.reset();
  EXPECT_EQ(report.GetDataset("Dane"), nullptr);
  EXPECT_EQ(report.DataSet(), nullptr);
  EXPECT_EQ(report.DataSets().Items(0).DataSetName(), "Dane");  // the name stays, Prepare reports it
}

TEST(TfrxReport, DatasetNamesResolveAgainstTheApplicationList) {
  TfrxUserDataSet seria(nullptr);
  seria.SetUserName("Seria");
  TfrxReport report;
  TfrxDataSetItem& item = report.DataSets().Add();
  item.SetDataSetName("SERIA");
  EXPECT_EQ(item.DataSet(), &seria);
  EXPECT_EQ(item.DataSetName(), "Seria");
  report.SetDataSetName("seria");
  EXPECT_EQ(report.DataSet(), &seria);
  report.EngineOptions().UseGlobalDataSetList = false;  // only the designer's list
  item.SetDataSetName("Seria");
  EXPECT_EQ(item.DataSet(), nullptr);
  report.EnabledDataSets().push_back(&seria);
  item.SetDataSetName("Seria");
  EXPECT_EQ(item.DataSet(), &seria);
}

// ---------------------------------------------------------------------------------------
// Preparing

TEST(TfrxReport, MissingDatasetPreparesNothingAndShowsTheHeaderAndTheMessage) {
  ErrorBoxes boxes;
  PluggedReport r;
  r.report.DataSets().Add().SetDataSetName("Faktury");
  EXPECT_FALSE(r.report.Prepare());
  EXPECT_EQ(r.engine->runs, 0);
  EXPECT_TRUE(r.script->calls.empty());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, Ansi("Pojawił się następujący błąd(y):\r\nŹródło \"Faktury\" nie istnieje"));
  EXPECT_EQ(boxes.shown[0].title, Ansi("Błąd"));

  r.report.EngineOptions().NewSilentMode = simSilent;
  EXPECT_FALSE(r.report.Prepare());
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(r.report.Errors().Count(), 1);
}

TEST(TfrxReport, DefaultEmptyProgramPreparesWithoutAScriptEngine) {
  ErrorBoxes boxes;
  TfrxReport report;
  auto pages = std::make_unique<TestPages>();
  auto engine = std::make_unique<TestEngine>();
  TestEngine* e = engine.get();
  TestPages* p = pages.get();
  report.SetPreviewPages(std::move(pages), std::move(engine));
  int endDocs = 0;
  report.OnEndDoc = [&](TfrxReport&) { ++endDocs; };
  EXPECT_TRUE(report.Prepare());
  EXPECT_EQ(e->runs, 1);
  EXPECT_EQ(endDocs, 1);
  EXPECT_EQ(p->cleared, 1);
  EXPECT_TRUE(report.Errors().Empty());
  e->onRun = [] { return false; };
  EXPECT_FALSE(report.Prepare(false));
  EXPECT_EQ(p->cleared, 1);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST(TfrxReport, ScriptWithStatementsNeedsAScriptEngine) {
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  struct Case {
    const char* language;
    std::vector<std::string> lines;
    bool prepares;
  } cases[] = {
      {"PascalScript", {"BEGIN", "  ", "END."}, true},
      {"C++Script", {"{", "}"}, true},
      {"PascalScript", {"begin", "  ShowMessage('x');", "end."}, false},
  };
  for (const Case& c : cases) {
    report.SetScriptLanguage(c.language);
    report.ScriptText() = c.lines;
    report.Prepare();
    EXPECT_EQ(report.Errors().Empty(), c.prepares) << c.lines[1];
    if (!c.prepares) {
      EXPECT_EQ(report.Errors()[0].rfind(Ansi("Błąd wykonania skryptu w 1:1: "), 0), 0u);
    }
  }
}

TEST(TfrxReport, PrepareRunsTheScriptThenTheEngine) {
  PluggedReport r;
  r.script->hasStatements = true;
  std::vector<std::string> order;
  r.report.OnBeginDoc = [&](TfrxReport&) { order.push_back("BeginDoc"); };
  r.report.OnAfterScriptCompile = [&](TfrxReport&) { order.push_back("AfterScriptCompile"); };
  r.script->onExecute = [&] { order.push_back("Execute"); };
  r.engine->onRun = [&] {
    order.push_back("RunReport");
    return true;
  };
  EXPECT_TRUE(r.report.Prepare());
  EXPECT_EQ(order, (std::vector<std::string>{"BeginDoc", "AfterScriptCompile", "Execute", "RunReport"}));
  EXPECT_EQ(r.script->calls.front(), "Reset PascalScript");

  r.script->compileError = {"3:7", "Undeclared identifier: 'Foo'"};
  r.report.EngineOptions().NewSilentMode = simSilent;
  EXPECT_FALSE(r.report.Prepare());
  EXPECT_EQ(r.report.Errors().Items(),
            (std::vector<std::string>{Ansi("Błąd wykonania skryptu w 3:7: Undeclared identifier: 'Foo'")}));
}

TEST(TfrxReport, AnErrorInsidePreparingIsReportedOnceAtTheEnd) {
  ErrorBoxes boxes;
  PluggedReport r;
  r.engine->onRun = []() -> bool { throw EfrxReportError("Memo2: Division by zero"); };
  EXPECT_FALSE(r.report.Prepare());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, Ansi("Pojawił się następujący błąd(y):\r\nMemo2: Division by zero"));

  r.report.EngineOptions().NewSilentMode = simReThrow;
  EXPECT_THROW(r.report.Prepare(), EfrxReportError);
}

TEST(TfrxReport, PrepareRestoresTheTemplateTheScriptChanged) {
  for (bool fileCache : {false, true}) {
    PluggedReport r;
    std::filesystem::path temp = std::filesystem::temp_directory_path() / "tavrel_report_copy";
    std::filesystem::remove_all(temp);
    std::filesystem::create_directories(temp);
    r.report.EngineOptions().NewSilentMode = simSilent;
    r.report.EngineOptions().UseFileCache = fileCache;
    r.report.EngineOptions().TempDir = temp.string();
    r.report.ReportOptions().Password = "tajne";
    r.report.PrintOptions().SplicingLine = 5;
    r.report.Variables().Set("Netto", "100*2");
    new TfrxTestInvoicePage(&r.report);
    r.report.Objects()[0]->SetName("Strona1");
    size_t filesDuringRun = 0;
    r.engine->onRun = [&] {
      filesDuringRun = static_cast<size_t>(std::distance(std::filesystem::directory_iterator(temp), {}));
      r.report.Variables().Set("Netto", "999");
      r.report.Objects()[0]->SetName("Zmieniona");
      r.report.AddError("Memo1: Nieznaleziono pola");
      return true;
    };
    EXPECT_FALSE(r.report.Prepare());  // the error recorded during the run counts
    EXPECT_EQ(r.report.Variables().Get("Netto").toString8(), "100*2") << fileCache;
    ASSERT_EQ(r.report.Objects().size(), 1u);
    EXPECT_EQ(r.report.Objects()[0]->Name(), "Strona1");
    EXPECT_EQ(r.report.ReportOptions().Password, "tajne");
    EXPECT_EQ(r.report.PrintOptions().SplicingLine, 5);
    EXPECT_EQ(r.report.Errors().Items(), (std::vector<std::string>{"Memo1: Nieznaleziono pola"}));
    EXPECT_EQ(filesDuringRun, fileCache ? 1u : 0u);
    EXPECT_TRUE(std::filesystem::is_empty(temp)) << "the copy's file is deleted";
    std::filesystem::remove_all(temp);
  }
}

// ---------------------------------------------------------------------------------------
// Output and events

TEST(TfrxReport, ShowReportPreparesAgainAfterPrepare) {
  PluggedReport r;
  EXPECT_TRUE(r.report.Prepare());
  int windows = 0;
  TfrxReportCollaborators previous = frxSetReportCollaborators({});
  TfrxReportCollaborators with = previous;
  with.PreviewWindow = [&](TfrxReport& report, bool modal, bool) {
    ++windows;
    EXPECT_TRUE(modal);
    EXPECT_TRUE(report.PreparePending());
    report.RunPendingPrepare();  // the window is shown: build the pages
  };
  frxSetReportCollaborators(with);
  r.report.ShowReport();
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(r.engine->runs, 2);
  EXPECT_EQ(r.pages->cleared, 2);
  EXPECT_FALSE(r.report.PreparePending());

  r.report.SetOldStyleProgress(true);  // prepares first, shows only a success
  r.engine->onRun = [] { return false; };
  r.report.ShowReport();
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(r.engine->runs, 3);
  frxSetReportCollaborators(previous);
}

TEST(TfrxReport, PrintAndExportGoToThePagesAndNoDesignerMeansNothing) {
  PluggedReport r;
  r.report.PrintPrepared();
  EXPECT_EQ(r.pages->printed, 1);
  TfrxCustomExportFilter filter;
  EXPECT_TRUE(r.report.ExportTo(filter));
  EXPECT_FALSE(r.report.OpenDesigner());
  TfrxReport bare;
  bare.PrintPrepared();
  EXPECT_FALSE(bare.ExportTo(filter));
}

TEST(TfrxReport, ScriptEventsRunWhileTheEngineRunsOrWhenForced) {
  PluggedReport r;
  r.report.EngineOptions().KeepTemplateCopy = false;  // the view below lives on the stack
  TfrxTestTextView memo(&r.report);
  memo.SetName("Memo1");
  memo.SetOnBeforePrint("Memo1OnBeforePrint");
  std::vector<std::string> host;
  r.report.OnBeforePrint = [&](TfrxComponent& c) { host.push_back("host " + c.Name()); };
  r.report.FireBeforePrint(memo);  // engine not running: the host event only
  r.report.RunScriptEvent(&memo, "");
  EXPECT_TRUE(r.script->calls.empty());
  r.report.RunScriptEvent(&memo, "Licz", true);
  EXPECT_EQ(r.script->calls, (std::vector<std::string>{"Call Licz Memo1"}));
  r.engine->onRun = [&] {
    r.report.FireBeforePrint(memo);
    r.report.FireAfterPrint(memo);  // no script event named
    return true;
  };
  r.report.Prepare();
  EXPECT_EQ(host, (std::vector<std::string>{"host Memo1", "host Memo1"}));
  EXPECT_EQ(r.script->calls.back(), "Call Memo1OnBeforePrint Memo1");

  r.report.SetTerminated(true);
  EXPECT_EQ(r.script->calls.back(), "Terminate");
  r.report.SetScriptSelf(&memo);
  r.report.SetScriptValue(12.5);
  EXPECT_EQ(r.script->selfVariable, &memo);
  EXPECT_EQ(r.script->valueVariable.toDouble(), 12.5);
}

}  // namespace
