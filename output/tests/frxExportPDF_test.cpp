// The PDF export filter through the export walk: a prepared invoice of several pages,
// page numbers completed by the walk, the filter's settings, and failures that leave no
// file behind.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "ExportTestReport.h"
#include "GuiTestApp.h"
#include "PdfTools.h"
#include "output/frxExportPDF.h"
#include "report/frxClassReport.h"

namespace fs = std::filesystem;

namespace {

class PdfExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    frxRegisterExportFilters();
    folder = fs::temp_directory_path() /
             ("tavrel_pdfexport_" + std::to_string(getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder);
    pdf.SetShowDialog(false);
    pdf.SetShowProgress(false);
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string Path(const std::string& name) const { return (folder / name).string(); }

  TExportTestReport invoice;
  TfrxPDFExport pdf{nullptr, true};
  fs::path folder;
};

TEST_F(PdfExportTest, ThreePageInvoiceWithPageCountsFilledIn) {
  invoice.Prepare(3);
  pdf.SetFileName(Path("faktura.pdf"));
  ASSERT_TRUE(invoice.report.ExportTo(pdf));
  ASSERT_EQ(pdf.FileNames(), std::vector<std::string>{Path("faktura.pdf")});
  std::string check;
  EXPECT_TRUE(QpdfCheckClean(Path("faktura.pdf"), "", check)) << check;
  EXPECT_EQ(RunTool("qpdf --show-npages " + Quoted(Path("faktura.pdf"))).Output, "3\n");
  const std::string text = PdfText(Path("faktura.pdf"));
  EXPECT_NE(text.find("Strona 1 z 3"), std::string::npos) << text;
  EXPECT_NE(text.find("Strona 3 z 3"), std::string::npos);
  EXPECT_NE(text.find("Rogal świętomarciński"), std::string::npos);
  EXPECT_NE(text.find("Faktura VAT nr FV/12/2026 - Piekarnia Kłos sp. z o.o."), std::string::npos);
}

TEST_F(PdfExportTest, PageRangeExportsTheChosenPagesOnly) {
  invoice.Prepare(5);
  pdf.SetFileName(Path("strony.pdf"));
  pdf.SetPageNumbers("2,4-5");
  ASSERT_TRUE(invoice.report.ExportTo(pdf));
  EXPECT_EQ(RunTool("qpdf --show-npages " + Quoted(Path("strony.pdf"))).Output, "3\n");
  const std::string text = PdfText(Path("strony.pdf"));
  EXPECT_NE(text.find("Strona 2 z 5"), std::string::npos) << text;
  EXPECT_EQ(text.find("Strona 3 z 5"), std::string::npos);
}

TEST_F(PdfExportTest, PageBackgroundOnlyWhenAskedFor) {
  invoice.Prepare(1);
  pdf.SetCompressed(false);
  for (bool background : {false, true}) {
    TMemoryStream out;
    pdf.SetStream(&out);
    pdf.SetBackground(background);
    ASSERT_TRUE(invoice.report.ExportTo(pdf));
    EXPECT_EQ(out.DataString().find("BI\r\n/W ") != std::string::npos, background) << background;
  }
}

TEST_F(PdfExportTest, NoFileNameNoStreamWritesNothing) {
  invoice.Prepare(1);
  EXPECT_TRUE(invoice.report.ExportTo(pdf));  // the start was refused, which is no error
  EXPECT_TRUE(pdf.FileNames().empty());
  EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(PdfExportTest, HostStreamReceivesTheFile) {
  invoice.Prepare(1);
  TMemoryStream out;
  pdf.SetStream(&out);
  ASSERT_TRUE(invoice.report.ExportTo(pdf));
  const std::string bytes = out.DataString();
  EXPECT_EQ(bytes.rfind("%PDF-1.5", 0), 0u);
  EXPECT_NE(bytes.find("%%EOF"), std::string::npos);
  EXPECT_TRUE(pdf.FileNames().empty());
}

// A disk that fills up, played by a file size limit: writing past it fails (EFBIG).
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

TEST_F(PdfExportTest, FailuresLeaveNoFileAndPutTheErrorInTheReport) {
  invoice.Prepare(2);
  invoice.report.EngineOptions().NewSilentMode = simSilent;
  const struct {
    const char* name;
    std::string target;
    rlim_t limit;
  } cases[] = {{"folder missing", Path("brak/katalogu/faktura.pdf"), RLIM_INFINITY},
               {"disk full", Path("faktura.pdf"), 20000}};
  for (const auto& c : cases) {
    invoice.report.Errors().Clear();
    pdf.SetFileName(c.target);
    bool exported = true;
    {
      TFileSizeLimit limit(c.limit);
      exported = invoice.report.ExportTo(pdf);
    }
    EXPECT_FALSE(exported) << c.name;
    EXPECT_GT(invoice.report.Errors().Count(), 0) << c.name;
    EXPECT_TRUE(pdf.FileNames().empty()) << c.name;
    EXPECT_FALSE(fs::exists(c.target)) << c.name;
  }
  EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(PdfExportTest, PublishedSettingsAndTheirDefaults) {
  EXPECT_TRUE(pdf.Compressed());
  EXPECT_TRUE(pdf.EmbeddedFonts());
  EXPECT_FALSE(pdf.SubsetFonts());
  EXPECT_TRUE(pdf.HTMLTags());
  EXPECT_FALSE(pdf.Outline());
  EXPECT_EQ(pdf.Permissions(), -4);
  pdf.SetProtectionFlags(pdf.ProtectionFlags() & ~(1 << ePrint));
  EXPECT_EQ(pdf.Permissions(), -8);
  EXPECT_EQ(pdf.DefaultExt(), ".pdf");
  EXPECT_EQ(pdf.FilterDescription(), "PDF dokument");
}

}  // namespace
