// The JPEG export: file names, sizes, cropping, stacking, non-printable objects,
// monochrome, resolution, failed writes, and the page drawn as the preview draws it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "ExportTestReport.h"
#include "GuiTestApp.h"
#include "PixelDifference.h"
#include "TempFolder.h"
#include "output/frxExportImage.h"
#include "platform/Picture.h"
#include "platform/Stream.h"

namespace {

TRasterImage ReadJpeg(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodeJpeg(bytes);
}

bool IsWhite(TColor c, int tolerance = 8) {
  return RedOf(c) >= 255 - tolerance && GreenOf(c) >= 255 - tolerance && BlueOf(c) >= 255 - tolerance;
}

int DarkPixels(const TRasterImage& image, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (!IsWhite(image.Pixel(x, y), 96)) ++count;
  return count;
}

class JpegExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    previousWalk = frxSetExportWalk(&frxExportPages);
    filter.SetShowDialog(false);
    filter.SetShowProgress(false);
    invoice.report.EngineOptions().NewSilentMode = simSilent;
  }
  void TearDown() override { frxSetExportWalk(previousWalk); }

  std::string Export(const std::string& name = "Raport.jpg") {
    filter.SetFileName(folder.Folder() + name);
    EXPECT_TRUE(invoice.report.ExportTo(filter));
    return folder.Folder();
  }

  TempFolder folder;
  TExportTestReport invoice;
  TfrxJPEGExport filter{nullptr};
  TfrxExportWalk previousWalk;
};

TEST_F(JpegExportTest, OneFilePerPageNamedByTheExportedPagesCount) {
  invoice.Prepare(3);
  Export();
  for (const char* name : {"Raport.1.jpg", "Raport.2.jpg", "Raport.3.jpg"}) {
    ASSERT_TRUE(folder.Exists(name)) << name;
    const TRasterImage image = ReadJpeg(folder.Folder() + name);
    EXPECT_EQ(image.Width(), 794) << name;  // A4 at 96 dpi
    EXPECT_EQ(image.Height(), 1123) << name;
  }
  EXPECT_FALSE(folder.Exists("Raport.jpg"));
  EXPECT_EQ(filter.FileNames(), (std::vector<std::string>{folder.Folder() + "Raport.1.jpg",
                                                          folder.Folder() + "Raport.2.jpg",
                                                          folder.Folder() + "Raport.3.jpg"}));
  EXPECT_FALSE(filter.Incomplete());
}

TEST_F(JpegExportTest, FileNamesFollowTheTargetName) {
  invoice.Prepare(3);
  const struct {
    const char* range;
    const char* target;
    std::vector<std::string> files;
  } cases[] = {
      {"2-3", "Raport.jpg", {"Raport.1.jpg", "Raport.2.jpg"}},  // counted, not page numbers
      {"3", "Faktura_12", {"Faktura_12.1.jpg"}},                // no extension: appended
      {"1", "wz.7.png", {"wz.7.1.jpg"}},                         // the last extension goes
  };
  for (const auto& c : cases) {
    filter.SetPageNumbers(c.range);
    Export(c.target);
    std::vector<std::string> expected;
    for (const std::string& file : c.files) expected.push_back(folder.Folder() + file);
    EXPECT_EQ(filter.FileNames(), expected) << c.range;
    for (const std::string& file : c.files) EXPECT_TRUE(folder.Exists(file)) << file;
  }
  EXPECT_FALSE(folder.Exists("Raport.3.jpg"));
}

TEST_F(JpegExportTest, CroppedImageIsTheObjectsBoundingBoxAndOnePixel) {
  invoice.Prepare(1);
  filter.SetCropImages(true);
  Export();
  const TRasterImage image = ReadJpeg(folder.Folder() + "Raport.1.jpg");
  // The margin (10 mm = 37.8 px) to the right edge of the page number (700 px further)
  // and to the bottom of the footer (1020 px further), plus one pixel each way.
  EXPECT_EQ(image.Width(), 738 + 1 - 38);
  EXPECT_EQ(image.Height(), 1058 + 1 - 38);
  EXPECT_GT(DarkPixels(image, 0, 0, 200, 24), 50);  // the title stands at the corner
}

TEST_F(JpegExportTest, StackedPagesStandAtTheLeftOfTheWidestOne) {
  auto* narrow = new TfrxReportPage(&invoice.report);
  narrow->SetName("Page2");
  narrow->SetPaperWidth(105);
  narrow->SetPaperHeight(148);
  auto* band = new TfrxMasterData(narrow);
  band->SetName("MasterData2");
  band->SetBounds(0, 0, 300, 30);
  auto* memo = new TfrxMemoView(band);
  memo->SetName("Label");
  memo->SetBounds(0, 0, 300, 30);
  memo->SetColor(clBlack);
  // First the narrow page, then an invoice page.
  TfrxPreviewPages& store = *invoice.store;
  store.StartRun();
  store.RegisterSourcePage(*invoice.page);
  store.RegisterSourcePage(*narrow);
  store.StartPass();
  store.StartOutputPage(*narrow);
  store.EmitBand(*band);
  store.SetNewPageMode(TfrxNewPageMode::Append);
  store.StartOutputPage(*invoice.page);
  store.EmitBand(*invoice.header);
  store.EndRun();
  ASSERT_EQ(store.Count(), 2);

  filter.SetSeparateFiles(false);
  Export();
  EXPECT_EQ(filter.FileNames(), std::vector<std::string>{folder.Folder() + "Raport.jpg"});
  const TRasterImage image = ReadJpeg(folder.Folder() + "Raport.jpg");
  const int narrowHeight = static_cast<int>(std::nearbyint(148 * fr01cm));
  EXPECT_EQ(image.Width(), 794);
  EXPECT_EQ(image.Height(), narrowHeight + 1123);
  EXPECT_GT(DarkPixels(image, 20, 20, 300, 30), 2000);  // the black label, at the left
  EXPECT_EQ(DarkPixels(image, 420, 0, 794, narrowHeight), 0);  // beside the narrow page
  EXPECT_GT(DarkPixels(image, 38, narrowHeight + 38, 400, narrowHeight + 62), 50);  // the title below
}

TEST_F(JpegExportTest, PageOfNonPrintableObjectsIsWhite) {
  for (TfrxMemoView* memo : {invoice.title, invoice.row, invoice.amount, invoice.pageNo}) memo->SetPrintable(false);
  invoice.Prepare(1);
  Export();
  const TRasterImage image = ReadJpeg(folder.Folder() + "Raport.1.jpg");
  EXPECT_EQ(DarkPixels(image, 0, 0, image.Width(), image.Height()), 0);

  filter.SetExportNotPrintable(true);
  Export();
  EXPECT_GT(DarkPixels(ReadJpeg(folder.Folder() + "Raport.1.jpg"), 0, 0, 794, 1123), 500);
}

TEST_F(JpegExportTest, MonochromeGivesBlackAndWhite) {
  invoice.row->SetColor(0x00C0C0FF);  // a light red fill becomes white
  invoice.Prepare(1);
  filter.SetMonochrome(true);
  Export();
  const TRasterImage image = ReadJpeg(folder.Folder() + "Raport.1.jpg");
  int grey = 0, dark = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const int level = RedOf(image.Pixel(x, y));
      if (level > 64 && level < 192) ++grey;
      if (level <= 64) ++dark;
    }
  EXPECT_GT(dark, 500);
  EXPECT_LT(grey, dark / 4);  // only the encoder's ringing around edges
}

TEST_F(JpegExportTest, ResolutionScalesTheImage) {
  invoice.Prepare(1);
  filter.SetResolution(192);
  Export();
  const TRasterImage image = ReadJpeg(folder.Folder() + "Raport.1.jpg");
  EXPECT_EQ(image.Width(), 1588);
  EXPECT_EQ(image.Height(), 2246);
}

TEST_F(JpegExportTest, ImagesGoIntoTheOutputStreamWhenOneIsSet) {
  invoice.Prepare(2);
  TMemoryStream stream;
  filter.SetOutputStream(&stream);
  filter.SetSeparateFiles(false);
  Export();
  EXPECT_TRUE(filter.FileNames().empty());
  EXPECT_FALSE(folder.Exists("Raport.jpg"));
  const std::string bytes = stream.DataString();
  const TRasterImage image = DecodeJpeg(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  EXPECT_EQ(image.Height(), 2 * 1123);
}

TEST_F(JpegExportTest, FolderThatCannotBeWrittenIsTheReportsErrorAndLeavesNoFile) {
  invoice.Prepare(2);
  filter.SetFileName(folder.Folder() + "brak/Raport.jpg");
  EXPECT_TRUE(invoice.report.ExportTo(filter));  // every page was tried
  EXPECT_TRUE(filter.Incomplete());
  EXPECT_TRUE(filter.FileNames().empty());
  ASSERT_EQ(invoice.report.Errors().Count(), 2);  // one message per page
  EXPECT_NE(invoice.report.Errors()[0].find("brak/Raport.1.jpg"), std::string::npos) << invoice.report.Errors()[0];

  invoice.report.EngineOptions().NewSilentMode = simReThrow;
  EXPECT_THROW(invoice.report.ExportTo(filter), EfrxReportError);
  EXPECT_FALSE(std::filesystem::exists(folder.Folder() + "brak"));
}

TEST_F(JpegExportTest, NoPagesWriteNoFile) {
  Export();
  EXPECT_TRUE(filter.FileNames().empty());
  EXPECT_FALSE(folder.Exists("Raport.1.jpg"));
}

TEST_F(JpegExportTest, FilterDescribesItself) {
  EXPECT_EQ(filter.DefaultExt(), ".jpg");
  EXPECT_EQ(filter.FilterDescription(), codepage::Utf8ToAnsi("JPEG obraz"));
  EXPECT_EQ(filter.FilterDesc(), "Jpeg obraz (*.jpg)|*.jpg");
  EXPECT_EQ(filter.JPEGQuality(), 90);
  EXPECT_EQ(filter.ClassName(), "TfrxJPEGExport");
  EXPECT_TRUE(filter.ClassInfo().FindProperty("CropImages"));
}

// The exported invoice page is the page the preview draws: the store's own drawing on a
// bitmap of the same size, and the stored picture of that page (a JPEG is lossy, so
// both within a small tolerance). After a deliberate change of the drawing, record the
// picture again with
//   TAVREL_UPDATE_GOLDEN=1 ctest --test-dir build/test -R JpegExportTest
// and look at it before committing it.
TEST_F(JpegExportTest, InvoicePageIsTheDrawingThePreviewShows) {
  invoice.page->SetColor(0x00F0FFF0);
  invoice.page->Frame().SetTyp(15);
  invoice.amount->Frame().SetTyp(15);
  invoice.Prepare(2);
  Export();
  const TRasterImage exported = ReadJpeg(folder.Folder() + "Raport.2.jpg");

  auto preview = NewBitmap(794, 1123, TPixelFormat::pf24bit);
  invoice.store->DrawPageTo(1, preview->Canvas(), 1, 1, 0, 0);
  const TRasterImage& drawn = preview->Pixels();
  ASSERT_EQ(exported.Width(), drawn.Width());
  ASSERT_EQ(exported.Height(), drawn.Height());
  EXPECT_GT(DarkPixels(drawn, 0, 0, 794, 1123), 2000);
  const int allowed = drawn.Width() * drawn.Height() / 500;
  EXPECT_LE(DifferingPixels(exported, drawn, 48), allowed);

  const std::filesystem::path golden =
      std::filesystem::path(TAVREL_SOURCE_DIR) / "output/tests/golden/invoice_page2.png";
  if (std::getenv("TAVREL_UPDATE_GOLDEN")) {
    const std::vector<uint8_t> png = EncodePng(drawn);
    std::ofstream(golden, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return;
  }
  std::ifstream in(golden, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << golden;
  const TRasterImage stored =
      DecodePng(std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
  ASSERT_EQ(stored.Width(), exported.Width());
  ASSERT_EQ(stored.Height(), exported.Height());
  EXPECT_LE(DifferingPixels(exported, stored, 48), allowed);
}

}  // namespace
