#include <gtest/gtest.h>

#include "frxTemplateTexts.h"
#include "platform/CodePage.h"
#include "report/frxRes.h"
#include "report/frxXMLSerializer.h"
#include "frxTestClasses.h"

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

std::string Doc(const std::string& body) { return kDecl + body; }

class LocaleSeparator {
 public:
  explicit LocaleSeparator(char c) : saved_(frxDecimalSeparator()) { frxSetDecimalSeparator(c); }
  ~LocaleSeparator() { frxSetDecimalSeparator(saved_); }

 private:
  char saved_;
};

// An invoice layout: report, page, band, two memos and an object of every kind.
struct Invoice {
  TfrxTestReport report;
  TfrxTestPage* page = new TfrxTestPage(&report);
  TfrxTestBand* band = new TfrxTestBand(page);
  TfrxTestMemoView* title = new TfrxTestMemoView(band);
  TfrxTestMemoView* total = new TfrxTestMemoView(band);
  TfrxTestAllKinds* all = new TfrxTestAllKinds(page);
  Invoice() {
    page->SetName("Page1");
    band->SetName("MasterData1");
    band->SetBounds(0, 100, 718.1107, 18.89765);
    title->SetName("Memo1");
    title->SetBounds(37.7953, 0, 200, 18.89765);
    title->SetMemoText8(codepage::Utf8ToAnsi("Faktura VAT nr [Dane.\"Nr\"]\r\nSprzedawca: Zażółć Sp. z o.o."));
    title->Frame().SetTyp(15);
    title->Frame().SetWidth(2);
    TFont bold;
    bold.Style = fsBold;
    total->SetName("Memo2");
    total->SetFont(bold);
    total->SetColor(0xC0C0C0);
    total->SetTagStr("<Suma & \"brutto\">");
    all->SetName("All1");
    all->SetTarget(title);
    all->SetLinesText("pierwsza\r\ndruga\r\n");
    all->SetMode(baRight);
    all->SetSides(5);
    all->SetValue(Variant("100*2"));
    all->SetCaption(codepage::Utf8ToAnsi("Wartość"));
    all->blob = std::string("\x89PNG\0\x01", 6);
  }
};

TEST(SerializerWriting, AttributesInPropertyOrderWithPathsAndEncodings) {
  LocaleSeparator dot('.');
  Invoice inv;
  std::string xml = Save(inv.report);
  EXPECT_NE(xml.find("<TfrxTestMemoView Name=\"Memo1\" Left=\"37.7953\" Top=\"0\" Width=\"200\" Height=\"18.89765\" "
                     "Frame.Typ=\"15\" Frame.Width=\"2\" Text=\"Faktura VAT nr [Dane.&#34;Nr&#34;]&#13;&#10;Sprzedawca: "
                     "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 Sp. z o.o.\"/>"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("Name=\"Memo2\" Left=\"0\" Top=\"0\" Width=\"0\" Height=\"0\" Color=\"12632256\" "
                     "Font.Charset=\"1\" Font.Color=\"0\" Font.Height=\"-13\" Font.Name=\"Arial\" Font.Style=\"1\" "
                     "ParentFont=\"False\" TagStr=\"&#60;Suma &#38; &#34;brutto&#34;&#62;\""),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<TfrxTestAllKinds Name=\"All1\" Left=\"0\" Top=\"0\" Always=\"7\" Mode=\"baRight\" Sides=\"5\" "
                     "Ratio=\"1.5\" Caption=\"Warto\x9C\xE6\" Value=\"100*2\" Target=\"Memo1\" "
                     "Lines.Text=\"pierwsza&#13;&#10;druga\" PropData=\"04426C6F620A0600000089504E470001\"/>"),
            std::string::npos)
      << xml;
  EXPECT_EQ(xml.substr(0, kDecl.size() + 2), kDecl + "\r\n");
  EXPECT_NE(xml.find("\r\n  <TfrxTestPage Name=\"Page1\">\r\n    <TfrxTestBand Name=\"MasterData1\""), std::string::npos);
}

TEST(SerializerWriting, CommaLocaleWritesCommas) {
  LocaleSeparator comma(',');
  TfrxTestReport report;
  auto* memo = new TfrxTestMemoView(&report);
  memo->SetName("Memo1");
  memo->SetLeft(37.7953);
  EXPECT_NE(Save(report).find("Left=\"37,7953\""), std::string::npos);
}

TEST(SerializerWriting, DefaultsOnlyWithWriteDefaults) {
  TfrxTestReport report;
  auto* all = new TfrxTestAllKinds(&report);
  all->SetName("All1");
  std::string plain = Save(report), full = Save(report, true);
  for (const char* attr : {" Int=\"7\"", " Ch=\"65\"", " WCh=\"65\"", " Mode=\"baNone\"", " Sides=\"0\"", " Tag=\"0\""}) {
    EXPECT_EQ(plain.find(attr), std::string::npos) << attr;
    EXPECT_NE(full.find(attr), std::string::npos) << attr;
  }
  // Empty texts are never written; an empty list is.
  EXPECT_EQ(full.find("Caption="), std::string::npos);
  EXPECT_NE(plain.find(" Lines.Text=\"\""), std::string::npos);
  // A float stored only when it differs from its declared default.
  EXPECT_EQ(full.find(" Gap="), std::string::npos);
  all->SetGap(3);
  EXPECT_NE(Save(report).find(" Gap=\"3\""), std::string::npos);
}

TEST(SerializerRoundTrip, SecondSaveGivesTheSameBytes) {
  for (bool writeDefaults : {false, true}) {
    Invoice inv;
    std::string first = Save(inv.report, writeDefaults);
    TfrxTestReport again;
    EXPECT_TRUE(Load(again, first).empty());
    std::string second = Save(again, writeDefaults);
    EXPECT_EQ(first, second) << "WriteDefaults " << writeDefaults;
    auto* all = static_cast<TfrxTestAllKinds*>(again.FindObject("All1"));
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->Target(), again.FindObject("Memo1")) << "reference resolved after reading";
    EXPECT_EQ(all->blob, std::string("\x89PNG\0\x01", 6));
    EXPECT_EQ(all->LinesText(), "pierwsza\r\ndruga\r\n");
  }
}

// ---------------------------------------------------------------------------------------
// Reading values

struct ValueCase {
  const char* attributes;
  std::function<bool(const TfrxTestAllKinds&)> check;
  const char* what;
};

TEST(SerializerReading, ValuesByKind) {
  const ValueCase cases[] = {
      {"Left=\"37,7953\"", [](auto& a) { return a.Left() == 37.7953; }, "comma float"},
      {"Left=\"37.7953\"", [](auto& a) { return a.Left() == 37.7953; }, "dot float"},
      {"Left=\"1 000,5\"", [](auto& a) { return a.Left() == 1000.5; }, "spaces removed"},
      {"Int=\"$1F\"", [](auto& a) { return a.Int() == 31; }, "hex integer"},
      {"Int=\"-12\"", [](auto& a) { return a.Int() == -12; }, "negative integer"},
      {"Mode=\"baCenter\"", [](auto& a) { return a.Mode() == baCenter; }, "enum by name"},
      {"Mode=\"BACENTER\"", [](auto& a) { return a.Mode() == baCenter; }, "enum upper case"},
      {"Mode=\"3\"", [](auto& a) { return a.Mode() == baCenter; }, "enum ordinal"},
      {"Sides=\"15\"", [](auto& a) { return a.Sides() == 15; }, "set"},
      {"Sides=\"255\"", [](auto& a) { return a.Sides() == 15; }, "set keeps its members only"},
      {"Frame.Typ=\"15\"", [](auto& a) { return a.frame.Typ() == 15; }, "frame sides"},
      {"Font.Style=\"1\"", [](auto& a) { return a.Font().has(fsBold); }, "bold"},
      {"frame.leftline.color=\"255\"", [](auto& a) { return a.frame.LeftLine().Color() == 255; }, "nested path"},
      {"Lines.Text=\"a&#13;&#10;b\"", [](auto& a) { return a.LinesText() == "a\r\nb\r\n"; }, "string list"},
      {"Value=\"12\"", [](auto& a) { return a.Value().kind() == VarKind::String && a.Value().str() == "12"; }, "variant"},
      {"Ch=\"66\"", [](auto& a) { return a.Ch() == 'B'; }, "char"},
      {"Always=\"99\"", [](auto& a) { return a.Int() == 7; }, "read-only ignored"},
      {"Nope=\"1\" Int=\"8\"", [](auto& a) { return a.Int() == 8; }, "unknown ignored, scan goes on"},
      {"Frame.Nope.Color=\"1\" Int=\"9\"", [](auto& a) { return a.Int() == 9 && a.frame.Color() == 0; }, "bad path"},
      {"  Int =\"10\"  Top=\"4\"", [](auto& a) { return a.Int() == 10 && a.Top() == 4; }, "spaces"},
  };
  for (const ValueCase& c : cases) {
    TfrxTestReport report;
    auto* all = new TfrxTestAllKinds(&report);
    TfrxXMLSerializer s;
    s.RootOwner = &report;
    s.AttributesToProperties(c.attributes, *all);
    EXPECT_TRUE(c.check(*all)) << c.what;
    EXPECT_TRUE(s.ErrorTexts().empty()) << c.what;
  }
}

TEST(SerializerReading, BadValuesAreReportedAndLeaveTheProperty) {
  struct Case {
    const char* attributes;
    const char* error;
  };
  const Case cases[] = {
      {"Int=\"12a\"", "'12a' is not a valid integer value"},
      {"Left=\"1,2,3\"", "'1,2,3' is not a valid floating point value"},
      {"Mode=\"baMiddle\"", "Invalid property value: Mode=\"baMiddle\""},
      {"Mode=\"7\"", "Invalid property value: Mode=\"7\""},
      {"Mode=\"-1\"", "Invalid property value: Mode=\"-1\""},
      {"Name=\"1x\"", "'1x' is not a valid component name"},
  };
  for (const Case& c : cases) {
    TfrxTestReport report;
    auto* all = new TfrxTestAllKinds(&report);
    all->SetName("All1");
    TfrxXMLSerializer s;
    s.RootOwner = &report;
    s.AttributesToProperties(c.attributes, *all);
    EXPECT_EQ(s.ErrorTexts(), std::vector<std::string>{c.error}) << c.attributes;
    EXPECT_EQ(all->Mode(), baNone);
    EXPECT_EQ(all->Int(), 7);
    EXPECT_EQ(all->Left(), 0);
    EXPECT_EQ(all->Name(), "All1");
  }
}

TEST(SerializerReading, ErrorTextsSortedWithoutDuplicates) {
  TfrxTestReport report;
  auto* all = new TfrxTestAllKinds(&report);
  TfrxXMLSerializer s;
  s.AttributesToProperties("Int=\"x\" Mode=\"q\" Int=\"x\" Ratio=\"b\" Int=\"X\"", *all);
  EXPECT_EQ(s.ErrorTexts(), (std::vector<std::string>{"'b' is not a valid floating point value",
                                                      "'x' is not a valid integer value",
                                                      "Invalid property value: Mode=\"q\""}));
}

TEST(SerializerReading, LegacyTextDecidesTheStringEncoding) {
  const std::string utf8 = "Warto\xC5\x9B\xC4\x87";  // "Wartość"
  for (bool legacy : {true, false}) {
    TfrxTestReport report;
    auto* all = new TfrxTestAllKinds(&report);
    TfrxXMLSerializer s;
    s.LegacyText = legacy;
    s.AttributesToProperties("Caption=\"" + utf8 + "\" WCaption=\"" + utf8 + "\"", *all);
    EXPECT_EQ(all->Caption(), legacy ? utf8 : codepage::Utf8ToAnsi(utf8));
    EXPECT_EQ(all->WCaption(), legacy ? codepage::ToWide(utf8) : codepage::Utf8ToWide(utf8));
  }
}

TEST(SerializerReading, MemoTextIsAlwaysUtf8) {
  TfrxTestReport report;
  auto* memo = new TfrxTestMemoView(&report);
  TfrxXMLSerializer s;  // LegacyText set
  s.AttributesToProperties("Text=\"Zap\xC5\x82" "acono&#13;&#10;druga\"", *memo);
  EXPECT_EQ(memo->text, u"Zapłacono\r\ndruga\r\n");
}

TEST(SerializerReading, CompactAttributesOnlyOnTheirTargets) {
  struct Case {
    const char* attributes;
    double left, width;
    std::u16string text;
    double frameWidth;
  };
  const Case cases[] = {
      {"l=\"10,5\" w=\"20\"", 10.5, 20, u"", 1},
      {"u=\"Zap\xC5\x82" "acono\"", 0, 0, u"Zapłacono\r\n", 1},
      {"x=\"Zap\xB3" "acono\"", 0, 0, u"Zapłacono\r\n", 1},
      {"Frame.w=\"5\" Frame.l=\"3\"", 0, 0, u"", 1},  // a sub-object is no target
      {"L=\"7\"", 0, 0, u"", 1},                        // other letters are plain names
  };
  for (const Case& c : cases) {
    TfrxTestReport report;
    auto* memo = new TfrxTestMemoView(&report);
    TfrxXMLSerializer s;
    s.AttributesToProperties(c.attributes, *memo);
    EXPECT_EQ(memo->Left(), c.left) << c.attributes;
    EXPECT_EQ(memo->Width(), c.width) << c.attributes;
    EXPECT_EQ(memo->text, c.text) << c.attributes;
    EXPECT_EQ(memo->Frame().Width(), c.frameWidth) << c.attributes;
    EXPECT_TRUE(s.ErrorTexts().empty());
  }
  // "u" on an object that is not a memo has no target.
  TfrxTestReport report;
  auto* all = new TfrxTestAllKinds(&report);
  TfrxXMLSerializer s;
  s.AttributesToProperties("u=\"x\" x=\"y\" h=\"4\"", *all);
  EXPECT_EQ(all->Caption(), "");
  EXPECT_EQ(all->Height(), 4);
}

// ---------------------------------------------------------------------------------------
// Reading the tree

TEST(SerializerTree, UnknownClassSkipsTheSubtreeWithOneError) {
  TfrxTestReport report;
  auto errors = Load(report, Doc("<TfrxTestReport><TfrxTestPage Name=\"Page1\"><TfrxFooBar Name=\"X1\">"
                                 "<TfrxTestMemoView Name=\"Memo9\"/><TfrxFooBar Name=\"X2\"/></TfrxFooBar>"
                                 "<TfrxTestMemoView Name=\"Memo1\"/></TfrxTestPage></TfrxTestReport>"));
  EXPECT_EQ(errors, std::vector<std::string>{frxResources().Get("xrCantFindClass") + " TfrxFooBar"});
  EXPECT_EQ(errors[0], "Nie znaleziono klasy TfrxFooBar");
  EXPECT_EQ(report.FindObject("Memo9"), nullptr);
  ASSERT_NE(report.FindObject("Memo1"), nullptr);
  EXPECT_EQ(report.FindObject("Memo1")->Parent(), report.FindObject("Page1"));
}

TEST(SerializerTree, ClassNamesInAnyCase) {
  TfrxTestReport report;
  EXPECT_TRUE(Load(report, Doc("<TfrxTestReport><TFRXTESTPAGE Name=\"Page1\"/></TfrxTestReport>")).empty());
  ASSERT_EQ(report.Objects().size(), 1u);
  EXPECT_EQ(report.Objects()[0]->ClassName(), "TfrxTestPage");
}

TEST(SerializerTree, DanglingReferenceStaysEmptyWithoutError) {
  TfrxTestReport report;
  auto errors = Load(report, Doc("<TfrxTestReport><TfrxTestMemoView Name=\"Memo1\" DataSet=\"Dane\" "
                                 "DataSetName=\"Dane\"/></TfrxTestReport>"));
  EXPECT_TRUE(errors.empty());
  auto* memo = static_cast<TfrxTestMemoView*>(report.FindObject("Memo1"));
  EXPECT_EQ(memo->DataSet(), nullptr);
  EXPECT_EQ(memo->DataSetName(), "Dane");
}

TEST(SerializerTree, ReferencesResolveAfterTheWholeDocumentAndCheckTheClass) {
  TfrxTestReport report;
  auto errors = Load(report, Doc("<TfrxTestReport><TfrxTestMemoView Name=\"Memo1\" DataSet=\"Dane\"/>"
                                 "<TfrxTestMemoView Name=\"Memo2\" DataSet=\"Memo1\"/>"
                                 "<TfrxTestDataSet Name=\"Dane\"/></TfrxTestReport>"));
  EXPECT_TRUE(errors.empty());
  auto* memo1 = static_cast<TfrxTestMemoView*>(report.FindObject("Memo1"));
  auto* memo2 = static_cast<TfrxTestMemoView*>(report.FindObject("Memo2"));
  EXPECT_EQ(memo1->DataSet(), report.FindObject("Dane"));
  EXPECT_EQ(memo2->DataSet(), nullptr) << "a memo is not a dataset";
}

TEST(SerializerTree, ModuleReferencesGoThroughTheGlobalLookup) {
  // A data module of the host program owning the job tables' datasets.
  TfrxTestReport module;
  module.SetName("DaneModul");
  auto* dane = new TfrxTestDataSet(&module);
  dane->SetName("Dane");
  dane->SetParent(nullptr);  // owned by the module, not in any tree

  TfrxTestReport report;
  auto* memo = new TfrxTestMemoView(&report);
  TfrxXMLSerializer s;
  s.RootOwner = &report;
  s.GlobalLookup = [&](std::string_view name) -> TComponent* { return frxSameText(name, "DaneModul") ? &module : nullptr; };
  s.AttributesToProperties("DataSet=\"DaneModul.Dane\"", *memo);
  s.ResolveReferences();
  EXPECT_EQ(memo->DataSet(), dane);
  EXPECT_NE(s.PropertiesToAttributes(*memo).find(" DataSet=\"DaneModul.Dane\""), std::string::npos)
      << "written with the module's name in front";

  s.GlobalLookup = [](std::string_view) -> TComponent* { throw std::runtime_error("no modules"); };
  s.AttributesToProperties("DataSet=\"Inny.Dane\"", *memo);
  try {
    s.ResolveReferences();
    ADD_FAILURE() << "a failing lookup must raise";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "Missing Inny.Dane");
  }
}

TEST(SerializerTree, ExistingObjectOfTheSameNameIsFilled) {
  TfrxTestReport report;
  auto* page = new TfrxTestPage(&report);
  page->SetName("Page1");
  auto* memo = new TfrxTestMemoView(page);
  memo->SetName("Memo1");
  TfrxXMLSerializer s;
  TfrxXMLDocument doc;
  TMemoryStream in;
  in.WriteString(Doc("<TfrxTestReport><TfrxTestBand Name=\"B1\"><TfrxTestMemoView Name=\"memo1\" Left=\"5\"/>"
                     "</TfrxTestBand></TfrxTestReport>"));
  in.SetPosition(0);
  doc.LoadFromStream(in);
  s.LoadRoot(&report, doc.Root());
  EXPECT_EQ(memo->Left(), 5);
  EXPECT_EQ(memo->Parent(), page) << "filled where it is";
  EXPECT_EQ(report.AllObjects().size(), 3u);
}

TEST(SerializerTree, LoadedNotificationsInReadingOrderAfterReferences) {
  TfrxTestReport report;
  Load(report, Doc("<TfrxTestReport><TfrxTestMemoView Name=\"Memo1\"/><TfrxTestMemoView Name=\"Memo2\"/>"
                   "</TfrxTestReport>"));
  for (TfrxComponent* c : report.AllObjects()) {
    EXPECT_FALSE(c->IsLoading());
    EXPECT_EQ(static_cast<TfrxTestMemoView*>(c)->loadedCalls, 1);
  }
}

TEST(SerializerTree, MalformedDocumentRaisesInvalidFileFormat) {
  for (const char* bad : {"<TfrxTestReport>", "<?xml version=\"1.0\"?><a></b>", "<?xml version=\"1.0\"?><a <b>"}) {
    TfrxTestReport report;
    EXPECT_THROW(Load(report, bad), TfrxInvalidXMLException) << bad;
  }
}

TEST(SerializerTree, NestingBeyondTheLimitIsSkipped) {
  std::string xml = "<TfrxTestReport>";
  const int depth = TfrxSerializerLimits::kMaxDepth + 10;
  for (int i = 0; i < depth; ++i) xml += "<TfrxTestBand>";
  for (int i = 0; i < depth; ++i) xml += "</TfrxTestBand>";
  xml += "</TfrxTestReport>";
  TfrxTestReport report;
  auto errors = Load(report, Doc(xml));
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(report.AllObjects().size(), static_cast<size_t>(TfrxSerializerLimits::kMaxDepth));
}

TEST(SerializerTree, LoadFromStreamHandsErrorsToTheReport) {
  TfrxTestReport report;
  new TfrxTestPage(&report);
  TMemoryStream in;
  in.WriteString(Doc("<TfrxTestReport><TfrxFooBar/></TfrxTestReport>"));
  in.SetPosition(0);
  report.LoadFromStream(in);
  EXPECT_TRUE(report.Objects().empty()) << "cleared before reading";
  EXPECT_EQ(report.loadErrors, std::vector<std::string>{"Nie znaleziono klasy TfrxFooBar"});
}

// ---------------------------------------------------------------------------------------
// Raw data

// A report element as designers save it: "Left" (16-bit 400), "Top" (8-bit 24), then one
// dataset item as long text (type 12), ` DataSet="Dane" DataSetName="Dane"` (34 bytes).
const std::string kDesignerPropData =
    "044C656674" "039001"      // Left = 400
    "03546F70" "0218"          // Top = 24
    "084461746173657473"       // Datasets
    "01" "01" "0C22000000"     // list, item list, long text of 34 bytes
    "20446174615365743D2244616E652220446174615365744E616D653D2244616E6522"
    "00" "00";                 // end of item, end of list

TEST(SerializerPropData, DesignerLayoutRoundTripsToTheSameBytes) {
  const std::string xml = Doc("\r\n<TfrxTestReport PropData=\"" + kDesignerPropData +
                              "\">\r\n  <TfrxTestDataSet Name=\"Dane\"/>\r\n</TfrxTestReport>\r\n");
  TfrxTestReport report;
  auto* dane = new TfrxTestDataSet(&report);
  dane->SetName("Dane");
  dane->userName = "Dane";
  EXPECT_TRUE(Load(report, xml).empty());
  EXPECT_EQ(report.designLeft, 400);
  EXPECT_EQ(report.designTop, 24);
  ASSERT_EQ(report.items.size(), 1u);
  EXPECT_EQ(report.items[0].DataSet(), dane);
  EXPECT_EQ(report.items[0].DataSetName(), "Dane");
  EXPECT_EQ(Save(report), xml);
}

TEST(SerializerPropData, RecordsTheClassDoesNotKeepAreSteppedOver) {
  // Left as 32 bits, Top as 8 bits (-5), an unknown "Variables" record whose item is short
  // text (type 6), then "Datasets" with a short-text item.
  const std::string hex =
      "044C656674" "04A0860100" "03546F70" "02FB"
      "095661726961626C6573" "0101" "061B" "204E616D653D224E6574746F222056616C75653D223130302A3222" "0000"
      "084461746173657473" "0101" "0622"
      "20446174615365743D2244616E652220446174615365744E616D653D2244616E6522" "0000";
  TfrxTestReport report;
  EXPECT_TRUE(Load(report, Doc("<TfrxTestReport PropData=\"" + hex + "\"/>")).empty());
  EXPECT_EQ(report.designLeft, 100000);
  EXPECT_EQ(report.designTop, -5);
  ASSERT_EQ(report.items.size(), 1u);
  EXPECT_EQ(report.items[0].DataSetName(), "Dane");
  // Written back with the smallest integer types and the item as long text.
  std::string saved = Save(report);
  EXPECT_NE(saved.find("PropData=\"044C65667404A086010003546F7002FB084461746173657473" "01010C"),
            std::string::npos)
      << saved;
}

TEST(SerializerPropData, TruncatedOrNonHexStreamsKeepWhatWasRead) {
  struct Case {
    const char* what;
    std::string hex;
    std::optional<int64_t> left, top;
  };
  const Case cases[] = {
      {"non-hex character after Left", "044C656674039001" "03546FZZ0218", 400, std::nullopt},
      {"odd digit count", "044C656674039001" "03546F7002180", 400, 24},
      {"cut inside a value", "044C6566740390", std::nullopt, std::nullopt},
      {"length beyond the end", "FF4C656674", std::nullopt, std::nullopt},
      {"unknown value type", "044C656674" "63" "03546F700218", std::nullopt, std::nullopt},
      {"lower-case digits", "044c656674039001", 400, std::nullopt},
  };
  for (const Case& c : cases) {
    TfrxTestReport report;
    EXPECT_TRUE(Load(report, Doc("<TfrxTestReport PropData=\"" + c.hex + "\"/>")).empty()) << c.what;
    EXPECT_EQ(report.designLeft, c.left) << c.what;
    EXPECT_EQ(report.designTop, c.top) << c.what;
  }
}

TEST(SerializerPropData, SkipsEveryStandardValueType) {
  TfrxPropWriter w;
  w.WritePropName("A");
  w.WriteListBegin();
  w.WriteInteger(1);
  w.WriteInteger(1000);
  w.WriteInteger(100000);
  w.WriteInteger(int64_t{1} << 40);
  w.WriteBoolean(true);
  w.WriteString("krótki");
  w.WriteLongString(std::string(300, 'x'));
  w.WriteBinary(std::string("\0\1\2", 3));
  w.WriteListEnd();
  std::string bytes = w.Bytes();
  // extended, set, wide text, collection with one item of one property
  bytes += std::string("\x01" "B" "\x05", 3) + std::string(10, '\0');
  bytes += std::string("\x01" "C" "\x0B\x02" "ab" "\x00", 7);
  bytes += std::string("\x01" "D" "\x12\x01\x00\x00\x00" "a\x00", 9);
  bytes += std::string("\x01" "E" "\x0E\x01\x01" "P" "\x02\x05\x00\x00", 10);
  TfrxPropReader r(bytes);
  int records = 0;
  while (!r.AtEnd()) {
    r.ReadPropName();
    r.SkipValue();
    ++records;
  }
  EXPECT_EQ(records, 5);
}

TEST(SerializerPropData, AncestorWithTheSameBytesWritesNone) {
  TfrxTestReport report, ancestor;
  auto* a = new TfrxTestAllKinds(&report);
  auto* b = new TfrxTestAllKinds(&ancestor);
  a->blob = b->blob = "same";
  TfrxXMLSerializer s;
  EXPECT_EQ(s.PropertiesToAttributes(*a, "", b).find("PropData"), std::string::npos);
  b->blob = "other";
  EXPECT_NE(s.PropertiesToAttributes(*a, "", b).find("PropData"), std::string::npos);
  EXPECT_EQ(frxCRC32("123456789"), 0xCBF43926u);
}

// ---------------------------------------------------------------------------------------
// Ancestors and texts

TEST(SerializerAncestor, OnlyDifferencesFromTheAncestorAreWritten) {
  TfrxTestReport report, ancestor;
  auto* target = new TfrxTestMemoView(&ancestor);
  target->SetName("Memo1");
  auto* a = new TfrxTestAllKinds(&report);
  auto* b = new TfrxTestAllKinds(&ancestor);
  a->SetName("All1");
  b->SetName("All1");
  a->SetLinesText("x");
  b->SetLinesText("x");
  a->SetInt(3);
  b->SetInt(3);
  a->SetRatio(2.0000001);
  b->SetRatio(2);
  b->SetTarget(target);
  TfrxXMLSerializer s;
  s.AncestorLookup = [&](const std::string& name) { return ancestor.FindObject(name); };
  std::string text = s.PropertiesToAttributes(*a);
  EXPECT_EQ(text, " Target=\"nil\"") << text;
  s.WriteDefaults = true;
  EXPECT_NE(s.PropertiesToAttributes(*a).find(" Int=\"3\""), std::string::npos);
}

TEST(SerializerText, ObjectToTextAndBack) {
  TfrxTestReport report;
  auto* memo = new TfrxTestMemoView(&report);
  memo->SetName("Memo1");
  memo->SetBounds(1, 2, 3, 4);
  TfrxXMLSerializer s;
  std::string text = s.ObjectToText(memo);
  EXPECT_EQ(text, "TfrxTestMemoView Left=\"1\" Top=\"2\" Width=\"3\" Height=\"4\"");
  TfrxComponent* copy = s.LoadObjectFromText("  " + text + " DataSet=\"Memo1\" Left=\"9\" ", &report, false);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Parent(), &report);
  EXPECT_EQ(copy->Left(), 9) << "later attributes win";
  EXPECT_FALSE(copy->IsLoading());
  EXPECT_EQ(static_cast<TfrxTestMemoView*>(copy)->loadedCalls, 1);
  EXPECT_EQ(s.LoadObjectFromText("   ", &report, false), nullptr);
  EXPECT_THROW(s.LoadObjectFromText("TfrxFooBar Left=\"1\"", &report, false), EfrxClassNotFound);

  TMemoryStream out;
  TfrxXMLSerializer bare(&out);
  bare.WriteBareElement(memo);
  EXPECT_EQ(out.DataString(), "<" + text + "/>");
}

TEST(SerializerText, SkippedReferencesStayUnresolved) {
  TfrxTestReport report;
  auto* dane = new TfrxTestDataSet(&report);
  dane->SetName("Dane");
  TfrxXMLSerializer s;
  auto* copy = static_cast<TfrxTestMemoView*>(s.LoadObjectFromText("TfrxTestMemoView DataSet=\"Dane\"", &report, true));
  EXPECT_EQ(copy->DataSet(), nullptr);
  auto* resolved = static_cast<TfrxTestMemoView*>(s.LoadObjectFromText("TfrxTestMemoView DataSet=\"Dane\"", &report, false));
  EXPECT_EQ(resolved->DataSet(), dane);
  std::vector<TfrxFixupItem> pending;
  s.AttributesToProperties("DataSet=\"Dane\"", *copy);
  s.CopyPendingReferences(pending);
  ASSERT_EQ(pending.size(), 1u);
  EXPECT_EQ(pending[0].Value, "Dane");
}

TEST(SerializerText, AssignCopiesAllButNameAndChildren) {
  TfrxTestReport report;
  auto* source = new TfrxTestMemoView(&report);
  source->SetName("Memo1");
  source->SetBounds(1, 2, 3, 4);
  source->SetColor(clRed);
  source->Frame().SetTyp(15);
  new TfrxTestMemoView(source);
  auto* target = new TfrxTestMemoView(&report);
  target->SetName("Memo2");
  target->Assign(*source);
  EXPECT_EQ(target->Name(), "Memo2");
  EXPECT_EQ(target->Color(), clRed);
  EXPECT_EQ(target->Frame().Typ(), 15);
  EXPECT_EQ(target->Height(), 4);
  EXPECT_TRUE(target->Objects().empty());
}

}  // namespace
