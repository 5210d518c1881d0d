#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <stdexcept>

#include <sys/stat.h>

#include "AppFixture.h"
#include "OtherUser.h"
#include "platform/FileSystem.h"

namespace {

// The main window with the job step recorded: each step ends the first job.
class RecordingMain : public Tfrm_main {
 public:
  using Tfrm_main::Tfrm_main;
  void ExecuteFirstJob() override {
    ++steps;
    if (fail) throw std::runtime_error(fail);
    if (QTreeWidgetItem* first = FirstJob()) {
      executed.push_back(JobDataPath(*first));
      RemoveJob(first);
    }
  }
  int steps = 0;
  const char* fail = nullptr;
  std::vector<std::string> executed;
};

class JobQueueTest : public AppFixture {
 protected:
  // A data file and a layout file in the parent application's folder.
  std::string Data(const std::string& name) {
    return data.Write(name, "1=Hurtownia Pol-Mot\r\n2=ul. Kwiatowa 5, Łódź\r\n95=Faktura 12/2024\r\n");
  }
  std::string Layout(const std::string& name) { return data.Write(name, "faktura VAT"); }
  void Ticket(const std::string& name, const std::string& body) { program.Write(name, body); }
  void Ticket(const std::string& name, const std::string& plik, const std::string& arkusz,
              const std::string& kopii = "1") {
    Ticket(name, "[DRUKUJ]\r\nPLIK=" + plik + "\r\nARKUSZ=" + arkusz + "\r\nKOPII=" + kopii + "\r\n");
  }
  static std::vector<std::string> Row(const QTreeWidgetItem* item) {
    return {item->text(0).toStdString(), item->text(1).toStdString(), item->text(2).toStdString()};
  }

  TempFolder data;
};

TEST(TemplatePathTest, SiblingOfTheLayoutUpToTheFirstDot) {
  const struct {
    const char* layout;
    const char* templ;
  } cases[] = {
      {"D:\\wzory\\faktura.rpt", "D:\\wzory\\faktura.fr3"},
      {"D:\\wzory\\a.b.rpt", "D:\\wzory\\a.fr3"},
      {"C:\\x\\raport", "C:\\x\\fr3"},
      {"/x/raport", "/x/fr3"},
      {"/srv/wzory.v2/wz.rpt", "/srv/wzory.v2/wz.fr3"},
      {"/srv/wzory.v2/wz", "/srv/wzory.v2/fr3"},
      {"C:\\mixed/folder\\f.rpt", "C:\\mixed/folder\\f.fr3"},
      {"faktura.rpt", "faktura.fr3"},
      {".rpt", ".fr3"},
      {"D:\\wzory\\", "D:\\wzory\\fr3"},
      {"", "fr3"},
  };
  for (const auto& c : cases) EXPECT_EQ(TemplatePathFor(c.layout), c.templ) << c.layout;
}

TEST_F(JobQueueTest, TicketsBecomeRowsInEnumerationOrderAndDisappear) {
  Tfrm_main& main = Start();
  const std::string files[][2] = {{Data("fv_1.txt"), Layout("faktura.rpt")},
                                  {Data("wz_2.txt"), Layout("wz.rpt")},
                                  {Data("lista_3.txt"), Layout("lista.plac.rpt")}};
  Ticket("a.prn", files[0][0], files[0][1], "2");
  Ticket("B.PRN", files[1][0], files[1][1], "1");
  Ticket("c.Prn", files[2][0], files[2][1], "5");
  program.Write("d.txt", "[DRUKUJ]\r\n");  // not a ticket
  const std::vector<std::string> order = fsys::FindEntries(program.Folder(), "*.prn");
  ASSERT_EQ(order.size(), 3u);

  main.ScanTickets();

  ASSERT_EQ(main.JobCount(), 3);
  const std::map<std::string, std::vector<std::string>> expected = {
      {"a.prn", {data.Folder() + "faktura.fr3", files[0][0], "2"}},
      {"B.PRN", {data.Folder() + "wz.fr3", files[1][0], "1"}},
      {"c.Prn", {data.Folder() + "lista.fr3", files[2][0], "5"}}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Row(main.Lista->topLevelItem(i)), expected.at(order[i])) << "row " << i;
    EXPECT_FALSE(program.Exists(order[i]));
  }
  EXPECT_TRUE(program.Exists("d.txt"));
  for (const auto& f : files) EXPECT_TRUE(std::filesystem::exists(f[0])) << "data is kept for the job";
  EXPECT_EQ(Tfrm_main::JobTemplatePath(*main.FirstJob()), expected.at(order[0])[0]);
  EXPECT_EQ(Tfrm_main::JobDataPath(*main.FirstJob()), expected.at(order[0])[1]);
}

TEST_F(JobQueueTest, EachTicketIsReadAsTheParentApplicationWritesIt) {
  Tfrm_main& main = Start();
  const std::string layout = Layout("faktura.rpt");
  const std::string templ = data.Folder() + "faktura.fr3";
  const struct {
    const char* what;
    std::string body;           // the ticket; "@" stands for a fresh data file
    bool queued;
    const char* copies;
    bool namesData = true;  // whether the reading finds a data file to delete
  } cases[] = {
      {"copies", "[DRUKUJ]\r\nPLIK=@\r\nARKUSZ=" + layout + "\r\nKOPII=3\r\n", true, "3"},
      {"no copies", "[DRUKUJ]\r\nPLIK=@\r\nARKUSZ=" + layout + "\r\n", true, "1"},
      {"copies not a number", "[DRUKUJ]\r\nPLIK=@\r\nARKUSZ=" + layout + "\r\nKOPII=abc\r\n", true, "1"},
      {"LF lines, other case", "[drukuj]\nplik = @ \narkusz=" + layout + "\nkopii= 2\n", true, "2"},
      {"missing layout", "[DRUKUJ]\r\nPLIK=@\r\nARKUSZ=" + data.Folder() + "brak.rpt\r\n", false, ""},
      {"no layout key", "[DRUKUJ]\r\nPLIK=@\r\n", false, ""},
      {"other section", "[DRUKUJ2]\r\nPLIK=@\r\nARKUSZ=" + layout + "\r\n", false, "", false},
      {"not an INI file", std::string("\x00\xff\x01@=[\r\n\x89PNG", 13), false, "", false},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string dataFile = Data("dane_" + std::to_string(n++) + ".txt");
    std::string body = c.body;
    if (const size_t at = body.find('@'); at != std::string::npos) body.replace(at, 1, dataFile);
    Ticket("job.prn", body);
    main.ScanTickets();
    EXPECT_FALSE(program.Exists("job.prn")) << c.what;
    if (c.queued) {
      ASSERT_EQ(main.JobCount(), 1) << c.what;
      EXPECT_EQ(Row(main.FirstJob()), (std::vector<std::string>{templ, dataFile, c.copies})) << c.what;
      EXPECT_TRUE(std::filesystem::exists(dataFile)) << c.what;
      main.RemoveJob(main.FirstJob());
      EXPECT_FALSE(std::filesystem::exists(dataFile)) << c.what;
    } else {
      EXPECT_EQ(main.JobCount(), 0) << c.what;
      // A dropped ticket takes the data file it names along.
      EXPECT_EQ(std::filesystem::exists(dataFile), !c.namesData) << c.what;
    }
    EXPECT_TRUE(std::filesystem::exists(layout)) << "layouts are never deleted";
  }
}

TEST_F(JobQueueTest, MissingDataFileDropsTheTicket) {
  Tfrm_main& main = Start();
  Ticket("x.prn", data.Folder() + "brak.txt", Layout("faktura.rpt"));
  main.ScanTickets();
  EXPECT_EQ(main.JobCount(), 0);
  EXPECT_FALSE(program.Exists("x.prn"));
}

TEST_F(JobQueueTest, WindowsPathsWithBackslashesAndPolishLetters) {
  Tfrm_main& main = Start();
  std::filesystem::create_directory(data.Folder() + "wzory");
  data.Write("wzory/faktura_\xc5\x82\xc3\xb3" "d\xc5\xba.rpt", "");  // UTF-8 on disk
  const std::string dataFile = Data("dane.txt");
  // The ticket is Windows-1250 and separates folders with "\".
  std::string dataBackslash = dataFile;
  std::replace(dataBackslash.begin(), dataBackslash.end(), '/', '\\');
  const std::string layout = data.Folder() + "wzory\\faktura_\xb3\xf3" "d\x9f.rpt";
  Ticket("w.prn", dataBackslash, layout);
  main.ScanTickets();
  ASSERT_EQ(main.JobCount(), 1);
  EXPECT_EQ(main.FirstJob()->text(0), QString::fromUtf8((data.Folder() + "wzory\\faktura_łódź.fr3").c_str()));
  EXPECT_EQ(Tfrm_main::JobTemplatePath(*main.FirstJob()), data.Folder() + "wzory\\faktura_\xb3\xf3" "d\x9f.fr3");
  EXPECT_EQ(Tfrm_main::JobDataPath(*main.FirstJob()), dataBackslash);
  main.RemoveJob(main.FirstJob());
  EXPECT_FALSE(std::filesystem::exists(dataFile));
}

TEST_F(JobQueueTest, PauseLetsTicketsInButRunsNoJob) {
  RecordingMain main(program.Folder(), true);
  const std::string first = Data("1.txt"), second = Data("2.txt");
  Ticket("1.prn", first, Layout("f.rpt"));
  main.cb_Stop->setChecked(true);
  main.Timer1Timer();
  Ticket("2.prn", second, Layout("f.rpt"));
  main.Timer1Timer();
  EXPECT_EQ(main.steps, 0);
  EXPECT_EQ(main.JobCount(), 2);
  EXPECT_FALSE(program.Exists("1.prn"));
  EXPECT_FALSE(program.Exists("2.prn"));

  main.cb_Stop->setChecked(false);
  main.Timer1Timer();
  EXPECT_EQ(main.executed, std::vector<std::string>{first});
  EXPECT_EQ(main.JobCount(), 1);
  EXPECT_FALSE(std::filesystem::exists(first));
  main.Timer1Timer();
  EXPECT_EQ(main.executed, (std::vector<std::string>{first, second}));
  main.Timer1Timer();
  EXPECT_EQ(main.steps, 3) << "the step runs each cycle, also with an empty queue";
  EXPECT_TRUE(main.Timer1->isActive());
}

TEST_F(JobQueueTest, EscapedErrorIsShownWithTheTimerOffThenTheTimerRunsAgain) {
  RecordingMain main(program.Folder(), true);
  main.fail = "Nie znaleziono pliku danych";
  bool timerDuringBox = true;
  SetStandardErrorHandler([&](const std::string& m) {
    errors.push_back(m);
    timerDuringBox = main.Timer1->isActive();
  });
  main.Timer1Timer();
  EXPECT_EQ(errors, std::vector<std::string>{"Nie znaleziono pliku danych"});
  EXPECT_FALSE(timerDuringBox);
  EXPECT_TRUE(main.Timer1->isActive());
  EXPECT_EQ(main.Timer1->interval(), 1000);
}

// Tests run as root, who may delete anything: tickets are made undeletable here.
class TicketsStay : public fsys::TFileSystem {
 public:
  bool DeleteFile(std::string_view path) const override {
    if (path.size() >= 4 && path.substr(path.size() - 4) == ".prn") return false;
    return TFileSystem::DeleteFile(path);
  }
};

TEST_F(JobQueueTest, UndeletableTicketIsReadAgainEachCycle) {
  TicketsStay tickets;
  const fsys::TFileSystem* previous = fsys::SetFileSystem(&tickets);
  Tfrm_main& main = Start();
  const std::string dataFile = Data("fv.txt");
  Ticket("stuck.prn", dataFile, Layout("faktura.rpt"));
  main.ScanTickets();
  main.ScanTickets();
  EXPECT_EQ(main.JobCount(), 2) << "one more entry per reading while the data file exists";
  main.RemoveJob(main.FirstJob());  // the job that ran deletes the data file
  EXPECT_FALSE(std::filesystem::exists(dataFile));
  main.ScanTickets();
  main.ScanTickets();
  EXPECT_EQ(main.JobCount(), 1) << "without its data file the ticket is dropped";
  EXPECT_TRUE(program.Exists("stuck.prn"));
  main.RemoveJob(main.FirstJob());  // its data file is gone already
  EXPECT_EQ(main.JobCount(), 0);
  fsys::SetFileSystem(previous);
}

TEST_F(JobQueueTest, TheTimerPicksTicketsUpOnItsOwn) {
  Tfrm_main& main = Start();
  main.cb_Stop->setChecked(true);  // only the scan is looked at here
  Ticket("t.prn", Data("fv.txt"), Layout("faktura.rpt"));
  QElapsedTimer clock;
  clock.start();
  while (main.JobCount() == 0 && clock.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(main.JobCount(), 1);
  EXPECT_FALSE(program.Exists("t.prn"));
}

// Tickets and data files the parent application did not write as the program's user.
// Whatever a hostile ticket names, nothing but the ticket itself is deleted, the job of
// a readable ticket still runs, and the status line says why once per ticket.
TEST_F(JobQueueTest, AHostileTicketDeletesNothingButItself) {
  Tfrm_main& main = Start();
  const std::string contract = data.Write("umowa.odt", "umowa");
  const std::string layout = Layout("faktura.rpt");
  const std::string missing = data.Folder() + "brak.rpt";
  std::filesystem::create_directory(data.Folder() + "teczka");
  const struct {
    const char* what;
    std::function<std::string()> plik;  // the data file the ticket names
    bool layoutExists;
    bool foreignTicket;
    bool linkedTicket;
    const char* notice;
  } cases[] = {
      {"another user's ticket", [&] { return Data("fv.txt"); }, true, true, false, "należy do innego użytkownika"},
      {"another user's ticket, dropped", [&] { return Data("fv.txt"); }, false, true, false,
       "należy do innego użytkownika"},
      {"another user's ticket naming a file by ..",
       [&] { return data.Folder() + "teczka/..\\umowa.odt"; }, false, true, false, "należy do innego użytkownika"},
      {"a link as the ticket", [&] { return Data("fv.txt"); }, true, false, true, "dowiązaniem symbolicznym"},
      {"naming a link", [&] {
         std::filesystem::create_symlink(contract, data.Folder() + "link.txt");
         return data.Folder() + "link.txt";
       }, false, false, false, "nie jest zwykłym plikiem"},
      {"naming a folder", [&] { return data.Folder() + "teczka"; }, false, false, false, "nie jest zwykłym plikiem"},
      {"naming a device", [] { return std::string("/dev/null"); }, false, false, false, "nie jest zwykłym plikiem"},
      {"naming another user's file", [&] {
         const std::string file = data.Write("cudzy.txt", "x");
         return GiveToOtherUser(file) ? file : std::string();
       }, false, false, false, "nie jest zwykłym plikiem"},
  };
  for (const auto& c : cases) {
    const std::string plik = c.plik();
    if (plik.empty()) GTEST_SKIP() << kOtherUserNeedsRoot;
    const std::string body = "[DRUKUJ]\r\nPLIK=" + plik + "\r\nARKUSZ=" + (c.layoutExists ? layout : missing) + "\r\n";
    if (c.linkedTicket) {
      std::filesystem::create_symlink(data.Write("prawdziwe.prn", body), program.Folder() + "job.prn");
    } else {
      Ticket("job.prn", body);
      if (c.foreignTicket && !GiveToOtherUser(program.Folder() + "job.prn")) GTEST_SKIP() << kOtherUserNeedsRoot;
    }
    main.lb_Status->clear();
    main.lb_Status->setToolTip({});
    const bool existed = fsys::EntryInfo(plik).Kind != fsys::TEntryKind::Missing;

    main.ScanTickets();
    EXPECT_FALSE(std::filesystem::exists(program.Folder() + "job.prn") ||
                 std::filesystem::is_symlink(program.Folder() + "job.prn"))
        << c.what << ": the ticket goes in every case";
    EXPECT_EQ(main.JobCount(), c.layoutExists ? 1 : 0) << c.what;
    if (main.JobCount() > 0) main.RemoveJob(main.FirstJob());  // the job ran
    EXPECT_EQ(fsys::EntryInfo(plik).Kind != fsys::TEntryKind::Missing, existed) << c.what << ": kept";
    EXPECT_NE(main.lb_Status->text().toStdString().find(c.notice), std::string::npos)
        << c.what << ": " << main.lb_Status->text().toStdString();
    EXPECT_EQ(main.lb_Status->toolTip().count(QLatin1Char('\n')), 0) << c.what << ": said once";
    EXPECT_EQ(data.Read("umowa.odt"), "umowa") << c.what;
  }
  EXPECT_TRUE(data.Exists("prawdziwe.prn")) << "a link's target is never deleted";
  EXPECT_TRUE(std::filesystem::exists("/dev/null"));
}

TEST_F(JobQueueTest, TheParentApplicationsOwnFilesGoWithoutANotice) {
  Tfrm_main& main = Start();
  const std::string dataFile = Data("fv.txt"), dropped = Data("wz.txt");
  Ticket("a.prn", dataFile, Layout("faktura.rpt"));
  Ticket("b.prn", dropped, data.Folder() + "brak.rpt");
  main.ScanTickets();
  ASSERT_EQ(main.JobCount(), 1);
  main.RemoveJob(main.FirstJob());
  EXPECT_FALSE(std::filesystem::exists(dataFile));
  EXPECT_FALSE(std::filesystem::exists(dropped));
  EXPECT_TRUE(main.lb_Status->text().isEmpty()) << main.lb_Status->text().toStdString();
}

TEST_F(JobQueueTest, AnotherUsersTicketThatCannotBeDeletedRunsOnceUntilRewritten) {
  TicketsStay tickets;
  const fsys::TFileSystem* previous = fsys::SetFileSystem(&tickets);
  Tfrm_main& main = Start();
  const std::string dataFile = Data("fv.txt");
  Ticket("stuck.prn", dataFile, Layout("faktura.rpt"));
  if (!GiveToOtherUser(program.Folder() + "stuck.prn")) {
    fsys::SetFileSystem(previous);
    GTEST_SKIP() << kOtherUserNeedsRoot;
  }
  for (int cycle = 0; cycle < 3; ++cycle) main.ScanTickets();
  EXPECT_EQ(main.JobCount(), 1) << "its data file stays, so it would be queued again every second";
  EXPECT_EQ(main.lb_Status->toolTip().count(QLatin1Char('\n')), 0) << "said once";
  main.RemoveJob(main.FirstJob());
  EXPECT_TRUE(std::filesystem::exists(dataFile));

  Ticket("stuck.prn", dataFile, Layout("faktura.rpt"), "2");  // rewritten
  GiveToOtherUser(program.Folder() + "stuck.prn");
  main.ScanTickets();
  main.ScanTickets();
  EXPECT_EQ(main.JobCount(), 1) << "a rewritten ticket is a new one";
  fsys::SetFileSystem(previous);
}

TEST_F(JobQueueTest, AProgramFolderOthersMayWriteIntoIsShownAtStart) {
  ASSERT_EQ(::chmod(program.Folder().c_str(), 0777), 0);
  Tfrm_main& main = Start();
  EXPECT_NE(main.lb_Status->text().toStdString().find("mogą zapisywać inni użytkownicy"), std::string::npos)
      << main.lb_Status->text().toStdString();
  EXPECT_NE(main.lb_Status->text().toStdString().find(program.Folder()), std::string::npos);
  main.cb_Stop->setChecked(true);
  Ticket("t.prn", Data("fv.txt"), Layout("faktura.rpt"));
  main.Timer1Timer();
  EXPECT_EQ(main.JobCount(), 1) << "and it keeps working";
}

}  // namespace
