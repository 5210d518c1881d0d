#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/frxEngine.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassMemo.h"
#include "report/frxVariables.h"
#include "script/frxClassRTTI.h"
#include "script/fs_iexpression.h"
#include "script/fs_ireportscript.h"

namespace {

// A delivery note of Hurtownia Morwa on one page of 100 x 100 mm: a title band with the
// memo "Tytul", a remarks band "Uwagi", a row band "Pozycja" with the memo "Towar", and
// the report script in the language given. The engine and the store are ours.
class DeliveryNote {
 public:
  DeliveryNote() {
    fsUseScriptEngineForReports();
    report = std::make_unique<TfrxReport>();
    auto pages = std::make_unique<TfrxPreviewPages>(*report);
    store = pages.get();
    auto e = std::make_unique<TfrxEngine>(*report, *store);
    engine = e.get();
    report->SetPreviewPages(std::move(pages), std::move(e));
    report->EngineOptions().NewSilentMode = simSilent;
    page = AddPage("Strona1");
    title = AddBand<TfrxReportTitle>("Naglowek", 30);
    titleMemo = AddMemo(title, "Tytul", u"WZ 12/2026");
    remarks = AddBand<TfrxReportSummary>("Uwagi", 20);
    AddMemo(remarks, "Uwaga", u"Towar odebrano bez zastrzeżeń");
    row = AddBand<TfrxMasterData>("Pozycja", 20);
    AddMemo(row, "Towar", u"");
  }

  TfrxReportPage* AddPage(const std::string& name) {
    auto* p = new TfrxReportPage(report.get());
    p->SetName(name);
    p->SetPaper(256, 100, 100);
    p->SetLeftMargin(0);
    p->SetRightMargin(0);
    p->SetTopMargin(0);
    p->SetBottomMargin(0);
    return p;
  }
  template <class B>
  B* AddBand(const std::string& name, double height, TfrxReportPage* on = nullptr) {
    auto* band = new B(on ? on : page);
    band->SetName(name);
    band->SetBounds(0, 0, 378, height);
    return band;
  }
  TfrxMemoView* AddMemo(TfrxBand* band, const std::string& name, const std::u16string& text) {
    auto* memo = new TfrxMemoView(band);
    memo->SetName(name);
    memo->SetBounds(0, 0, 300, 18);
    memo->SetText(text);
    return memo;
  }

  void Run(const std::string& language, const std::vector<std::string>& script) {
    report->SetScriptLanguage(language);
    report->ScriptText() = script;
    report->Prepare();
  }

  // Every output page as "Band: memo text [colour]; ..." in the order of the bands.
  std::vector<std::string> Output() {
    std::vector<std::string> pages;
    for (int i = 0; i < store->Count(); ++i) {
      std::string text;
      for (TfrxComponent* band : store->BuildPage(i)->Objects()) {
        if (!text.empty()) text += "; ";
        text += band->Name() + ":";
        for (TfrxComponent* c : band->Objects()) {
          auto* memo = dynamic_cast<TfrxMemoView*>(c);
          if (!memo) continue;
          text += " " + Variant(memo->Text()).toString8();
          while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
          if (memo->Font().Color != 0) text += " [" + std::to_string(memo->Font().Color) + "]";
        }
      }
      pages.push_back(text);
    }
    return pages;
  }

  std::unique_ptr<TfrxReport> report;
  TfrxPreviewPages* store = nullptr;
  TfrxEngine* engine = nullptr;
  TfrxReportPage* page = nullptr;
  TfrxReportTitle* title = nullptr;
  TfrxMemoView* titleMemo = nullptr;
  TfrxReportSummary* remarks = nullptr;
  TfrxMasterData* row = nullptr;
};

class ReportClasses : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = frxReportCollaborators(); }
  void TearDown() override { frxSetReportCollaborators(previous_); }
  TfrxReportCollaborators previous_;
};

struct LanguageCase {
  const char* language;
  std::vector<std::string> script;
};

// The template's events: the title memo takes its text and colour from a variable, the
// remarks band hides itself, and the page is built by hand with three rows that read the
// engine's state.
TEST_F(ReportClasses, EventHandlersChangeViewsHideBandsAndBuildPagesInEveryLanguage) {
  const LanguageCase cases[] = {
      {"PascalScript",
       {"var n: Integer;",
        "procedure TytulOnBeforePrint(Sender: TfrxComponent);",
        "begin",
        "  Tytul.Text := 'Odbiorca: ' + Report.Variables['Odbiorca'];",
        "  Tytul.Font.Color := 255;",
        "  Report.Variables['Wydrukowano'] := 1;",
        "end;",
        "procedure UwagiOnBeforePrint(Sender: TfrxComponent);",
        "begin",
        "  Uwagi.Visible := False;",
        "end;",
        "procedure Strona1OnManualBuild(Sender: TfrxComponent);",
        "var i: Integer;",
        "begin",
        "  for i := 1 to 3 do",
        "  begin",
        "    Towar.Text := 'Poz. ' + IntToStr(i) + ' y=' + IntToStr(Round(Engine.CurY)) +",
        "      ' wolne=' + IntToStr(Round(Engine.FreeSpace));",
        "    Engine.ShowBand(Pozycja);",
        "  end;",
        "end;",
        "begin",
        "  Tytul.OnBeforePrint := 'TytulOnBeforePrint';",
        "end."}},
      {"C++Script",
       {"int n;",
        "void TytulOnBeforePrint(TfrxComponent Sender) {",
        "  Tytul.Text = \"Odbiorca: \" + Report.Variables[\"Odbiorca\"];",
        "  Tytul.Font.Color = 255;",
        "  Report.Variables[\"Wydrukowano\"] = 1;",
        "}",
        "void UwagiOnBeforePrint(TfrxComponent Sender) { Uwagi.Visible = false; }",
        "void Strona1OnManualBuild(TfrxComponent Sender) {",
        "  int i;",
        "  for (i = 1; i <= 3; i++) {",
        "    Towar.Text = \"Poz. \" + IntToStr(i) + \" y=\" + IntToStr(Round(Engine.CurY)) +",
        "      \" wolne=\" + IntToStr(Round(Engine.FreeSpace));",
        "    Engine.ShowBand(Pozycja);",
        "  }",
        "}",
        "{ Tytul.OnBeforePrint = \"TytulOnBeforePrint\"; }"}},
      {"BasicScript",
       {"Sub TytulOnBeforePrint(Sender)",
        "  Tytul.Text = \"Odbiorca: \" + Report.Variables[\"Odbiorca\"]",
        "  Tytul.Font.Color = 255",
        "  Report.Variables[\"Wydrukowano\"] = 1",
        "End Sub",
        "Sub UwagiOnBeforePrint(Sender)",
        "  Uwagi.Visible = False",
        "End Sub",
        "Sub Strona1OnManualBuild(Sender)",
        "  For i = 1 To 3",
        "    Towar.Text = \"Poz. \" + IntToStr(i) + \" y=\" + IntToStr(Round(Engine.CurY)) + \" wolne=\" + IntToStr(Round(Engine.FreeSpace))",
        "    Engine.ShowBand(Pozycja)",
        "  Next",
        "End Sub",
        "Tytul.OnBeforePrint = \"TytulOnBeforePrint\""}},
      {"JScript",
       {"function TytulOnBeforePrint(Sender) {",
        "  Tytul.Text = \"Odbiorca: \" + Report.Variables[\"Odbiorca\"];",
        "  Tytul.Font.Color = 255;",
        "  Report.Variables[\"Wydrukowano\"] = 1;",
        "}",
        "function UwagiOnBeforePrint(Sender) { Uwagi.Visible = false; }",
        "function Strona1OnManualBuild(Sender) {",
        "  for (var i = 1; i <= 3; i++) {",
        "    Towar.Text = \"Poz. \" + IntToStr(i) + \" y=\" + IntToStr(Round(Engine.CurY)) +",
        "      \" wolne=\" + IntToStr(Round(Engine.FreeSpace));",
        "    Engine.ShowBand(Pozycja);",
        "  }",
        "}",
        "Tytul.OnBeforePrint = \"TytulOnBeforePrint\";"}},
  };
  const std::vector<std::string> expected = {
      "Naglowek: Odbiorca: Piekarnia K\xB3os sp. z o.o. [255]; "
      "Pozycja: Poz. 1 y=30 wolne=348; Pozycja: Poz. 2 y=50 wolne=328; Pozycja: Poz. 3 y=70 wolne=308"};
  for (const LanguageCase& c : cases) {
    DeliveryNote note;
    note.report->EngineOptions().KeepTemplateCopy = false;
    note.report->Variables().Set("Odbiorca", Variant(std::string("Piekarnia K\xB3os sp. z o.o.")));
    note.remarks->SetOnBeforePrint("UwagiOnBeforePrint");
    note.page->SetOnManualBuild("Strona1OnManualBuild");
    note.Run(c.language, c.script);
    EXPECT_EQ(note.report->Errors().Count(), 0) << c.language << ": " << note.report->Errors().Text();
    EXPECT_EQ(note.Output(), expected) << c.language;
    EXPECT_EQ(fsVarToText(note.report->Variables().Get("Wydrukowano")), "1") << c.language;
  }
}


TEST_F(ReportClasses, StopReportEndsTheRunAfterThePageBeingBuilt) {
  DeliveryNote note;
  note.report->EngineOptions().KeepTemplateCopy = false;
  note.remarks->SetVisible(false);
  auto* second = note.AddPage("Strona2");
  note.AddBand<TfrxReportTitle>("Naglowek2", 30, second);
  note.page->SetOnManualBuild("Strona1OnManualBuild");
  note.Run("PascalScript", {"procedure Strona1OnManualBuild(Sender: TfrxComponent);",
                            "begin",
                            "  Towar.Text := 'jedyna';",
                            "  Engine.ShowBand(Pozycja);",
                            "  Report.Variables['Przed'] := Report.Terminated;",
                            "  Engine.StopReport;",
                            "  Report.Variables['Po'] := 1;",
                            "end;",
                            "begin end."});
  EXPECT_EQ(note.report->Errors().Count(), 0) << note.report->Errors().Text();
  EXPECT_EQ(note.Output(), std::vector<std::string>{"Naglowek: WZ 12/2026; Pozycja: jedyna"});
  EXPECT_EQ(fsVarToText(note.report->Variables().Get("Przed")), "False");
  // Stopping the report stops the script too: nothing after StopReport runs.
  EXPECT_TRUE(note.report->Variables().Get("Po").isNull());
}

TEST_F(ReportClasses, SenderSelfOutlineAnchorsAndNewObjectsReachTheReport) {
  DeliveryNote note;
  note.report->EngineOptions().KeepTemplateCopy = false;
  note.titleMemo->SetOnBeforePrint("TytulOnBeforePrint");
  note.remarks->SetVisible(false);
  note.page->SetOnManualBuild("Strona1OnManualBuild");
  note.Run("PascalScript",
           {"procedure TytulOnBeforePrint(Sender: TfrxComponent);",
            "begin",
            "  if Sender is TfrxMemoView then",
            "    TfrxMemoView(Sender).Text := Sender.Name + ' w ' + Sender.Parent.Name + ', strona ' + Sender.Page.Name;",
            "  Outline.AddItem('Nag\xB3\xF3wek');",
            "  Engine.AddAnchor('poczatek');",
            "end;",
            "procedure Strona1OnManualBuild(Sender: TfrxComponent);",
            "var m: TfrxMemoView;",
            "begin",
            "  m := TfrxMemoView.Create(Pozycja);",
            "  m.Name := 'Cena';",
            "  m.SetBounds(300, 0, 70, 18);",
            "  m.Lines.Add('12,50 z\xB3');",
            "  Towar.Text := IntToStr(Pozycja.Objects.Count) + ' obiekty, ' + Pozycja.FindObject('Cena').Name;",
            "  Engine.ShowBand(Pozycja);",
            "end;",
            "begin end."});
  ASSERT_EQ(note.report->Errors().Count(), 0) << note.report->Errors().Text();
  EXPECT_EQ(note.Output(), std::vector<std::string>{"Naglowek: Tytul w Naglowek, strona Strona1; "
                                                    "Pozycja: 2 obiekty, Cena 12,50 z\xB3"});
  note.store->Outline().LevelRoot();
  ASSERT_EQ(note.store->Outline().Count(), 1);
  EXPECT_EQ(note.store->Outline().ItemAt(0).Text, "Nag\xB3\xF3wek");
  EXPECT_EQ(note.engine->GetAnchorPage("poczatek"), 1);
}

TEST_F(ReportClasses, DatasetsAreWalkedAndReadByScripts) {
  DeliveryNote note;
  auto* goods = new TfrxUserDataSet(note.report.get());
  goods->SetName("Towary");
  goods->SetFieldsText("Nazwa\r\nIlosc\r\n");
  goods->SetRangeEnd(reCount);
  goods->SetRangeEndCount(3);
  const char* names[] = {"Chleb", "Bu\xB3ki", "Rogale"};
  goods->OnNewGetValue = [&names](TfrxDataSet& sender, const std::string& field, Variant& value) {
    if (field == "Nazwa") value = Variant(std::string(names[sender.RecNo()]));
    if (field == "Ilosc") value = Variant(int32_t{(sender.RecNo() + 1) * 10});
  };
  note.report->EngineOptions().KeepTemplateCopy = false;
  note.Run("PascalScript", {"var s: String; razem: Integer;",
                            "begin",
                            "  Towary.First;",
                            "  while not Towary.Eof do",
                            "  begin",
                            "    s := s + Towary.Value['Nazwa'] + ';';",
                            "    razem := razem + Towary.Value['Ilosc'];",
                            "    Towary.Next;",
                            "  end;",
                            "  Set('Lista', s + IntToStr(Towary.FieldsCount) + ';' + IntToStr(razem));",
                            "end."});
  ASSERT_EQ(note.report->Errors().Count(), 0) << note.report->Errors().Text();
  EXPECT_EQ(fsVarToText(note.report->Variables().Get("Lista")), "Chleb;Bu\xB3ki;Rogale;2;60");
}

// Scripts that cannot run give the report a clear error; nothing crashes.
TEST_F(ReportClasses, BadScriptsGiveClearErrors) {
  struct Case {
    const char* what;
    std::vector<std::string> script;
    const char* error;
  };
  const Case cases[] = {
      {"a database query class this system does not have",
       {"var q: TADOQuery;", "begin q.Open end."},
       "Unknown type: 'TADOQuery'"},
      {"a member the class does not have",
       {"begin Tytul.Wykonaj end."},
       "Undeclared identifier: 'Wykonaj'"},
      {"an object variable never assigned",
       {"var m: TfrxMemoView;", "begin m.Text := 'x' end."},
       "Object is nil or not a TfrxCustomMemoView: 'TEXT'"},
      {"a memo where a band is expected",
       {"begin Engine.ShowBand(Tytul) end."},
       "Incompatible types: 'TfrxBand', 'TfrxMemoView'"},
      {"a memo where a band is expected, found when the script runs",
       {"var v: Variant;", "begin v := Tytul; Engine.ShowBand(v) end."},
       "Object is nil or not a TfrxBand: 'SHOWBAND'"},
      {"a band shown before the report runs",
       {"begin Engine.ShowBand(Pozycja) end."},
       "The report engine is not building a page: 'SHOWBAND'"},
      {"a new page before the report runs",
       {"begin Engine.NewPage end."},
       "The report engine is not building a page: 'NEWPAGE'"},
      {"an anchor before the report runs",
       {"begin Engine.AddAnchor('a') end."},
       "The report engine is not building a page: 'ADDANCHOR'"},
      {"an outline item before the report runs",
       {"begin Outline.LevelUp; Outline.LevelRoot; Outline.AddItem('x') end."},
       "The report engine is not building a page: 'ADDITEM'"},
      {"a report object without an owner",
       {"var m: TfrxMemoView;", "begin m := TfrxMemoView.Create(nil) end."},
       "A report object needs an owner: 'CREATE'"},
      {"an object created while its band is placed",
       {"procedure P(Sender: TfrxComponent); begin TfrxMemoView.Create(Naglowek) end;",
        "begin Tytul.OnBeforePrint := 'P' end."},
       "The report engine is placing a band: 'CREATE'"},
      {"an object moved while its band is placed",
       {"procedure P(Sender: TfrxComponent); begin Sender.Parent := Pozycja end;", "begin Tytul.OnBeforePrint := 'P' end."},
       "The report engine is placing a band: 'PARENT'"},
      {"a band emptied while the report runs",
       {"procedure P(Sender: TfrxComponent); begin Naglowek.Clear end;", "begin Tytul.OnBeforePrint := 'P' end."},
       "The report is being prepared: 'CLEAR'"},
      {"a template loaded while the report runs",
       {"procedure P(Sender: TfrxComponent); begin Report.LoadFromFile('inny.fr3') end;",
        "begin Strona1.OnBeforePrint := 'P' end."},
       "The report is being prepared: 'LOADFROMFILE'"},
      {"a text where a number is expected, found when the script runs",
       {"var v: Variant;", "begin v := 'daleko'; Tytul.Left := v end."},
       "Could not convert variant of type (String) into type (Double)"},
  };
  for (const Case& c : cases) {
    DeliveryNote note;
    note.Run("PascalScript", c.script);
    EXPECT_NE(note.report->Errors().Text().find(c.error), std::string::npos)
        << c.what << ": " << note.report->Errors().Text();
  }
}

TEST_F(ReportClasses, VariableListsArraysConstantsAndDateParts) {
  DeliveryNote note;
  note.report->EngineOptions().KeepTemplateCopy = false;
  frxGlobalVariables().Set("Firma", Variant(std::string("Hurtownia Morwa")));
  note.Run("PascalScript",
           {"var v: TfrxVariables; a: TfrxArray;", "begin", "  v := TfrxVariables.Create;", "  v['Rabat'] := 5;",
            "  a := TfrxArray.Create;", "  a['KLUCZ'] := 'jeden'; a['klucz'] := 'dwa'; a[7] := 'siedem';",
            "  Set('Wynik', IntToStr(v['Rabat']) + ' ' + a['Klucz'] + ' ' + a['7'] + ' ' + frxGlobalVariables['Firma'] +",
            "    ' ' + IntToStr(DayOf(EncodeDate(2026, 12, 11))) + '.' + IntToStr(MonthOf(EncodeDate(2026, 12, 11))) +",
            "    '.' + IntToStr(YearOf(EncodeDate(2026, 12, 11))) + ' ' + IntToStr(Round(fr1cm * 20)) + ' ' + IntToStr(Round(fr1in)));",
            "  Report.Variables['Brak'] := v['Brak'];",
            "  v.Free; a.Free;", "end."});
  frxGlobalVariables().Clear();
  ASSERT_EQ(note.report->Errors().Count(), 0) << note.report->Errors().Text();
  const std::string result = fsVarToText(note.report->Variables().Get("Wynik"));
  EXPECT_EQ(result, "5 dwa siedem Hurtownia Morwa 11.12.2026 756 96");
  EXPECT_TRUE(note.report->Variables().Get("Brak").isNull());
}

// Dialog pages are not shown here; pictures of the formats scripts name are the graphics
// module's pictures.
TEST_F(ReportClasses, DialogPagesAnswerTheirModalResultAndPictureFormatsArePictures) {
  DeliveryNote note;
  note.report->EngineOptions().KeepTemplateCopy = false;
  auto* dialog = new TfrxDialogPage(note.report.get());
  dialog->SetName("Pytanie");
  note.Run("PascalScript", {"var j: TJPEGImage; s: String;", "begin", "  s := IntToStr(Pytanie.ShowModal);",
                            "  Pytanie.ModalResult := mrOk;", "  s := s + ' ' + IntToStr(Pytanie.ShowModal);",
                            "  j := TJPEGImage.Create;", "  s := s + ' ' + IntToStr(j.Width);", "  j.Free;",
                            "  Set('Wynik', s);", "end."});
  ASSERT_EQ(note.report->Errors().Count(), 0) << note.report->Errors().Text();
  EXPECT_EQ(fsVarToText(note.report->Variables().Get("Wynik")), "2 1 0");
}

TEST_F(ReportClasses, AReportWithoutEngineCompilesScriptsThatNameIt) {
  fsUseScriptEngineForReports();
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  report.ScriptText() = {"begin", "  Set('Wolne', Engine.FreeSpace);", "end."};
  report.Prepare();
  EXPECT_NE(report.Errors().Text().find("Object is nil or not a TfrxCustomEngine: 'FREESPACE'"), std::string::npos)
      << report.Errors().Text();
}

TEST_F(ReportClasses, AStandInEndsWithItsObject) {
  fsUseScriptEngineForReports();
  TfrxReport report;
  auto* page = new TfrxReportPage(&report);
  auto* band = new TfrxReportTitle(page);
  auto* memo = new TfrxMemoView(band);
  const Variant held = frxScriptValue(memo);
  const Variant font = frxScriptValue(memo->FontProps(), memo);
  ASSERT_NE(fsVariantToObject(held), nullptr);
  EXPECT_EQ(frxScriptObject(held), memo);
  EXPECT_EQ(fsVariantToObject(frxScriptValue(memo)), fsVariantToObject(held));  // one stand-in per object
  delete memo;
  EXPECT_EQ(fsVariantToObject(held), nullptr);
  EXPECT_EQ(fsVariantToObject(font), nullptr);
}

}  // namespace
