#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "GuiTestApp.h"
#include "TempFolder.h"
#include "frxStoreTestClasses.h"
#include "platform/QtCanvas.h"
#include "platform/Stream.h"
#include "report/frxClassMemo.h"
#include "report/frxRes.h"

namespace {

// A one-page template on a report with the store and an engine stand-in plugged in: a
// strip (like a band) holding a text and a box.
class StoreTest : public ::testing::Test {
 protected:
  StoreTest() {
    // Memos drawn from the store paint their text through Qt's font engine.
    EnsureGuiApp();
    auto pages = std::make_unique<TfrxPreviewPages>(report);
    auto e = std::make_unique<TfrxStoreTestEngine>();
    store = pages.get();
    engine = e.get();
    report.SetPreviewPages(std::move(pages), std::move(e));
    page = new TfrxStoreSheet(&report);
    page->SetName("Page1");
    strip = new TfrxStoreStrip(page);
    strip->SetName("Strip1");
    strip->SetBounds(0, 0, 718, 40);
    text = new TfrxStoreText(strip);
    text->SetName("Text1");
    text->SetBounds(10, 5, 200, 20);
    text->SetText("Piekarnia Kłos sp. z o.o.");
    box = new TfrxStoreBox(strip);
    box->SetName("Box1");
    box->SetBounds(300, 5, 50, 20);
    box->SetColor(255);
  }

  void StartRun() {
    engine->running = true;
    store->StartRun();
    store->RegisterSourcePage(*page);
    store->StartPass();
  }
  void EndRun() {
    store->EndRun();
    engine->running = false;
  }
  // The strip at `top` with the text, as the engine places a band.
  void EmitStrip(double top, const std::string& value) {
    strip->SetTop(top);
    text->SetText(value);
    store->EmitBand(*strip);
  }
  // `pages` pages of `rows` strips each, the text naming page and row.
  void RunPages(int pages, int rows) {
    StartRun();
    for (int p = 0; p < pages; ++p) {
      store->StartOutputPage(*page);
      for (int r = 0; r < rows; ++r) EmitStrip(40.0 * r, "Hurtownia Morwa, strona " + std::to_string(p + 1) + ", wiersz " + std::to_string(r + 1));
    }
    EndRun();
  }

  // Every object of a built page: class, name, bounds and text.
  static std::string Dump(TfrxComponent* built) {
    if (!built) return "(none)";
    std::ostringstream out;
    out << built->ClassName() << "\n";
    for (TfrxComponent* c : built->AllObjects()) {
      out << c->ClassName() << " " << c->Name() << " " << c->Left() << "," << c->Top() << "," << c->Width() << ","
          << c->Height();
      if (auto* t = dynamic_cast<TfrxStoreText*>(c)) out << " '" << t->Text() << "'";
      if (auto* b = dynamic_cast<TfrxStoreBox*>(c)) out << " color " << b->Color();
      out << "\n";
    }
    return out.str();
  }
  std::vector<std::string> DumpAll() {
    std::vector<std::string> all;
    for (int i = 0; i < store->Count(); ++i) all.push_back(Dump(store->BuildPage(i)));
    return all;
  }
  TfrxXMLItem& PageElement(int i) { return *store->PagesElement().Items(i); }

  TfrxReport report;
  TfrxPreviewPages* store = nullptr;
  TfrxStoreTestEngine* engine = nullptr;
  TfrxStoreSheet* page = nullptr;
  TfrxStoreStrip* strip = nullptr;
  TfrxStoreText* text = nullptr;
  TfrxStoreBox* box = nullptr;
};

TEST_F(StoreTest, SourceCopiesGetAliasesSourceNamesAndStoredTexts) {
  text->SetDataField("D1");
  StartRun();
  const TfrxDictionary& dictionary = store->Dictionary();
  EXPECT_EQ(dictionary.Count(), 3);
  EXPECT_EQ(strip->OutputAlias(), "s1");
  EXPECT_EQ(text->OutputAlias(), "s2");
  EXPECT_EQ(box->OutputAlias(), "s3");
  EXPECT_EQ(dictionary.GetSourceName("s2"), "Page0.Text1");
  TfrxComponent* copy = dictionary.GetObject("s2");
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(text->SourceObject(), copy);
  EXPECT_EQ(copy->SourceObject(), text);
  EXPECT_EQ(copy->Name(), "Text1");
  // A text copy is not data-bound: its recorded value is final.
  EXPECT_EQ(static_cast<TfrxStoreText*>(copy)->DataField(), "");
  EXPECT_EQ(text->DataField(), "D1");
  EXPECT_EQ(store->StoredText(*copy).rfind("TfrxStoreText ", 0), 0u);
  EXPECT_NE(store->StoredText(*copy).find("Left=\"10\""), std::string::npos);
  // A class stored in full keeps only its class name: its elements carry everything.
  EXPECT_EQ(store->StoredText(*dictionary.GetObject("s3")), "TfrxStoreBox");
  EndRun();
  EXPECT_EQ(text->SourceObject(), nullptr);
  EXPECT_EQ(store->SourcePage(0)->SourceObject(), nullptr);
}

TEST(DictionaryTest, FreshAliasTakesTheFirstFreeNumberAfterTheHalvingSearch) {
  const struct {
    std::vector<int> taken;
    std::string expected;
  } cases[] = {
      {{}, "m1"},
      {{1, 2, 3}, "m4"},
      {{2}, "m3"},  // not the first gap: the search counts up from the number it reached
      // Halving stops at the first taken number from the top and counts up from there.
      {{1, 2, 5000}, "m5001"},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}, "m21"},
      {{10000}, "m10001"},
  };
  for (const auto& c : cases) {
    TfrxDictionary dictionary;
    for (int n : c.taken) dictionary.Add("m" + std::to_string(n), "Page0.Memo" + std::to_string(n), nullptr);
    EXPECT_EQ(dictionary.CreateUniqueName("m"), c.expected) << c.taken.size();
  }
  TfrxDictionary dense;
  for (int n = 1; n <= 10000; ++n) dense.Add("b" + std::to_string(n), "Page0.B", nullptr);
  EXPECT_EQ(dense.CreateUniqueName("b"), "b10001");
}

TEST_F(StoreTest, RecordsDifferencesOnlyAndBuildsThePageBack) {
  StartRun();
  store->StartOutputPage(*page);
  EmitStrip(0, "Piekarnia Kłos sp. z o.o.");
  EmitStrip(40, "Hurtownia Morwa");
  box->SetColor(65280);
  EmitStrip(80, "Hurtownia Morwa");
  EndRun();

  ASSERT_EQ(store->Count(), 1);
  TfrxXMLItem& element = PageElement(0);
  EXPECT_EQ(element.Name, "page0");
  ASSERT_EQ(element.Count(), 3);
  // The first strip is exactly the source: its text carries nothing but the text itself.
  TfrxXMLItem& first = *element.Items(0);
  EXPECT_EQ(first.Name, "s1");
  EXPECT_EQ(first.Text, "");
  EXPECT_EQ(first.Items(0)->Name, "s2");
  EXPECT_EQ(first.Items(0)->Text, " u=\"Piekarnia K\xC5\x82os sp. z o.o.\"");
  EXPECT_EQ(element.Items(1)->Text, " t=\"40\"");
  // The box is stored in full: all of its properties, whatever changed.
  EXPECT_NE(element.Items(2)->Items(1)->Text.find("Color=\"65280\""), std::string::npos);

  EXPECT_EQ(Dump(store->BuildPage(0)),
            "TfrxStoreSheet\n"
            "TfrxStoreStrip Strip1 0,0,718,40\n"
            "TfrxStoreText Text1 10,5,200,20 'Piekarnia Kłos sp. z o.o.'\n"
            "TfrxStoreBox Box1 300,5,50,20 color 255\n"
            "TfrxStoreStrip Strip1 0,40,718,40\n"
            "TfrxStoreText Text1 10,5,200,20 'Hurtownia Morwa'\n"
            "TfrxStoreBox Box1 300,5,50,20 color 255\n"
            "TfrxStoreStrip Strip1 0,80,718,40\n"
            "TfrxStoreText Text1 10,5,200,20 'Hurtownia Morwa'\n"
            "TfrxStoreBox Box1 300,5,50,20 color 65280\n");
  EXPECT_EQ(store->PageSize(0), (TfrxCustomPreviewPages::TPageSize{794, 1123}));
  EXPECT_EQ(store->PageSize(1), (TfrxCustomPreviewPages::TPageSize{0, 0}));
  EXPECT_EQ(store->BuildPage(1), nullptr);
}

TEST_F(StoreTest, InvisibleObjectsAndObjectsWithoutSourceAreRecordedAsTheyAre) {
  StartRun();
  store->StartOutputPage(*page);
  box->SetVisible(false);
  EmitStrip(0, "Faktura");
  // An object made during the run without a source copy goes in full, under its class.
  TfrxStoreText extra(nullptr);
  extra.SetName("Extra");
  extra.SetBounds(1, 2, 3, 4);
  extra.SetText("Razem");
  store->EmitBand(extra);
  EndRun();
  EXPECT_EQ(PageElement(0).Items(0)->Count(), 1);
  EXPECT_EQ(PageElement(0).Items(1)->Name, "TfrxStoreText");
  std::string dump = Dump(store->BuildPage(0));
  EXPECT_EQ(dump.find("Box1"), std::string::npos);
  EXPECT_NE(dump.find("TfrxStoreText  1,2,3,4 'Razem'"), std::string::npos) << dump;
}

TEST_F(StoreTest, RunTimeObjectsGetACopyANameAndAnAlias) {
  StartRun();
  TfrxStoreText made(nullptr);
  made.SetBounds(5, 5, 50, 10);
  made.SetText("Dopisek");
  store->RegisterSourceObject(made);
  EXPECT_EQ(made.OutputAlias(), "s4");
  ASSERT_NE(made.SourceObject(), nullptr);
  EXPECT_EQ(store->Dictionary().GetSourceName("s4"), "Page0." + made.SourceObject()->Name());
  store->StartOutputPage(*page);
  store->EmitBand(made);
  EndRun();
  EXPECT_EQ(PageElement(0).Items(0)->Name, "s4");
  EXPECT_NE(Dump(store->BuildPage(0)).find("'Dopisek'"), std::string::npos);
}

TEST_F(StoreTest, DoublePassKeepsTheFinalPassAndTheFirstPassAnchorsAndNumbers) {
  report.EngineOptions().DoublePass = true;
  engine->finalPass = false;
  StartRun();
  for (int p = 0; p < 3; ++p) {
    store->StartOutputPage(*page);
    EmitStrip(0, "pierwszy przebieg");
  }
  // The first pass records positions only.
  EXPECT_EQ(PageElement(0).Items(0)->Items(0)->Text.find(" u="), std::string::npos);
  engine->curY = 120;
  store->AddAnchor("Podsumowanie");
  store->DropPassOutput();
  EXPECT_EQ(store->Count(), 0);
  EXPECT_EQ(store->CurrentPage(), -1);

  engine->finalPass = true;
  // Anchors of the first pass are found while the final pass runs.
  EXPECT_EQ(store->GetAnchorPage("PODSUMOWANIE"), 3);
  EXPECT_EQ(store->GetAnchorPage("brak"), 1);
  for (int p = 0; p < 3; ++p) {
    store->StartOutputPage(*page);
    EmitStrip(0, "strona " + std::to_string(p + 1));
    EXPECT_EQ(store->LogicalPageNo(), p + 1);
    EXPECT_EQ(store->LogicalTotalPages(), 3);
  }
  EndRun();
  ASSERT_EQ(store->Count(), 3);
  EXPECT_NE(Dump(store->BuildPage(2)).find("'strona 3'"), std::string::npos);
}

TEST_F(StoreTest, DoublePassAfterEarlierOutputDropsOnlyTheNewPass) {
  RunPages(2, 1);
  store->Outline().AddItem("Wcześniejszy", 0);
  report.EngineOptions().DoublePass = true;
  engine->finalPass = false;
  StartRun();
  EXPECT_EQ(store->RunFirstPage(), 2);
  store->SetCurrentPage(1);
  EmitStrip(80, "dopisane na stronie 2");
  store->StartOutputPage(*page);
  store->Outline().LevelRoot();
  store->Outline().AddItem("Nowy", 0);
  store->DropPassOutput();
  EXPECT_EQ(store->Count(), 2);
  EXPECT_EQ(PageElement(1).Count(), 1);
  EXPECT_EQ(store->Outline().Count(), 1);
  EXPECT_EQ(store->CurrentPage(), 1);
  EndRun();
}

TEST_F(StoreTest, ResetPageNumbersGivesEachGroupItsOwnNumbersAndTotal) {
  StartRun();
  const int groups[] = {2, 3};
  for (int size : groups) {
    for (int p = 0; p < size; ++p) store->StartOutputPage(*page);
    store->CloseLogicalNumbering();
  }
  store->StartOutputPage(*page);  // a group whose numbering is never closed
  EndRun();
  const struct {
    int page, number, total;
  } expected[] = {{0, 1, 2}, {1, 2, 2}, {2, 1, 3}, {3, 2, 3}, {4, 3, 3}, {5, 1, 0}};
  for (const auto& e : expected) {
    store->SetCurrentPage(e.page);
    EXPECT_EQ(store->LogicalPageNo(), e.number) << e.page;
    EXPECT_EQ(store->LogicalTotalPages(), e.total) << e.page;
  }
}

TEST_F(StoreTest, KeepingMovesObjectsAnchorsAndOutlineItemsToTheNextPage) {
  StartRun();
  store->StartOutputPage(*page);
  EmitStrip(0, "nagłówek");
  engine->curY = 900;
  store->AddAnchor("Przed");
  store->Outline().AddItem("Przed", 900);
  store->Outline().LevelRoot();
  // The keep starts: remember where, then record what may have to move.
  const int position = store->ObjectPosition();
  const int anchor = store->AnchorPosition();
  TfrxXMLItem* lastItem = store->Outline().LastItem();
  EmitStrip(1000, "grupa A");
  EmitStrip(1040, "grupa B");
  engine->curY = 1040;
  store->AddAnchor("Grupa");
  store->Outline().AddItem("Grupa", 1040);
  store->Outline().LevelRoot();
  // It does not fit: set aside, new page, put back at the top.
  store->SetAsideFrom(position);
  store->StartOutputPage(*page);
  store->PutBackSetAside(30, 0);
  store->MoveAnchorsDown(anchor, 30);
  store->Outline().ShiftFrom(lastItem, 30);
  EndRun();

  EXPECT_EQ(PageElement(0).Count(), 1);
  EXPECT_EQ(store->Root().Find("cutted"), -1);
  std::string second = Dump(store->BuildPage(1));
  EXPECT_NE(second.find("Strip1 0,30,718,40"), std::string::npos) << second;
  EXPECT_NE(second.find("Strip1 0,70,718,40"), std::string::npos) << second;
  EXPECT_EQ(store->GetAnchorPage("Grupa"), 2);
  EXPECT_EQ(store->GetAnchorPage("Przed"), 1);
  TfrxXMLItem& anchors = *store->Root().FindItem("anchors");
  EXPECT_EQ(anchors.Items(1)->Prop("top"), "30");
  store->Outline().LevelRoot();
  EXPECT_EQ(store->Outline().ItemAt(0).Page, 0);
  EXPECT_EQ(store->Outline().ItemAt(1).Page, 1);
  EXPECT_EQ(store->Outline().ItemAt(1).Top, 30);
}

TEST_F(StoreTest, OutlineNestsAndWalksLevels) {
  StartRun();
  store->StartOutputPage(*page);
  TfrxOutline& outline = store->Outline();
  EXPECT_EQ(outline.LastItem(), nullptr);
  outline.AddItem("Faktury", 0);
  engine->curY = 14.6;
  outline.AddItem("FV 1/2026");
  outline.LevelUp();
  outline.AddItem("FV 2/2026", 200);
  outline.LevelRoot();
  outline.AddItem("Korekty", 300);
  outline.LevelRoot();
  EXPECT_EQ(outline.Count(), 2);
  EXPECT_EQ(outline.ItemAt(1).Text, "Korekty");
  outline.LevelInto(0);
  EXPECT_EQ(outline.Count(), 2);
  EXPECT_EQ(outline.ItemAt(0).Text, "FV 1/2026");
  EXPECT_EQ(outline.ItemAt(0).Top, 15);
  EXPECT_EQ(outline.ItemAt(1).Text, "FV 2/2026");
  outline.LevelUp();
  outline.LevelUp();  // at the root already: stays
  EXPECT_EQ(outline.Count(), 2);
  EndRun();
}

TEST_F(StoreTest, RemoveInsertAndReplacePages) {
  RunPages(1, 1);
  store->RemovePage(0);
  EXPECT_EQ(store->Count(), 1);  // the last page is never removed
  store->InsertBlankPage(0);
  ASSERT_EQ(store->Count(), 2);
  EXPECT_EQ(PageElement(0).Name, "page0");
  EXPECT_EQ(Dump(store->BuildPage(0)), "TfrxStoreSheet\n");
  store->RemovePage(0);
  EXPECT_EQ(store->Count(), 1);

  TfrxComponent* built = store->BuildPage(0);
  built->Objects()[0]->SetTop(333);
  store->ReplacePage(0, *built);
  EXPECT_EQ(PageElement(0).Name, "TfrxStoreSheet");
  EXPECT_FALSE(PageElement(0).Pageable);
  EXPECT_EQ(store->PagesInCache(), 0);
  EXPECT_NE(Dump(store->BuildPage(0)).find("Strip1 0,333,718,40"), std::string::npos);
}

TEST_F(StoreTest, SourcePageSizeFollowsAnEndlessPage) {
  StartRun();
  store->SetSourcePageSize(*page, 2000, 800);
  store->StartOutputPage(*page);
  EndRun();
  auto* copy = static_cast<TfrxStoreSheet*>(store->SourcePage(0));
  EXPECT_EQ(copy->PaperSize(), 256);
  EXPECT_NEAR(copy->PaperHeight(), 2000 / fr01cm, 1e-9);
  EXPECT_NEAR(copy->PaperWidth(), 800 / fr01cm, 1e-9);
  EXPECT_EQ(store->PageSize(0), (TfrxCustomPreviewPages::TPageSize{800, 2000}));
  EXPECT_EQ(page->PaperWidth(), 210);  // the template keeps its own paper
}

TEST_F(StoreTest, PagingKeepsTheFirstTwoPagesAndBuildsPagedOutOnesAlike) {
  RunPages(10, 3);
  const std::vector<std::string> resident = DumpAll();
  store->ClearAll();
  report.EngineOptions().UseFileCache = true;
  report.EngineOptions().MaxMemSize = 0;  // every page-start checks and pages out
  RunPages(10, 3);
  EXPECT_FALSE(store->Document().TempFileName().empty());
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(PageElement(i).Resident) << i;
    EXPECT_FALSE(PageElement(i).Pageable) << i;
  }
  // The check runs when a page starts: the page just finished and the new one stay.
  for (int i = 2; i < 8; ++i) EXPECT_FALSE(PageElement(i).Resident) << i;
  EXPECT_TRUE(PageElement(8).Resident);
  EXPECT_TRUE(PageElement(9).Resident);
  EXPECT_EQ(DumpAll(), resident);
  const std::string file = store->Document().TempFileName();
  store->ClearAll();
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(StoreTest, PageCacheKeepsTheMostRecentPagesAndPagesOutTheOneItDrops) {
  report.EngineOptions().UseFileCache = true;
  report.PreviewOptions().PagesInCache = 2;
  RunPages(5, 1);
  TfrxComponent* third = store->BuildPage(3);
  EXPECT_EQ(store->BuildPage(3), third);  // a hit
  store->BuildPage(4);
  EXPECT_EQ(store->PagesInCache(), 2);
  store->BuildPage(2);  // drops page 3, the least recently used
  EXPECT_EQ(store->PagesInCache(), 2);
  EXPECT_FALSE(PageElement(3).Resident);
  EXPECT_NE(Dump(store->BuildPage(3)).find("strona 4"), std::string::npos);
}

TEST_F(StoreTest, SaveAndLoadGiveTheSamePagesOutlineAnchorsAndPictures) {
  report.ReportOptions().Name = "Faktura VAT";
  report.PreviewOptions().OutlineVisible = true;
  StartRun();
  for (int p = 0; p < 3; ++p) {
    store->StartOutputPage(*page);
    EmitStrip(0, "Piekarnia Kłos, strona " + std::to_string(p + 1) + " & \"cudzysłów\" <tag>");
    store->Outline().AddItem("Strona " + std::to_string(p + 1), 0);
    store->Outline().LevelRoot();
    store->AddAnchor("Kotwica" + std::to_string(p));
  }
  EndRun();
  const std::string picture("\x89PNG\r\n\x1a\n\0\x01\xff", 11);
  store->PictureCache().AddBytes(picture);
  store->PictureCache().AddBytes("GIF");
  const std::vector<std::string> before = DumpAll();

  TMemoryStream saved;
  store->SaveToStream(saved);
  EXPECT_EQ(saved.DataString().rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?><preparedreport>", 0), 0u);

  TfrxReport other;
  auto loadedStore = std::make_unique<TfrxPreviewPages>(other);
  TfrxPreviewPages& loaded = *loadedStore;
  other.SetPreviewPages(std::move(loadedStore), nullptr);
  // Partially loaded: pages beyond the first two stay in the stream until built.
  saved.SetPosition(0);
  loaded.LoadFromStream(saved, true);
  EXPECT_FALSE(loaded.PagesElement().Items(2)->Resident);
  EXPECT_TRUE(other.Errors().Empty()) << other.Errors().Text();
  EXPECT_EQ(other.ReportOptions().Name, "Faktura VAT");
  EXPECT_TRUE(other.PreviewOptions().OutlineVisible);
  ASSERT_EQ(loaded.Count(), 3);
  std::vector<std::string> after;
  for (int i = 0; i < loaded.Count(); ++i) after.push_back(Dump(loaded.BuildPage(i)));
  EXPECT_EQ(after, before);
  EXPECT_EQ(loaded.Dictionary().GetSourceName("s2"), "Page0.Text1");
  EXPECT_EQ(loaded.Outline().Count(), 3);
  EXPECT_EQ(loaded.Outline().ItemAt(2).Text, "Strona 3");
  EXPECT_EQ(loaded.Outline().ItemAt(2).Page, 2);
  EXPECT_EQ(loaded.GetAnchorPage("kotwica1"), 2);
  ASSERT_EQ(loaded.PictureCache().Count(), 2);
  EXPECT_EQ(loaded.PictureCache().Bytes(1), picture);
  EXPECT_EQ(loaded.PictureCache().Bytes(2), "GIF");
  EXPECT_EQ(loaded.Root().FindItem("sourcepages")->Count(), 0);

  // Saved again (the pages not built still in the stream), the file is the same.
  TMemoryStream again;
  loaded.SaveToStream(again);
  EXPECT_EQ(again.DataString(), saved.DataString());
}

TEST_F(StoreTest, FilesAreReplacedWholeAndMissingFilesAreReported) {
  TempFolder folder;
  RunPages(2, 2);
  const std::string path = folder.Folder() + "faktura.fp3";
  store->SaveToFile(path);
  TfrxReport other;
  auto loadedStore = std::make_unique<TfrxPreviewPages>(other);
  TfrxPreviewPages& loaded = *loadedStore;
  other.SetPreviewPages(std::move(loadedStore), nullptr);
  EXPECT_TRUE(loaded.LoadFromFile(path));
  EXPECT_EQ(loaded.Count(), 2);
  EXPECT_FALSE(loaded.LoadFromFile(folder.Folder() + "brak.fp3"));
  EXPECT_THROW(loaded.LoadFromFile(folder.Folder() + "brak.fp3", true), EFOpenError);
  // Only the file itself is left in the folder: no temporary copy.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Folder())) ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(StoreTest, AppendPagesOfAnotherReportShiftsAnchorsAndOutline) {
  RunPages(2, 1);
  TfrxReport other;
  auto otherStore = std::make_unique<TfrxPreviewPages>(other);
  TfrxPreviewPages& theirs = *otherStore;
  other.SetPreviewPages(std::move(otherStore), nullptr);
  TempFolder folder;
  {
    // The other report's pages come from a file, as composed reports usually do.
    store->Outline().LevelRoot();
    store->SetCurrentPage(1);
    store->Outline().AddItem("Druga", 5);
    store->AddAnchor("Koniec");
    store->SaveToFile(folder.Folder() + "inny.fp3");
    theirs.LoadFromFile(folder.Folder() + "inny.fp3");
  }
  store->AppendPagesOf(other);
  ASSERT_EQ(store->Count(), 4);
  EXPECT_EQ(PageElement(2).Name, "TfrxStoreSheet");
  EXPECT_EQ(Dump(store->BuildPage(3)), Dump(store->BuildPage(1)));
  EXPECT_EQ(store->GetAnchorPage("Koniec"), 4);
  store->Outline().LevelRoot();
  ASSERT_EQ(store->Outline().Count(), 2);
  EXPECT_EQ(store->Outline().ItemAt(1).Page, 3);
  EXPECT_EQ(store->Outline().ItemAt(1).Top, 5);
}

TEST(PictureCacheTest, EntriesEndWhereTheNextBeginsInMemoryAndInFiles) {
  TempFolder folder;
  for (bool inFile : {false, true}) {
    TfrxPictureCacheStreams cache;
    cache.SetFileCaching(inFile, folder.Folder());
    EXPECT_EQ(cache.AddBytes("pierwszy"), 1);
    EXPECT_EQ(cache.AddBytes(""), 2);
    EXPECT_EQ(cache.Add([](TStream& s) { s.WriteString("trzeci obraz"); }), 3);
    EXPECT_EQ(cache.Bytes(1), "pierwszy");
    EXPECT_EQ(cache.Bytes(2), "");
    EXPECT_EQ(cache.Bytes(3), "trzeci obraz");
    EXPECT_EQ(cache.Bytes(0), "");
    EXPECT_EQ(cache.Bytes(4), "");
    std::vector<std::string> files = cache.FileNames();
    ASSERT_EQ(files.size(), inFile ? 1u : 0u);
    if (inFile) {
      EXPECT_EQ(std::filesystem::path(files[0]).filename().string().rfind("frPic", 0), 0u);
      EXPECT_EQ(std::filesystem::path(files[0]).parent_path(), std::filesystem::path(folder.Folder()).parent_path());
    }
    // A picture that fails while it is written leaves nothing behind.
    EXPECT_THROW(cache.Add([](TStream& s) {
      s.WriteString("pół");
      throw EWriteError();
    }),
                 EWriteError);
    EXPECT_EQ(cache.Count(), 3);
    EXPECT_EQ(cache.Bytes(3), "trzeci obraz");
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0);
    for (const std::string& f : files) EXPECT_FALSE(std::filesystem::exists(f));
  }
}

// --- prepared reports as users have them -------------------------------------------------

std::string PreparedFile(const std::string& pages, const std::string& tail = "") {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><preparedreport><previewpages>" + pages +
         "</previewpages><sourcepages><TfrxStoreSheet PaperWidth=\"210\" PaperHeight=\"297\">"
         "<TfrxStoreStrip Name=\"Strip1\" Height=\"40\" Width=\"718\">"
         "<TfrxStoreText Name=\"Text1\" Left=\"10\" Top=\"5\" Width=\"200\" Height=\"20\"/>"
         "</TfrxStoreStrip></TfrxStoreSheet></sourcepages>"
         "<dictionary><s1 name=\"Page0.Strip1\"/><s2 name=\"Page0.Text1\"/></dictionary>" +
         tail + "</preparedreport>";
}

class PreparedFileTest : public ::testing::Test {
 protected:
  PreparedFileTest() {
    auto p = std::make_unique<TfrxPreviewPages>(report);
    store = p.get();
    report.SetPreviewPages(std::move(p), nullptr);
  }
  void Load(const std::string& bytes) {
    TMemoryStream stream;
    stream.WriteString(bytes);
    stream.SetPosition(0);
    store->LoadFromStream(stream);
  }
  TfrxReport report;
  TfrxPreviewPages* store = nullptr;
};

TEST_F(PreparedFileTest, NewerFilesOpenWithWhatIsKnownAndNameUnknownClassesOnce) {
  Load(PreparedFile(
      "<page0><s1 t=\"10\" Fill.Gradient=\"1\"><s2 u=\"Razem\" Fill.Angle=\"45\"/>"
      "<TfrxFancyGauge Left=\"1\"><s2 u=\"w środku\"/></TfrxFancyGauge></s1></page0>"
      "<page0><TfrxFancyGauge/><s1 t=\"20\"/></page0><TfrxPageOfTheFuture Name=\"X\"/>"));
  ASSERT_EQ(store->Count(), 3);
  TfrxComponent* first = store->BuildPage(0);
  ASSERT_NE(first, nullptr);
  std::vector<TfrxComponent*> objects = first->AllObjects();
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0]->Top(), 10);
  EXPECT_EQ(static_cast<TfrxStoreText*>(objects[1])->Text(), "Razem");
  ASSERT_NE(store->BuildPage(1), nullptr);
  EXPECT_EQ(store->BuildPage(1)->AllObjects().size(), 1u);
  EXPECT_EQ(store->BuildPage(2), nullptr);
  const std::string cannotFind = frxResources().Get("xrCantFindClass");
  EXPECT_EQ(report.Errors().Items(),
            (std::vector<std::string>{cannotFind + " TfrxFancyGauge", cannotFind + " TfrxPageOfTheFuture"}));
}

TEST_F(PreparedFileTest, DamagedFilesGiveAClearErrorAndLeaveTheStoreEmpty) {
  const struct {
    std::string bytes;
    std::string message;
  } cases[] = {
      {"to nie jest plik", "Invalid file format"},
      {"<?xml version=\"1.0\"?><TfrxReport><TfrxReportPage/></TfrxReport>", "not <preparedreport>"},
      {"<?xml version=\"1.0\"?><preparedreport><previewpages><page0></previewpages>", "Invalid file format"},
      {PreparedFile("<page0/>", "<picturecache><item stream=\"ABC\"/></picturecache>"), "odd number"},
      {PreparedFile("<page0/>", "<picturecache><item stream=\"0G\"/></picturecache>"), "not a hexadecimal"},
      {"<?xml version=\"1.0\"?><preparedreport><outline><item><item text=\"&#x41;\"/></item></outline></preparedreport>",
       "Item 1 of <outline> is damaged"},
      {"<?xml version=\"1.0\"?><preparedreport><anchors><item text=\"A\" page=\"dwa\"/></anchors></preparedreport>",
       "Item 1 of <anchors> is damaged"},
  };
  for (const auto& c : cases) {
    try {
      Load(c.bytes);
      ADD_FAILURE() << "loaded: " << c.bytes;
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    EXPECT_EQ(store->Count(), 0);
    EXPECT_EQ(store->SourcePageCount(), 0);
  }
}

TEST_F(PreparedFileTest, PagesThatCannotBeBuiltSayWhyAndTheOthersStillBuild) {
  std::string deep;
  for (int i = 0; i < TfrxPreparedLimits::kMaxObjectDepth + 5; ++i) deep = "<s1>" + deep + "</s1>";
  Load(PreparedFile("<page7/><page0>" + deep + "</page0><page0><s1 t=\"5\"/></page0>"));
  ASSERT_EQ(store->Count(), 3);
  EXPECT_THROW(store->BuildPage(0), EfrxPreparedReportError);
  EXPECT_THROW(store->BuildPage(1), EfrxPreparedReportError);
  ASSERT_NE(store->BuildPage(2), nullptr);
  EXPECT_EQ(store->BuildPage(2)->AllObjects().size(), 1u);
}

TEST_F(PreparedFileTest, OnlyThePreparedReportsOwnSettingsReachTheReport) {
  Load(PreparedFile("<page0/>",
                    "<report><TfrxReport DotMatrixReport=\"0\" PreviewOptions.OutlineWidth=\"300\" "
                    "ReportOptions.Name=\"Dowód dostawy\" ParentReport=\"/etc/passwd\" "
                    "EngineOptions.TempDir=\"/\" ScriptLanguage=\"JScript\"/></report>"));
  EXPECT_EQ(report.PreviewOptions().OutlineWidth, 300);
  EXPECT_EQ(report.ReportOptions().Name, "Dowód dostawy");
  EXPECT_EQ(report.ParentReport(), "");
  EXPECT_EQ(report.EngineOptions().TempDir, "");
  EXPECT_EQ(report.ScriptLanguage(), "PascalScript");
}

TEST_F(StoreTest, DrawsTheViewsInsideTheMarginsAndMirrorsOddPages) {
  page->SetLeftMargin(10);
  page->SetRightMargin(30);
  page->SetTopMargin(5);
  page->SetMirrorMargins(true);
  RunPages(2, 1);
  // The box is at 300,5 inside its strip: on paper at margin + 300.
  const struct {
    int index;
    double marginMm;
  } cases[] = {{0, 10}, {1, 30}};
  for (const auto& c : cases) {
    auto bitmap = NewBitmap(900, 200, TPixelFormat::pf24bit);
    bitmap->Canvas().SetBrush(TBrush{clWhite, bsSolid});
    bitmap->Canvas().FillRect(TRect{0, 0, 900, 200});
    store->DrawPageTo(c.index, bitmap->Canvas(), 1, 1, 0, 0);
    const int x = static_cast<int>(std::lround(c.marginMm * fr01cm)) + 300;
    const int y = static_cast<int>(std::lround(5 * fr01cm)) + 5;
    EXPECT_EQ(bitmap->Pixel(x + 2, y + 2), TColor{255}) << c.index;
    EXPECT_EQ(bitmap->Pixel(x - 3, y + 2), clWhite) << c.index;
  }
  // The margins are the page's own again after drawing.
  auto* built = static_cast<TfrxStoreSheet*>(store->BuildPage(1));
  EXPECT_EQ(built->LeftMargin(), 10);
}

}  // namespace

namespace {

TEST_F(StoreTest, MemosAreRecordedByTheirTextAndGetThePageCountWhenDrawn) {
  auto* memo = new TfrxMemoView(strip);
  memo->SetName("Memo1");
  memo->SetBounds(400, 2, 100, 18);
  memo->SetDataField("D1");
  memo->SetText(u"[Dane.\"D1\"]");
  StartRun();
  EXPECT_EQ(memo->OutputAlias(), "m1");
  EXPECT_EQ(store->Dictionary().GetSourceName("m1"), "Page0.Memo1");
  for (int p = 0; p < 3; ++p) {
    store->StartOutputPage(*page);
    memo->SetText(u"Strona " + codepage::Utf8ToWide(std::to_string(p + 1)) + u" z [TotalPages#]");
    EmitStrip(0, "wiersz");
  }
  EndRun();
  // Only the text differs from the source memo.
  EXPECT_EQ(PageElement(1).Items(0)->Items(2)->Name, "m1");
  EXPECT_EQ(PageElement(1).Items(0)->Items(2)->Text, " u=\"Strona 2 z [TotalPages#]\"");
  auto bitmap = NewBitmap(800, 100, TPixelFormat::pf24bit);
  store->DrawPageTo(1, bitmap->Canvas(), 1, 1, 0, 0);
  TfrxComponent* built = store->BuildPage(1);
  auto* drawn = dynamic_cast<TfrxCustomMemoView*>(built->FindObject("Memo1"));
  ASSERT_NE(drawn, nullptr);
  // Drawing put the page count into the built copy; the recorded page keeps the bracket.
  EXPECT_EQ(drawn->Text(), u"Strona 2 z 3\r\n");
  EXPECT_EQ(drawn->DataField(), "");
  EXPECT_EQ(drawn->TotalPagesValue(), 3);
}

}  // namespace
