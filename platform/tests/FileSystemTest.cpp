#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "TempFolder.h"

namespace {

TEST(FileSystemTest, MasksMatchWithoutRegardToCase) {
  struct Case {
    const char* name;
    const char* mask;
    bool matches;
  } const cases[] = {
      {"a.prn", "*.prn", true},    {"FAKTURA.PRN", "*.prn", true}, {"x.Prn", "*.prn", true},
      {".prn", "*.prn", true},     {"a.prn.bak", "*.prn", false},  {"a.prnx", "*.prn", false},
      {"aprn", "*.prn", false},    {"a.b.prn", "*.prn", true},     {"ab", "a?", true},
      {"a", "a?", false},          {"abc", "*", true},             {"", "*", true},
      {"a*b", "a*b", true},        {"axxbyyb", "a*b", true},       {"axxbyyc", "a*b", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fsys::MatchesMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
  }
}

TEST(FileSystemTest, FindsMatchingEntriesFilesAndFoldersAlike) {
  TempFolder folder;
  folder.Write("a.prn", "");
  folder.Write("B.PRN", "");
  folder.Write("c.txt", "");
  std::filesystem::create_directory(folder.Folder() + "d.prn");
  auto names = fsys::FindEntries(folder.Folder(), "*.prn");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"B.PRN", "a.prn", "d.prn"}));
  EXPECT_TRUE(fsys::FindEntries(folder.Folder() + "none/", "*.prn").empty());
}

TEST(FileSystemTest, PolishNamesAndBackslashesReachTheDisk) {
  TempFolder folder;
  std::filesystem::create_directory(folder.Folder() + "wzory");
  folder.Write("wzory/\xc5\x82\xc3\xb3" "d\xc5\xba.txt", "x");  // "łódź.txt" in UTF-8
  std::string windowsStyle = folder.Folder() + "wzory\\\xb3\xf3" "d\x9f.txt";  // Windows-1250
  EXPECT_TRUE(fsys::FileExists(windowsStyle));
  EXPECT_EQ(fsys::FindEntries(folder.Folder() + "wzory", "*.TXT"),
            (std::vector<std::string>{"\xb3\xf3" "d\x9f.txt"}));
  EXPECT_TRUE(fsys::DeleteFile(windowsStyle));
  EXPECT_FALSE(fsys::FileExists(windowsStyle));
}

TEST(FileSystemTest, ExistsDeleteAndCreateTellFoldersFromFiles) {
  TempFolder folder;
  const std::string file = folder.Write("dane.txt", "1=Firma A\r\n");
  const std::string sub = folder.Folder() + "pdf";
  EXPECT_TRUE(fsys::FileExists(file));
  EXPECT_FALSE(fsys::FileExists(folder.Folder()));
  EXPECT_FALSE(fsys::FileExists(""));
  EXPECT_FALSE(fsys::DirectoryExists(sub));
  EXPECT_TRUE(fsys::CreateDir(sub));
  EXPECT_FALSE(fsys::CreateDir(sub));
  EXPECT_FALSE(fsys::CreateDir(folder.Folder() + "a/b"));
  EXPECT_TRUE(fsys::DirectoryExists(sub));
  EXPECT_FALSE(fsys::DeleteFile(sub));
  EXPECT_TRUE(fsys::DirectoryExists(sub));
  EXPECT_TRUE(fsys::DeleteFile(file));
  EXPECT_FALSE(fsys::DeleteFile(file));
  EXPECT_FALSE(fsys::DeleteFile(""));
}

// Another user for the ownership cases; tests run as root, who may give files away.
constexpr uid_t kOtherUser = 65534;

bool GiveAway(const std::string& path) { return ::lchown(path.c_str(), kOtherUser, kOtherUser) == 0; }

TEST(FileSystemTest, EntryInfoDescribesTheEntryItselfNotALinksTarget) {
  TempFolder folder;
  const std::string file = folder.Write("dane.txt", "1=Piekarnia K\xc5\x82os\r\n");
  std::filesystem::create_directory(folder.Folder() + "wzory");
  std::filesystem::create_symlink(file, folder.Folder() + "link.txt");
  const struct {
    std::string path;
    fsys::TEntryKind kind;
  } cases[] = {
      {file, fsys::TEntryKind::RegularFile},
      {folder.Folder() + "link.txt", fsys::TEntryKind::SymbolicLink},
      {folder.Folder() + "wzory", fsys::TEntryKind::Folder},
      {"/dev/null", fsys::TEntryKind::Other},
      {folder.Folder() + "brak.txt", fsys::TEntryKind::Missing},
      {"", fsys::TEntryKind::Missing},
  };
  for (const auto& c : cases) EXPECT_EQ(fsys::EntryInfo(c.path).Kind, c.kind) << c.path;
  const fsys::TEntryInfo info = fsys::EntryInfo(file);
  EXPECT_EQ(info.Owner, ::geteuid());
  EXPECT_EQ(info.Size, 19);
  EXPECT_NE(info.Inode, fsys::EntryInfo(folder.Folder() + "link.txt").Inode);
  EXPECT_EQ(fsys::CurrentUser(), ::geteuid());
}

TEST(FileSystemTest, DeleteOwnFileTakesOnlyARegularFileOfTheUser) {
  TempFolder folder;
  const std::string kept = folder.Write("umowa.odt", "umowa");
  std::filesystem::create_directory(folder.Folder() + "dane");
  const struct {
    const char* what;
    std::function<std::string()> make;  // the path to delete
    bool deleted;
  } cases[] = {
      {"own file", [&] { return folder.Write("dane/fv.txt", "x"); }, true},
      {"own file through a folder link",
       [&] {
         std::filesystem::create_directory_symlink(folder.Folder() + "dane", folder.Folder() + "skrot");
         folder.Write("dane/wz.txt", "x");
         return folder.Folder() + "skrot/wz.txt";
       },
       true},
      {"Windows separators and ..", [&] { folder.Write("dane/pz.txt", "x"); return folder.Folder() + "dane\\..\\dane\\pz.txt"; },
       true},
      {"link to an own file",
       [&] {
         std::filesystem::create_symlink(kept, folder.Folder() + "dane/link.txt");
         return folder.Folder() + "dane/link.txt";
       },
       false},
      {"folder", [&] { return folder.Folder() + "dane"; }, false},
      {"folder by ..", [&] { return folder.Folder() + "dane/.."; }, false},
      {"trailing slash", [&] { return folder.Folder() + "dane/"; }, false},
      {"device", [] { return std::string("/dev/null"); }, false},
      {"missing", [&] { return folder.Folder() + "brak.txt"; }, false},
      {"empty", [] { return std::string(); }, false},
  };
  for (const auto& c : cases) {
    const std::string path = c.make();
    const bool existed = fsys::EntryInfo(path).Kind != fsys::TEntryKind::Missing;
    EXPECT_EQ(fsys::DeleteOwnFile(path), c.deleted) << c.what;
    EXPECT_EQ(fsys::EntryInfo(path).Kind == fsys::TEntryKind::Missing, c.deleted || !existed) << c.what;
  }
  EXPECT_EQ(folder.Read("umowa.odt"), "umowa") << "a link's target is never deleted";
  EXPECT_TRUE(std::filesystem::exists("/dev/null"));

  const std::string foreign = folder.Write("cudzy.txt", "x");
  if (!GiveAway(foreign)) GTEST_SKIP() << "files can be given to another user only by root";
  EXPECT_FALSE(fsys::DeleteOwnFile(foreign));
  EXPECT_TRUE(folder.Exists("cudzy.txt"));
  EXPECT_TRUE(fsys::DeleteFile(foreign)) << "plain deletion is not guarded";
}

TEST(FileSystemTest, RenameReplacesAFileButNotAFolder) {
  TempFolder folder;
  const std::string staged = folder.Write(".fv.part", "nowa");
  const std::string target = folder.Write("fv.pdf", "stara");
  EXPECT_TRUE(fsys::RenameFile(staged, target));
  EXPECT_EQ(folder.Read("fv.pdf"), "nowa");
  EXPECT_FALSE(folder.Exists(".fv.part"));
  std::filesystem::create_directory(folder.Folder() + "zajete.pdf");
  EXPECT_FALSE(fsys::RenameFile(target, folder.Folder() + "zajete.pdf"));
  EXPECT_EQ(folder.Read("fv.pdf"), "nowa");
  EXPECT_FALSE(fsys::RenameFile(folder.Folder() + "brak", folder.Folder() + "x"));
  EXPECT_FALSE(fsys::RenameFile("", target));
}

class RefusingDeletion : public fsys::TFileSystem {
 public:
  bool DeleteFile(std::string_view) const override { return false; }
};

TEST(FileSystemTest, AReplacementTakesOverUntilRestored) {
  TempFolder folder;
  const std::string file = folder.Write("t.prn", "");
  RefusingDeletion refusing;
  const fsys::TFileSystem* previous = fsys::SetFileSystem(&refusing);
  EXPECT_FALSE(fsys::DeleteFile(file));
  EXPECT_TRUE(fsys::FileExists(file));
  fsys::SetFileSystem(previous);
  EXPECT_TRUE(fsys::DeleteFile(file));
}

TEST(FileSystemTest, FoldersEndWithASlash) {
  const std::string program = fsys::ProgramFolder();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(program.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(program + "platform_system_tests"));

  const char* saved = std::getenv("HOME");
  const std::string savedHome = saved ? saved : "";
  ::setenv("HOME", "/home/biuro", 1);
  EXPECT_EQ(fsys::HomeFolder(), "/home/biuro/");
  ::setenv("HOME", "/home/biuro/", 1);
  EXPECT_EQ(fsys::HomeFolder(), "/home/biuro/");
  if (saved) ::setenv("HOME", savedHome.c_str(), 1); else ::unsetenv("HOME");
}

}  // namespace
