// The wide-text line list: splitting and joining text, streams and files, bad indices.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "platform/ListError.h"
#include "platform/Stream.h"
#include "text/frxUnicodeUtils.h"

namespace {

std::u16string Joined(const TWideStrings& list) {
  std::u16string out;
  for (int i = 0; i < list.Count(); ++i) out += u"[" + list[i] + u"]";
  return out;
}

struct SplitCase {
  const char* name;
  std::u16string text;
  std::u16string lines;
};

TEST(TWideStringsTest, SettingTextSplitsAtEveryKindOfLineBreak) {
  const SplitCase cases[] = {
      {"empty", u"", u""},
      {"one line without break", u"Faktura", u"[Faktura]"},
      {"final break makes no empty line", u"Faktura\r\n", u"[Faktura]"},
      {"CR LF is one break", u"a\r\nb", u"[a][b]"},
      {"LF CR is two", u"a\n\rb", u"[a][][b]"},
      {"CR alone", u"a\rb", u"[a][b]"},
      {"LF alone", u"a\nb", u"[a][b]"},
      {"line separator", u"a\u2028b", u"[a][b]"},
      {"empty lines kept", u"a\r\n\r\nb\r\n", u"[a][][b]"},
      {"only a break", u"\r\n", u"[]"},
  };
  for (const SplitCase& c : cases) {
    TWideStrings list;
    list.Add(u"old");
    list.SetText(c.text);
    EXPECT_EQ(Joined(list), c.lines) << c.name;
  }
}

TEST(TWideStringsTest, TextEndsEveryLineWithCrLf) {
  TWideStrings list;
  list.SetText(u"Hurtownia Morwa\nul. Leśna 4");
  EXPECT_EQ(list.Text(), u"Hurtownia Morwa\r\nul. Leśna 4\r\n");
  EXPECT_EQ(TWideStrings().Text(), u"");
}

TEST(TWideStringsTest, FlagsTravelWithTheirLines) {
  TWideStrings list;
  EXPECT_EQ(list.Add(u"a", 1), 0);
  EXPECT_EQ(list.Add(u"c", 2), 1);
  list.Insert(1, u"b", 3);
  EXPECT_EQ(Joined(list), u"[a][b][c]");
  EXPECT_EQ(list.Flags(1), 3u);
  EXPECT_EQ(list.Flags(2), 2u);
  list.Delete(0);
  EXPECT_EQ(list.Flags(0), 3u);
  EXPECT_EQ(list.IndexOf(u"c"), 1);
  EXPECT_EQ(list.IndexOf(u"C"), -1);
}

TEST(TWideStringsTest, IndexOutsideTheListRaisesListError) {
  TWideStrings list;
  list.Add(u"a");
  EXPECT_THROW(list.Strings(1), EListError);
  EXPECT_THROW(list.Flags(-1), EListError);
  EXPECT_THROW(list.SetFlags(1, 0), EListError);
  EXPECT_THROW(list.Delete(1), EListError);
  EXPECT_THROW(list.Insert(2, u"x"), EListError);
  EXPECT_NO_THROW(list.Insert(1, u"x"));
}

TEST(TWideStringsTest, StreamsReadUtf16WithMarkOrSystemCodePage) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string lines;
  };
  const Case cases[] = {
      {"UTF-16LE with mark", std::string("\xFF\xFE" "a\0\x05\x01\r\0\n\0" "b\0", 12), u"[aą][b]"},
      {"odd last byte ignored", std::string("\xFF\xFE" "a\0b", 5), u"[a]"},
      {"Windows-1250 without mark", "Kr\xF3tka \xB9\r\nLinia", u"[Krótka ą][Linia]"},
      {"mark only", "\xFF\xFE", u""},
  };
  for (const Case& c : cases) {
    TMemoryStream stream;
    stream.WriteString(c.bytes);
    stream.SetPosition(0);
    TWideStrings list;
    list.LoadFromStream(stream);
    EXPECT_EQ(Joined(list), c.lines) << c.name;
  }
}

TEST(TWideStringsTest, SavedListLoadsBackAsUtf16WithoutMark) {
  TWideStrings list;
  list.SetText(u"Piekarnia Kłos sp. z o.o.\r\nЗаказ № 7");
  TMemoryStream stream;
  list.SaveToStream(stream);
  ASSERT_GE(stream.Size(), 2);
  EXPECT_EQ(stream.Memory()[0], 'P');
  EXPECT_EQ(stream.Memory()[1], 0);
  // Without a mark the bytes would read as 8-bit text; a file with the mark reads back.
  const std::string path =
      (std::filesystem::temp_directory_path() / ("tavrel_widestrings_" + std::to_string(::getpid()))).string();
  {
    TFileStream file(path, TFileMode::Create);
    file.WriteString("\xFF\xFE");
    stream.SetPosition(0);
    file.CopyFrom(stream, stream.Size());
  }
  TWideStrings back;
  back.LoadFromFile(path);
  std::filesystem::remove(path);
  EXPECT_EQ(back.Text(), list.Text());
}

TEST(TWideStringsTest, MissingFileRaisesTheStreamError) {
  TWideStrings list;
  EXPECT_THROW(list.LoadFromFile("/nonexistent/tavrel/notatka.txt"), EFOpenError);
}

}  // namespace
