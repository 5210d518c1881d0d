// The job step of the real main window, driven through its timer cycle.
#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QTimer>
#include <QTreeWidget>

#include "AppFixture.h"
#include "FakeDesktop.h"
#include "FakeExportFilter.h"
#include "ReceivedMail.h"
#include "app/DirectoryEdit.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Picture.h"
#include "report/frxReportSeams.h"

namespace {

class JobExecutionTest : public AppFixture {
 protected:
  void TearDown() override {
    frxSetReportCollaborators(previous_);
    AppFixture::TearDown();
  }
  std::string Layout() {
    data.Write("faktura.fr3", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<TfrxReport Version=\"4.9.85\"/>\r\n");
    return data.Write("faktura.rpt", "wzór faktury");
  }
  void Ticket(const std::string& name, const std::string& plik) {
    program.Write(name, "[DRUKUJ]\r\nPLIK=" + plik + "\r\nARKUSZ=" + Layout() + "\r\nKOPII=1\r\n");
  }
  std::string Invoice(const std::string& name) {
    return data.Write(name, codepage::Utf8ToAnsi("1=Hurtownia Żółw\r\n95=Faktura 12/2024\r\n"));
  }
  void WithDesigner(TfrxDesignerFactory designer) {
    TfrxReportCollaborators c = frxReportCollaborators();
    c.Designer = std::move(designer);
    previous_ = frxSetReportCollaborators(c);
  }

  TempFolder data;

 private:
  TfrxReportCollaborators previous_ = frxReportCollaborators();
};

TEST_F(JobExecutionTest, JobWithoutItsDataFileIsRemovedAndShownThenTheNextRuns) {
  Tfrm_main& main = Start();
  main.cb_Akcja->setCurrentIndex(-1);  // no output action: the road alone
  const std::string first = Invoice("fv_1.txt"), second = Invoice("fv_2.txt");
  Ticket("1.prn", first);
  Ticket("2.prn", second);
  main.cb_Stop->setChecked(true);
  main.Timer1Timer();  // the tickets become entries
  ASSERT_EQ(main.JobCount(), 2);
  const std::string missing = Tfrm_main::JobDataPath(*main.FirstJob());
  const std::string next = missing == first ? second : first;
  std::filesystem::remove(missing);

  main.cb_Stop->setChecked(false);
  main.Timer1Timer();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Cannot open file"), std::string::npos) << errors[0];
  ASSERT_EQ(main.JobCount(), 1) << "the failed job leaves the queue";
  EXPECT_EQ(Tfrm_main::JobDataPath(*main.FirstJob()), next);
  EXPECT_TRUE(main.Timer1->isActive());

  main.Timer1Timer();
  EXPECT_EQ(errors.size(), 1u) << errors.back();
  EXPECT_EQ(main.JobCount(), 0);
  EXPECT_FALSE(std::filesystem::exists(next));
  EXPECT_EQ(codepage::ToWide(main.JobTables.db_Data.FieldByName("D1").AsString()), u"Hurtownia Żółw");
  EXPECT_TRUE(data.Exists("faktura.rpt"));
  EXPECT_TRUE(data.Exists("faktura.fr3"));
}

TEST_F(JobExecutionTest, DataFileGoesAfterEveryJobButOnlyOnceTheJobUsedIt) {
  Tfrm_main& main = Start();
  const struct {
    const char* what;
    int action;
    const char* data;  // UTF-8
    bool fails;
  } cases[] = {
      {"no action", -1, "1=Hurtownia\r\n", false},
      {"loader error", -1, "2=bez rekordu\r\n", true},
      {"output this program lacks", 2, "1=Hurtownia\r\n", true},
  };
  for (const auto& c : cases) {
    errors.clear();
    main.cb_Akcja->setCurrentIndex(c.action);
    const std::string file = data.Write("dane.txt", codepage::Utf8ToAnsi(c.data));
    Ticket("z.prn", file);
    main.Timer1Timer();
    EXPECT_EQ(errors.size(), c.fails ? 1u : 0u) << c.what;
    EXPECT_EQ(main.JobCount(), 0) << c.what;
    EXPECT_FALSE(std::filesystem::exists(file)) << c.what;
    EXPECT_TRUE(data.Exists("faktura.fr3")) << c.what;
  }
}

TEST_F(JobExecutionTest, ServiceModeDesignsWithTheDataAndProducesNoFile) {
  Tfrm_main& main = Start();
  std::vector<bool> dataWhileDesigning;
  const std::string file = Invoice("fv.txt");
  WithDesigner([&](TfrxReport& report, bool, bool) {
    EXPECT_EQ(&report, &main.fr1);
    dataWhileDesigning.push_back(std::filesystem::exists(file));
    return false;
  });
  main.cb_Interact->setChecked(true);
  main.cb_Akcja->setCurrentIndex(2);
  main.ed_Katalog->setText(QString::fromStdString(data.Folder() + "pdf"));
  Ticket("s.prn", file);
  main.Timer1Timer();
  EXPECT_EQ(dataWhileDesigning, std::vector<bool>{true});
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(main.JobCount(), 0);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_FALSE(data.Exists("pdf"));
}

// The e-mail action from ticket to mail client: the mail client's answer is not looked
// at, so the job always ends normally, and the PDF it was given stays where it was made.
TEST_F(JobExecutionTest, EmailJobEndsNormallyWhateverTheMailClientAnswersAndKeepsItsPdf) {
  TFakeDesktop desktop;
  desktop.RegisterHandler("poczta", "x-scheme-handler/mailto");
  Tfrm_main& main = Start();
  TFakeExportFilter pdf;
  main.JobOutputs.PDF_E = &pdf;
  main.cb_Akcja->setCurrentIndex(jaEmail);
  main.ed_KatalogTemp->setText(QString::fromStdString(data.Folder() + "tmp"));
  const std::string pdfPath = data.Folder() + "tmp/Faktura_12_2024.pdf";
  enum TClient { Takes, Refuses, Missing };
  const struct {
    const char* what;
    TClient client;
  } cases[] = {
      {"the client takes the message", Takes},
      {"the client refuses it", Refuses},
      {"no mail client", Missing},
  };
  for (const auto& c : cases) {
    errors.clear();
    std::filesystem::remove(desktop.Received("poczta"));
    desktop.SetHandlerStatus("poczta", c.client == Refuses ? 1 : 0);
    if (c.client == Missing) std::filesystem::remove(desktop.DesktopFile("poczta"));
    const std::string file = Invoice("fv.txt");  // no recipient (key 77)
    Ticket("m.prn", file);

    main.Timer1Timer();

    EXPECT_TRUE(errors.empty()) << c.what << ": " << (errors.empty() ? "" : errors[0]);
    EXPECT_EQ(main.JobCount(), 0) << c.what;
    EXPECT_FALSE(std::filesystem::exists(file)) << c.what;
    EXPECT_TRUE(std::filesystem::exists(pdfPath)) << c.what << ": the temporary PDF stays";
    EXPECT_EQ(std::filesystem::exists(desktop.Received("poczta")), c.client != Missing) << c.what;
    if (c.client != Takes) continue;
    const TReceivedMail mail = ReadReceivedMail(desktop.Received("poczta"));
    EXPECT_TRUE(mail.To.empty()) << c.what << ": " << mail.To[0];
    EXPECT_EQ(mail.Attachments, std::vector<std::string>{pdfPath}) << c.what;
    // The settings' defaults, and the default body: there is no body file.
    EXPECT_EQ(mail.Field("subject"), "Temat wiadomości e-mail");
    EXPECT_EQ(mail.Field("body"), "Treść domyślna\r\n");
  }
  EXPECT_EQ(pdf.exports, 3);
}

TEST(RenderProgramTest, UsageErrorsExitTwoAndHelpZero) {
  const struct {
    QStringList args;
    int status;
  } cases[] = {
      {{}, 2},
      {{"--action", "fax", "a.prn"}, 2},
      {{"--template", "a.fr3"}, 2},
      {{"--help"}, 0},
  };
  for (const auto& c : cases) {
    QProcess process;
    process.start(TAVREL_RENDER, c.args);
    ASSERT_TRUE(process.waitForFinished(30000)) << c.args.join(' ').toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), c.status) << c.args.join(' ').toStdString();
  }
}

// The JPEG action of the runner on a saved prepared report: one image per page, the
// progress on standard error with --verbose, and no file at all when the target
// folder cannot be made.
TEST(RenderProgramTest, JpegActionWritesOneImagePerPage) {
  TempFolder out;
  const std::string prepared = std::string(TAVREL_SOURCE_DIR) + "/app/jobs/tests/fixtures/dostawa.fp3";
  const std::string dir = out.Folder().substr(0, out.Folder().size() - 1);
  QProcess process;
  process.start(TAVREL_RENDER, {"--prepared", QString::fromStdString(prepared), "--action", "jpg", "--out",
                                QString::fromStdString(dir), "--verbose"});
  ASSERT_TRUE(process.waitForFinished(60000));
  const std::string err = process.readAllStandardError().toStdString();
  ASSERT_EQ(process.exitCode(), 0) << err;
  EXPECT_EQ(process.readAllStandardOutput().toStdString(),
            dir + "/dostawa.1.jpg\n" + dir + "/dostawa.2.jpg\n");
  EXPECT_NE(err.find("Eksportowanie strony 1\nEksportowanie strony 2\n"), std::string::npos) << err;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(out.Folder()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"dostawa.1.jpg", "dostawa.2.jpg"}));
  const std::string bytes = out.Read("dostawa.1.jpg");
  const TRasterImage page = DecodeJpeg(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  EXPECT_EQ(page.Width(), 794);
  EXPECT_EQ(page.Height(), 1123);
}

TEST(RenderProgramTest, JpegIntoAFolderThatCannotBeMadeFailsAndLeavesNothing) {
  TempFolder out;
  const std::string blocker = out.Write("plik", "not a folder");
  const std::string prepared = std::string(TAVREL_SOURCE_DIR) + "/app/jobs/tests/fixtures/dostawa.fp3";
  QProcess process;
  process.start(TAVREL_RENDER, {"--prepared", QString::fromStdString(prepared), "--action", "jpg", "--out",
                                QString::fromStdString(blocker + "/obrazy")});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_EQ(process.readAllStandardOutput().toStdString(), "");
  const std::string err = process.readAllStandardError().toStdString();
  EXPECT_NE(err.find("Pojawił się następujący błąd(y):"), std::string::npos) << err;
  EXPECT_NE(err.find("obrazy/"), std::string::npos) << err;  // the file that could not be made
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(out.Folder()))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"plik"});
}

}  // namespace
