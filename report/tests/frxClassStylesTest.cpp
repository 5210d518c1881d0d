#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/Stream.h"
#include "report/frxClassBand.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassReport.h"
#include "report/frxClassStyles.h"

namespace {

std::string Ansi(const char* utf8) { return codepage::Utf8ToAnsi(utf8); }

TfrxStyleItem& AddStyle(TfrxStyles& styles, const std::string& name, TColor color, int fontSize) {
  TfrxStyleItem& item = styles.Add();
  item.SetName(name);
  item.SetColor(color);
  TFont font = item.Font();
  font.Size = fontSize;
  item.SetFont(font);
  return item;
}

std::vector<std::string> LoadText(TfrxStyles& styles, const std::string& text) {
  TMemoryStream stream;
  stream.WriteString(text);
  stream.SetPosition(0);
  return styles.LoadFromStream(stream);
}

TEST(TfrxStyles, NewItemsTakeTheFirstFreeNumberAndNamesStayUnique) {
  TfrxStyles styles;
  EXPECT_EQ(styles.Add().Name(), "Style1");
  TfrxStyleItem& second = styles.Add();
  EXPECT_EQ(second.Name(), "Style2");
  styles.Items(0).SetName("Nagłówek");
  EXPECT_EQ(styles.Add().Name(), "Style1");  // the gap is filled

  try {
    second.SetName("STYLE1");
    ADD_FAILURE() << "no error";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "Duplicate name");
  }
  EXPECT_EQ(second.Name(), "Style2");
  second.SetName("style2");  // its own name in other letters is no duplicate
  EXPECT_EQ(second.Name(), "style2");

  EXPECT_EQ(styles.Find("NAGŁÓWEK"), nullptr);  // ASCII letters only ignore case
  EXPECT_EQ(styles.Find("STYLE1"), &styles.Items(2));
  EXPECT_EQ(styles.GetList(), (std::vector<std::string>{"Nagłówek", "style2", "Style1"}));
  styles.Delete(0);
  styles.Delete(7);
  EXPECT_EQ(styles.Count(), 2);
}

TEST(TfrxStyles, ApplyStylesGivesMemosTheirStyleOrTakesAMissingOneAway) {
  TfrxReport report;
  auto* page = new TfrxReportPage(&report);
  auto* band = new TfrxMasterData(page);
  auto* styled = new TfrxMemoView(band);
  auto* orphan = new TfrxMemoView(band);
  styled->SetStyle("Kwota");
  orphan->SetStyle("Usunięty");
  TfrxStyleItem& kwota = AddStyle(report.Styles(), "Kwota", clSilver, 12);
  kwota.Frame().SetTyp(15);

  report.Styles().ApplyStyles();
  EXPECT_EQ(styled->Style(), "Kwota");
  EXPECT_EQ(styled->Color(), clSilver);
  EXPECT_EQ(styled->Font().Size, 12);
  EXPECT_EQ(styled->Frame().Typ(), 15);
  EXPECT_EQ(orphan->Style(), "");
}

TEST(TfrxStyles, StyleFilesRoundTripAndApplyToTheReport) {
  TfrxReport report;
  auto* page = new TfrxReportPage(&report);
  auto* memo = new TfrxMemoView(new TfrxReportTitle(page));
  memo->SetStyle(Ansi("Nagłówek"));

  TfrxStyles written;
  written.SetName(Ansi("Faktury Kłos"));
  AddStyle(written, Ansi("Nagłówek"), clGray, 14).Frame().SetTyp(4);
  AddStyle(written, "Pozycje", clTransparent, 9);
  TMemoryStream file;
  written.SaveToStream(file);
  std::string text = file.DataString();
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<style Name=\"", 0), 0u) << text;
  EXPECT_NE(text.find("\r\n  <item Name=\"Pozycje\" Color=\"536870911\""), std::string::npos) << text;

  file.SetPosition(0);
  EXPECT_TRUE(report.Styles().LoadFromStream(file).empty());
  EXPECT_EQ(report.Styles().Name(), Ansi("Faktury Kłos"));
  ASSERT_EQ(report.Styles().GetList(), (std::vector<std::string>{Ansi("Nagłówek"), "Pozycje"}));
  EXPECT_EQ(report.Styles().Items(0).Font().Size, 14);
  EXPECT_EQ(report.Styles().Items(0).Frame().Typ(), 4);
  EXPECT_EQ(memo->Color(), clGray);  // loading applied the styles

  TMemoryStream again;
  report.Styles().SaveToStream(again);
  EXPECT_EQ(again.DataString(), text);
}

TEST(TfrxStyles, ADocumentThatIsNoStyleLoadsNothing) {
  for (const char* root : {"styles", "stylesheet", "TfrxReport"}) {
    TfrxStyles styles;
    styles.Add();
    EXPECT_TRUE(LoadText(styles, std::string("<?xml version=\"1.0\"?><") + root +
                                     " Name=\"Inne\"><item Name=\"Tytul\"/></" + root + ">")
                    .empty());
    EXPECT_EQ(styles.Count(), 0) << root;
    EXPECT_EQ(styles.Name(), "");
  }
  // Other children than items are stepped over; the element's name is any case.
  TfrxStyles styles;
  EXPECT_TRUE(LoadText(styles,
                       "<?xml version=\"1.0\"?><STYLE Name=\"Zestaw\"><item Name=\"Tytul\" Color=\"255\"/>"
                       "<uwaga Name=\"x\"/><Item Name=\"Suma\" Font.Style=\"1\"/></STYLE>")
                  .empty());
  EXPECT_EQ(styles.GetList(), (std::vector<std::string>{"Tytul", "Suma"}));
  EXPECT_EQ(styles.Items(0).Color(), 255);
  EXPECT_EQ(styles.Items(1).Font().Style, fsBold);
}

TEST(TfrxStyles, ADuplicateNameInAFileIsReportedAndTheItemKeepsItsOwn) {
  TfrxStyles styles;
  EXPECT_EQ(LoadText(styles,
                     "<?xml version=\"1.0\"?><style Name=\"Zestaw\"><item Name=\"Suma\"/>"
                     "<item Name=\"SUMA\" Color=\"255\"/></style>"),
            (std::vector<std::string>{"Duplicate name"}));
  EXPECT_EQ(styles.GetList(), (std::vector<std::string>{"Suma", "Style1"}));
  EXPECT_EQ(styles.Items(1).Color(), 255);
}

TEST(TfrxStyleSheet, HoldsCollectionsAndReadsItsOwnFilesOnly) {
  TfrxStyleSheet sheet;
  TfrxStyles& invoices = sheet.Add();
  invoices.SetName("Faktury");
  AddStyle(invoices, "Kwota", clRed, 10);
  TfrxStyles& notes = sheet.Add();
  notes.SetName("Dostawy");
  AddStyle(notes, "Adres", clBlue, 8);
  EXPECT_EQ(sheet.GetList(), (std::vector<std::string>{"Faktury", "Dostawy"}));
  EXPECT_EQ(sheet.Find("DOSTAWY"), &notes);

  TMemoryStream file;
  sheet.SaveToStream(file);
  EXPECT_NE(file.DataString().find("<stylesheet>\r\n  <style Name=\"Faktury\">"), std::string::npos)
      << file.DataString();
  file.SetPosition(0);
  TfrxStyleSheet read;
  read.Add();
  EXPECT_TRUE(read.LoadFromStream(file).empty());
  ASSERT_EQ(read.GetList(), (std::vector<std::string>{"Faktury", "Dostawy"}));
  EXPECT_EQ(read.Items(1).Items(0).Color(), clBlue);

  TMemoryStream single;
  invoices.SaveToStream(single);
  single.SetPosition(0);
  EXPECT_TRUE(read.LoadFromStream(single).empty());
  EXPECT_EQ(read.Count(), 0);

  read.Add();
  read.Add();
  read.Delete(0);
  read.Delete(5);
  EXPECT_EQ(read.Count(), 1);
}

}  // namespace
