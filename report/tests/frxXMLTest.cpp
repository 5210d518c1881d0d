#include "report/frxXML.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

// Compact picture of a tree: Name[Text]{children}, with * for a non-resident pageable item.
std::string Dump(const TfrxXMLItem& item) {
  std::string s = item.Name;
  if (!item.Text.empty()) s += "[" + item.Text + "]";
  if (item.Pageable && !item.Resident) s += "*";
  if (item.Count() > 0) {
    s += "{";
    for (int i = 0; i < item.Count(); ++i) {
      if (i) s += ",";
      s += Dump(*item.Items(i));
    }
    s += "}";
  }
  return s;
}

std::unique_ptr<TMemoryStream> StreamOf(const std::string& bytes) {
  auto m = std::make_unique<TMemoryStream>();
  m->WriteString(bytes);
  m->SetPosition(0);
  return m;
}

std::string Save(TfrxXMLDocument& doc) {
  TMemoryStream m;
  doc.SaveToStream(m);
  return m.DataString();
}

void Load(TfrxXMLDocument& doc, const std::string& bytes) {
  doc.LoadFromStream(*StreamOf(bytes));
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "tavrel-xml-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() { fs::remove_all(path_); }
  const std::string& path() const { return path_; }
  size_t FileCount() const {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(path_)) ++n;
    return n;
  }

 private:
  std::string path_;
};

// A delivery note as the prepared pages store would keep it: pages with bands and memos.
void FillDeliveryNote(TfrxXMLItem& root, int pages) {
  root.Name = "preparedreport";
  for (int p = 0; p < pages; ++p) {
    TfrxXMLItem* page = root.Add();
    page->Name = "page0";
    for (int b = 0; b < 3; ++b) {
      TfrxXMLItem* band = page->Add();
      band->Name = "b1";
      band->SetProp("t", std::to_string(100 + 20 * b));
      TfrxXMLItem* memo = band->Add();
      memo->Name = 'm';
      memo->Name += std::to_string(b + 1);
      memo->SetProp("l", "37,7953");
      std::string text = "Pozycja ";  // appended: GCC 12 warns falsely on "literal" + std::string&&
      text += std::to_string(p);
      text += '/';
      text += std::to_string(b);
      text += ": śruby M8 \"ocynk\"\r\n& nakrętki";
      memo->SetProp("x", text);
    }
  }
}

// ---- escaping ----

struct EscapeCase {
  std::string value;
  std::string escaped;
};

class EscapeRoundTrip : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeRoundTrip, EscapesAndReadsBack) {
  EXPECT_EQ(EscapeXMLText(GetParam().value), GetParam().escaped);
  EXPECT_EQ(UnescapeXMLText(GetParam().escaped), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Values, EscapeRoundTrip,
    ::testing::Values(EscapeCase{"a\"b", "a&#34;b"}, EscapeCase{"x&y", "x&#38;y"},
                      EscapeCase{"line1\r\nline2", "line1&#13;&#10;line2"},
                      EscapeCase{"<b>", "&#60;b&#62;"}, EscapeCase{"", ""},
                      EscapeCase{"tab\t'apostrof' \xB9\xE6\xEA", "tab\t'apostrof' \xB9\xE6\xEA"},
                      // 32 characters and more take the buffered path: same result.
                      EscapeCase{"Faktura \"VAT\" nr 1 & 2 <korekta>\r\n" + std::string(300, '&'),
                                 "Faktura &#34;VAT&#34; nr 1 &#38; 2 &#60;korekta&#62;&#13;&#10;" +
                                     [] {
                                       std::string s;
                                       for (int i = 0; i < 300; ++i) s += "&#38;";
                                       return s;
                                     }()}));

TEST(Escape, QuotEntityIsOneUnit) {
  EXPECT_EQ(EscapeXMLText("&quot;"), "&#34;");
  EXPECT_EQ(UnescapeXMLText(EscapeXMLText("&quot;")), "\"");
  EXPECT_EQ(EscapeXMLText("a&quot"), "a&#38;quot");  // without ';' it is an ampersand
}

struct UnescapeCase {
  const char* escaped;
  std::string value;
};

class Unescape : public ::testing::TestWithParam<UnescapeCase> {};

TEST_P(Unescape, Reads) { EXPECT_EQ(UnescapeXMLText(GetParam().escaped), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Unescape,
    ::testing::Values(UnescapeCase{"&amp;lt;", "&lt;"},  // a replaced character is not rescanned
                      UnescapeCase{"&foo;", "&foo;"}, UnescapeCase{"&quot;&amp;&lt;&gt;", "\"&<>"},
                      UnescapeCase{"&#65;&#321;", "AA"},  // modulo 256
                      UnescapeCase{"&#-1;", "\xFF"}, UnescapeCase{"&#+66;", "B"}, UnescapeCase{"&# 67;", "C"},
                      UnescapeCase{"&#0;", std::string(1, '\0')},
                      UnescapeCase{"a&#65", "a&#65"},      // no ';': kept as it stands
                      UnescapeCase{"&#6", "&#6"},          // too short to be a reference
                      UnescapeCase{"&#;", "&#;"}, UnescapeCase{"&", "&"}, UnescapeCase{"&am", "&am"},
                      UnescapeCase{"&QUOT;", "&QUOT;"},    // names are case-sensitive
                      UnescapeCase{"&apos;", "&apos;"}, UnescapeCase{"x&#38;&#38;y", "x&&y"}));

TEST(Unescape, NonDecimalReferenceIsAConversionError) {
  struct Bad {
    const char* escaped;
    const char* message;
  };
  for (const Bad& bad : {Bad{"&#x41;", "'x41' is not a valid integer value"},
                         Bad{"&#$41;", "'$41' is not a valid integer value"},
                         Bad{"&#12 x;", "'12 x' is not a valid integer value"},
                         Bad{"&#4294967361;", "'4294967361' is not a valid integer value"},
                         Bad{"&#;;", "'' is not a valid integer value"}}) {
    try {
      UnescapeXMLText(bad.escaped);
      ADD_FAILURE() << bad.escaped;
    } catch (const TfrxXMLConvertError& e) {
      EXPECT_STREQ(e.what(), bad.message);
    }
  }
}

TEST(Unescape, NeverReadsPastTheValue) {
  // The ';' that follows the value in memory must not complete the reference.
  std::string backing = "&#65;";
  EXPECT_EQ(UnescapeXMLText(std::string_view(backing).substr(0, 4)), "&#65");
  std::string quot = "&quot;";
  EXPECT_EQ(UnescapeXMLText(std::string_view(quot).substr(0, 5)), "&quot");
}

// ---- attributes ----

struct PropReadCase {
  const char* text;
  const char* name;
  const char* value;
};

class PropRead : public ::testing::TestWithParam<PropReadCase> {};

TEST_P(PropRead, Finds) {
  TfrxXMLItem item;
  item.Text = GetParam().text;
  EXPECT_EQ(item.Prop(GetParam().name), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PropRead,
    ::testing::Values(PropReadCase{"Left=\"1\"", "left", "1"},
                      PropReadCase{"Name=\"Memo1\" Left=\"10\" Top=\"20\"", "TOP", "20"},
                      PropReadCase{"xLeft=\"2\" Left=\"1\"", "Left", "1"},  // only at a start or after a space
                      PropReadCase{" Left=\"1\"", "Left", "1"},
                      PropReadCase{"Left=\"1\"", "Top", ""}, PropReadCase{"Left=\"\"", "Left", ""},
                      PropReadCase{"Left=\"1", "Left", ""},  // no closing quote
                      PropReadCase{"Left = \"1\"", "Left", ""},
                      PropReadCase{"Text=\"a&#34;b&#13;&#10;c\"", "Text", "a\"b\r\nc"}));

struct PropWriteCase {
  const char* before;
  const char* name;
  const char* value;
  const char* after;
};

class PropWrite : public ::testing::TestWithParam<PropWriteCase> {};

TEST_P(PropWrite, UpdatesInPlaceOrAppends) {
  TfrxXMLItem item;
  item.Text = GetParam().before;
  item.SetProp(GetParam().name, GetParam().value);
  EXPECT_EQ(item.Text, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PropWrite,
    ::testing::Values(PropWriteCase{"", "Left", "1", "Left=\"1\""},
                      PropWriteCase{"Name=\"Memo1\"", "Left", "1", "Name=\"Memo1\" Left=\"1\""},
                      PropWriteCase{"Name=\"Memo1\" ", "Left", "1", "Name=\"Memo1\" Left=\"1\""},
                      PropWriteCase{"Name=\"Memo1\" Left=\"10\" Top=\"20\"", "left", "5",
                                    "Name=\"Memo1\" left=\"5\" Top=\"20\""},
                      PropWriteCase{"Left=\"10\" Top=\"20\"", "Left", "", "Left=\"\" Top=\"20\""},
                      PropWriteCase{"Top=\"20\" Left=\"10", "Left", "3", "Top=\"20\" Left=\"3\""},
                      PropWriteCase{"Text=\"\"", "Text", "\"Wz\" & co", "Text=\"&#34;Wz&#34; &#38; co\""}));

// ---- writing ----

struct WriteCase {
  const char* name;
  std::function<void(TfrxXMLItem&)> build;
  std::string indented;
  std::string oneLine;
};

class Write : public ::testing::TestWithParam<WriteCase> {};

TEST_P(Write, Bytes) {
  for (bool indented : {true, false}) {
    TfrxXMLDocument doc;
    doc.Indented = indented;
    GetParam().build(*doc.Root());
    EXPECT_EQ(Save(doc), indented ? GetParam().indented : GetParam().oneLine) << (indented ? "indented" : "one line");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Write,
    ::testing::Values(
        WriteCase{"Empty", [](TfrxXMLItem& r) { r.Name = "Name"; }, kDecl + "\r\n<Name/>\r\n", kDecl + "<Name/>"},
        WriteCase{"Attributes",
                  [](TfrxXMLItem& r) {
                    r.Name = "Name";
                    r.Text = "a=\"1\"";
                  },
                  kDecl + "\r\n<Name a=\"1\"/>\r\n", kDecl + "<Name a=\"1\"/>"},
        WriteCase{"LeadingSpaceIsNotDoubled",
                  [](TfrxXMLItem& r) {
                    r.Name = "Name";
                    r.Text = " a=\"1\"";
                  },
                  kDecl + "\r\n<Name a=\"1\"/>\r\n", kDecl + "<Name a=\"1\"/>"},
        WriteCase{"Nested",
                  [](TfrxXMLItem& r) {
                    r.Name = "TfrxReport";
                    r.Text = "Version=\"4.0\"";
                    TfrxXMLItem* page = r.Add();
                    page->Name = "TfrxReportPage";
                    page->Text = "Name=\"Page1\"";
                    TfrxXMLItem* band = page->Add();
                    band->Name = "TfrxMasterData";
                    band->Text = "Name=\"MasterData1\"";
                    band->Add()->Name = "TfrxMemoView";
                    page->Add()->Name = "TfrxPageFooter";
                  },
                  kDecl + "\r\n<TfrxReport Version=\"4.0\">\r\n  <TfrxReportPage Name=\"Page1\">\r\n"
                          "    <TfrxMasterData Name=\"MasterData1\">\r\n      <TfrxMemoView/>\r\n"
                          "    </TfrxMasterData>\r\n    <TfrxPageFooter/>\r\n  </TfrxReportPage>\r\n</TfrxReport>\r\n",
                  kDecl + "<TfrxReport Version=\"4.0\"><TfrxReportPage Name=\"Page1\"><TfrxMasterData "
                          "Name=\"MasterData1\"><TfrxMemoView/></TfrxMasterData><TfrxPageFooter/>"
                          "</TfrxReportPage></TfrxReport>"},
        WriteCase{"PagingMarker",
                  [](TfrxXMLItem& r) {
                    r.Name = "preparedreport";
                    TfrxXMLItem* a = r.Add();
                    a->Name = "page0";
                    a->Pageable = true;
                    a->Add()->Name = "b1";
                    TfrxXMLItem* b = r.Add();
                    b->Name = "page1";
                    b->Text = "x=\"1\"";
                    b->Pageable = true;
                    TfrxXMLItem* c = r.Add();
                    c->Name = "page2";
                    c->Text = "x=\"1\" ";
                    c->Pageable = true;
                  },
                  kDecl + "\r\n<preparedreport>\r\n  <page0 ld=\"0\">\r\n    <b1/>\r\n  </page0>\r\n"
                          "  <page1 x=\"1\" ld=\"0\"/>\r\n  <page2 x=\"1\" ld=\"0\"/>\r\n</preparedreport>\r\n",
                  kDecl + "<preparedreport><page0 ld=\"0\"><b1/></page0><page1 x=\"1\" ld=\"0\"/>"
                          "<page2 x=\"1\" ld=\"0\"/></preparedreport>"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- reading ----

struct ReadCase {
  const char* name;
  std::string input;
  std::string tree;  // Dump of Root, or "error" for "Invalid file format"
};

class Read : public ::testing::TestWithParam<ReadCase> {};

TEST_P(Read, Tree) {
  TfrxXMLDocument doc;
  try {
    Load(doc, GetParam().input);
    EXPECT_EQ(Dump(*doc.Root()), GetParam().tree);
  } catch (const TfrxInvalidXMLException& e) {
    EXPECT_STREQ(e.what(), "Invalid file format");
    EXPECT_EQ("error", GetParam().tree) << "error at " << e.Offset() << ", tree " << Dump(*doc.Root());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Read,
    ::testing::Values(
        ReadCase{"EmptyElement", kDecl + "<a/>", "a"},
        ReadCase{"EmptyElementWithSpace", kDecl + "<a />", "a"},
        ReadCase{"EmptyElementWithAttributes", kDecl + "<a x=\"1\"/>", "a[x=\"1\"]"},
        ReadCase{"SpaceBeforeSlashStays", kDecl + "<a x=\"1\" />", "a[x=\"1\" ]"},
        ReadCase{"OneTrailingSpaceDropped", kDecl + "<a x=\"1\"  ></a>", "a[x=\"1\" ]"},
        ReadCase{"Children", kDecl + "\r\n<a>\r\n  <b y=\"2\"/>\r\n  <c><d/></c>\r\n</a>\r\n", "a{b[y=\"2\"],c{d}}"},
        ReadCase{"ClosingTagCaseInsensitive", kDecl + "<Page><Band></BAND></page>", "Page{Band}"},
        ReadCase{"MismatchedClosingTag", kDecl + "<a></b>", "error"},
        ReadCase{"TruncatedDocumentLoads", kDecl + "<a><b><c/>", "a{b{c}}"},
        ReadCase{"TruncatedInsideTag", kDecl + "<a><b x=\"1", "error"},
        ReadCase{"LessThanInsideTag", kDecl + "<a x=\"<\"/>", "error"},
        ReadCase{"GreaterThanInValueEndsTag", kDecl + "<a x=\">\"/>", "a[x=\"]"},
        ReadCase{"NoDeclaration", "<a/>", "error"},
        ReadCase{"EmptyInput", "", "error"},
        ReadCase{"CommentsSkipped", "<!-- x -->" + kDecl + "<!-- x --><a><!-- <b/> --><c/><!---->  </a><!-- y -->",
                 "a{c}"},
        ReadCase{"CommentWithGreaterThan", kDecl + "<a><!-- 1 > 0 --><c/></a>", "a{c}"},
        ReadCase{"ThreeDashesDoNotEndAComment", kDecl + "<a><!-- x ---><b/> --><c/></a>", "a{c}"},
        ReadCase{"InputEndsInsideComment", kDecl + "<a><b/><!-- <c/>", "a{b}"},
        ReadCase{"TextBetweenTagsSkipped", kDecl + "<a>Zamówienie nr 7<b/>koniec</a>", "a{b}"},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF" + kDecl + "<a/>", "a"},
        ReadCase{"TabIsNotASeparator", kDecl + "<a\tx=\"1\"/>", "a\tx=\"1\""},
        ReadCase{"AttributeTextKeptRaw", kDecl + "<m Text=\"a&#34;b\"  Left=\"1\"/>", "m[Text=\"a&#34;b\"  Left=\"1\"]"},
        ReadCase{"MarkerRemovedWithoutPartialLoading",
                 kDecl + "<r><page0 ld=\"0\"><b/></page0><page1 x=\"1\" LD=\"0\"><b/></page1><p ld=\"0\"/></r>",
                 "r{page0{b},page1[x=\"1\"]{b},p}"},
        ReadCase{"NothingAfterTheDocumentElementIsRead", kDecl + "<a/><b></c>", "a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Read, ErrorKeepsWhatWasReadAndGivesTheOffset) {
  TfrxXMLDocument doc;
  std::string input = kDecl + "<a><b/><c x=\"1\"></d></c></a>";
  try {
    Load(doc, input);
    FAIL() << "loaded";
  } catch (const TfrxInvalidXMLException& e) {
    EXPECT_EQ(e.Offset(), static_cast<int64_t>(input.find("</d>") + 4));
  }
  EXPECT_EQ(Dump(*doc.Root()), "a{b,c[x=\"1\"]}");
}

struct LegacyCase {
  std::string declaration;
  bool legacy;
};

class Legacy : public ::testing::TestWithParam<LegacyCase> {};

TEST_P(Legacy, FromDeclaration) {
  TfrxXMLDocument doc;
  doc.LegacyText = !GetParam().legacy;
  Load(doc, GetParam().declaration + "<a/>");
  EXPECT_EQ(doc.LegacyText, GetParam().legacy);
}

INSTANTIATE_TEST_SUITE_P(Cases, Legacy,
                         ::testing::Values(LegacyCase{kDecl, true},
                                           LegacyCase{"<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>", false},
                                           LegacyCase{"<?xml version=\"1.1\" encoding=\"utf-8\"?>", false},
                                           LegacyCase{"<?xml encoding=\"utf-8\"?>", false},
                                           LegacyCase{"<?xml version='1.0'?>", true}));

TEST(Read, TagsAndCommentsAcrossBlockBoundaries) {
  // Shift the document by every offset around a block edge so that '<', "!--", the
  // comment's end and long attribute texts each fall on the boundary.
  std::string longValue(3 * TfrxXMLReader::kBlockSize + 17, 'z');
  for (int shift = TfrxXMLReader::kBlockSize - 60; shift <= TfrxXMLReader::kBlockSize + 4; ++shift) {
    std::string input = kDecl + std::string(static_cast<size_t>(shift), ' ') +
                        "<r><!-- kom--entarz --><a v=\"" + longValue + "\"/><b/></r>";
    TfrxXMLDocument doc;
    Load(doc, input);
    ASSERT_EQ(doc.Root()->Count(), 2) << shift;
    EXPECT_EQ(doc.Root()->Items(0)->Prop("v"), longValue);
    EXPECT_EQ(doc.Root()->Items(1)->Name, "b");
  }
}

TEST(Read, StreamLeftJustAfterTheDocumentElement) {
  std::string document = kDecl + "<a><b/></a>";
  auto m = StreamOf("xx" + document + "TRAILER" + std::string(5000, '.'));
  m->SetPosition(2);
  TfrxXMLDocument doc;
  doc.LoadFromStream(*m);
  EXPECT_EQ(m->Position(), static_cast<int64_t>(2 + document.size()));
}

TEST(Read, DeepNestingNeedsNoStack) {
  const int depth = 200000;
  std::string input = kDecl;
  for (int i = 0; i < depth; ++i) input += "<d>";
  TfrxXMLDocument doc;
  Load(doc, input);  // truncated: every element closes at the end of input
  int levels = 0;
  for (TfrxXMLItem* item = doc.Root(); item->Count() > 0; item = item->Items(0)) ++levels;
  EXPECT_EQ(levels, depth - 1);
  std::string written = Save(doc);
  EXPECT_EQ(written.size(), kDecl.size() + depth * 3 + (depth - 1) * 4 + 4 - 3);
}

// ---- round trips ----

TEST(RoundTrip, SameBytesIndentedAndOnOneLine) {
  for (bool indented : {true, false}) {
    TfrxXMLDocument doc;
    doc.Indented = indented;
    FillDeliveryNote(*doc.Root(), 40);
    doc.Root()->Items(5)->Pageable = true;
    std::string first = Save(doc);
    TfrxXMLDocument again;
    again.Indented = indented;
    auto m = StreamOf(first);
    again.LoadFromStream(*m, true);
    EXPECT_EQ(Save(again), first) << indented;
    EXPECT_EQ(again.Root()->Items(1)->Items(0)->Items(0)->Prop("x"), "Pozycja 1/0: śruby M8 \"ocynk\"\r\n& nakrętki");
  }
}

TEST(RoundTrip, FilesAndAMissingFile) {
  TempFolder folder;
  std::string path = folder.path() + "/faktura.fr3";
  TfrxXMLDocument doc;
  doc.Indented = true;
  FillDeliveryNote(*doc.Root(), 2);
  doc.SaveToFile(path);
  TfrxXMLDocument back;
  back.Indented = true;
  back.LoadFromFile(path);
  EXPECT_EQ(Save(back), Save(doc));
  EXPECT_THROW(back.LoadFromFile(folder.path() + "/brak.fr3"), EFOpenError);
}

// ---- ownership ----

TEST(Item, ChildListOperations) {
  TfrxXMLItem root;
  TfrxXMLItem* a = root.Add();
  a->Name = "Dane";
  TfrxXMLItem* b = root.Add();
  b->Name = "Seria";
  EXPECT_EQ(root.Find("dane"), 0);
  EXPECT_EQ(root.Find("Sumy"), -1);
  EXPECT_EQ(root.FindItem("SERIA"), b);
  TfrxXMLItem* c = root.FindItem("Sumy");
  EXPECT_EQ(root.Count(), 3);
  EXPECT_EQ(c->Name, "Sumy");
  EXPECT_EQ(root.IndexOf(c), 2);

  auto* loose = new TfrxXMLItem;
  loose->Name = "Nowa";
  root.InsertItem(1, loose);
  EXPECT_EQ(Dump(root), "{Dane,Nowa,Seria,Sumy}");
  EXPECT_EQ(loose->Parent(), &root);

  a->AddItem(c);  // moves
  EXPECT_EQ(Dump(root), "{Dane{Sumy},Nowa,Seria}");
  EXPECT_EQ(c->Parent(), a);

  delete loose;  // leaves its parent's list
  EXPECT_EQ(Dump(root), "{Dane{Sumy},Seria}");
  EXPECT_EQ(root.Count(), 2);

  EXPECT_THROW(c->AddItem(a), std::invalid_argument);  // an ancestor into its descendant
  EXPECT_THROW(a->AddItem(a), std::invalid_argument);
  EXPECT_EQ(Dump(root), "{Dane{Sumy},Seria}");
}

TEST(Item, ClearMakesPageableItemsNonResident) {
  TfrxXMLItem page;
  page.Add();
  page.Clear();
  EXPECT_TRUE(page.Resident);
  page.Pageable = true;
  page.Add();
  page.Clear();
  EXPECT_EQ(page.Count(), 0);
  EXPECT_FALSE(page.Resident);
}

// ---- paging ----

class Paging : public ::testing::Test {
 protected:
  TempFolder folder;
  TfrxXMLDocument doc;

  void SetUp() override {
    doc.TempDir = folder.path();
    FillDeliveryNote(*doc.Root(), 5);
    for (int i = 2; i < 5; ++i) doc.Root()->Items(i)->Pageable = true;
  }
};

TEST_F(Paging, PageOutSavePageIn) {
  TfrxXMLItem* page = doc.Root()->Items(3);
  std::string before = Dump(*page);
  std::string saved = Save(doc);

  doc.PageOutItem(page);
  EXPECT_EQ(page->Count(), 0);
  EXPECT_FALSE(page->Resident);
  ASSERT_NE(doc.TempFileName(), "");
  EXPECT_EQ(fs::path(doc.TempFileName()).parent_path(), fs::path(folder.path()));
  EXPECT_EQ(fs::path(doc.TempFileName()).filename().string().rfind("fr", 0), 0u);

  EXPECT_EQ(Save(doc), saved);  // the whole subtree is still written
  EXPECT_EQ(page->Count(), 0);  // and paged out again afterwards
  EXPECT_FALSE(page->Resident);

  doc.PageInItem(page);
  EXPECT_TRUE(page->Resident);
  EXPECT_EQ(Dump(*page), before);
}

TEST_F(Paging, OnlyPageableResidentItemsMove) {
  doc.PageOutItem(doc.Root()->Items(0));  // not pageable
  EXPECT_EQ(doc.Root()->Items(0)->Count(), 3);
  EXPECT_EQ(doc.TempFileName(), "");
  TfrxXMLItem* page = doc.Root()->Items(2);
  doc.PageOutItem(page);
  doc.PageOutItem(page);  // already out: nothing appended
  int64_t size = fs::file_size(doc.TempFileName());
  doc.PageInItem(page);
  doc.PageInItem(page);   // already in: children not doubled
  EXPECT_EQ(page->Count(), 3);
  EXPECT_EQ(static_cast<int64_t>(fs::file_size(doc.TempFileName())), size);
}

TEST_F(Paging, PageInKeepsTheTextInMemory) {
  TfrxXMLItem* page = doc.Root()->Items(4);
  page->Text = "stary=\"1\"";
  doc.PageOutItem(page);
  page->SetProp("nowy", "2");
  doc.PageInItem(page);
  EXPECT_EQ(page->Text, "stary=\"1\" nowy=\"2\"");
  EXPECT_EQ(page->Count(), 3);
}

TEST_F(Paging, ManyItemsShareOneStore) {
  std::vector<std::string> before;
  for (int i = 2; i < 5; ++i) before.push_back(Dump(*doc.Root()->Items(i)));
  for (int i = 2; i < 5; ++i) doc.PageOutItem(doc.Root()->Items(i));
  for (int i = 4; i >= 2; --i) doc.PageInItem(doc.Root()->Items(i));
  for (int i = 2; i < 5; ++i) EXPECT_EQ(Dump(*doc.Root()->Items(i)), before[static_cast<size_t>(i - 2)]);
  // Out again after having been in: a second copy is appended and used.
  doc.Root()->Items(2)->Items(0)->Name = "zmieniony";
  doc.PageOutItem(doc.Root()->Items(2));
  doc.PageInItem(doc.Root()->Items(2));
  EXPECT_EQ(doc.Root()->Items(2)->Items(0)->Name, "zmieniony");
}

TEST_F(Paging, TemporaryFileDeletedOnClearReloadAndDestruction) {
  doc.PageOutItem(doc.Root()->Items(2));
  EXPECT_EQ(folder.FileCount(), 1u);
  doc.Clear();
  EXPECT_EQ(folder.FileCount(), 0u);
  EXPECT_EQ(doc.Root()->Count(), 0);

  FillDeliveryNote(*doc.Root(), 3);
  doc.Root()->Items(2)->Pageable = true;
  doc.PageOutItem(doc.Root()->Items(2));
  EXPECT_EQ(folder.FileCount(), 1u);
  Load(doc, kDecl + "<a/>");
  EXPECT_EQ(folder.FileCount(), 0u);

  {
    TfrxXMLDocument other;
    other.TempDir = folder.path();
    FillDeliveryNote(*other.Root(), 3);
    other.Root()->Items(2)->Pageable = true;
    other.PageOutItem(other.Root()->Items(2));
    EXPECT_EQ(folder.FileCount(), 1u);
  }
  EXPECT_EQ(folder.FileCount(), 0u);
}

TEST_F(Paging, MissingTempDirFallsBackToTheSystemFolder) {
  doc.TempDir = folder.path() + "/nie-ma";
  doc.PageOutItem(doc.Root()->Items(2));
  EXPECT_EQ(fs::path(doc.TempFileName()).parent_path(), fs::path(SystemTempFolder()));
  std::string name = doc.TempFileName();
  doc.Clear();
  EXPECT_FALSE(fs::exists(name));
}

TEST_F(Paging, ClearedBeforeBeingStoredComesBackEmpty) {
  TfrxXMLItem* page = doc.Root()->Items(2);
  page->Clear();  // never paged out: nothing stored for it
  EXPECT_FALSE(page->Resident);
  doc.PageOutItem(doc.Root()->Items(3));  // a store now exists
  doc.PageInItem(page);
  EXPECT_TRUE(page->Resident);
  EXPECT_EQ(page->Count(), 0);
}

class PartialLoading : public ::testing::Test {
 protected:
  TempFolder folder;
  TMemoryStream source;
  std::string bytes;
  TfrxXMLDocument doc;

  void SetUp() override {
    TfrxXMLDocument writer;
    writer.Indented = true;
    FillDeliveryNote(*writer.Root(), 6);
    for (int i = 2; i < 6; ++i) writer.Root()->Items(i)->Pageable = true;
    writer.Root()->Items(5)->Text = "n=\"5\"";
    bytes = Save(writer);
    source.WriteString(bytes);
    source.SetPosition(0);
    doc.TempDir = folder.path();
    doc.Indented = true;
    doc.LoadFromStream(source, true);
  }
};

TEST_F(PartialLoading, MarkedSubtreesStayInTheSource) {
  TfrxXMLItem* root = doc.Root();
  ASSERT_EQ(root->Count(), 6);
  EXPECT_EQ(root->Items(1)->Count(), 3);
  for (int i = 2; i < 6; ++i) {
    TfrxXMLItem* page = root->Items(i);
    EXPECT_TRUE(page->Pageable);
    EXPECT_FALSE(page->Resident);
    EXPECT_EQ(page->Count(), 0);
    // The offset is just after the previous tag: the page's own tag follows.
    EXPECT_EQ(bytes.find('<', static_cast<size_t>(page->StoreOffset)), bytes.find("<page0", static_cast<size_t>(page->StoreOffset)));
  }
  EXPECT_EQ(root->Items(2)->Text, "");
  EXPECT_EQ(root->Items(5)->Text, "n=\"5\"");
  EXPECT_EQ(doc.TempFileName(), "");
}

TEST_F(PartialLoading, PageInFromTheSourceAndSaveAgain) {
  doc.PageInItem(doc.Root()->Items(3));
  EXPECT_EQ(doc.Root()->Items(3)->Count(), 3);
  EXPECT_EQ(doc.Root()->Items(3)->Items(2)->Items(0)->Prop("x"),
            "Pozycja 3/2: śruby M8 \"ocynk\"\r\n& nakrętki");
  EXPECT_EQ(Save(doc), bytes);
}

TEST_F(PartialLoading, SourceAndTemporaryStoreTogether) {
  TfrxXMLItem* in = doc.Root()->Items(2);
  doc.PageInItem(in);
  in->Items(0)->Name = "b9";
  doc.PageOutItem(in);  // goes to a temporary file; the others stay in the source
  ASSERT_NE(doc.TempFileName(), "");
  doc.PageInItem(doc.Root()->Items(4));
  EXPECT_EQ(doc.Root()->Items(4)->Items(0)->Name, "b1");
  doc.PageInItem(in);
  EXPECT_EQ(in->Items(0)->Name, "b9");
}

TEST_F(PartialLoading, AChangedSourceIsReportedNotMisread) {
  TfrxXMLItem* page = doc.Root()->Items(3);
  int64_t offset = page->StoreOffset;
  source.SetSize(0);
  source.WriteString(std::string(static_cast<size_t>(offset), ' ') + "<inny/>");
  EXPECT_THROW(doc.PageInItem(page), TfrxInvalidXMLException);
  EXPECT_FALSE(page->Resident);
}

TEST(PartialLoad, NestedMarkersAreRemovedOnPageIn) {
  TfrxXMLDocument doc;
  std::string input = kDecl + "<r><p ld=\"0\"><q ld=\"0\"><b/></q></p><p2 ld=\"0\"/></r>";
  auto m = StreamOf(input);
  doc.LoadFromStream(*m, true);
  EXPECT_EQ(Dump(*doc.Root()), "r{p*,p2*}");
  doc.PageInItem(doc.Root()->Items(0));
  EXPECT_EQ(Dump(*doc.Root()), "r{p{q{b}},p2*}");
  doc.PageInItem(doc.Root()->Items(1));
  EXPECT_EQ(Dump(*doc.Root()), "r{p{q{b}},p2}");
}

TEST(PartialLoad, SyntaxInsideSkippedSubtreesIsStillChecked) {
  for (const std::string& body : {std::string("<r><p ld=\"0\"><a></b></p></r>"), std::string("<r><p ld=\"0\"><a x=\"<\"/></p></r>")}) {
    TfrxXMLDocument doc;
    auto m = StreamOf(kDecl + body);
    EXPECT_THROW(doc.LoadFromStream(*m, true), TfrxInvalidXMLException) << body;
  }
}

// ---- variants ----

struct VariantCase {
  const char* name;
  Variant value;
  std::string text;
};

class VariantText : public ::testing::TestWithParam<VariantCase> {};

TEST_P(VariantText, Renders) { EXPECT_EQ(VariantToXMLText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Cases, VariantText,
    ::testing::Values(VariantCase{"Integer", Variant(int32_t{-42}), "-42"},
                      VariantCase{"Smallint", Variant(int16_t{7}), "7"},
                      VariantCase{"Byte", Variant(uint8_t{255}), "255"},
                      VariantCase{"Int64", Variant(int64_t{9000000000}), "9000000000"},
                      VariantCase{"Double", Variant(37.7953), "37.7953"},
                      VariantCase{"Whole", Variant(2.0), "2"},
                      VariantCase{"Large", Variant(1e20), "1E20"},
                      VariantCase{"Small", Variant(0.00001), "1E-5"},
                      VariantCase{"Fifteen", Variant(1.0 / 3.0), "0.333333333333333"},
                      VariantCase{"Currency", Variant::Currency(12.5), "12.5"},
                      VariantCase{"String", Variant("Dostawa \"pilna\""), "Dostawa &#34;pilna&#34;"},
                      VariantCase{"Wide", Variant(u"a<b"), "a&#60;b"},
                      VariantCase{"True", Variant(true), "1"}, VariantCase{"False", Variant(false), "0"},
                      VariantCase{"Empty", Variant(), ""}, VariantCase{"Null", Variant::Null(), ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VariantText, DateIsTheLocaleDateText) {
  // In the "C" locale the date text is mm/dd/yy.
  EXPECT_EQ(VariantToXMLText(Variant::Date(46366.75)), "12/10/26");
  EXPECT_EQ(VariantToXMLText(Variant::Date(2.0)), "01/01/00");
}

}  // namespace
