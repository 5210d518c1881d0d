#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

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
