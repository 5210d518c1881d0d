#include "jobs/JobSequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "FakeExportFilter.h"
#include "TempFolder.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Stream.h"
#include "report/frxClassReport.h"
#include "tables/JobDataSets.h"

namespace {

std::string Ansi(const char* utf8) { return codepage::Utf8ToAnsi(utf8); }

TEST(SafeFileNameTest, ElevenCharactersBecomeUnderscoresAndEmptyBecomesRaport) {
  const struct {
    const char* name;
    const char* safe;
  } cases[] = {
      {"Faktura nr 12/2024", "Faktura_nr_12_2024"},
      {"", "Raport"},
      {"a.b", "a_b"},
      {" #$&*,./?@\\", "___________"},
      {"WZ-7 (kopia): 3%", "WZ-7_(kopia):_3%"},
      {"Faktura zaliczkowa łódź", "Faktura_zaliczkowa_łódź"},
      {"_", "_"},
  };
  for (const auto& c : cases) EXPECT_EQ(SafeFileName(Ansi(c.name)), Ansi(c.safe)) << c.name;
}

TEST(RunThenRemoveTest, RemovesOnceWhateverHappensAndRaisesAfterRemoval) {
  std::vector<std::string> order;
  RunThenRemove([&] { order.push_back("job"); }, [&] { order.push_back("remove"); });
  EXPECT_EQ(order, (std::vector<std::string>{"job", "remove"}));

  order.clear();
  try {
    RunThenRemove([&] { throw std::runtime_error("Cannot open file"); }, [&] { order.push_back("remove"); });
    ADD_FAILURE() << "the job's error was swallowed";
  } catch (const std::runtime_error& e) {
    order.push_back(e.what());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"remove", "Cannot open file"}));
}

class JobSequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tables.CreateJobTables();
    ApplyReportHostSettings(report);
    // The first record's D1, so that a later job's file can be told from an earlier one's.
    pdf.content = jpg.content = [this] {
      tables.db_Data.First();
      return tables.db_Data.FieldByName("D1").AsString();
    };
    settings.TargetFolder = out.Folder() + "pdf";
    settings.TempFolder = out.Folder() + "tmp";
  }
  void TearDown() override { frxSetReportCollaborators(previous_); }

  TJobOutputs Outputs() {
    TJobOutputs outputs;
    outputs.PDF_E = &pdf;
    outputs.JPG_E = &jpg;
    return outputs;
  }
  std::string Data(const std::string& text) { return in.Write("dane.txt", text); }
  std::string Template() { return in.Write("faktura.fr3", Fixture("faktura.fr3")); }
  static std::string Fixture(const std::string& name) { return ReadWholeFile(TAVREL_JOBS_FIXTURES + name); }
  TJobResult Run(const std::string& data, const std::string& templ = "") {
    TJobSequence sequence(report, tables, outputs);
    TJobResult result = sequence.Run(templ.empty() ? in.Folder() + "brak.fr3" : templ, data, settings);
    header = sequence.Header();
    return result;
  }
  void WithDesigner(TfrxDesignerFactory designer) {
    TfrxReportCollaborators c = frxReportCollaborators();
    c.Designer = std::move(designer);
    previous_ = frxSetReportCollaborators(c);
  }

  TempFolder in, out;
  TJobTables tables;
  TJobDataSets dataSets{tables};
  TfrxReport report;
  TFakeExportFilter pdf, jpg;
  TJobOutputs outputs = Outputs();
  TJobSettings settings;
  TJobHeader header;

 private:
  TfrxReportCollaborators previous_ = frxReportCollaborators();
};

TEST_F(JobSequenceTest, ExportsIntoTheFolderUnderTheDocumentName) {
  const struct {
    int action;
    const char* data;
    const char* file;
    const char* folder;
  } cases[] = {
      {jaPdf, "1=Hurtownia\r\n95=Faktura nr 12/2024\r\n", "Faktura_nr_12_2024.pdf", "pdf"},
      {jaPdf, "1=Hurtownia\r\n", "Raport.pdf", "pdf"},
      {jaJpeg, "1=Hurtownia\r\n95=a.b\r\n", "a_b.jpg", "pdf"},
  };
  for (const auto& c : cases) {
    settings.Action = c.action;
    const TJobResult result = Run(Data(c.data));
    const std::string expected = out.Folder() + c.folder + "/" + c.file;
    EXPECT_EQ(result.Files, std::vector<std::string>{expected}) << c.data;
    EXPECT_TRUE(out.Exists(std::string(c.folder) + "/" + c.file)) << c.data;
    EXPECT_FALSE(result.ExportFailed);
  }
  EXPECT_FALSE(pdf.dialogAtExport);
  EXPECT_FALSE(jpg.dialogAtExport);
}

TEST_F(JobSequenceTest, TwoJobsOfOneNameLeaveTheSecondsFile) {
  settings.Action = jaPdf;
  Run(Data("1=Pierwsza\r\n95=Faktura 7\r\n"));
  Run(Data("1=Druga\r\n95=Faktura 7\r\n"));
  EXPECT_EQ(out.Read("pdf/Faktura_7.pdf"), "Druga");
}

TEST_F(JobSequenceTest, TargetFolderIsCreatedOneLevelDeepOnly) {
  settings.Action = jaPdf;
  settings.TargetFolder = out.Folder() + "brak/faktury";
  const TJobResult result = Run(Data("1=Hurtownia\r\n"));
  EXPECT_FALSE(out.Exists("brak"));
  // The export itself meets the missing folder; the job still ends normally.
  EXPECT_EQ(pdf.exports, 1);
  EXPECT_TRUE(result.ExportFailed);
}

TEST_F(JobSequenceTest, EmailExportsIntoTheTemporaryFolderThenHandsOverTheRecipient) {
  std::vector<std::string> mails;
  outputs.SendJobMail = [&](const std::string& file, const std::string& to) {
    EXPECT_TRUE(fsys::FileExists(file));
    mails.push_back(file + "|" + to);
  };
  settings.Action = jaEmail;
  Run(Data("1=Hurtownia\r\n95=FV 3\r\n77=biuro@hurtownia.example.pl\r\n"));
  EXPECT_EQ(mails, std::vector<std::string>{out.Folder() + "tmp/FV_3.pdf|biuro@hurtownia.example.pl"});
  EXPECT_FALSE(out.Exists("pdf"));
}

TEST_F(JobSequenceTest, OutputsThisProgramLacksFailTheJobWithoutAFile) {
  const struct {
    int action;
    const char* message;
  } cases[] = {
      {jaPrint, "Drukowanie nie jest dostępne w tej wersji programu"},
      {jaPreview, "Podgląd wydruku nie jest dostępny w tej wersji programu"},
      {jaPdf, "Eksport do PDF nie jest dostępny w tej wersji programu"},
      {jaJpeg, "Eksport do JPG nie jest dostępny w tej wersji programu"},
      {jaEmail, "Tworzenie wiadomości e-mail nie jest dostępne w tej wersji programu"},
  };
  outputs = TJobOutputs{};
  for (const auto& c : cases) {
    settings.Action = c.action;
    try {
      Run(Data("1=Hurtownia\r\n"));
      ADD_FAILURE() << "action " << c.action << " reported done";
    } catch (const EJobOutputUnavailable& e) {
      EXPECT_EQ(e.what(), Ansi(c.message));
    }
  }
  EXPECT_FALSE(out.Exists("pdf"));
  EXPECT_FALSE(out.Exists("tmp"));
}

TEST_F(JobSequenceTest, PrintingNeverShowsTheDialogWhateverTheTemplateSays) {
  bool dialog = true;
  int prints = 0;
  outputs.Print = [&](TfrxReport& r) {
    ++prints;
    dialog = r.PrintOptions().ShowDialog;
  };
  settings.Action = jaPrint;
  const TJobResult result = Run(Data("1=Hurtownia\r\n"), Template());
  EXPECT_EQ(prints, 1);
  EXPECT_FALSE(dialog);
  EXPECT_TRUE(result.OutputRan);
}

TEST_F(JobSequenceTest, TemplateLoadsAndDialogsAreOnAfterPreparing) {
  settings.Action = -1;  // no action selected
  const std::string templ = Template();
  const TJobResult result = Run(Data("1=Hurtownia\r\n"), templ);
  EXPECT_EQ(report.ReportOptions().Name, "Faktura VAT");
  // The template says no dialog; a preview or designer opened by the job shows it.
  EXPECT_TRUE(report.PrintOptions().ShowDialog);
  EXPECT_TRUE(pdf.showDialog);
  EXPECT_TRUE(jpg.showDialog);
  EXPECT_EQ(pdf.exports + jpg.exports, 0);
  EXPECT_TRUE(result.Files.empty());
  EXPECT_TRUE(report.EngineOptions().SilentMode());
  // Run deletes nothing: ending the job is the caller's.
  EXPECT_TRUE(fsys::FileExists(templ));
  EXPECT_TRUE(in.Exists("dane.txt"));
}

TEST_F(JobSequenceTest, MissingTemplateGivesAnEmptyReportAndNoError) {
  report.ReportOptions().Name = "z poprzedniego zlecenia";
  settings.Action = jaPdf;
  const TJobResult result = Run(Data("1=Hurtownia\r\n"));
  EXPECT_TRUE(report.ReportOptions().Name.empty());
  EXPECT_TRUE(report.Errors().Empty());
  EXPECT_EQ(result.Files.size(), 1u);
}

TEST_F(JobSequenceTest, DataErrorsEndTheJobBeforePreparingAndOutput) {
  const struct {
    const char* data;  // nullptr: no data file at all
    const char* message;
  } cases[] = {
      {nullptr, "Cannot open file"},
      {"2=przed pierwszym rekordem\r\n", "Dataset not in edit or insert mode"},
      {"1=Hurtownia\r\n201=za daleko\r\n", "List index out of bounds"},
  };
  settings.Action = jaPdf;
  for (const auto& c : cases) {
    const std::string data = c.data ? Data(c.data) : in.Folder() + "zaginiony.txt";
    bool loaded = false;
    TJobSequence sequence(report, tables, outputs);
    sequence.OnDataLoaded = [&] { loaded = true; };
    try {
      sequence.Run(Template(), data, settings);
      ADD_FAILURE() << "no error for " << (c.data ? c.data : "a missing file");
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    EXPECT_FALSE(loaded);
  }
  EXPECT_EQ(pdf.exports, 0);
}

TEST_F(JobSequenceTest, ServiceModeOpensTheDesignerAndProducesNoFile) {
  int designs = 0;
  WithDesigner([&](TfrxReport& r, bool modal, bool mdiChild) {
    ++designs;
    EXPECT_EQ(&r, &report);
    EXPECT_TRUE(modal);
    EXPECT_FALSE(mdiChild);
    EXPECT_TRUE(in.Exists("dane.txt"));  // the job still has its data while designing
    return false;
  });
  settings.ServiceMode = true;
  settings.Action = jaPdf;
  const TJobResult result = Run(Data("1=Hurtownia\r\n95=FV 1\r\n"), Template());
  EXPECT_EQ(designs, 1);
  EXPECT_TRUE(result.OutputRan);
  EXPECT_TRUE(result.Files.empty());
  EXPECT_EQ(pdf.exports, 0);
  EXPECT_FALSE(out.Exists("pdf"));
}

TEST_F(JobSequenceTest, ServiceModeWithoutADesignerFails) {
  WithDesigner(nullptr);
  settings.ServiceMode = true;
  EXPECT_THROW(Run(Data("1=Hurtownia\r\n")), EJobOutputUnavailable);
}

TEST_F(JobSequenceTest, PolishLettersOfAWindows1250FileReadBackUnchanged) {
  settings.Action = -1;
  Run(in.Write("faktura.txt", Fixture("faktura_1250.txt")));
  tables.db_Data.First();
  EXPECT_EQ(codepage::ToWide(tables.db_Data.FieldByName("D1").AsString()), u"Hurtownia Żółw Sp. z o.o.");
  EXPECT_EQ(codepage::ToWide(tables.db_Data.FieldByName("D2").AsString()), u"ul. Świętokrzyska 12, 00-916 Warszawa");
  EXPECT_EQ(codepage::ToWide(header.DocumentName), u"Faktura nr 12/2024");
  tables.db_Data.Next();
  EXPECT_EQ(codepage::ToWide(tables.db_Data.FieldByName("D1").AsString()), u"Zakład Mięsny Gęś");
  EXPECT_EQ(codepage::ToWide(tables.db_Serial.FieldByName("S2").AsString()), u"Kiełbasa śląska");
}

// The names in a folder, hidden ones included, in order.
std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(fsys::NativePath(folder), error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(JobSequenceTest, PageFilesTakeTheirFinalNamesTogether) {
  settings.Action = jaJpeg;
  jpg.pages = 3;
  const TJobResult result = Run(Data("1=Hurtownia Morwa\r\n95=WZ 4\r\n"));
  const std::string folder = out.Folder() + "pdf/";
  EXPECT_EQ(result.Files, (std::vector<std::string>{folder + "WZ_4.1.jpg", folder + "WZ_4.2.jpg", folder + "WZ_4.3.jpg"}));
  EXPECT_EQ(Listing(folder), (std::vector<std::string>{"WZ_4.1.jpg", "WZ_4.2.jpg", "WZ_4.3.jpg"}));
  EXPECT_EQ(jpg.FileName(), folder + "WZ_4.jpg") << "the filter keeps the name the user knows";
}

// The target folder refuses to take the finished file under its name.
class RefusingRename : public fsys::TFileSystem {
 public:
  bool RenameFile(std::string_view, std::string_view) const override { return false; }
};

// Faults met while jobs run. Each job ends cleanly - done, failed with the report's
// error, or failed with its own exception - and leaves no half-written file under the
// name the user looks for (an earlier complete file of that name stays) and nothing
// staged behind; the next job runs as if nothing had happened.
TEST_F(JobSequenceTest, FaultsWhileJobsRunLeaveNoHalfFileAndTheNextJobRuns) {
  RefusingRename refusing;
  const fsys::TFileSystem* realFileSystem = &fsys::FileSystem();
  const std::string folder = out.Folder() + "pdf";
  const std::string templ = Template();
  const struct {
    const char* what;
    std::function<std::string(const std::string& data)> inject;  // returns the template to load
    std::function<void()> heal;
    bool raises;
    bool exportFails;
    const char* fileAfter;  // the final file's content after the faulty job; "" for none
  } cases[] = {
      {"the disk fills", [&](const std::string&) { pdf.diskFullAfter = 2; return templ; },
       [&] { pdf.diskFullAfter = -1; }, false, true, "Pierwsza"},
      {"the disk fills and the filter raises",
       [&](const std::string&) {
         pdf.diskFullAfter = 2;
         pdf.raiseWhenFull = true;
         return templ;
       },
       [&] {
         pdf.diskFullAfter = -1;
         pdf.raiseWhenFull = false;
       },
       true, false, "Pierwsza"},
      {"the folder refuses the finished file", [&](const std::string&) { fsys::SetFileSystem(&refusing); return templ; },
       [&] { fsys::SetFileSystem(realFileSystem); }, false, true, "Pierwsza"},
      {"the target folder vanishes mid-export",
       [&](const std::string&) {
         pdf.content = [&] {
           std::filesystem::remove_all(fsys::NativePath(folder));
           return std::string("Druga");
         };
         return templ;
       },
       [] {}, false, true, ""},
      {"the data file vanishes between the scan and the job",
       [&](const std::string& data) { std::filesystem::remove(fsys::NativePath(data)); return templ; }, [] {}, true,
       false, "Pierwsza"},
      {"the template is half rewritten",
       [&](const std::string&) {
         const std::string full = Fixture("faktura.fr3");
         return in.Write("przepisywany.fr3", full.substr(0, full.size() / 2));
       },
       [] {}, false, false, "Druga"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(fsys::NativePath(folder));
    settings.Action = jaPdf;
    pdf.content = [this] {
      tables.db_Data.First();
      return tables.db_Data.FieldByName("D1").AsString();
    };
    Run(Data("1=Pierwsza\r\n95=Faktura 7\r\n"), templ);
    ASSERT_EQ(out.Read("pdf/Faktura_7.pdf"), "Pierwsza") << c.what;

    const std::string data = Data("1=Druga\r\n95=Faktura 7\r\n");
    const std::string loaded = c.inject(data);
    bool raised = false;
    TJobResult result;
    try {
      result = Run(data, loaded);
    } catch (const std::exception&) {
      raised = true;
    }
    c.heal();
    EXPECT_EQ(raised, c.raises) << c.what;
    EXPECT_EQ(result.ExportFailed, c.exportFails) << c.what;
    if (*c.fileAfter) {
      EXPECT_EQ(Listing(folder), std::vector<std::string>{"Faktura_7.pdf"}) << c.what;
      EXPECT_EQ(out.Read("pdf/Faktura_7.pdf"), c.fileAfter) << c.what;
    } else {
      EXPECT_EQ(Listing(folder), std::vector<std::string>{}) << c.what;
    }
    if (c.exportFails) {
      EXPECT_TRUE(result.Files.empty()) << c.what;
    }

    pdf.content = [this] {
      tables.db_Data.First();
      return tables.db_Data.FieldByName("D1").AsString();
    };
    const TJobResult next = Run(Data("1=Trzecia\r\n95=Faktura 7\r\n"), templ);
    EXPECT_FALSE(next.ExportFailed) << c.what;
    EXPECT_EQ(next.Files, std::vector<std::string>{folder + "/Faktura_7.pdf"}) << c.what;
    EXPECT_EQ(out.Read("pdf/Faktura_7.pdf"), "Trzecia") << "the job after: " << c.what;
    EXPECT_EQ(Listing(folder), std::vector<std::string>{"Faktura_7.pdf"}) << c.what;
  }
}

TEST_F(JobSequenceTest, ATemplateCutAnywhereEndsItsJobCleanly) {
  settings.Action = jaPdf;
  const std::string full = Fixture("faktura.fr3");
  for (size_t cut = 0; cut < full.size(); cut += full.size() / 23 + 1) {
    const std::string templ = in.Write("przepisywany.fr3", full.substr(0, cut));
    const TJobResult result = Run(Data("1=Hurtownia Morwa\r\n95=FV " + std::to_string(cut) + "\r\n"), templ);
    EXPECT_FALSE(result.ExportFailed) << "cut at " << cut;
    EXPECT_EQ(result.Files.size(), 1u) << "cut at " << cut;
  }
  const TJobResult whole = Run(Data("1=Hurtownia Morwa\r\n95=FV\r\n"), in.Write("przepisywany.fr3", full));
  EXPECT_EQ(report.ReportOptions().Name, "Faktura VAT") << "the whole template loads after the cut ones";
  EXPECT_EQ(whole.Files.size(), 1u);
}

}  // namespace
