#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/fs_iparser.h"

namespace {

// Tokenizers set up as the four languages set them up.
TfsParser Pascal() { return TfsParser(); }

TfsParser CLike() {
  TfsParser p;
  p.CommentBlock1 = p.CommentBlock2 = std::string("/*,*/");
  p.StringQuotes = '"';
  p.HexSequence = std::string("0x");
  p.SpecStrChar = true;
  return p;
}

TfsParser Basic() {
  TfsParser p;
  p.CommentLine1 = std::string("'");
  p.CommentLine2 = std::string("rem");
  p.CommentBlock1 = p.CommentBlock2 = std::string("/\\,/\\");
  p.StringQuotes = '"';
  p.HexSequence = std::string("0x");
  p.SkipEOL = false;
  p.SkipChar = '_';
  return p;
}

struct NumberCase {
  bool cLike;
  const char* source;
  const char* number;
  const char* rest;  // text left after the number
};

TEST(FsParser, ReadNumber) {
  const NumberCase cases[] = {
      {false, "1..5", "1", "..5"},  // a range: the dot is not followed by a digit
      {false, "1e5", "1e5", ""},
      {false, "12.5E-3;", "12.5E-3", ";"},
      {false, "1e+", "1", "e+"},  // an exponent without digits is left unread
      {false, "3.", "3", "."},
      {false, "  $1F", "$1F", ""},
      {false, "$G", "", "$G"},
      {false, "x1", "", "x1"},
      {true, "0x1F)", "$1F", ")"},  // the hex prefix becomes "$"
      {true, "0xZ", "0", "xZ"},
      {true, "7.25", "7.25", ""},
  };
  for (const NumberCase& c : cases) {
    TfsParser p = c.cLike ? CLike() : Pascal();
    p.LoadSource(c.source);
    EXPECT_EQ(p.ReadNumber(), c.number) << c.source;
    if (*c.number) {
      EXPECT_EQ(p.Source().substr(p.Position() - 1, p.Source().size() - p.Position()), c.rest) << c.source;
    }
  }
}

TEST(FsParser, RangeReadsNumberDotDotNumber) {
  TfsParser p = Pascal();
  p.LoadSource("1..5");
  EXPECT_EQ(p.ReadNumber(), "1");
  EXPECT_EQ(p.ReadPunctuation(), ".");
  EXPECT_EQ(p.ReadPunctuation(), ".");
  EXPECT_EQ(p.ReadNumber(), "5");
  EXPECT_TRUE(p.AtEnd());
}

struct StringCase {
  bool cLike;
  const char* source;
  std::string literal;  // as ReadStringLiteral returns it
};

TEST(FsParser, ReadStringLiteral) {
  const StringCase cases[] = {
      {false, "'it''s'", "'it's'"},
      {false, "#13#10", "'\r\n'"},
      {false, "'a'#65'b'", "'aAb'"},
      {false, "#$41", "'A'"},
      {false, "'tab\there'", "'tab\there'"},
      {false, "'abc", ""},                 // never closed
      {false, "'ab\r\ncd'", ""},           // a line end inside
      {false, "'ab' 'cd'", "'ab'"},        // parts must be adjacent
      {false, "'ab'#", "'ab'"},            // "#" without a code is no part
      {true, "\"a\\nb\"", "'a\nb'"},
      {true, "\"\\r\\x41\\x4a\\q\"", "'\rAJq'"},
      {true, "\"say \\\"hi\\\"\"", "'say \"hi\"'"},
      {true, "\"a\"\"b\"", "'ab'"},        // no doubling: two adjacent parts
      {true, "\"end\\", ""},
  };
  for (const StringCase& c : cases) {
    TfsParser p = c.cLike ? CLike() : Pascal();
    p.LoadSource(c.source);
    EXPECT_EQ(p.ReadStringLiteral(), c.literal) << c.source;
  }
}

TEST(FsParser, SkipsLineAndBlockComments) {
  TfsParser p = Pascal();
  p.LoadSource("// one\r\n{ two } (* three *) four");
  EXPECT_EQ(p.ReadIdentifier(), "four");
  p.LoadSource("{ never closed");
  p.SkipBlanks();
  EXPECT_TRUE(p.AtEnd());
  TfsParser c = CLike();
  c.LoadSource("/* a */ { b");
  c.SkipBlanks();
  EXPECT_EQ(c.ReadPunctuation(), "{");  // braces are no comment in C-like languages
}

TEST(FsParser, BasicCommentsAndLineEnds) {
  struct Case {
    const char* source;
    const char* next;  // first identifier after the blanks, "" for a line end first
  };
  const Case cases[] = {
      {"rem note\r\nx", "x"},      // comment on a line of its own: no line end
      {"remark\r\nx", "x"},        // no word boundary
      {"' note\r\nx", "x"},
      {"REM note\r\nx", "REM"},    // comment texts compare case-sensitively
      {"/\\ block /\\ x", "x"},
  };
  for (const Case& c : cases) {
    TfsParser p = Basic();
    p.LoadSource(c.source);
    EXPECT_EQ(p.ReadIdentifier(), c.next) << c.source;
  }
  TfsParser p = Basic();
  p.LoadSource("a ' note\r\nb");  // after a statement the comment leaves its line end
  EXPECT_EQ(p.ReadIdentifier(), "a");
  EXPECT_TRUE(p.ReadLineEnd());
  EXPECT_EQ(p.ReadIdentifier(), "b");
  p.LoadSource("a + _\r\n  b");  // continuation joins the next line
  EXPECT_EQ(p.ReadIdentifier(), "a");
  EXPECT_EQ((p.SkipBlanks(), p.ReadPunctuation()), "+");
  EXPECT_FALSE(p.ReadLineEnd());
  EXPECT_EQ(p.ReadIdentifier(), "b");
  p.LoadSource("x\r\n\r\n  \r\ny");
  EXPECT_EQ(p.ReadIdentifier(), "x");
  EXPECT_TRUE(p.ReadLineEnd());
  EXPECT_TRUE(p.ReadLineEnd());
  EXPECT_EQ(p.ReadIdentifier(), "y");
}

TEST(FsParser, IdentifiersAndKeywords) {
  TfsParser p = Pascal();
  p.AddKeyword("begin");
  p.LoadSource("  Begin Suma_1 2x");
  EXPECT_EQ(p.ReadName(), "");
  EXPECT_EQ(p.Position(), 3u);
  EXPECT_EQ(p.ReadIdentifier(), "Begin");
  EXPECT_EQ(p.ReadName(), "Suma_1");
  EXPECT_EQ(p.ReadIdentifier(), "");  // a digit does not start a name
  p.CaseSensitive = true;
  EXPECT_FALSE(p.IsKeyword("Begin"));
  EXPECT_TRUE(p.IsKeyword("begin"));

  p.LoadSource("\xB9" "cz");  // Windows-1250 a-ogonek
  EXPECT_EQ(p.ReadIdentifier(), "");
  p.AddHighLetters();
  EXPECT_EQ(p.ReadIdentifier(), "\xB9" "cz");
  p.SetIdentifierChars("ab");
  p.LoadSource("abc");
  EXPECT_EQ(p.ReadIdentifier(), "ab");
}

TEST(FsParser, PunctuationDoesNotSkipBlanks) {
  TfsParser p = Pascal();
  p.LoadSource(" :=");
  EXPECT_EQ(p.ReadPunctuation(), "");
  p.SkipBlanks();
  EXPECT_EQ(p.ReadPunctuation(), ":");
  EXPECT_EQ(p.ReadPunctuation(), "=");
  EXPECT_EQ(p.ReadPunctuation(), "");  // the end marker
}

TEST(FsParser, ReadRawTagStopsAtTheMatchingBracket) {
  struct Case {
    const char* source;
    const char* raw;
  };
  const Case cases[] = {
      {"Dane.\"D1\"> + 1", "Dane.\"D1\""},
      {"a<b>c> x", "a<b>c"},
      {"Get['>']> x", "Get['>']"},
      {"\"x>y\"> z", "\"x>y\""},
      {"never closed", "never closed"},
  };
  for (const Case& c : cases) {
    TfsParser p = Pascal();
    p.LoadSource(c.source);
    EXPECT_EQ(p.ReadRawTag(), c.raw) << c.source;
  }
}

TEST(FsParser, PositionsCountLinesAndColumnsFromOne) {
  TfsParser p = Pascal();
  p.LoadSource("ab\r\ncd\nef");
  EXPECT_EQ(p.PositionText(1), "1:1");
  EXPECT_EQ(p.PositionText(4), "1:4");  // the LF belongs to the line it ends
  EXPECT_EQ(p.PositionText(5), "2:1");
  EXPECT_EQ(p.PositionText(9), "3:2");
  EXPECT_EQ(p.OffsetOfPosition(2, 1), 5);
  EXPECT_EQ(p.OffsetOfPosition(3, 2), 9);
  EXPECT_EQ(p.OffsetOfPosition(4, 1), -1);
  EXPECT_EQ(p.OffsetOfPosition(0, 1), -1);
}

}  // namespace
