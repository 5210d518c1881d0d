#include "jobs/RenderTool.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include <sys/stat.h>

#include "FakeDesktop.h"
#include "FakeExportFilter.h"
#include "OtherUser.h"
#include "ReceivedMail.h"
#include "TempFolder.h"
#include "platform/FileSystem.h"
#include "jobs/JobSequence.h"
#include "platform/CodePage.h"

namespace {

std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

// The --dump-tables text read back: rows of each table by field name, and the variables.
struct TDump {
  explicit TDump(const std::string& text) {
    std::vector<std::string> names;
    std::string table;
    for (const std::string& line : SplitOn(text, '\n')) {
      if (line.empty()) continue;
      std::vector<std::string> cells = SplitOn(line, '\t');
      if (!cells[0].empty()) {  // a header line
        table = cells[0];
        names.assign(cells.begin() + 1, cells.end());
        tables[table];
        continue;
      }
      std::map<std::string, std::string> row;
      for (size_t i = 1; i < cells.size() && i - 1 < names.size(); ++i) row[names[i - 1]] = cells[i];
      if (table == "Variables") variables[row["Name"]] = row["Value"];
      else tables[table].push_back(row);
    }
  }
  size_t Rows(const std::string& table) const { return tables.count(table) ? tables.at(table).size() : 0; }
  std::string At(const std::string& table, size_t row, const std::string& field) const {
    return tables.at(table).at(row).at(field);
  }
  std::map<std::string, std::vector<std::map<std::string, std::string>>> tables;
  std::map<std::string, std::string> variables;
};

class RenderToolTest : public ::testing::Test {
 protected:
  int Render(std::vector<std::string> args, TJobOutputs outputs = {}) {
    std::ostringstream o, e;
    const int status = RunRenderTool(args, program.Folder(), work.Folder(), o, e, std::move(outputs));
    out = o.str();
    err = e.str();
    return status;
  }
  std::string Data(const std::string& text) { return data.Write("dane.txt", text); }
  // Runs the loader only: no template, no output.
  int Dump(const std::string& text) {
    return Render({"--template", data.Folder() + "brak.fr3", "--data", Data(text), "--action", "none",
                   "--dump-tables"});
  }
  std::string Ticket(const std::string& plik, const std::string& arkusz) {
    return program.Write("zlecenie.prn", "[DRUKUJ]\r\nPLIK=" + plik + "\r\nARKUSZ=" + arkusz + "\r\nKOPII=2\r\n");
  }

  TempFolder program, data, work;
  std::string out, err;
};

TEST_F(RenderToolTest, UsageErrorsExitTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--action", "fax", "a.prn"},
      {"--action"},
      {"--template", "a.fr3"},
      {"--data", "a.txt"},
      {"a.prn", "b.prn"},
      {"a.prn", "--template", "a.fr3", "--data", "a.txt"},
      {"--bogus", "a.prn"},
      {"--consume=tak", "a.prn"},
      {"--prepared", "a.fp3", "a.prn"},
      {"--prepared", "a.fp3", "--template", "a.fr3", "--data", "a.txt"},
      {"--prepared", "a.fp3", "--consume"},
      {"--prepared", "a.fp3", "--action", "email"},
      {"--prepared"},
  };
  for (const auto& args : cases) {
    std::string shown;
    for (const std::string& a : args) shown += a + " ";
    EXPECT_EQ(Render(args), kRenderUsageError) << shown;
    EXPECT_NE(err.find("tavrel-render --help"), std::string::npos) << shown;
    EXPECT_TRUE(out.empty()) << shown;
  }
}

TEST_F(RenderToolTest, HelpNamesEveryOption) {
  EXPECT_EQ(Render({"--help"}), kRenderDone);
  for (const char* option : {"--template", "--data", "--prepared", "--action", "--out", "--consume", "--dump-tables", "--errors",
                             "--verbose", "--help"})
    EXPECT_NE(out.find(option), std::string::npos) << option;
}

TEST_F(RenderToolTest, DumpShowsTheLoaderEdgeCases) {
  const std::string seventy(70, 'r');
  std::string sixHundred = "1=A\r\nTABLE P\r\n";
  for (int i = 1; i <= 600; ++i) sixHundred += std::to_string(i) + "</>\r\n";
  sixHundred += "ENDTABLE\r\n";
  const struct {
    const char* name;
    std::string data;
    std::function<void(const TDump&)> check;
  } cases[] = {
      {"two records", "1=Firma A\r\n2=Miasto A\r\n95=Faktura 12/2024\r\n1=Firma B\r\n2=Miasto B\r\n",
       [](const TDump& d) {
         ASSERT_EQ(d.Rows("Dane"), 2u);
         EXPECT_EQ(d.At("Dane", 0, "D0"), "1");
         EXPECT_EQ(d.At("Dane", 0, "D1"), "Firma A");
         EXPECT_EQ(d.At("Dane", 0, "D2"), "Miasto A");
         EXPECT_EQ(d.At("Dane", 0, "D95"), "Faktura 12/2024");
         EXPECT_EQ(d.At("Dane", 1, "D0"), "2");
         EXPECT_EQ(d.At("Dane", 1, "D1"), "Firma B");
         EXPECT_EQ(d.variables.at("DataRecordCount"), "2");
         EXPECT_EQ(d.variables.count("SerialRecordCount"), 0u);
       }},
      {"one Seria row", "1=A\r\nTABLE P\r\nx</>y</>\r\nENDTABLE\r\n",
       [](const TDump& d) {
         ASSERT_EQ(d.Rows("Seria"), 1u);
         EXPECT_EQ(d.At("Seria", 0, "D0"), "1");
         EXPECT_EQ(d.At("Seria", 0, "S1"), "x");
         EXPECT_EQ(d.At("Seria", 0, "S2"), "y");
         EXPECT_EQ(d.Rows("Sumy"), 0u);
         EXPECT_EQ(d.variables.at("SerialRecordCount"), "1");
         EXPECT_EQ(d.variables.at("SumyRecordCount"), "0");
       }},
      {"text after the last cell", "1=A\r\nTABLE S\r\na</>b\r\nENDTABLE\r\n",
       [](const TDump& d) {
         ASSERT_EQ(d.Rows("Sumy"), 1u);
         EXPECT_EQ(d.At("Sumy", 0, "U1"), "a");
         EXPECT_EQ(d.At("Sumy", 0, "U2"), "");
       }},
      {"600 rows", sixHundred,
       [](const TDump& d) {
         ASSERT_EQ(d.Rows("Seria"), 499u);
         EXPECT_EQ(d.At("Seria", 498, "S1"), "499");
       }},
      {"key 0", "1=A\r\n0=XYZ\r\n", [](const TDump& d) { EXPECT_EQ(d.At("Dane", 0, "D0"), "XYZ"); }},
      {"lines that are not value lines", "1=A\r\nabc=1\r\n=5\r\n12 =3\r\n12345=x\r\n",
       [](const TDump& d) {
         ASSERT_EQ(d.Rows("Dane"), 1u);
         for (const char* field : {"D5", "D12", "D3"}) EXPECT_EQ(d.At("Dane", 0, field), "") << field;
       }},
      {"long recipient", "1=A\r\n77=" + seventy + "\r\n",
       [&](const TDump& d) { EXPECT_EQ(d.At("Dane", 0, "D77"), seventy); }},
      {"tab and backslash", "1=C:\\dane\tx\r\n",
       [](const TDump& d) { EXPECT_EQ(d.At("Dane", 0, "D1"), "C:\\\\dane\\tx"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Dump(c.data), kRenderDone) << err;
    const TDump dump(out);
    EXPECT_EQ(dump.tables.size(), 4u);  // Dane, Seria, Sumy, Variables
    c.check(dump);
  }
}

TEST_F(RenderToolTest, LoaderErrorsFailTheJobWithTheirMessage) {
  const struct {
    const char* data;
    const char* message;
  } cases[] = {
      {"1=A\r\n201=x\r\n", "List index out of bounds"},
      {"2=A\r\n", "Dataset not in edit or insert mode"},
      {"1=A\r\nTABLE P\r\n1</>2</>3</>4</>5</>6</>7</>8</>9</>10</>11</>12</>13</>14</>15</>16</>17</>18</>19</>20</>"
       "21</>\r\nENDTABLE\r\n",
       "List index out of bounds"},
      {"1=A\r\nTABLE S\r\nx</>\r\n", "List index out of bounds"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Dump(c.data), kRenderJobFailed) << c.data;
    EXPECT_NE(err.find(c.message), std::string::npos) << c.data << " gave " << err;
  }
}

TEST_F(RenderToolTest, ActionNoneRunsTheRoadFromATicket) {
  const std::string layout = data.Write("faktura.rpt", "wzór");
  data.Write("faktura.fr3", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<TfrxReport Version=\"4.9.85\"/>\r\n");
  const std::string dane = Data(codepage::Utf8ToAnsi("1=Hurtownia Żółw\r\n95=FV 1/2024\r\n77=biuro@zolw.example.pl\r\n"));
  const std::string ticket = Ticket(dane, layout);
  ASSERT_EQ(Render({"--action", "none", "--verbose", ticket}), kRenderDone) << err;
  EXPECT_TRUE(out.empty());  // no file written
  for (const std::string& step : {"szablon: " + data.Folder() + "faktura.fr3", "plik danych: " + dane,
                                  std::string("kopii: 2"), std::string("DocumentName: FV 1/2024"),
                                  std::string("Recipient: biuro@zolw.example.pl"), std::string("akcja: brak")})
    EXPECT_NE(err.find(step + "\n"), std::string::npos) << step << " not in " << err;
  // Without --consume nothing is deleted.
  EXPECT_TRUE(program.Exists("zlecenie.prn"));
  EXPECT_TRUE(data.Exists("dane.txt"));
}

TEST_F(RenderToolTest, ConsumeDeletesTicketAndDataWhateverHappensButNotTemplateOrLayout) {
  for (const char* action : {"none", "pdf"}) {
    const std::string layout = data.Write("faktura.rpt", "wzór");
    data.Write("faktura.fr3", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<TfrxReport Version=\"4.9.85\"/>\r\n");
    const std::string ticket = Ticket(Data("1=Hurtownia\r\n"), layout);
    Render({"--action", action, "--consume", ticket});
    EXPECT_FALSE(program.Exists("zlecenie.prn")) << action;
    EXPECT_FALSE(data.Exists("dane.txt")) << action;
    EXPECT_TRUE(data.Exists("faktura.rpt")) << action;
    EXPECT_TRUE(data.Exists("faktura.fr3")) << action;
  }
}

TEST_F(RenderToolTest, TicketWithAMissingFileFails) {
  const std::string ticket = Ticket(data.Folder() + "brak.txt", data.Write("faktura.rpt", "wzór"));
  EXPECT_EQ(Render({"--action", "none", ticket}), kRenderJobFailed);
  EXPECT_NE(err.find("brak.txt"), std::string::npos) << err;
}

TEST_F(RenderToolTest, ActionComesFromTheCommandLineThenTavrelIniThenPdf) {
  const struct {
    const char* ini;  // nullptr: no settings file
    const char* action;
    int status;
    const char* message;
  } cases[] = {
      {nullptr, nullptr, kRenderJobFailed, "Eksport do PDF nie jest dostępny"},
      {"[MAIN]\r\nAKCJA=0\r\n", nullptr, kRenderJobFailed, "Drukowanie nie jest dostępne"},
      {"[MAIN]\r\nAKCJA=3\r\n", nullptr, kRenderJobFailed, "Eksport do JPG nie jest dostępny"},
      {"[MAIN]\r\nAKCJA=7\r\n", nullptr, kRenderDone, ""},  // outside the list: no action
      {"[MAIN]\r\nAKCJA=0\r\n", "none", kRenderDone, ""},
      // The mail hand-off is there; the PDF it carries is not yet.
      {nullptr, "email", kRenderJobFailed, "Eksport do PDF nie jest dostępny"},
  };
  for (const auto& c : cases) {
    if (c.ini) program.Write("Tavrel.ini", c.ini);
    else std::filesystem::remove(program.Folder() + "Tavrel.ini");
    std::vector<std::string> args = {"--template", data.Folder() + "brak.fr3", "--data", Data("1=A\r\n")};
    if (c.action) args.insert(args.end(), {"--action", c.action});
    EXPECT_EQ(Render(args), c.status) << (c.ini ? c.ini : "no ini") << err;
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
    EXPECT_TRUE(out.empty());
  }
}

TEST_F(RenderToolTest, PrintsTheFilesWrittenIntoTheChosenFolder) {
  program.Write("Tavrel.ini", "[MAIN]\r\nKATALOG_PDF=" + data.Folder() + "ini\r\n");
  const struct {
    std::vector<std::string> extra;
    std::string file;
  } cases[] = {
      {{}, data.Folder() + "ini/FV_7.pdf"},
      {{"--out", work.Folder() + "wyniki"}, work.Folder() + "wyniki/FV_7.pdf"},
  };
  for (const auto& c : cases) {
    TFakeExportFilter pdf;
    TJobOutputs outputs;
    outputs.PDF_E = &pdf;
    std::vector<std::string> args = {"--template", data.Folder() + "brak.fr3", "--data", Data("1=A\r\n95=FV 7\r\n")};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    EXPECT_EQ(Render(args, outputs), kRenderDone) << err;
    EXPECT_EQ(out, c.file + "\n");
    EXPECT_TRUE(fsys::FileExists(c.file)) << c.file;
  }
}

TEST_F(RenderToolTest, EmailHandsTheTemporaryPdfToTheMailClientWithTheUtilitysSettings) {
  TFakeDesktop desktop;
  desktop.RegisterHandler("poczta", "x-scheme-handler/mailto");
  program.Write("Tavrel.ini", codepage::Utf8ToAnsi("[EMAIL]\r\nKATALOG_TMP=" + data.Folder() + "tmp\r\n"
                                                   "BCC=ksiegowosc@firma.pl\r\nTEMAT=Faktura VAT\r\n"
                                                   "BODY=tresc.txt\r\n"));
  program.Write("tresc.txt", "W załączeniu faktura.\r\n");
  TFakeExportFilter pdf;
  TJobOutputs outputs;
  outputs.PDF_E = &pdf;
  ASSERT_EQ(Render({"--template", data.Folder() + "brak.fr3", "--data",
                    Data("1=A\r\n95=FV 7\r\n77=biuro@kowalski.pl\r\n"), "--action", "email"},
                   outputs),
            kRenderDone)
      << err;
  const std::string file = data.Folder() + "tmp/FV_7.pdf";
  EXPECT_EQ(out, file + "\n");
  EXPECT_TRUE(fsys::FileExists(file));
  const TReceivedMail mail = ReadReceivedMail(desktop.Received("poczta"));
  EXPECT_EQ(mail.To, std::vector<std::string>{"biuro@kowalski.pl;ksiegowosc@firma.pl"});
  EXPECT_EQ(mail.Attachments, std::vector<std::string>{file});
  EXPECT_EQ(mail.Field("subject"), "Faktura VAT");
  EXPECT_EQ(mail.Field("body"), "W załączeniu faktura.\r\n");
}

TEST_F(RenderToolTest, FailedExportFailsTheJob) {
  TFakeExportFilter pdf;
  pdf.fail = true;
  TJobOutputs outputs;
  outputs.PDF_E = &pdf;
  EXPECT_EQ(Render({"--template", data.Folder() + "brak.fr3", "--data", Data("1=A\r\n"), "--out", work.Folder()},
                   outputs),
            kRenderJobFailed);
  EXPECT_NE(err.find("Pojawił się następujący błąd(y):"), std::string::npos) << err;
  EXPECT_TRUE(out.empty());
}

TEST_F(RenderToolTest, ErrorsOptionPrintsTheReportsErrors) {
  const std::string templ = data.Write("zly.fr3", "<?xml version=\"1.0\"?><TfrxReport><nie domknięty");
  ASSERT_EQ(Render({"--template", templ, "--data", Data("1=A\r\n"), "--action", "none"}), kRenderDone);
  EXPECT_TRUE(err.empty()) << err;
  ASSERT_EQ(Render({"--template", templ, "--data", Data("1=A\r\n"), "--action", "none", "--errors"}), kRenderDone);
  EXPECT_FALSE(err.empty());
}

// What --consume may delete is guarded as in the utility: another user's ticket, or a
// link, still runs its job, but only the ticket goes; the reason is said once.
TEST_F(RenderToolTest, ConsumeDeletesTheDataFileOnlyForATicketOfTheUser) {
  const std::string contract = data.Write("umowa.odt", "umowa");
  const struct {
    const char* what;
    std::function<std::string()> ticket;  // makes the ticket, returns the argument
    bool layoutExists;
    bool dataDeleted;
    const char* notice;  // a piece of it; "" for none
  } cases[] = {
      {"own ticket", [&] { return Ticket(Data("1=Hurtownia\r\n"), data.Folder() + "faktura.rpt"); }, true, true, ""},
      {"another user's ticket",
       [&] {
         const std::string t = Ticket(Data("1=Hurtownia\r\n"), data.Folder() + "faktura.rpt");
         return GiveToOtherUser(t) ? t : std::string();
       },
       true, false, "należy do innego użytkownika"},
      {"another user's ticket, rejected",
       [&] {
         const std::string t = Ticket(Data("1=Hurtownia\r\n"), data.Folder() + "brak.rpt");
         return GiveToOtherUser(t) ? t : std::string();
       },
       false, false, "należy do innego użytkownika"},
      {"a link as the ticket",
       [&] {
         const std::string t = data.Write("prawdziwe.prn", "[DRUKUJ]\r\nPLIK=" + Data("1=Hurtownia\r\n") +
                                                               "\r\nARKUSZ=" + data.Folder() + "faktura.rpt\r\n");
         std::filesystem::create_symlink(t, program.Folder() + "zlecenie.prn");
         return program.Folder() + "zlecenie.prn";
       },
       true, false, "dowiązaniem symbolicznym"},
      {"own ticket naming a link",
       [&] {
         std::filesystem::remove(data.Folder() + "dane.txt");
         std::filesystem::create_symlink(contract, data.Folder() + "dane.txt");
         return Ticket(data.Folder() + "dane.txt", data.Folder() + "brak.rpt");
       },
       false, false, "nie jest zwykłym plikiem"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(program.Folder() + "zlecenie.prn");
    std::filesystem::remove(data.Folder() + "dane.txt");
    data.Write("faktura.rpt", "wzór");
    data.Write("faktura.fr3", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<TfrxReport Version=\"4.9.85\"/>\r\n");
    const std::string ticket = c.ticket();
    if (ticket.empty()) GTEST_SKIP() << kOtherUserNeedsRoot;
    const int status = Render({"--action", "none", "--consume", ticket});
    EXPECT_EQ(status, c.layoutExists ? kRenderDone : kRenderJobFailed) << c.what << ": " << err;
    EXPECT_FALSE(std::filesystem::is_symlink(ticket) || std::filesystem::exists(ticket)) << c.what;
    EXPECT_EQ(!std::filesystem::exists(data.Folder() + "dane.txt") && !std::filesystem::is_symlink(data.Folder() + "dane.txt"),
              c.dataDeleted)
        << c.what;
    if (*c.notice) {
      const size_t at = err.find(c.notice);
      EXPECT_NE(at, std::string::npos) << c.what << ": " << err;
      EXPECT_EQ(err.find(c.notice, at + 1), std::string::npos) << "said once: " << err;
    } else {
      EXPECT_EQ(err, "") << c.what;
    }
    EXPECT_EQ(data.Read("umowa.odt"), "umowa") << c.what;
  }
  EXPECT_TRUE(data.Exists("prawdziwe.prn")) << "a link's target is never deleted";
}

TEST_F(RenderToolTest, ConsumeSaysWhenOthersMayWriteIntoTheProgramFolder) {
  ASSERT_EQ(::chmod(program.Folder().c_str(), 0777), 0);
  const std::string layout = data.Write("faktura.rpt", "wzór");
  EXPECT_EQ(Render({"--action", "none", Ticket(Data("1=Hurtownia\r\n"), layout)}), kRenderDone);
  EXPECT_EQ(err, "") << "only --consume deletes, so only it warns";
  EXPECT_EQ(Render({"--action", "none", "--consume", Ticket(Data("1=Hurtownia\r\n"), layout)}), kRenderDone);
  EXPECT_NE(err.find("mogą zapisywać inni użytkownicy"), std::string::npos) << err;
  EXPECT_FALSE(data.Exists("dane.txt")) << "and it keeps working";
}

}  // namespace

namespace {

// A saved prepared report holding no pages.
const char kEmptyPrepared[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?><preparedreport><previewpages/></preparedreport>";

}  // namespace

TEST_F(RenderToolTest, PreparedReportsThatCannotBeOpenedFailWithTheReason) {
  const struct {
    const char* file;
    const char* content;  // none: the file is not there
    const char* message;
  } cases[] = {
      {"brak.fp3", nullptr, "Cannot open file"},
      {"faktura.fp3", "<?xml version=\"1.0\"?><TfrxReport/>", "not <preparedreport>"},
      {"uszkodzony.fp3", "<?xml version=\"1.0\"?><preparedreport><previewpages></anchors>", "Invalid file format"},
  };
  for (const auto& c : cases) {
    const std::string path = c.content ? data.Write(c.file, c.content) : data.Folder() + c.file;
    EXPECT_EQ(Render({"--prepared", path, "--action", "none"}), kRenderJobFailed) << c.file;
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
    EXPECT_TRUE(out.empty());
  }
}

TEST_F(RenderToolTest, PreparedReportGoesToTheOutputUnderItsOwnName) {
  const std::string path = data.Write("Faktura 7.fp3", kEmptyPrepared);
  ASSERT_EQ(Render({"--prepared", path, "--action", "none", "--verbose"}), kRenderDone) << err;
  EXPECT_NE(err.find("stron: 0\n"), std::string::npos) << err;
  EXPECT_TRUE(out.empty());

  TFakeExportFilter pdf;
  TJobOutputs outputs;
  outputs.PDF_E = &pdf;
  ASSERT_EQ(Render({"--prepared", path, "--action", "pdf", "--out", work.Folder() + "wyniki"}, outputs), kRenderDone)
      << err;
  EXPECT_EQ(out, work.Folder() + "wyniki/Faktura_7.pdf\n");
  EXPECT_EQ(pdf.exports, 1);
  // An output this program lacks fails the job, as it does for a job.
  EXPECT_EQ(Render({"--prepared", path, "--action", "jpg"}), kRenderJobFailed);
  EXPECT_NE(err.find("JPG"), std::string::npos) << err;
}

TEST_F(RenderToolTest, PreparedDeliveryNoteOpensAndBuildsEveryPage) {
  const std::string path = data.Write("dostawa.fp3", ReadWholeFile(TAVREL_JOBS_FIXTURES "dostawa.fp3"));
  ASSERT_EQ(Render({"--prepared", path, "--action", "none", "--verbose", "--errors"}), kRenderDone) << err;
  for (const char* step : {"DocumentName: dostawa\n", "stron: 2\n", "stron zbudowanych: 2\n", "akcja: brak\n"})
    EXPECT_NE(err.find(step), std::string::npos) << step << " not in " << err;
  // No load errors were listed after the steps.
  EXPECT_EQ(err.find("Nie znaleziono"), std::string::npos) << err;
  EXPECT_TRUE(out.empty());
}
