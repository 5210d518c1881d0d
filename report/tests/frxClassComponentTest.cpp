#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "report/frxClassView.h"
#include "frxTestClasses.h"

namespace {

std::string Ansi(const char* utf8) { return codepage::Utf8ToAnsi(utf8); }

// Report > Page1 > Band1 > Memo1, Memo2.
struct InvoiceTree : ::testing::Test {
  TfrxTestReport report;
  TfrxTestPage* page = new TfrxTestPage(&report);
  TfrxTestBand* band = new TfrxTestBand(page);
  TfrxTestMemoView* memo1 = new TfrxTestMemoView(band);
  TfrxTestMemoView* memo2 = new TfrxTestMemoView(band);
  void SetUp() override {
    page->SetName("Page1");
    band->SetName("MasterData1");
    memo1->SetName("Memo1");
    memo2->SetName("Memo2");
  }
};

TEST_F(InvoiceTree, OwnerIsTheReportAndParentsHoldTheChildren) {
  EXPECT_EQ(memo1->Owner(), &report);
  EXPECT_EQ(band->Owner(), &report);
  EXPECT_EQ(memo1->Parent(), band);
  EXPECT_EQ(band->Objects(), (std::vector<TfrxComponent*>{memo1, memo2}));
  EXPECT_EQ(report.Components().size(), 4u);
  EXPECT_EQ(memo1->Page(), page);
  EXPECT_EQ(memo1->OwningReport(), &report);
  EXPECT_EQ(page->Page(), page);
}

TEST_F(InvoiceTree, AllObjectsIsPreOrderAndFindObjectIgnoresCase) {
  auto* memo3 = new TfrxTestMemoView(page);
  memo3->SetName("Memo3");
  EXPECT_EQ(report.AllObjects(), (std::vector<TfrxComponent*>{page, band, memo1, memo2, memo3}));
  EXPECT_EQ(band->AllObjects(), (std::vector<TfrxComponent*>{memo1, memo2}));
  EXPECT_EQ(report.FindObject("MEMO2"), memo2);
  EXPECT_EQ(report.FindObject("Nope"), nullptr);
  EXPECT_EQ(band->FindObject("Page1"), nullptr);
}

TEST_F(InvoiceTree, DestroyingRemovesFromParentAndOwner) {
  delete memo1;
  EXPECT_EQ(band->Objects(), (std::vector<TfrxComponent*>{memo2}));
  EXPECT_EQ(report.FindComponent("Memo1"), nullptr);
  delete page;  // takes the band and the other memo with it
  EXPECT_TRUE(report.Objects().empty());
  EXPECT_TRUE(report.Components().empty());
}

TEST_F(InvoiceTree, ClearKeepsInheritedChildrenAndClearsThem) {
  band->SetInherited(true);
  auto* other = new TfrxTestBand(page);
  page->Clear();
  EXPECT_EQ(page->Objects(), (std::vector<TfrxComponent*>{band}));
  EXPECT_TRUE(band->Objects().empty());
  EXPECT_EQ(report.FindObject("Memo1"), nullptr);
  (void)other;
}

TEST_F(InvoiceTree, RemovalNotificationClearsDataSetReference) {
  auto* dane = new TfrxTestDataSet(page);
  dane->SetName("Dane");
  dane->userName = "Dane";
  memo1->SetDataSet(dane);
  EXPECT_EQ(memo1->DataSetName(), "Dane");
  delete dane;
  EXPECT_EQ(memo1->DataSet(), nullptr);
}

TEST(ComponentNotification, ReachesComponentsOfAnotherOwner) {
  // A dataset owned outside the report (as the job tables' datasets are).
  TfrxTestReport report;
  auto* memo = new TfrxTestMemoView(&report);
  {
    TfrxTestReport host;
    auto* dane = new TfrxTestDataSet(&host);
    dane->userName = "Dane";
    memo->SetDataSet(dane);
    EXPECT_EQ(memo->DataSet(), dane);
  }
  EXPECT_EQ(memo->DataSet(), nullptr);
}

TEST_F(InvoiceTree, DataSetNameLooksUpThroughTheReport) {
  auto* dane = new TfrxTestDataSet(page);
  dane->SetName("frxDane");
  dane->userName = "Dane";
  report.dataSets.push_back(dane);
  memo1->SetDataSetName("DANE");
  EXPECT_EQ(memo1->DataSet(), dane);
  EXPECT_EQ(memo1->DataSetName(), "Dane");
  memo2->SetDataSetName("Seria");
  EXPECT_EQ(memo2->DataSet(), nullptr);
  EXPECT_EQ(memo2->DataSetName(), "Seria");
  report.dataSets.clear();
}

TEST_F(InvoiceTree, AbsolutePositionSumsTheChain) {
  page->SetTop(0);
  band->SetTop(100);
  memo1->SetTop(10);
  band->SetLeft(5);
  memo1->SetLeft(7);
  EXPECT_DOUBLE_EQ(memo1->AbsTop(), 110);
  EXPECT_DOUBLE_EQ(memo1->AbsLeft(), 12);
}

TEST(ComponentTree, AbsolutePositionStopsBelowADialogPage) {
  TfrxTestReport report;
  auto* dialog = new TfrxTestDialogPage(&report);
  dialog->SetLeft(300);
  dialog->SetTop(200);
  auto* memo = new TfrxTestMemoView(dialog);
  memo->SetLeft(8);
  memo->SetTop(16);
  EXPECT_DOUBLE_EQ(memo->AbsLeft(), 8);
  EXPECT_DOUBLE_EQ(memo->AbsTop(), 16);
}

// ---------------------------------------------------------------------------------------
// Fonts

TFont Font(const char* name, int size, TFontStyles style = 0) {
  TFont f;
  f.Name = name;
  f.Size = size;
  f.Style = style;
  return f;
}

TEST_F(InvoiceTree, BandFontReachesInheritingChildrenOnly) {
  memo2->SetFont(Font("Courier New", 8));
  band->SetFont(Font("Tahoma", 12, fsBold));
  EXPECT_EQ(memo1->Font(), Font("Tahoma", 12, fsBold));
  EXPECT_TRUE(memo1->ParentFont());
  EXPECT_EQ(memo2->Font(), Font("Courier New", 8));
  EXPECT_FALSE(memo2->ParentFont());
  EXPECT_FALSE(band->ParentFont());
}

TEST_F(InvoiceTree, FontPropagatesRecursively) {
  auto* inner = new TfrxTestMemoView(memo1);
  page->SetFont(Font("Verdana", 9));
  EXPECT_EQ(band->Font().Name, "Verdana");
  EXPECT_EQ(inner->Font().Name, "Verdana");
}

TEST_F(InvoiceTree, ChangingOneFontFieldThroughItsPropertyPropagates) {
  TfrxPropTarget target = frxFindProp(*band, "Font.Name");
  ASSERT_NE(target.Object, nullptr);
  frxSetPropValue(*target.Object, *target.Prop, Variant("Times New Roman"));
  EXPECT_EQ(band->Font().Name, "Times New Roman");
  EXPECT_FALSE(band->ParentFont());
  EXPECT_EQ(memo1->Font().Name, "Times New Roman");
}

TEST_F(InvoiceTree, MovedNodeTakesItsNewParentsFontWhenInheriting) {
  auto* footer = new TfrxTestBand(page);
  footer->SetFont(Font("Georgia", 14));
  memo1->SetParent(footer);
  EXPECT_EQ(memo1->Font(), Font("Georgia", 14));
  EXPECT_EQ(footer->Objects(), (std::vector<TfrxComponent*>{memo1}));
  EXPECT_EQ(band->Objects(), (std::vector<TfrxComponent*>{memo2}));

  memo2->SetFont(Font("Arial", 20));
  memo2->SetParent(footer);
  EXPECT_EQ(memo2->Font(), Font("Arial", 20)) << "a node with its own font keeps it";
}

TEST(ComponentFont, NewObjectStartsWithArial10AndItsParentsFont) {
  TfrxTestReport report;
  auto* orphan = new TfrxTestMemoView(nullptr);
  EXPECT_EQ(orphan->Font(), TFont{});
  EXPECT_EQ(orphan->Font().Name, "Arial");
  EXPECT_EQ(orphan->Font().Size, 10);
  delete orphan;
  auto* page = new TfrxTestPage(&report);
  page->SetFont(Font("Tahoma", 8));
  auto* memo = new TfrxTestMemoView(page);
  EXPECT_EQ(memo->Font().Name, "Tahoma");
}

TEST(ComponentFont, HeightAndSizeConvertAt96PixelsPerInch) {
  TfrxTestMemoView memo(nullptr);
  TfrxFontProps& font = *memo.FontProps();
  EXPECT_EQ(font.Height(), -13);  // Arial 10
  font.SetHeight(-13);
  EXPECT_EQ(memo.Font().Size, 10);
  font.SetHeight(-16);
  EXPECT_EQ(memo.Font().Size, 12);
  font.SetSize(9);
  EXPECT_EQ(font.Height(), -12);
}

// ---------------------------------------------------------------------------------------
// Geometry

TEST(ComponentGeometry, RestrictionsApplyOnlyWhileDesigning) {
  struct Case {
    bool designing;
    TfrxRestrictions restrictions;
    double expectLeft, expectWidth;
  };
  const Case cases[] = {
      {false, 1 << rfDontSize, 20, 50},
      {true, 1 << rfDontSize, 20, 10},
      {true, 1 << rfDontMove, 5, 50},
      {true, (1 << rfDontMove) | (1 << rfDontSize), 5, 10},
      {true, 1 << rfDontDelete, 20, 50},
  };
  for (const Case& c : cases) {
    TfrxTestMemoView memo(nullptr);
    memo.SetBounds(5, 5, 10, 10);
    memo.SetRestrictions(c.restrictions);
    memo.SetDesigning(c.designing);
    memo.SetLeft(20);
    memo.SetWidth(50);
    EXPECT_EQ(memo.Left(), c.expectLeft) << c.designing << " " << int(c.restrictions);
    EXPECT_EQ(memo.Width(), c.expectWidth) << c.designing << " " << int(c.restrictions);
  }
}

TEST(ComponentGeometry, CreateForDesignerSetsDesigning) {
  TfrxTestReport report;
  TfrxComponent* memo = TfrxComponent::CreateForDesigner(TfrxTestMemoView::StaticClassInfo(), &report, 0);
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->Designing());
  EXPECT_EQ(memo->Parent(), &report);
}

TEST(ComponentGeometry, BeforeAndAfterPrintRestoreBoundsTagAndUrl) {
  TfrxTestReport report;
  auto* memo = new TfrxTestMemoView(&report);
  memo->SetBounds(1, 2, 3, 4);
  memo->SetTagStr("[Dane.\"Nr\"]");
  memo->SetURL("http://x/[Id]");
  memo->BeforePrint();
  EXPECT_EQ(report.scriptSelf, memo);
  memo->FetchData();
  EXPECT_EQ(memo->TagStr(), "<Dane.\"Nr\">");
  EXPECT_EQ(memo->URL(), "http://x/<Id>");
  memo->SetBounds(10, 20, 30, 40);
  memo->AfterPrint();
  EXPECT_EQ(memo->TagStr(), "[Dane.\"Nr\"]");
  EXPECT_EQ(memo->URL(), "http://x/[Id]");
  EXPECT_EQ(memo->Left(), 1);
  EXPECT_EQ(memo->Height(), 4);
}

TEST(ComponentGeometry, BracketsNestAndQuotedBracketsDoNotClose) {
  TfrxTestReport report;
  auto* memo = new TfrxTestMemoView(&report);
  memo->SetTagStr("a[IIF([x]>0,']',1)]b[open");
  memo->FetchData();
  EXPECT_EQ(memo->TagStr(), "a<IIF([x]>0,']',1)>b[open");
}

// ---------------------------------------------------------------------------------------
// Alignment

struct AlignCase {
  const char* what;
  TfrxAlign align1, align2;
  double top2;
  double expectLeft1, expectLeft2, expectWidth2;
};

TEST(ComponentAlignment, LeftRightAndWidthFindVerticalNeighbours) {
  const AlignCase cases[] = {
      {"baLeft, no overlap: both at 0", baLeft, baLeft, 50, 0, 0, 20},
      {"baLeft, overlap: second after first", baLeft, baLeft, 5, 0, 30, 20},
      {"baRight, no overlap: both at the right edge", baRight, baRight, 50, 170, 180, 20},
      {"baRight, overlap: first before second", baRight, baRight, 5, 150, 180, 20},
      {"baWidth after a baLeft neighbour fills to the edge", baLeft, baWidth, 5, 0, 30, 170},
  };
  for (const AlignCase& c : cases) {
    TfrxTestBand band(nullptr);
    band.SetBounds(0, 0, 200, 100);
    auto* v1 = new TfrxTestMemoView(&band);
    auto* v2 = new TfrxTestMemoView(&band);
    v1->SetBounds(40, 0, 30, 20);
    v2->SetBounds(90, c.top2, 20, 20);
    v1->SetAlign(c.align1);
    v2->SetAlign(c.align2);
    band.ApplyAlignment();
    EXPECT_DOUBLE_EQ(v1->Left(), c.expectLeft1) << c.what;
    EXPECT_DOUBLE_EQ(v2->Left(), c.expectLeft2) << c.what;
    EXPECT_DOUBLE_EQ(v2->Width(), c.expectWidth2) << c.what;
  }
}

TEST(ComponentAlignment, CenterBottomAndClient) {
  TfrxTestBand band(nullptr);
  band.SetBounds(0, 0, 200, 100);
  auto* center = new TfrxTestMemoView(&band);
  auto* bottom = new TfrxTestMemoView(&band);
  auto* client = new TfrxTestMemoView(&band);
  center->SetBounds(3, 3, 50, 10);
  bottom->SetBounds(3, 3, 50, 10);
  client->SetBounds(3, 3, 50, 10);
  center->SetAlign(baCenter);
  bottom->SetAlign(baBottom);
  client->SetAlign(baClient);
  band.ApplyAlignment();
  EXPECT_DOUBLE_EQ(center->Left(), 75);
  EXPECT_DOUBLE_EQ(bottom->Top(), 90);
  EXPECT_EQ((std::vector<double>{client->Left(), client->Top(), client->Width(), client->Height()}),
            (std::vector<double>{0, 0, 200, 100}));
}

// ---------------------------------------------------------------------------------------
// Naming

TEST_F(InvoiceTree, RenamingFollowsTheReportAndPlatformRules) {
  struct Case {
    TfrxComponent* object;
    const char* newName;
    std::string error;  // empty: accepted
    const char* nameAfter;
  };
  const std::string used = Ansi("Nazwa jest już użyta");
  const Case cases[] = {
      {memo1, "memo1", "", "Memo1"},  // same name ignoring case: nothing happens
      {memo1, "MasterData1", used, "Memo1"},
      {memo1, "PAGE1", used, "Memo1"},
      {memo1, "Wartość", "'Wartość' is not a valid component name", "Memo1"},
      {memo1, "1Memo", "'1Memo' is not a valid component name", "Memo1"},
      {memo1, "Netto", "", "Netto"},
      {memo1, "", "", ""},
  };
  for (const Case& c : cases) {
    std::string before = c.object->Name();
    try {
      c.object->SetName(c.newName);
      EXPECT_EQ(c.error, "") << c.newName;
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.what(), c.error) << c.newName;
    }
    EXPECT_EQ(c.object->Name(), c.nameAfter) << c.newName;
    if (c.object->Name() != before) c.object->SetName(before);
  }
}

TEST_F(InvoiceTree, InheritedObjectCannotBeRenamed) {
  memo1->SetFromAncestor(true);
  EXPECT_THROW(
      {
        try {
          memo1->SetName("Memo9");
        } catch (const EComponentError& e) {
          EXPECT_STREQ(e.what(), "Could not rename Memo1, it was introduced in the ancestor report");
          throw;
        }
      },
      EComponentError);
  EXPECT_EQ(memo1->Name(), "Memo1");
}

TEST_F(InvoiceTree, OwnedNamesStayUniqueOutsideTheTree) {
  // Owned by the report but moved out of its tree: only the platform rule applies.
  auto* loose = new TfrxTestMemoView(&report);
  loose->SetParent(nullptr);
  try {
    loose->SetName("memo1");
    ADD_FAILURE() << "duplicate owned name accepted";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named memo1 already exists");
  }
  EXPECT_EQ(loose->Name(), "");
  loose->SetName("Loose1");
  EXPECT_EQ(report.FindComponent("LOOSE1"), loose);
}

TEST_F(InvoiceTree, UniqueNamesFillTheFirstGap) {
  memo2->SetName("Memo3");
  auto* added = new TfrxTestMemoView(band);
  added->MakeUniqueName();
  EXPECT_EQ(added->Name(), "TestMemo1");  // stem of TfrxTestMemoView
  added->SetNameStem("Memo");
  added->SetName("");
  added->MakeUniqueName();
  EXPECT_EQ(added->Name(), "Memo2");
  auto* third = new TfrxTestMemoView(band);
  third->SetNameStem("Memo");
  third->MakeUniqueName();
  EXPECT_EQ(third->Name(), "Memo4");
}

TEST(ComponentNaming, NameStemDropsTfrxAndView) {
  TfrxTestMemoView memo(nullptr);
  EXPECT_EQ(memo.NameStem(), "TestMemo");
  TfrxTestBand band(nullptr);
  EXPECT_EQ(band.NameStem(), "TestBand");
}

// ---------------------------------------------------------------------------------------
// Registry and declarations

TEST(ClassRegistry, NamesAreCaseInsensitive) {
  EXPECT_EQ(frxFindClass("TfrxTestMemoView"), &TfrxTestMemoView::StaticClassInfo());
  EXPECT_EQ(frxFindClass("TFRXTESTMEMOVIEW"), &TfrxTestMemoView::StaticClassInfo());
  EXPECT_EQ(frxFindClass("tfrxframe"), &TfrxFrame::StaticClassInfo());
  EXPECT_EQ(frxFindClass("TfrxFooBar"), nullptr);
  TfrxTestReport report;
  TfrxComponent* made = frxFindClass("tfrxtestmemoview")->Factory()(&report);
  EXPECT_EQ(made->ClassName(), "TfrxTestMemoView");
  EXPECT_EQ(made->Parent(), &report);
}

std::vector<std::string> PropertyNames(const TfrxClassInfo& cls) {
  std::vector<std::string> names;
  for (const TfrxPropInfo* p : cls.Properties()) names.push_back(p->Name);
  return names;
}

TEST(PropertyDeclarations, ViewOrderIsBaseClassesFirstThenDeclarationOrder) {
  EXPECT_EQ(PropertyNames(TfrxView::StaticClassInfo()),
            (std::vector<std::string>{"Name", "Tag", "Description", "Align", "Printable", "ShiftMode", "Left", "Top",
                                      "Width", "Height", "GroupIndex", "Restrictions", "Visible", "OnAfterData",
                                      "OnAfterPrint", "OnBeforePrint", "OnPreviewClick", "OnPreviewDblClick", "Hint",
                                      "ShowHint"}));
  std::vector<std::string> memo = PropertyNames(TfrxTestMemoView::StaticClassInfo());
  std::vector<std::string> tail(memo.begin() + 20, memo.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"StretchMode", "BrushStyle", "Color", "Cursor", "DataField", "DataSet",
                                            "DataSetName", "Font", "Frame", "ParentFont", "TagStr", "URL", "Memo"}));
  EXPECT_EQ(PropertyNames(TfrxFrame::StaticClassInfo()),
            (std::vector<std::string>{"Color", "DropShadow", "ShadowWidth", "ShadowColor", "Style", "Typ", "Width",
                                      "LeftLine", "TopLine", "RightLine", "BottomLine"}));
  EXPECT_EQ(PropertyNames(TfrxFontProps::StaticClassInfo()),
            (std::vector<std::string>{"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"}));
}

TEST(PropertyDeclarations, UnpublishedPropertiesAreNotFoundByName) {
  EXPECT_EQ(TfrxView::StaticClassInfo().FindProperty("Color"), nullptr);
  EXPECT_NE(TfrxView::StaticClassInfo().FindDeclared("Color"), nullptr);
  EXPECT_NE(TfrxTestMemoView::StaticClassInfo().FindProperty("color"), nullptr);
}

TEST(PropertyDeclarations, KindsDefaultsAndStoredConditions) {
  TfrxTestMemoView memo(nullptr);
  const TfrxClassInfo& cls = memo.ClassInfo();
  struct Case {
    const char* name;
    TfrxPropKind kind;
    const char* typeName;
    bool stored;
    bool isDefault;
  };
  const Case cases[] = {
      {"Align", TfrxPropKind::Enumeration, "TfrxAlign", true, true},
      {"Printable", TfrxPropKind::Enumeration, "Boolean", true, true},
      {"Restrictions", TfrxPropKind::Set, "TfrxRestrictions", true, true},
      {"Color", TfrxPropKind::Integer, "", true, true},
      {"Left", TfrxPropKind::Float, "", true, false},
      {"Font", TfrxPropKind::Object, "", false, false},  // stored only without ParentFont
      {"Frame", TfrxPropKind::Object, "", true, false},
      {"DataSet", TfrxPropKind::Reference, "", true, false},
      {"TagStr", TfrxPropKind::String, "", true, false},
  };
  for (const Case& c : cases) {
    const TfrxPropInfo* p = cls.FindProperty(c.name);
    ASSERT_NE(p, nullptr) << c.name;
    EXPECT_EQ(p->Kind, c.kind) << c.name;
    EXPECT_EQ(p->Enum ? p->Enum->Name : std::string(), c.typeName) << c.name;
    EXPECT_EQ(p->IsStored(memo), c.stored) << c.name;
    EXPECT_EQ(p->IsDefaultValue(memo), c.isDefault) << c.name;
  }
  memo.SetParentFont(false);
  EXPECT_TRUE(cls.FindProperty("Font")->IsStored(memo));
  memo.SetColor(clRed);
  EXPECT_FALSE(cls.FindProperty("Color")->IsDefaultValue(memo));
}

TEST(PropertyDeclarations, FrameSidesAreStoredWhenTheyDifferFromTheFrame) {
  TfrxFrame frame;
  const TfrxClassInfo& cls = frame.ClassInfo();
  const TfrxPropInfo& left = *cls.FindProperty("LeftLine");
  const TfrxPropInfo& width = *cls.FindProperty("Width");
  EXPECT_FALSE(left.IsStored(frame));
  EXPECT_FALSE(width.IsStored(frame)) << "a float at its declared default is not stored";
  frame.SetColor(clRed);
  frame.SetWidth(2);
  EXPECT_EQ(frame.LeftLine().Color(), clRed);
  EXPECT_EQ(frame.BottomLine().Width(), 2);
  EXPECT_FALSE(left.IsStored(frame));
  EXPECT_TRUE(width.IsStored(frame));
  frame.LeftLine().SetColor(clBlue);
  EXPECT_TRUE(left.IsStored(frame));
  const TfrxClassInfo& lineCls = frame.LeftLine().ClassInfo();
  EXPECT_TRUE(lineCls.FindProperty("Color")->IsStored(frame.LeftLine()));
  EXPECT_FALSE(lineCls.FindProperty("Width")->IsStored(frame.LeftLine()));
}

TEST(PropertyAccess, DottedPathsAndVariantValues) {
  TfrxTestMemoView memo(nullptr);
  struct Case {
    const char* path;
    Variant value;
    Variant readBack;
  };
  const Case cases[] = {
      {"Frame.Typ", Variant(int32_t{15}), Variant(int32_t{15})},
      {"frame.leftline.color", Variant(int32_t{255}), Variant(int32_t{255})},
      {"Font.Style", Variant(int32_t{1}), Variant(int32_t{1})},
      {"Align", Variant(int32_t{baCenter}), Variant(int32_t{baCenter})},
      {"Printable", Variant(false), Variant(false)},
      {"Left", Variant(37.7953), Variant(37.7953)},
      {"TagStr", Variant("Faktura"), Variant("Faktura")},
      {"Restrictions", Variant(int32_t{6}), Variant(int32_t{6})},
  };
  for (const Case& c : cases) {
    TfrxPropTarget t = frxFindProp(memo, c.path);
    ASSERT_NE(t.Object, nullptr) << c.path;
    frxSetPropValue(*t.Object, *t.Prop, c.value);
    EXPECT_TRUE(frxGetPropValue(*t.Object, *t.Prop).identical(c.readBack)) << c.path;
  }
  EXPECT_EQ(memo.Frame().Typ(), 15);
  EXPECT_EQ(memo.Frame().LeftLine().Color(), 255);
  EXPECT_TRUE(memo.Font().has(fsBold));
  EXPECT_EQ(frxFindProp(memo, "Frame.Nope").Object, nullptr);
  EXPECT_EQ(frxFindProp(memo, "Nope.Typ").Object, nullptr);
  TfrxPropTarget name = frxFindProp(memo, "Name");
  frxSetPropValue(*name.Object, *name.Prop, Variant("Memo7"));
  EXPECT_EQ(memo.Name(), "Memo7");
}

// ---------------------------------------------------------------------------------------
// Float texts

TEST(FloatText, GeneralFormWithTheLocaleSeparator) {
  struct Case {
    double value;
    char separator;
    const char* text;
  };
  const Case cases[] = {
      {37.7953, ',', "37,7953"}, {37.7953, '.', "37.7953"}, {1000.5, '.', "1000.5"}, {0, '.', "0"},
      {-2.5, ',', "-2,5"},       {100, '.', "100"},         {0.1, '.', "0.1"},       {1e20, '.', "1E20"},
      {1.5e-6, ',', "1,5E-6"},   {0.0001, '.', "0.0001"},   {123456789012345.0, '.', "123456789012345"},
      {1.0 / 3, '.', "0.333333333333333"},
  };
  char saved = frxDecimalSeparator();
  for (const Case& c : cases) {
    frxSetDecimalSeparator(c.separator);
    EXPECT_EQ(frxFloatToStr(c.value), c.text);
  }
  frxSetDecimalSeparator(saved);
}

TEST(FloatText, ReadingTakesEitherSeparatorAndDropsSpaces) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {{"37,7953", 37.7953}, {"37.7953", 37.7953}, {"1 000,5", 1000.5},
                        {"-2,5", -2.5},       {"1E20", 1e20},       {"+4", 4}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(frxStrToFloat(c.text), c.value) << c.text;
  for (const char* bad : {"", "abc", "1,2,3", "12x", " ", "1e999"})
    EXPECT_THROW(frxStrToFloat(bad), EConvertError) << bad;
}

// ---------------------------------------------------------------------------------------
// Differences

TEST(Differences, OnlyChangedPropertiesInTheirOrder) {
  TfrxTestMemoView reference(nullptr), copy(nullptr);
  reference.SetBounds(10, 20, 100, 18);
  copy.SetBounds(10, 40.5, 100, 36);
  copy.SetVisible(false);
  copy.SetTag(7);
  copy.SetColor(clRed);
  copy.SetTagStr("a\"b");
  EXPECT_EQ(copy.WriteDifferences(&reference),
            " t=\"40.5\" h=\"36\" Visible=\"0\" Tag=\"7\" Color=\"255\" TagStr=\"a&#34;b\"");
  EXPECT_EQ(reference.WriteDifferences(&reference), "");
}

TEST(Differences, SmallFloatChangesAreIgnoredAndFontOnlyWithoutParentFont) {
  TfrxTestMemoView reference(nullptr), copy(nullptr);
  copy.SetLeft(0.00005);
  TFont f;
  f.Style = fsBold | fsItalic;
  copy.SetFont(f);
  EXPECT_EQ(copy.WriteDifferences(&reference), " Font.Style=\"3\" ParentFont=\"0\"");
}

TEST(Differences, FrameSidesAgainstTheFrameOrTheReference) {
  TfrxTestMemoView reference(nullptr), copy(nullptr);
  copy.Frame().SetTyp(15);
  copy.Frame().SetColor(clRed);
  copy.Frame().TopLine().SetColor(clBlue);
  copy.Frame().BottomLine().SetWidth(3);
  EXPECT_EQ(copy.WriteDifferences(&reference),
            " Frame.Color=\"255\" Frame.Typ=\"15\" Frame.TopLine.Color=\"16711680\" Frame.BottomLine.Width=\"3\"");
}

}  // namespace
