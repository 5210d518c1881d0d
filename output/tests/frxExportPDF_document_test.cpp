// PDF files written from pages of report views, checked as a user would check them
// (qpdf, pdftotext, pdffonts) and by the bytes that must be there.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "GuiTestApp.h"
#include "PdfTools.h"
#include "output/frxExportPDF_document.h"
#include "platform/CodePage.h"
#include "platform/Stream.h"
#include "report/frxClassBand.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassReport.h"
#include "report/frxClassShapes.h"

namespace fs = std::filesystem;

namespace {

std::u16string W(const char* utf8) { return codepage::Utf8ToWide(utf8); }

// One A4 page of a delivery note of "Hurtownia Morwa": a title, two rows, a total in a
// frame, a rule and a filled rectangle.
class PdfDocumentTest : public ::testing::Test {
 protected:
  PdfDocumentTest() {
    page = new TfrxReportPage(&report);
    page->SetName("Page1");
    page->SetPaperWidth(210);
    page->SetPaperHeight(297);
    page->SetLeftMargin(10);
    page->SetTopMargin(10);
    // Where the export walk puts a page: at its margins.
    page->SetLeft(10 * 3.77953);
    page->SetTop(10 * 3.77953);
    band = new TfrxMasterData(page);
    band->SetName("MasterData1");
    band->SetBounds(0, 0, 718, 400);
    title = Memo("Title", 0, 0, 500, 24, "Dowód dostawy WZ 7/2026 – Hurtownia Morwa");
    TFont bold = title->Font();
    bold.Style = fsBold;
    bold.Size = 14;
    title->SetFont(bold);
    Memo("Row1", 0, 40, 400, 20, "1. Mąka pszenna typ 650, 25 kg");
    Memo("Row2", 0, 60, 400, 20, "2. Cukier biały – 50 kg");
    total = Memo("Total", 420, 100, 200, 24, "Razem: 1 234,56 zł");
    total->SetHAlign(haRight);
    total->Frame().SetTyp(15);
    rule = new TfrxLineView(band);
    rule->SetName("Rule");
    rule->SetBounds(0, 90, 718, 0);
    box = new TfrxShapeView(band);
    box->SetName("Box");
    box->SetBounds(0, 140, 100, 40);
  }

  TfrxMemoView* Memo(const char* name, double l, double t, double w, double h, const char* text) {
    auto* m = new TfrxMemoView(band);
    m->SetName(name);
    m->SetBounds(l, t, w, h);
    m->SetText(W(text));
    return m;
  }

  // Writes the page (the page's objects in order) and returns the file's path.
  std::string Export(const TfrxPDFSettings& settings, const std::string& name = "test.pdf") {
    const fs::path path = folder / name;
    TFileStream out(path.string(), TFileMode::Create);
    TfrxPDFDocument doc(out, settings, &report);
    doc.BeginPage(*page, 0);
    doc.ExportItem(*band);
    for (TfrxComponent* object : band->Objects()) doc.ExportItem(*object);
    doc.EndPage();
    doc.Finish();
    return path.string();
  }

  std::string Folder(const std::string& name) const { return (folder / name).string(); }

  static std::string Bytes(const std::string& path) {
    TFileStream in(path, TFileMode::OpenRead);
    std::string bytes(static_cast<size_t>(in.Size()), '\0');
    in.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
  }

  static TfrxPDFSettings Plain() {
    TfrxPDFSettings s;
    s.Compressed = false;
    s.EmbeddedFonts = false;
    s.DocumentId = std::array<uint8_t, 16>{0xde, 0xad, 0xbe, 0xef};
    return s;
  }

  void SetUp() override {
    EnsureGuiApp();  // views drawn as pictures draw their text through Qt
    folder = fs::temp_directory_path() / ("tavrel_pdf_" + std::to_string(getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  TfrxReport report;
  TfrxReportPage* page = nullptr;
  TfrxBand* band = nullptr;
  TfrxMemoView* title = nullptr;
  TfrxMemoView* total = nullptr;
  TfrxLineView* rule = nullptr;
  TfrxShapeView* box = nullptr;
  fs::path folder;
};

TEST_F(PdfDocumentTest, FilePassesQpdfAndGivesBackTheTextsWithDiacritics) {
  TfrxPDFSettings settings;  // compressed, fonts embedded
  const std::string path = Export(settings);
  std::string check;
  EXPECT_TRUE(QpdfCheckClean(path, "", check)) << check;

  const std::string text = PdfText(path);
  const size_t titleAt = text.find("Dowód dostawy WZ 7/2026 – Hurtownia Morwa");
  const size_t row1 = text.find("1. Mąka pszenna typ 650, 25 kg");
  const size_t row2 = text.find("2. Cukier biały – 50 kg");
  EXPECT_NE(titleAt, std::string::npos) << text;
  EXPECT_LT(titleAt, row1);
  EXPECT_LT(row1, row2);
  EXPECT_NE(row2, std::string::npos) << text;
  EXPECT_NE(text.find("Razem: 1 234,56 zł"), std::string::npos) << text;

  const std::string fonts = RunTool("pdffonts " + Quoted(path)).Output;
  // Two faces: Arial and Arial,Bold, each CID TrueType, embedded, with a Unicode map.
  EXPECT_NE(fonts.find("Arial,Bold"), std::string::npos) << fonts;
  int rows = 0;
  for (size_t at = fonts.find("CID TrueType"); at != std::string::npos; at = fonts.find("CID TrueType", at + 1)) {
    const std::string row = fonts.substr(at, fonts.find('\n', at) - at);
    EXPECT_NE(row.find("Identity-H       yes no  yes"), std::string::npos) << row;
    ++rows;
  }
  EXPECT_EQ(rows, 2) << fonts;
}

TEST_F(PdfDocumentTest, StructureOfAnUnencryptedFile) {
  const std::string bytes = Bytes(Export(Plain()));
  EXPECT_EQ(bytes.rfind("%PDF-1.5\r\n", 0), 0u);
  EXPECT_NE(bytes.find("/MediaBox [0 0 595.50 842.25 ]"), std::string::npos);
  EXPECT_EQ(bytes.find("/Encrypt"), std::string::npos);
  EXPECT_NE(bytes.find("/ID [<deadbeef000000000000000000000000><deadbeef000000000000000000000000>]"),
            std::string::npos);
  EXPECT_NE(bytes.find("/PageMode /UseNone"), std::string::npos);
  EXPECT_NE(bytes.find("/PrintScaling /None"), std::string::npos);
  EXPECT_EQ(bytes.find("/FontFile2"), std::string::npos);
  // The shape has no fill: stroked only.
  EXPECT_NE(bytes.find(" re\r\nS\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find(" re\r\nB\r\n"), std::string::npos);
  // No JPEG image: nothing here needs one.
  EXPECT_EQ(bytes.find("BI\r\n"), std::string::npos);
  std::string check;
  EXPECT_TRUE(QpdfCheckClean(Folder("test.pdf"), "", check)) << check;
}

TEST_F(PdfDocumentTest, FilledShapeIsFilledAndStroked) {
  box->SetColor(RGBColor(255, 255, 0));
  const std::string bytes = Bytes(Export(Plain()));
  EXPECT_NE(bytes.find("1 1 0 rg\r\n"), std::string::npos);
  EXPECT_NE(bytes.find(" re\r\nB\r\n"), std::string::npos);
}

TEST_F(PdfDocumentTest, OutlineOnWithoutEntries) {
  TfrxPDFSettings settings = Plain();
  settings.Outline = true;
  const std::string bytes = Bytes(Export(settings));
  EXPECT_NE(bytes.find("/PageMode /UseOutlines"), std::string::npos);
  EXPECT_EQ(bytes.find("/Outlines"), std::string::npos);
}

TEST_F(PdfDocumentTest, TaggedMemoIsAPictureOnlyWithHtmlTags) {
  TfrxMemoView* tagged = Memo("Tagged", 0, 200, 300, 20, "<b>Uwaga:</b> towar wydano");
  tagged->SetAllowHTMLTags(true);
  TfrxPDFSettings settings = Plain();
  const std::string asImage = Bytes(Export(settings, "image.pdf"));
  EXPECT_NE(asImage.find("BI\r\n/W 903\r\n/H 63\r\n/CS /RGB\r\n/BPC 8\r\n/I true\r\n/F [/DCT]\r\nID\r\n"),
            std::string::npos);
  std::string check;
  EXPECT_TRUE(QpdfCheckClean(Folder("image.pdf"), "", check)) << check;
  EXPECT_EQ(PdfText(Folder("image.pdf")).find("towar wydano"), std::string::npos);

  settings.HTMLTags = false;
  const std::string asText = Bytes(Export(settings, "text.pdf"));
  EXPECT_EQ(asText.find("BI\r\n"), std::string::npos);
  EXPECT_NE(PdfText(Folder("text.pdf")).find("Uwaga: towar wydano"), std::string::npos);
}

TEST_F(PdfDocumentTest, HugePictureViewIsDrawnAtALowerScale) {
  TfrxMemoView* hatched = Memo("Hatched", 0, 200, 60000, 40000, "Siatka");
  hatched->SetBrushStyle(bsCross);
  const std::string bytes = Bytes(Export(Plain()));
  const size_t at = bytes.find("BI\r\n/W ");
  ASSERT_NE(at, std::string::npos);
  const long width = std::atol(bytes.c_str() + at + 7);
  const long height = std::atol(bytes.c_str() + bytes.find("/H ", at) + 3);
  EXPECT_GT(width, 1000);
  EXPECT_LE(width * height, 16L * 1024 * 1024);
  EXPECT_NEAR(static_cast<double>(width) / height, 1.5, 0.01);
}

TEST_F(PdfDocumentTest, RightToLeftMemoShowsVisualAndCopiesLogical) {
  TfrxMemoView* hebrew = Memo("Hebrew", 0, 220, 300, 20, "שלום עולם");
  hebrew->SetRTLReading(true);
  hebrew->SetHAlign(haRight);
  const std::string path = Export(TfrxPDFSettings{});
  const std::string text = PdfText(path, "");
  EXPECT_NE(text.find("שלום עולם"), std::string::npos) << text;
}

TEST_F(PdfDocumentTest, PasswordProtectedFile) {
  const struct {
    TfrxPDFEncBits flags;
    int p;
    const char* printLine;
  } cases[] = {{kAllPDFPermissions, -4, "print low resolution: allowed"},
               {kAllPDFPermissions & ~(1 << ePrint), -8, "print low resolution: not allowed"}};
  for (const auto& c : cases) {
    TfrxPDFSettings settings;
    settings.UserPassword = "tajne";
    settings.EmbeddedFonts = false;  // taken from EmbedFontsIfProtected
    settings.ProtectionFlags = c.flags;
    const std::string path = Export(settings);
    const std::string bytes = Bytes(path);
    EXPECT_NE(bytes.find("/P " + std::to_string(c.p) + "\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("/FontFile2"), std::string::npos);
    std::string check;
    EXPECT_TRUE(QpdfCheckClean(path, "tajne", check)) << check;
    EXPECT_NE(RunTool("qpdf --check --password=zle " + Quoted(path)).Status, 0);
    const std::string encryption = RunTool("qpdf --show-encryption --password=tajne " + Quoted(path)).Output;
    EXPECT_NE(encryption.find("P = " + std::to_string(c.p)), std::string::npos) << encryption;
    EXPECT_NE(encryption.find(c.printLine), std::string::npos) << encryption;
    EXPECT_NE(PdfText(path, "-upw tajne").find("Razem: 1 234,56 zł"), std::string::npos);
  }
}

TEST_F(PdfDocumentTest, SubsetFontsKeepTextAndShrinkTheFile) {
  TfrxPDFSettings whole;
  TfrxPDFSettings subset;
  subset.SubsetFonts = true;
  const std::string wholePath = Export(whole, "whole.pdf");
  const std::string subsetPath = Export(subset, "subset.pdf");
  EXPECT_LT(fs::file_size(subsetPath) * 5, fs::file_size(wholePath));
  std::string check;
  EXPECT_TRUE(QpdfCheckClean(subsetPath, "", check)) << check;
  EXPECT_NE(PdfText(subsetPath).find("2. Cukier biały – 50 kg"), std::string::npos);
  const std::string fonts = RunTool("pdffonts " + Quoted(subsetPath)).Output;
  EXPECT_NE(fonts.find("+Arial,Bold"), std::string::npos) << fonts;
  EXPECT_NE(fonts.find("Identity-H       yes yes yes"), std::string::npos) << fonts;
}

// Numbers keep "." in a locale whose decimal separator is a comma (Polish, made here
// with localedef so that the test needs no installed locale).
TEST_F(PdfDocumentTest, CommaLocaleStillWritesPoints) {
  const fs::path locales = folder / "locales";
  fs::create_directories(locales);
  if (RunTool("localedef -i pl_PL -f UTF-8 " + Quoted((locales / "pl_PL.UTF-8").string())).Status != 0)
    GTEST_SKIP() << "localedef cannot make pl_PL here";
  setenv("LOCPATH", locales.c_str(), 1);
  const std::string saved = setlocale(LC_ALL, nullptr);
  ASSERT_NE(setlocale(LC_ALL, "pl_PL.UTF-8"), nullptr);
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 2.5);
  EXPECT_STREQ(probe, "2,5");  // the locale is really in force
  const std::string bytes = Bytes(Export(Plain()));
  setlocale(LC_ALL, saved.c_str());
  unsetenv("LOCPATH");
  EXPECT_NE(bytes.find("/MediaBox [0 0 595.50 842.25 ]"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n0.75 w\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find(",50 "), std::string::npos);
}

}  // namespace
