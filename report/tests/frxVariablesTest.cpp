#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/Stream.h"
#include "report/frxVariables.h"
#include "report/frxXML.h"

namespace {

// " Faktura" and " Nabywca" are category headers; Waluta comes before the first one.
void FillInvoiceVariables(TfrxVariables& v) {
  v.Set("Waluta", "PLN");
  v.Set(" Faktura", Variant::Null());
  v.Set("Numer", "FV/2026/12/001");
  v.Set("Netto", "100*2");
  v.Set(" Nabywca", Variant::Null());
  v.Set("Nazwa", codepage::Utf8ToAnsi("Hurtownia Łódź"));
}

std::vector<std::string> Names(const TfrxVariables& v) {
  std::vector<std::string> names;
  for (int i = 0; i < v.Count(); ++i) names.push_back(v.Items(i).Name());
  return names;
}

TEST(TfrxVariables, NamesCompareWithoutCaseAndTheFirstMatchWins) {
  TfrxVariables v;
  v.Set("Netto", 1);
  v.Add().SetName("NETTO");
  v.Items(1).SetValue(2);
  EXPECT_EQ(v.IndexOf("netto"), 0);
  EXPECT_EQ(v.Get("nEtTo").toInt32(), 1);
  EXPECT_TRUE(v.Get("Brutto").isNull());
  v.Set("brutto", 3);  // a missing name is appended
  EXPECT_EQ(Names(v), (std::vector<std::string>{"Netto", "NETTO", "brutto"}));
}

TEST(TfrxVariables, CategoriesAndTheirVariables) {
  TfrxVariables v;
  FillInvoiceVariables(v);
  EXPECT_EQ(v.GetCategoriesList(), (std::vector<std::string>{"Faktura", "Nabywca"}));
  struct Case {
    const char* category;
    std::vector<std::string> names;
  } cases[] = {
      {"", {"Waluta"}},
      {"Faktura", {"Numer", "Netto"}},
      {"nabywca", {"Nazwa"}},
      {"Dostawca", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(v.GetVariablesList(c.category), c.names) << c.category;
}

TEST(TfrxVariables, AddVariableInsertsAtTheEndOfTheCategoryBlock) {
  TfrxVariables v;
  FillInvoiceVariables(v);
  v.AddVariable("Faktura", "Brutto", "246");
  v.AddVariable("", "Kurs", 1);
  v.AddVariable("Dostawca", "NIP", "521-000-00-00");  // a new category goes at the end
  EXPECT_EQ(Names(v), (std::vector<std::string>{"Waluta", "Kurs", " Faktura", "Numer", "Netto", "Brutto", " Nabywca",
                                                "Nazwa", " Dostawca", "NIP"}));
  // An existing name anywhere only gets the new value.
  v.AddVariable("Nabywca", "netto", "300");
  EXPECT_EQ(v.Count(), 10);
  EXPECT_EQ(v.Get("Netto").toString8(), "300");
  EXPECT_EQ(v.IndexOf("Netto"), 4);
}

TEST(TfrxVariables, DeleteCategoryTakesItsVariablesOnly) {
  TfrxVariables v;
  FillInvoiceVariables(v);
  v.DeleteCategory("FAKTURA");
  EXPECT_EQ(Names(v), (std::vector<std::string>{"Waluta", " Nabywca", "Nazwa"}));
  v.DeleteCategory("Brak");
  v.DeleteVariable("Waluta");
  EXPECT_EQ(Names(v), (std::vector<std::string>{" Nabywca", "Nazwa"}));
}

TEST(TfrxVariables, SavedDocumentLoadsBackWithPolishText) {
  TfrxVariables v;
  FillInvoiceVariables(v);
  v.Set("Pozycje", 12);
  TMemoryStream stream;
  v.SaveToStream(stream);
  std::string xml = stream.DataString();
  EXPECT_NE(xml.find("<variables>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<item Name=\"Nazwa\" Value=\"Hurtownia \xA3\xF3\x64\x9F\"/>"), std::string::npos) << xml;

  TfrxVariables back;
  back.Set("Stara", 1);
  stream.SetPosition(0);
  back.LoadFromStream(stream);
  EXPECT_EQ(Names(back), Names(v));
  EXPECT_EQ(back.Get("Nazwa").toString8(), codepage::Utf8ToAnsi("Hurtownia Łódź"));
  // Values come back as text, the way templates store them.
  EXPECT_EQ(back.Get("Pozycje").kind(), VarKind::String);
  EXPECT_EQ(back.Get("Pozycje").toString8(), "12");
}

TEST(TfrxVariables, TextIsDecodedFromUtf8OnlyWhenTheDeclarationSaysSo) {
  struct Case {
    const char* declaration;
    const char* value;
  } cases[] = {
      {"<?xml version=\"1.0\"?>", "\xA3\xF3\x64\x9F"},
      {"<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>", "\xC5\x81\xC3\xB3\x64\xC5\xBA"},
  };
  for (const Case& c : cases) {
    TMemoryStream stream;
    stream.WriteString(std::string(c.declaration) + "<variables><item Name=\"Miasto\" Value=\"" + c.value +
                       "\"/></variables>");
    stream.SetPosition(0);
    TfrxVariables v;
    v.LoadFromStream(stream);
    EXPECT_EQ(v.Get("Miasto").toString8(), "\xA3\xF3\x64\x9F") << c.declaration;
  }
}

TEST(TfrxVariables, UnreadableDocumentRaisesAndKeepsTheList) {
  TMemoryStream stream;
  stream.WriteString("<?xml version=\"1.0\"?><variables><item Name=\"A\"");
  stream.SetPosition(0);
  TfrxVariables v;
  v.Set("Netto", 5);
  EXPECT_THROW(v.LoadFromStream(stream), TfrxInvalidXMLException);
  EXPECT_EQ(v.Count(), 1);
}

}  // namespace
