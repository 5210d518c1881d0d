#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "TempFolder.h"

namespace {

struct ReadCase {
  const char* what;
  const char* text;
  const char* section;
  const char* key;
  const char* expected;  // nullptr: missing
};

TEST(IniTextTest, ReadsLikeThePrivateProfileFunctions) {
  const ReadCase cases[] = {
      {"plain", "[DRUKUJ]\nPLIK=a.txt\n", "DRUKUJ", "PLIK", "a.txt"},
      {"CR LF lines", "[DRUKUJ]\r\nPLIK=a.txt\r\nKOPII=2\r\n", "DRUKUJ", "PLIK", "a.txt"},
      {"no final line end", "[DRUKUJ]\r\nKOPII=2", "DRUKUJ", "KOPII", "2"},
      {"section case", "[drukuj]\nPLIK=a\n", "DRUKUJ", "PLIK", "a"},
      {"key case", "[DRUKUJ]\nplik=a\n", "DRUKUJ", "PLIK", "a"},
      {"Polish key case", "[Sekcja]\n\xa3\xd3\xaf\x8c=1\n", "SEKCJA", "\xb3\xf3\xbf\x9c", "1"},
      {"blanks trimmed", "  [ DRUKUJ ]  \n  PLIK  =   a b  \t\n", "DRUKUJ", "PLIK", "a b"},
      {"quotes dropped", "[S]\nK=\" x \"\n", "S", "K", " x "},
      {"single quotes dropped", "[S]\nK='x'\n", "S", "K", "x"},
      {"unmatched quote kept", "[S]\nK=\"x\n", "S", "K", "\"x"},
      {"empty value", "[S]\nK=\n", "S", "K", ""},
      {"equals in value", "[S]\nK=a=b\n", "S", "K", "a=b"},
      {"first key wins", "[S]\nK=1\nK=2\n", "S", "K", "1"},
      {"first section wins", "[S]\nK=1\n[S]\nK=2\n", "S", "K", "1"},
      {"key of another section", "[A]\nK=1\n[B]\nL=2\n", "B", "K", nullptr},
      {"key before any section", "K=1\n[S]\n", "S", "K", nullptr},
      {"comment", "[S]\n;K=1\n", "S", "K", nullptr},
      {"missing section", "[S]\nK=1\n", "T", "K", nullptr},
      {"unclosed header is no section", "[S\nK=1\n", "S", "K", nullptr},
      {"Windows-1250 bytes kept", "[S]\nK=\xa3\xf3\x64\x9f\n", "S", "K", "\xa3\xf3\x64\x9f"},
      {"empty text", "", "S", "K", nullptr},
  };
  for (const ReadCase& c : cases) {
    const TIniText text(c.text);
    const std::string* value = text.Find(c.section, c.key);
    if (!c.expected) {
      EXPECT_EQ(value, nullptr) << c.what;
    } else {
      ASSERT_NE(value, nullptr) << c.what;
      EXPECT_EQ(*value, c.expected) << c.what;
    }
  }
}

TEST(IniTextTest, ListsSectionsAndKeysInFileOrder) {
  const TIniText text("[MAIN]\nAKCJA=1\nOPOZNIENIE=0\n[EMAIL]\nBCC=\n");
  EXPECT_EQ(text.SectionNames(), (std::vector<std::string>{"MAIN", "EMAIL"}));
  EXPECT_EQ(text.KeyNames("main"), (std::vector<std::string>{"AKCJA", "OPOZNIENIE"}));
  EXPECT_TRUE(text.KeyNames("none").empty());
}

struct WriteCase {
  const char* what;
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

TEST(IniTextTest, WritingKeepsEveryOtherLine) {
  const WriteCase cases[] = {
      {"new file", "", "MAIN", "AKCJA", "2", "[MAIN]\r\nAKCJA=2\r\n"},
      {"replace in place", "[MAIN]\nAKCJA=0\nOPOZNIENIE=0\n", "main", "akcja", "4",
       "[MAIN]\r\nAKCJA=4\r\nOPOZNIENIE=0\r\n"},
      {"new key after the last entry", "[MAIN]\nAKCJA=0\n\n[EMAIL]\nBCC=\n", "MAIN", "OPOZNIENIE",
       "5", "[MAIN]\r\nAKCJA=0\r\nOPOZNIENIE=5\r\n\r\n[EMAIL]\r\nBCC=\r\n"},
      {"new key in an empty section", "[MAIN]\n[EMAIL]\n", "MAIN", "AKCJA", "1",
       "[MAIN]\r\nAKCJA=1\r\n[EMAIL]\r\n"},
      {"new section at the end", "; Tavrel\n[MAIN]\nAKCJA=0\n", "EMAIL", "BCC", "a@b.pl",
       "; Tavrel\r\n[MAIN]\r\nAKCJA=0\r\n[EMAIL]\r\nBCC=a@b.pl\r\n"},
  };
  for (const WriteCase& c : cases) {
    TIniText text(c.before);
    text.Set(c.section, c.key, c.value);
    EXPECT_EQ(text.Text(), c.after) << c.what;
  }
}

TEST(IniTextTest, DeletingKeepsEveryOtherLine) {
  const char* before = "; Tavrel\n[MAIN]\nAKCJA=0\nOPOZNIENIE=5\n[EMAIL]\nBCC=a@b.pl\n[MAIN]\nAKCJA=9\n";
  TIniText text(before);
  text.DeleteKey("main", "akcja");
  text.DeleteKey("MAIN", "BRAK");
  text.DeleteKey("BRAK", "AKCJA");
  EXPECT_EQ(text.Text(), "; Tavrel\r\n[MAIN]\r\nOPOZNIENIE=5\r\n[EMAIL]\r\nBCC=a@b.pl\r\n[MAIN]\r\nAKCJA=9\r\n");
  text.EraseSection("email");
  text.EraseSection("BRAK");
  EXPECT_EQ(text.Text(), "; Tavrel\r\n[MAIN]\r\nOPOZNIENIE=5\r\n[MAIN]\r\nAKCJA=9\r\n");
}

TEST(IniFileTest, DeletingReachesTheFile) {
  TempFolder folder;
  const std::string path = folder.Folder() + "ustawienia.ini";
  TIniFile ini(path);
  ini.WriteString("WYDRUK", "DRUKARKA", "Biuro");
  ini.WriteString("WYDRUK", "KOPIE", "2");
  ini.WriteString("STARE", "X", "1");
  ini.DeleteKey("WYDRUK", "KOPIE");
  ini.EraseSection("STARE");
  EXPECT_EQ(folder.Read("ustawienia.ini"), "[WYDRUK]\r\nDRUKARKA=Biuro\r\n");
  EXPECT_FALSE(ini.ValueExists("WYDRUK", "KOPIE"));
}

TEST(IniFileTest, MissingFileReadsDefaults) {
  TempFolder folder;
  const TIniFile ini(folder.Folder() + "none.ini");
  EXPECT_EQ(ini.ReadString("MAIN", "OPOZNIENIE", "0"), "0");
  EXPECT_EQ(ini.ReadInteger("MAIN", "AKCJA", 3), 3);
  EXPECT_FALSE(ini.SectionExists("MAIN"));
}

TEST(IniFileTest, FolderInsteadOfFileReadsAsEmpty) {
  TempFolder folder;
  const TIniFile ini(folder.Folder());
  EXPECT_TRUE(ini.ReadSections().empty());
}

TEST(IniFileTest, IntegersThatDoNotReadFallBackToTheDefault) {
  TempFolder folder;
  const TIniFile ini(folder.Write("t.prn", "[DRUKUJ]\r\nA=abc\r\nB=7\r\nC=$10\r\nD=\r\nE= -2 \r\n"));
  EXPECT_EQ(ini.ReadInteger("DRUKUJ", "A", 1), 1);
  EXPECT_EQ(ini.ReadInteger("DRUKUJ", "B", 1), 7);
  EXPECT_EQ(ini.ReadInteger("DRUKUJ", "C", 1), 16);
  EXPECT_EQ(ini.ReadInteger("DRUKUJ", "D", 1), 1);
  EXPECT_EQ(ini.ReadInteger("DRUKUJ", "E", 1), -2);
  EXPECT_EQ(ini.ReadInteger("DRUKUJ", "F", 1), 1);
}

TEST(IniFileTest, EachWriteReachesTheFileAndTheNextReader) {
  TempFolder folder;
  const std::string path = folder.Folder() + "Tavrel.ini";
  {
    TIniFile ini(path);
    ini.WriteInteger("MAIN", "AKCJA", 2);
    ini.WriteString("EMAIL", "TEMAT", "Temat wiadomo\x9c" "ci");
    EXPECT_EQ(ini.ReadInteger("MAIN", "AKCJA", 0), 2);
    EXPECT_EQ(folder.Read("Tavrel.ini"), "[MAIN]\r\nAKCJA=2\r\n[EMAIL]\r\nTEMAT=Temat wiadomo\x9c" "ci\r\n");
  }
  const TIniFile again(path);
  EXPECT_EQ(again.ReadString("email", "temat", ""), "Temat wiadomo\x9c" "ci");
  EXPECT_FALSE(folder.Exists("Tavrel.ini.tmp"));
}

TEST(IniFileTest, FailedWriteRaisesAndKeepsTheOldValue) {
  TempFolder folder;
  const std::string path = folder.Folder() + "missing-folder/Tavrel.ini";
  TIniFile ini(path);
  try {
    ini.WriteString("MAIN", "AKCJA", "1");
    FAIL() << "no error";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
  }
  EXPECT_FALSE(ini.ValueExists("MAIN", "AKCJA"));
}

}  // namespace
