#pragma once
// The configurable tokenizer that the grammar-driven parser reads scripts with. One
// instance holds one source text; the grammar's settings (comments, quotes, hex
// prefix, identifier characters, keywords, line-end handling) shape what counts as a
// token. Positions are 1-based offsets into the source; Position() may be set back
// freely, which is how the parser backtracks.
//
// Every Read operation returns the token text, or an empty string when no token of
// that kind is at the current position (the position is then left where blanks and
// comments ended). The source gets one #0 character appended as an end marker.

#include <bitset>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class TfsParser {
 public:
  TfsParser();

  // Settings; ResetSettings restores the defaults (those of "PascalScript").
  void ResetSettings();
  std::string CommentLine1 = "//";
  std::string CommentLine2;
  std::string CommentBlock1 = "{,}";    // open text, comma, close text
  std::string CommentBlock2 = "(*,*)";
  char StringQuotes = '\'';
  std::string HexSequence = "$";
  bool SpecStrChar = false;  // backslash escapes in strings, no quote doubling
  bool CaseSensitive = false;
  bool SkipEOL = true;       // false: CR is not a blank, so line ends are tokens
  char SkipChar = 0;         // line-continuation character, 0 for none
  bool SkipSpace = true;     // always on
  void SetIdentifierChars(std::string_view chars);  // replaces the identifier set
  void AddHighLetters();                            // characters 128-255 join the set

  void ClearKeywords() { keywords_.clear(); }
  void AddKeyword(std::string_view word);  // stored lower case
  bool IsKeyword(std::string_view word) const;

  void LoadSource(std::string_view text);
  const std::string& Source() const { return text_; }  // with the #0 end marker
  size_t Position() const { return pos_; }
  void SetPosition(size_t position) { pos_ = position; }
  size_t TokenStart() const { return tokenStart_; }
  bool AtEnd() const { return pos_ >= text_.size(); }  // at the #0 end marker
  char Current() const { return text_[pos_ - 1]; }

  void SkipBlanks();
  bool ReadLineEnd();
  std::string ReadIdentifier();
  std::string ReadName();
  std::string ReadPunctuation();
  std::string ReadNumber();
  std::string ReadStringLiteral();
  std::string ReadRawTag();

  // "LINE:COLUMN" of a position (both from 1).
  std::string PositionText(size_t position) const;
  std::string CurrentPositionText() const { return PositionText(pos_); }
  // Text position of a point, -1 when the line does not exist.
  long OffsetOfPosition(int line, int column) const;

 private:
  bool IsIdentChar(char c) const { return identChars_[static_cast<unsigned char>(c)]; }
  bool StartsWith(size_t at, std::string_view what) const;
  bool SkipComment();
  size_t ScanInteger(size_t at) const;  // end of an integer starting at `at`, or `at`
  size_t ScanFloat(size_t at) const;    // end of a float, or 0 when the attempt fails
  bool ReadQuotedPart(std::string& out);
  bool ReadCodePart(std::string& out);

  std::string text_;
  size_t pos_ = 1;
  size_t tokenStart_ = 1;
  std::vector<size_t> lineEnds_;  // positions of every LF, ascending
  std::bitset<256> identChars_;
  std::unordered_set<std::string> keywords_;
};
