// The store with real report pages, bands and memos: an invoice page with a page
// header, a master data band and a page footer.
#include <gtest/gtest.h>

#include "PictureSamples.h"
#include "frxStoreTestClasses.h"
#include "platform/QtCanvas.h"
#include "report/frxClassBand.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassPicture.h"

namespace {

class InvoiceRunTest : public ::testing::Test {
 protected:
  InvoiceRunTest() {
    auto pages = std::make_unique<TfrxPreviewPages>(report);
    auto e = std::make_unique<TfrxStoreTestEngine>();
    store = pages.get();
    engine = e.get();
    report.SetPreviewPages(std::move(pages), std::move(e));
    page = new TfrxReportPage(&report);
    page->SetName("Page1");
    page->SetLeftMargin(10);
    page->SetTopMargin(10);
    page->SetRightMargin(10);
    page->SetBottomMargin(10);
    header = new TfrxPageHeader(page);
    header->SetName("PageHeader1");
    header->SetBounds(0, 0, 718, 30);
    master = new TfrxMasterData(page);
    master->SetName("MasterData1");
    master->SetBounds(0, 40, 718, 20);
    memo = new TfrxMemoView(master);
    memo->SetName("Memo1");
    memo->SetBounds(0, 0, 300, 20);
    memo->SetDataField("D1");
    footer = new TfrxPageFooter(page);
    footer->SetName("PageFooter1");
    footer->SetBounds(0, 1000, 718, 20);
  }

  void Start() {
    engine->running = true;
    store->StartRun();
    store->RegisterSourcePage(*page);
    store->StartPass();
    store->StartOutputPage(*page);
  }
  void End() {
    store->EndRun();
    engine->running = false;
  }
  // A PNG logo on the master band.
  TfrxPictureView* AddLogo() {
    auto* logo = new TfrxPictureView(master);
    logo->SetName("Logo");
    logo->SetBounds(400, 0, 16, 8);
    const samples::Bytes png = samples::Png();
    logo->Picture().Load(TGraphicKind::Png, png);
    return logo;
  }
  // A saved prepared report opened in a store of `other`.
  static TfrxPreviewPages& Reopen(TfrxReport& other, TStream& saved) {
    auto loadedStore = std::make_unique<TfrxPreviewPages>(other);
    TfrxPreviewPages& loaded = *loadedStore;
    other.SetPreviewPages(std::move(loadedStore), nullptr);
    saved.SetPosition(0);
    loaded.LoadFromStream(saved);
    return loaded;
  }
  // A band placed at `top` (and `left`), as the engine places one.
  void Place(TfrxBand& band, double top, double left = 0) {
    band.SetTop(top);
    band.SetLeft(left);
    store->EmitBand(band);
  }

  TfrxReport report;
  TfrxPreviewPages* store = nullptr;
  TfrxStoreTestEngine* engine = nullptr;
  TfrxReportPage* page = nullptr;
  TfrxPageHeader* header = nullptr;
  TfrxMasterData* master = nullptr;
  TfrxMemoView* memo = nullptr;
  TfrxPageFooter* footer = nullptr;
};

TEST_F(InvoiceRunTest, OneBandOneMemoGivesB1AndM1AndRecordsOnlyDifferences) {
  delete header;
  delete footer;
  memo->SetText(u"[Dane.\"D1\"]");
  Start();
  std::vector<std::string> entries;
  store->Dictionary().ForEach(
      [&](const std::string& alias, const std::string& source) { entries.push_back(alias + "=" + source); });
  EXPECT_EQ(entries, (std::vector<std::string>{"b1=Page0.MasterData1", "m1=Page0.Memo1"}));
  for (int row = 0; row < 3; ++row) {
    memo->SetText(u"Pozycja " + codepage::Utf8ToWide(std::to_string(row + 1)));
    Place(*master, 40 + row * 20);
  }
  End();
  TfrxXMLItem& element = *store->PagesElement().Items(0);
  ASSERT_EQ(element.Count(), 3);
  for (int row = 0; row < 3; ++row) {
    const TfrxXMLItem& band = *element.Items(row);
    EXPECT_EQ(band.Name, "b1");
    // A band always carries its top, even where it equals the source's.
    EXPECT_EQ(band.Prop("t"), std::to_string(40 + row * 20)) << row;
    EXPECT_EQ(band.Items(0)->Name, "m1");
    EXPECT_EQ(band.Items(0)->Text, " u=\"Pozycja " + std::to_string(row + 1) + "\"");
  }
  TfrxComponent* built = store->BuildPage(0);
  ASSERT_NE(built, nullptr);
  auto* third = dynamic_cast<TfrxMemoView*>(built->AllObjects()[5]);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->Text(), u"Pozycja 3\r\n");
  EXPECT_EQ(third->Parent()->Top(), 80);
}

TEST_F(InvoiceRunTest, PageHasBandKnowsItsBandsAndAnyPageFooter) {
  TfrxPageFooter otherFooter(nullptr);
  Start();
  EXPECT_FALSE(store->PageHasBand(*master));
  Place(*header, 0);
  Place(*master, 40);
  Place(*footer, 1000);
  EXPECT_TRUE(store->PageHasBand(*master));
  EXPECT_TRUE(store->PageHasBand(*header));
  // Any page footer stands for all: a page has one.
  EXPECT_TRUE(store->PageHasBand(otherFooter));
  store->StartOutputPage(*page);
  EXPECT_FALSE(store->PageHasBand(*master));
  End();
}

TEST_F(InvoiceRunTest, LowestBandBottomSkipsFootersAndFollowsTheColumn) {
  Start();
  EXPECT_EQ(store->LowestBandBottom(0), 0);
  Place(*header, 0);
  Place(*master, 40);
  Place(*master, 60, 360);  // the second column
  Place(*footer, 1000);
  End();
  store->SetCurrentPage(0);
  EXPECT_EQ(store->LowestBandBottom(0), 80);    // every band but the footer
  EXPECT_EQ(store->LowestBandBottom(360), 80);  // its column, and the page header
  EXPECT_EQ(store->LowestBandBottom(100), 30);  // no band there: the page header only
}

TEST_F(InvoiceRunTest, BlankPageShowsTheBackgroundAndFrameOnly) {
  page->SetColor(255);
  page->Frame().SetTyp(15);
  memo->SetColor(65280);
  Start();
  Place(*master, 40);
  End();
  store->InsertBlankPage(0);
  ASSERT_EQ(store->Count(), 2);
  const struct {
    int index;
    TColor atMemo;
  } cases[] = {{0, 255}, {1, 65280}};
  for (const auto& c : cases) {
    auto bitmap = NewBitmap(800, 200, TPixelFormat::pf24bit);
    bitmap->Canvas().SetBrush(TBrush{clWhite, bsSolid});
    bitmap->Canvas().FillRect(TRect{0, 0, 800, 200});
    store->DrawPageTo(c.index, bitmap->Canvas(), 1, 1, 0, 0);
    const int margin = static_cast<int>(std::lround(10 * fr01cm));
    EXPECT_EQ(bitmap->Pixel(margin + 20, margin + 50), c.atMemo) << c.index;
    EXPECT_EQ(bitmap->Pixel(margin / 2, margin / 2), clWhite) << c.index;  // outside the printable area
    EXPECT_EQ(bitmap->Pixel(margin, margin + 100), clBlack) << c.index;    // the page's frame
  }
}

TEST_F(InvoiceRunTest, SavedAndLoadedReportPagesBuildTheSame) {
  Start();
  Place(*header, 0);
  for (int row = 0; row < 4; ++row) {
    memo->SetText(u"Hurtownia Morwa, poz. " + codepage::Utf8ToWide(std::to_string(row + 1)));
    Place(*master, 40 + row * 20);
  }
  Place(*footer, 1000);
  End();
  TMemoryStream saved;
  store->SaveToStream(saved);
  TfrxReport other;
  TfrxPreviewPages& loaded = Reopen(other, saved);
  EXPECT_TRUE(other.Errors().Empty()) << other.Errors().Text();
  TMemoryStream before, after;
  TfrxXMLSerializer(&before).SaveRoot(store->BuildPage(0), true, true);
  TfrxXMLSerializer(&after).SaveRoot(loaded.BuildPage(0), true, true);
  EXPECT_EQ(after.DataString(), before.DataString());
  EXPECT_NE(after.DataString().find("poz. 4"), std::string::npos);
}

// A logo on every row: the picture is kept once, the source copy does not carry it, and
// pages built again (also after a save and load) show it.
TEST_F(InvoiceRunTest, PicturesTravelOnceThroughThePictureCache) {
  TfrxPictureView* logo = AddLogo();
  Start();
  for (int row = 0; row < 3; ++row) Place(*master, 40 + row * 20);
  const samples::Bytes bmp = samples::Bmp(24);
  logo->Picture().Load(TGraphicKind::Bitmap, bmp);  // a new picture for the last row
  Place(*master, 100);
  End();

  EXPECT_EQ(store->PictureCache().Count(), 2);
  const TfrxComponent* source = store->Dictionary().GetObject("p1");
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(store->StoredText(*source).find("Picture.PropData"), std::string::npos);
  // The template keeps its picture for the next run.
  EXPECT_TRUE(logo->PictureStored());
  EXPECT_FALSE(logo->Picture().Empty());

  auto kindsOnPage = [](TfrxComponent* page) {
    std::vector<TGraphicKind> kinds;
    for (TfrxComponent* object : page->AllObjects())
      if (auto* view = dynamic_cast<TfrxPictureView*>(object)) {
        EXPECT_EQ(view->Picture().Width(), 8);
        kinds.push_back(view->Picture().Graphic().Kind());
      }
    return kinds;
  };
  const std::vector<TGraphicKind> expected{TGraphicKind::Png, TGraphicKind::Png, TGraphicKind::Png,
                                           TGraphicKind::Bitmap};
  TfrxComponent* built = store->BuildPage(0);
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(kindsOnPage(built), expected);

  TMemoryStream saved;
  store->SaveToStream(saved);
  EXPECT_EQ(saved.DataString().find("Picture.PropData"), std::string::npos);
  TfrxReport other;
  TfrxPreviewPages& loaded = Reopen(other, saved);
  TfrxComponent* reloaded = loaded.BuildPage(0);
  ASSERT_NE(reloaded, nullptr);
  EXPECT_EQ(kindsOnPage(reloaded), expected);
  EXPECT_TRUE(other.Errors().Empty()) << other.Errors().Text();
}

TEST_F(InvoiceRunTest, AnUnreadablePictureEntryLeavesTheViewEmptyAndSaysWhich) {
  AddLogo();
  Start();
  Place(*master, 40);
  End();
  TMemoryStream saved;
  store->SaveToStream(saved);
  // The entry's bytes replaced by bytes of no picture format.
  std::string text = saved.DataString();
  const size_t at = text.find("<item stream=\"");
  ASSERT_NE(at, std::string::npos);
  const size_t from = at + 14, to = text.find('"', from);
  text.replace(from, to - from, "0102030405060708");
  TMemoryStream damaged;
  damaged.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  TfrxReport other;
  TfrxPreviewPages& loaded = Reopen(other, damaged);
  TfrxComponent* built = loaded.BuildPage(0);
  ASSERT_NE(built, nullptr);
  auto* view = dynamic_cast<TfrxPictureView*>(built->FindObject("Logo"));
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->Picture().Empty());
  EXPECT_NE(other.Errors().Text().find("Logo"), std::string::npos) << other.Errors().Text();
}

}  // namespace
