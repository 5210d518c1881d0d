#include "jobs/JobFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <functional>

#include "OtherUser.h"
#include "TempFolder.h"
#include "platform/CodePage.h"

namespace {

bool Gone(const std::string& path) { return fsys::EntryInfo(path).Kind == fsys::TEntryKind::Missing; }

TEST(CheckTicketTest, OnlyARegularFileOfTheUserIsTrusted) {
  TempFolder folder;
  const std::string own = folder.Write("own.prn", "[DRUKUJ]\r\n");
  const struct {
    const char* what;
    std::function<std::string()> make;
    bool trusted, readable;
    const char* notice;  // a piece of the notice, "" for none
  } cases[] = {
      {"own file", [&] { return own; }, true, true, ""},
      {"link to an own ticket",
       [&] {
         std::filesystem::create_symlink(own, folder.Folder() + "link.prn");
         return folder.Folder() + "link.prn";
       },
       false, true, "jest dowiązaniem symbolicznym"},
      {"link to a pipe",
       [&] {
         ::mkfifo((folder.Folder() + "fifo").c_str(), 0600);
         std::filesystem::create_symlink(folder.Folder() + "fifo", folder.Folder() + "pipe.prn");
         return folder.Folder() + "pipe.prn";
       },
       false, false, "jest dowiązaniem symbolicznym"},
      {"own pipe",
       [&] {
         ::mkfifo((folder.Folder() + "own-pipe.prn").c_str(), 0600);
         return folder.Folder() + "own-pipe.prn";
       },
       false, false, ""},
      {"folder",
       [&] {
         std::filesystem::create_directory(folder.Folder() + "dir.prn");
         return folder.Folder() + "dir.prn";
       },
       false, false, ""},
      {"missing", [&] { return folder.Folder() + "gone.prn"; }, false, false, ""},
  };
  for (const auto& c : cases) {
    const std::string path = c.make();
    const TTicketCheck check = CheckTicket(path);
    EXPECT_EQ(check.Trusted, c.trusted) << c.what;
    EXPECT_EQ(check.Readable, c.readable) << c.what;
    const std::string notice = codepage::AnsiToUtf8(check.Notice);
    if (*c.notice) {
      EXPECT_NE(notice.find(c.notice), std::string::npos) << c.what << ": " << notice;
      EXPECT_NE(notice.find(path), std::string::npos) << "the notice names the ticket";
    } else {
      EXPECT_EQ(notice, "") << c.what;
    }
  }

  const std::string foreign = folder.Write("foreign.prn", "[DRUKUJ]\r\n");
  if (!GiveToOtherUser(foreign)) GTEST_SKIP() << kOtherUserNeedsRoot;
  const TTicketCheck check = CheckTicket(foreign);
  EXPECT_FALSE(check.Trusted);
  EXPECT_TRUE(check.Readable) << "another user's ticket still runs its job";
  EXPECT_NE(codepage::AnsiToUtf8(check.Notice).find("należy do innego użytkownika"), std::string::npos);
}

TEST(DeleteJobDataFileTest, OnlyATrustedTicketsOwnRegularFileGoes) {
  TempFolder folder;
  const std::string contract = folder.Write("umowa.odt", "umowa");
  std::filesystem::create_directory(folder.Folder() + "dane");
  const struct {
    const char* what;
    std::function<std::string()> make;
    bool trusted;
    bool deleted;
    bool notice;
  } cases[] = {
      {"own data file", [&] { return folder.Write("dane/fv_1.txt", "1=Hurtownia Morwa\r\n"); }, true, true, false},
      {"Windows separators and ..",
       [&] {
         folder.Write("dane/fv_2.txt", "x");
         return folder.Folder() + "dane\\..\\dane\\fv_2.txt";
       },
       true, true, false},
      {"untrusted ticket", [&] { return folder.Write("dane/fv_3.txt", "x"); }, false, false, false},
      {"link to another file",
       [&] {
         std::filesystem::create_symlink(contract, folder.Folder() + "dane/fv_4.txt");
         return folder.Folder() + "dane/fv_4.txt";
       },
       true, false, true},
      {"folder", [&] { return folder.Folder() + "dane"; }, true, false, true},
      {"device", [] { return std::string("/dev/null"); }, true, false, true},
      {"missing", [&] { return folder.Folder() + "dane/brak.txt"; }, true, false, false},
      {"empty", [] { return std::string(); }, true, false, false},
  };
  for (const auto& c : cases) {
    const std::string path = c.make();
    const bool existed = !Gone(path);
    const std::string notice = DeleteJobDataFile(path, c.trusted);
    EXPECT_EQ(Gone(path), c.deleted || !existed) << c.what;
    EXPECT_EQ(!notice.empty(), c.notice) << c.what << ": " << notice;
  }
  EXPECT_EQ(folder.Read("umowa.odt"), "umowa");
  EXPECT_TRUE(std::filesystem::exists("/dev/null"));

  const std::string foreign = folder.Write("dane/cudzy.txt", "x");
  if (!GiveToOtherUser(foreign)) GTEST_SKIP() << kOtherUserNeedsRoot;
  EXPECT_NE(DeleteJobDataFile(foreign, true), "");
  EXPECT_FALSE(Gone(foreign)) << "another user's file is never deleted, even where the folder allows it";
}

TEST(ProgramFolderNoticeTest, SaysSoWhenOthersMayWriteIntoTheFolder) {
  const struct {
    const char* what;
    mode_t mode;
    uid_t owner;  // -1: the user's own
    gid_t group;  // -1: the folder's group as made
    bool notice;
  } cases[] = {
      {"owner alone", 0755, uid_t(-1), gid_t(-1), false},
      {"anyone", 0777, uid_t(-1), gid_t(-1), true},
      {"anyone, sticky", 01777, uid_t(-1), gid_t(-1), true},
      {"a shared group", 0775, uid_t(-1), kOtherGroup, true},
      {"another owner", 0755, kOtherUid, gid_t(-1), true},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    const std::string path = folder.Folder();
    ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    if ((c.owner != uid_t(-1) || c.group != gid_t(-1)) && ::chown(path.c_str(), c.owner, c.group) != 0)
      GTEST_SKIP() << kOtherUserNeedsRoot;
    const std::string notice = ProgramFolderNotice(path);
    EXPECT_EQ(!notice.empty(), c.notice) << c.what;
    if (c.notice) {
      EXPECT_NE(notice.find(path), std::string::npos);
    }
  }
  EXPECT_EQ(ProgramFolderNotice("/nonexistent/tavrel/"), "");
}

TEST(TicketsMetTest, AnUntrustedTicketLeftInPlaceIsMetOnceUntilItChanges) {
  TempFolder folder;
  const std::string path = folder.Write("stuck.prn", "[DRUKUJ]\r\nPLIK=/x\r\n");
  TTicketsMet met;
  met.BeginScan();
  EXPECT_FALSE(met.MetBefore(fsys::EntryInfo(path)));
  met.Remember(fsys::EntryInfo(path));
  met.BeginScan();
  EXPECT_TRUE(met.MetBefore(fsys::EntryInfo(path)));
  met.BeginScan();
  EXPECT_TRUE(met.MetBefore(fsys::EntryInfo(path))) << "kept while it is met in every scan";

  folder.Write("stuck.prn", "[DRUKUJ]\r\nPLIK=/inny/plik.txt\r\n");  // rewritten
  EXPECT_FALSE(met.MetBefore(fsys::EntryInfo(path)));
  met.BeginScan();
  met.BeginScan();
  EXPECT_EQ(met.Count(), 0u) << "a ticket no scan meets any more is forgotten";
}

}  // namespace
