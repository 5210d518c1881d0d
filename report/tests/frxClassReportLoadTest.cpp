#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Stream.h"
#include "report/frxClassBand.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxXML.h"
#include "frxReportTestDoubles.h"
#include "frxTemplateTexts.h"

namespace {

// The report element's PropData attribute of a saved template.
std::string PropDataOf(const std::string& xml) {
  TMemoryStream stream;
  stream.WriteString(xml);
  stream.SetPosition(0);
  TfrxXMLDocument doc;
  doc.LoadFromStream(stream);
  return doc.Root()->Prop("PropData");
}

std::vector<std::string> VariableNames(TfrxReport& report) {
  std::vector<std::string> names;
  for (int i = 0; i < report.Variables().Count(); ++i) names.push_back(report.Variables().Items(i).Name());
  return names;
}

TEST(TfrxReportLoad, HostDecidesSilentModeTemplateDecidesDoublePass) {
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  report.EngineOptions().MaxMemSize = 10;
  report.PreviewOptions().Modal = true;
  // The template names the registry key; the host keeps its own settings file.
  report.SetIniFile("/home/biuro/.config/tavrel/podglad.ini");
  ASSERT_TRUE(report.LoadFromFile(FixturePath("faktura_opcje.fr3")));
  EXPECT_TRUE(report.Errors().Empty()) << report.Errors().Text();
  const TfrxEngineOptions& e = report.EngineOptions();
  EXPECT_EQ(e.NewSilentMode, simSilent);  // the template's SilentMode="False" does not count
  EXPECT_TRUE(e.DoublePass);
  EXPECT_FALSE(e.ConvertNulls);
  EXPECT_TRUE(e.IgnoreDevByZero);
  EXPECT_EQ(e.MaxMemSize, 10);
  EXPECT_EQ(e.TempDir, "");
  const TfrxPreviewOptions& p = report.PreviewOptions();
  EXPECT_TRUE(p.Modal);
  EXPECT_EQ(p.Zoom, 1);
  EXPECT_TRUE(p.OutlineVisible);
  EXPECT_EQ(p.OutlineWidth, 180);
  EXPECT_EQ(p.PagesInCache, 20);
  EXPECT_EQ(report.PrintOptions().Copies, 2);  // print options are the template's
  EXPECT_EQ(report.PrintOptions().Printer, "HP LaserJet");
  EXPECT_EQ(report.PrintOptions().PrintPages, ppOdd);
  EXPECT_EQ(report.IniFile(), "/home/biuro/.config/tavrel/podglad.ini");
  EXPECT_FALSE(report.OldStyleProgress());
  EXPECT_TRUE(report.ShowProgress());
  ASSERT_EQ(report.Objects().size(), 1u);
  EXPECT_EQ(report.FileName(), FixturePath("faktura_opcje.fr3"));
}

TEST(TfrxReportLoad, MissingTemplateGivesAnEmptyReportAndNoError) {
  ErrorBoxes boxes;
  TfrxReport report;
  new TfrxTestInvoicePage(&report);
  report.Variables().Set("Netto", 1);
  EXPECT_FALSE(report.LoadFromFile(FixturePath("nie_ma_takiej_faktury.fr3")));
  EXPECT_TRUE(report.Objects().empty());
  EXPECT_EQ(report.Variables().Count(), 0);
  EXPECT_TRUE(report.Errors().Empty());
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(report.FileName(), "");
  EXPECT_THROW(report.LoadFromFile(FixturePath("nie_ma_takiej_faktury.fr3"), true), EStreamError);
}

TEST(TfrxReportLoad, UnreadableTemplateIsAnErrorShownByTheSilentMode) {
  struct Case {
    TfrxSilentMode mode;
    size_t boxes;
  } cases[] = {{simSilent, 0}, {simMessageBoxes, 1}};
  for (const Case& c : cases) {
    ErrorBoxes boxes;
    TfrxReport report;
    report.EngineOptions().NewSilentMode = c.mode;
    EXPECT_TRUE(report.LoadFromFile(FixturePath("faktura_uszkodzona.fr3")));
    EXPECT_EQ(report.Errors().Items(), (std::vector<std::string>{"Invalid file format"}));
    ASSERT_EQ(boxes.shown.size(), c.boxes);
    if (c.boxes) {
      EXPECT_EQ(boxes.shown[0].text, Ansi("Pojawił się następujący błąd(y):\r\nInvalid file format"));
    }
  }
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simReThrow;
  EXPECT_THROW(report.LoadFromFile(FixturePath("faktura_uszkodzona.fr3")), EfrxReportError);
}

TEST(TfrxReportLoad, TheThreeCollectionsRoundTripToTheSameBytes) {
  TfrxUserDataSet dane(nullptr);
  dane.SetName("Dane");
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  std::string original = FileText(FixturePath("faktura_zbiory.fr3"));
  ASSERT_TRUE(report.LoadFromFile(FixturePath("faktura_zbiory.fr3")));
  EXPECT_TRUE(report.Errors().Empty()) << report.Errors().Text();

  ASSERT_EQ(report.DataSets().Count(), 2);
  EXPECT_EQ(report.DataSets().Items(0).DataSet(), &dane);
  EXPECT_EQ(report.GetDataset("DANE"), &dane);
  EXPECT_EQ(report.DataSets().Items(1).DataSet(), nullptr);
  EXPECT_EQ(report.DataSets().Items(1).DataSetName(), "Seria");
  EXPECT_EQ(VariableNames(report),
            (std::vector<std::string>{" Faktura", "Netto", "Nabywca", Ansi(" Płatność"), "Termin"}));
  EXPECT_EQ(report.Variables().Get("Nabywca").toString8(), Ansi("Hurtownia Łódź"));
  ASSERT_EQ(report.Styles().Count(), 2);
  EXPECT_EQ(report.Styles().Items(0).Name(), Ansi("Nagłówek"));
  EXPECT_EQ(report.Styles().Items(0).Font().Style, 1);
  EXPECT_TRUE(report.Styles().Items(0).Frame().Has(static_cast<TfrxFrameType>(0)));

  std::string saved = Saved(report);
  EXPECT_EQ(PropDataOf(saved), PropDataOf(original));
  EXPECT_FALSE(PropDataOf(saved).empty());
}

// As some writers store them: "Left" as a 32-bit integer, an item's text as short text
// (type 6), and a record of its own before "Variables" that the report does not know.
TEST(TfrxReportLoad, CollectionsAsOtherWritersStoreThemAreRead) {
  const std::string propData =
      "044C65667404E8030000"                                  // Left = 1000 (type 4)
      "03546F700200"                                          // Top = 0 (type 8-bit)
      "044B6F6C6F0603616263"                                  // Kolo = "abc": not ours, stepped over
      "095661726961626C6573"                                  // Variables
      "01010618204E616D653D22496C6F7363222056616C75653D223132220000";  // ( ( ' Name="Ilosc" Value="12"' ) )
  TMemoryStream m;
  m.WriteString("<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxReport Version=\"4.9.85\" PropData=\"" + propData +
                "\"/>");
  m.SetPosition(0);
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  report.LoadFromStream(m);
  EXPECT_TRUE(report.Errors().Empty()) << report.Errors().Text();
  EXPECT_EQ(report.Variables().Get("Ilosc").toString8(), "12");
  // Written back with the smallest integer types and long texts; stable from then on.
  std::string first = PropDataOf(Saved(report));
  EXPECT_EQ(first.substr(0, 16), "044C65667403E803");
  TMemoryStream again;
  again.WriteString(Saved(report));
  again.SetPosition(0);
  TfrxReport second;
  second.LoadFromStream(again);
  EXPECT_EQ(PropDataOf(Saved(second)), first);
}

TEST(TfrxReportLoad, TemplateNamingAMissingDatasetShowsItWhenPrepared) {
  ErrorBoxes boxes;
  PluggedReport r;
  ASSERT_TRUE(r.report.LoadFromFile(FixturePath("faktura_brak_zrodla.fr3")));
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(r.report.Prepare());
  EXPECT_EQ(r.engine->runs, 0);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, Ansi("Pojawił się następujący błąd(y):\r\nŹródło \"Faktury\" nie istnieje"));
}

TEST(TfrxReportLoad, PasswordIsStoredLoweredByTen) {
  TfrxReport report;
  report.ReportOptions().Password = "Tajne9";
  std::string saved = Saved(report);
  EXPECT_NE(saved.find("ReportOptions.Password=\"J" "W`d[/\""), std::string::npos) << saved;
  EXPECT_EQ(report.ReportOptions().Password, "Tajne9");

  struct Case {
    const char* entered;  // nullptr: the window is cancelled
    bool loads;
  } cases[] = {{"Tajne9", true}, {"tajne9", false}, {nullptr, false}};
  for (const Case& c : cases) {
    TfrxPasswordQuestion previous = frxSetPasswordQuestion([&](std::string& password) {
      if (!c.entered) return false;
      password = c.entered;
      return true;
    });
    TfrxReport loaded;
    loaded.EngineOptions().NewSilentMode = simSilent;
    new TfrxTestInvoicePage(&report);
    TMemoryStream m;
    m.WriteString(Saved(report));
    m.SetPosition(0);
    loaded.LoadFromStream(m);
    EXPECT_EQ(loaded.Errors().Empty(), c.loads) << (c.entered ? c.entered : "cancel");
    EXPECT_EQ(loaded.ReportOptions().Password, c.loads ? "Tajne9" : "");
    EXPECT_EQ(loaded.Objects().empty(), !c.loads);
    frxSetPasswordQuestion(previous);
  }
}

class TemplateFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("tavrel_report_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_ / "oddzial");
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  std::filesystem::path folder_;
};

TEST_F(TemplateFolder, SaveToFileMakesAnAbsoluteParentReportRelative) {
  std::filesystem::copy_file(FixturePath("faktura_rodzic.fr3"), Path("faktura_rodzic.fr3"));
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  report.SetParentReport(Path("faktura_rodzic.fr3"));
  EXPECT_EQ(report.ParentReport(), Path("faktura_rodzic.fr3"));
  report.SaveToFile(Path("oddzial/faktura.fr3"));
  EXPECT_EQ(report.ParentReport(), "../faktura_rodzic.fr3");
  EXPECT_NE(FileText(Path("oddzial/faktura.fr3")).find("ParentReport=\"../faktura_rodzic.fr3\""), std::string::npos);
}

TEST_F(TemplateFolder, AncestorIsFoundBesideTheTemplateAndMergedUnderIt) {
  for (const char* f : {"faktura_rodzic.fr3", "faktura_dziecko.fr3"})
    std::filesystem::copy_file(FixturePath(f), Path(std::string("oddzial/") + f));
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  ASSERT_TRUE(report.LoadFromFile(Path("oddzial/faktura_dziecko.fr3")));
  EXPECT_TRUE(report.Errors().Empty()) << report.Errors().Text();
  EXPECT_EQ(report.ParentReport(), "faktura_rodzic.fr3");
  EXPECT_EQ(report.ReportOptions().Author, "Centrala");  // from the ancestor
  auto* naglowek = dynamic_cast<TfrxTestTextView*>(report.FindObject("Naglowek"));
  auto* stopka = dynamic_cast<TfrxTestTextView*>(report.FindObject("Stopka"));
  auto* numer = dynamic_cast<TfrxTestTextView*>(report.FindObject("Numer"));
  ASSERT_TRUE(naglowek && stopka && numer);
  EXPECT_EQ(naglowek->Caption(), Ansi("Hurtownia Łódź, oddział Kraków"));
  EXPECT_EQ(naglowek->Width(), 300);  // the ancestor's value, not repeated by the template
  EXPECT_TRUE(naglowek->IsAncestor());
  EXPECT_TRUE(stopka->IsAncestor());
  EXPECT_FALSE(numer->IsAncestor());

  // Inherited objects are written with what this template changes only.
  std::string saved = Saved(report);
  EXPECT_NE(saved.find("<inherited Name=\"Stopka\"/>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<inherited Name=\"Naglowek\" Caption=\"" + Ansi("Hurtownia Łódź, oddział Kraków") + "\"/>"),
            std::string::npos)
      << saved;
  EXPECT_NE(saved.find("<TfrxTestTextView Name=\"Numer\""), std::string::npos) << saved;
  EXPECT_EQ(saved.find("Centrala"), std::string::npos) << saved;
}

TEST_F(TemplateFolder, ATemplateThatIsItsOwnAncestorEndsWithAnError) {
  std::filesystem::copy_file(FixturePath("faktura_petla.fr3"), Path("faktura_petla.fr3"));
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  ASSERT_TRUE(report.LoadFromFile(Path("faktura_petla.fr3")));
  ASSERT_EQ(report.Errors().Count(), 1);
  EXPECT_NE(report.Errors()[0].find("limit is 16"), std::string::npos) << report.Errors()[0];
  EXPECT_EQ(report.Objects().size(), 1u);
}

TEST_F(TemplateFolder, DuplicateNamesAreRenamedOrDeletedAsAnswered) {
  std::filesystem::copy_file(FixturePath("faktura_rodzic.fr3"), Path("faktura_rodzic.fr3"));
  for (TfrxDuplicatesAnswer answer : {TfrxDuplicatesAnswer::Rename, TfrxDuplicatesAnswer::Delete}) {
    std::vector<std::string> asked;
    TfrxDuplicatesQuestion previous = frxSetDuplicatesQuestion([&](const std::vector<std::string>& names) {
      asked = names;
      return answer;
    });
    TfrxReport report;
    report.EngineOptions().NewSilentMode = simSilent;
    auto* page = new TfrxTestInvoicePage(&report);
    page->SetName("Strona2");
    auto* memo = new TfrxTestTextView(page);
    memo->SetName("Stopka");
    memo->SetCaption("Strona 1 z 1");
    report.SetParentReport(Path("faktura_rodzic.fr3"));
    EXPECT_EQ(asked, (std::vector<std::string>{"Stopka"}));
    auto* ancestorFooter = dynamic_cast<TfrxTestTextView*>(report.FindObject("Stopka"));
    ASSERT_NE(ancestorFooter, nullptr);
    EXPECT_EQ(ancestorFooter->Caption(), Ansi("Dziękujemy za zakupy"));
    auto* renamed = dynamic_cast<TfrxTestTextView*>(report.FindObject("Stopka1"));
    if (answer == TfrxDuplicatesAnswer::Rename) {
      ASSERT_NE(renamed, nullptr);
      EXPECT_EQ(renamed->Caption(), "Strona 1 z 1");
      EXPECT_FALSE(renamed->IsAncestor());
    } else {
      EXPECT_EQ(renamed, nullptr);
    }
    EXPECT_NE(report.FindObject("Strona2"), nullptr);
    frxSetDuplicatesQuestion(previous);
  }
}

}  // namespace

namespace {

TEST(TfrxReportLoad, AnInvoiceWithPagesAndBandsRoundTripsToTheSameBytes) {
  ErrorBoxes boxes;
  TfrxReport report;
  std::string original = FileText(FixturePath("faktura_strony.fr3"));
  ASSERT_TRUE(report.LoadFromFile(FixturePath("faktura_strony.fr3")));
  EXPECT_TRUE(report.Errors().Empty()) << report.Errors().Text();
  EXPECT_TRUE(boxes.shown.empty());

  ASSERT_EQ(report.Objects().size(), 2u);
  EXPECT_EQ(report.Objects()[0]->ClassName(), "TfrxDataPage");
  auto& page = dynamic_cast<TfrxReportPage&>(*report.Objects()[1]);
  EXPECT_EQ(page.Objects().size(), 9u);
  EXPECT_EQ(page.Height(), 1123);
  auto* title = page.FirstBandOfClass<TfrxReportTitle>();
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->Child(), report.FindObject("Child1"));
  auto* master = page.FirstBandOfClass<TfrxMasterData>();
  ASSERT_NE(master, nullptr);
  EXPECT_EQ(master->DataSetName(), "Dane");
  EXPECT_EQ(master->RowCount(), 0);
  EXPECT_EQ(page.FirstBandOfClass<TfrxGroupHeader>()->Condition(), "Dane.\"Stawka\"");
  EXPECT_EQ(report.Variables().Get("Netto").toString8(), "100*2");
  ASSERT_EQ(report.Styles().GetList(), (std::vector<std::string>{Ansi("Nagłówek"), "Pozycje"}));
  auto* heading = dynamic_cast<TfrxMemoView*>(report.FindObject("Tytul"));
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(heading->Style(), Ansi("Nagłówek"));
  EXPECT_EQ(heading->Color(), 15790320);
  EXPECT_EQ(heading->Parent(), title);
  EXPECT_EQ(report.FindObject("Kreska")->ClassName(), "TfrxLineView");
  EXPECT_EQ(report.FindObject("Ramka")->Parent()->ClassName(), "TfrxReportSummary");

  EXPECT_EQ(Saved(report), original);
}

}  // namespace
