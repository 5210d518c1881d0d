#include "script/fs_iparser.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Open and close text of a block comment setting "open,close".
std::pair<std::string_view, std::string_view> SplitBlock(std::string_view setting) {
  size_t comma = setting.find(',');
  if (comma == std::string_view::npos) return {setting, setting};
  return {setting.substr(0, comma), setting.substr(comma + 1)};
}

}  // namespace

TfsParser::TfsParser() {
  ResetSettings();
  LoadSource({});
}

void TfsParser::ResetSettings() {
  CommentLine1 = "//";
  CommentLine2.clear();
  CommentBlock1 = "{,}";
  CommentBlock2 = "(*,*)";
  StringQuotes = '\'';
  HexSequence.assign(1, '$');
  SpecStrChar = false;
  CaseSensitive = false;
  SkipEOL = true;
  SkipChar = 0;
  SkipSpace = true;
  SetIdentifierChars("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_");
}

void TfsParser::SetIdentifierChars(std::string_view chars) {
  identChars_.reset();
  for (char c : chars) identChars_.set(static_cast<unsigned char>(c));
  identChars_.reset(0);  // the end marker never belongs to a name
}

void TfsParser::AddHighLetters() {
  for (int c = 128; c < 256; ++c) identChars_.set(static_cast<size_t>(c));
}

void TfsParser::AddKeyword(std::string_view word) { keywords_.insert(Lower(word)); }

bool TfsParser::IsKeyword(std::string_view word) const {
  if (keywords_.empty() || word.empty()) return false;
  return keywords_.count(CaseSensitive ? std::string(word) : Lower(word)) != 0;
}

void TfsParser::LoadSource(std::string_view text) {
  text_.assign(text);
  text_ += '\0';
  pos_ = 1;
  tokenStart_ = 1;
  lineEnds_.clear();
  for (size_t i = 0; i + 1 < text_.size(); ++i)
    if (text_[i] == '\n') lineEnds_.push_back(i + 1);
}

bool TfsParser::StartsWith(size_t at, std::string_view what) const {
  if (what.empty() || at < 1 || at - 1 + what.size() > text_.size() - 1) return false;
  return text_.compare(at - 1, what.size(), what) == 0;
}

bool TfsParser::SkipComment() {
  if (StartsWith(pos_, CommentLine1) || StartsWith(pos_, CommentLine2)) {
    // After a statement a line comment leaves the line end that closes the statement,
    // where line ends are tokens; on a line of its own it takes the line end along.
    bool ownLine = pos_ == 1 || text_[pos_ - 2] == '\n';
    bool keepLineEnd = !SkipEOL && !ownLine;
    while (!AtEnd() && text_[pos_ - 1] != '\n' && !(keepLineEnd && text_[pos_ - 1] == '\r')) ++pos_;
    return true;
  }
  for (const std::string* setting : {&CommentBlock1, &CommentBlock2}) {
    auto [open, close] = SplitBlock(*setting);
    if (!StartsWith(pos_, open)) continue;
    size_t from = pos_ - 1 + open.size();
    size_t end = close.empty() ? std::string::npos : text_.find(close, from);
    if (end == std::string::npos || end >= text_.size() - 1)
      pos_ = text_.size();
    else
      pos_ = end + close.size() + 1;
    return true;
  }
  return false;
}

void TfsParser::SkipBlanks() {
  int pendingLineEnds = 0;  // continuation characters whose line end is still to be eaten
  for (;;) {
    while (!AtEnd()) {
      unsigned char c = static_cast<unsigned char>(text_[pos_ - 1]);
      if (c > 32 || (c == '\r' && !SkipEOL)) break;
      ++pos_;
    }
    if (SkipChar != 0 && !AtEnd() && text_[pos_ - 1] == SkipChar) {
      ++pos_;
      ++pendingLineEnds;
      continue;
    }
    if (SkipComment()) continue;
    if (pendingLineEnds > 0) {
      --pendingLineEnds;
      while (!AtEnd() && (text_[pos_ - 1] == '\r' || text_[pos_ - 1] == '\n')) ++pos_;
      continue;
    }
    break;
  }
  tokenStart_ = pos_;
}

bool TfsParser::ReadLineEnd() {
  SkipBlanks();
  if (AtEnd() || (text_[pos_ - 1] != '\r' && text_[pos_ - 1] != '\n')) return false;
  while (!AtEnd() && (text_[pos_ - 1] == '\r' || text_[pos_ - 1] == '\n')) ++pos_;
  return true;
}

std::string TfsParser::ReadIdentifier() {
  SkipBlanks();
  size_t start = pos_;
  if (AtEnd() || !IsIdentChar(text_[pos_ - 1]) || IsDigit(text_[pos_ - 1])) return {};
  while (!AtEnd() && IsIdentChar(text_[pos_ - 1])) ++pos_;
  return text_.substr(start - 1, pos_ - start);
}

std::string TfsParser::ReadName() {
  std::string word = ReadIdentifier();
  if (!word.empty() && IsKeyword(word)) {
    pos_ = tokenStart_;
    return {};
  }
  return word;
}

std::string TfsParser::ReadPunctuation() {
  if (AtEnd()) return {};
  char c = text_[pos_ - 1];
  bool punct = (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') || (c >= '{' && c <= '~');
  if (!punct) return {};
  ++pos_;
  return std::string(1, c);
}

size_t TfsParser::ScanInteger(size_t at) const {
  auto charAt = [this](size_t p) { return p >= 1 && p <= text_.size() ? text_[p - 1] : '\0'; };
  if (StartsWith(at, HexSequence) && IsHexDigit(charAt(at + HexSequence.size()))) {
    size_t j = at + HexSequence.size();
    while (IsHexDigit(charAt(j))) ++j;
    return j;
  }
  size_t j = at;
  while (IsDigit(charAt(j))) ++j;
  return j;
}

size_t TfsParser::ScanFloat(size_t at) const {
  auto charAt = [this](size_t p) { return p >= 1 && p <= text_.size() ? text_[p - 1] : '\0'; };
  size_t j = ScanInteger(at);
  if (j == at) return 0;
  if (charAt(j) == '.') {
    if (!IsDigit(charAt(j + 1))) return 0;  // "1..5": the dots belong to the range
    ++j;
    while (IsDigit(charAt(j))) ++j;
  }
  if (charAt(j) == 'e' || charAt(j) == 'E') {
    size_t k = j + 1;
    if (charAt(k) == '+' || charAt(k) == '-') ++k;
    if (IsDigit(charAt(k))) {
      while (IsDigit(charAt(k))) ++k;
      j = k;
    }
  }
  return j;
}

std::string TfsParser::ReadNumber() {
  SkipBlanks();
  size_t end = ScanFloat(pos_);
  if (end == 0) end = ScanInteger(pos_);
  if (end == pos_) return {};
  std::string number = text_.substr(pos_ - 1, end - pos_);
  pos_ = end;
  if (HexSequence == "$" || HexSequence.empty()) return number;
  std::string rewritten;
  for (size_t at = 0; at < number.size();) {
    if (number.compare(at, HexSequence.size(), HexSequence) == 0) {
      rewritten += '$';
      at += HexSequence.size();
    } else {
      rewritten += number[at++];
    }
  }
  return rewritten;
}

bool TfsParser::ReadQuotedPart(std::string& out) {
  size_t i = pos_ + 1;
  auto charAt = [this](size_t p) { return p >= 1 && p < text_.size() ? text_[p - 1] : '\0'; };
  for (;;) {
    if (i >= text_.size()) return false;
    char c = charAt(i);
    if (SpecStrChar && c == '\\') {
      ++i;
      if (i >= text_.size()) return false;
      char d = charAt(i);
      if (d == 'n') {
        out += '\n';
        ++i;
      } else if (d == 'r') {
        out += '\r';
        ++i;
      } else if (d == 'x' && IsHexDigit(charAt(i + 1))) {
        unsigned code = 0;
        for (++i; IsHexDigit(charAt(i)); ++i)
          code = code * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(charAt(i)))
                                                       ? charAt(i) - '0'
                                                       : std::tolower(static_cast<unsigned char>(charAt(i))) - 'a' + 10);
        out += static_cast<char>(code & 0xFF);
      } else {
        out += d;
        ++i;
      }
    } else if (c == StringQuotes) {
      if (!SpecStrChar && charAt(i + 1) == StringQuotes) {
        out += c;
        i += 2;
      } else {
        pos_ = i + 1;
        return true;
      }
    } else if (c == '\t' || static_cast<unsigned char>(c) >= 32) {
      out += c;
      ++i;
    } else {
      return false;
    }
  }
}

bool TfsParser::ReadCodePart(std::string& out) {
  size_t end = ScanInteger(pos_ + 1);
  if (end == pos_ + 1) return false;
  std::string_view digits(text_.data() + pos_, end - pos_ - 1);
  bool hex = !HexSequence.empty() && digits.substr(0, HexSequence.size()) == HexSequence &&
             digits.size() > HexSequence.size() && IsHexDigit(digits[HexSequence.size()]);
  unsigned long long code = 0;  // only the low byte counts, so wrapping is harmless
  if (hex) {
    for (char d : digits.substr(HexSequence.size()))
      code = code * 16 + static_cast<unsigned>(IsDigit(d) ? d - '0' : std::tolower(static_cast<unsigned char>(d)) - 'a' + 10);
  } else {
    for (char d : digits) code = code * 10 + static_cast<unsigned>(d - '0');
  }
  out += static_cast<char>(code & 0xFF);
  pos_ = end;
  return true;
}

std::string TfsParser::ReadStringLiteral() {
  SkipBlanks();
  std::string chars;
  bool any = false;
  for (;;) {
    if (AtEnd()) break;
    size_t keep = chars.size();
    char c = text_[pos_ - 1];
    bool read = false;
    if (c == StringQuotes)
      read = ReadQuotedPart(chars);
    else if (c == '#')
      read = ReadCodePart(chars);
    else
      break;
    if (!read) {
      chars.resize(keep);
      break;
    }
    any = true;
  }
  return any ? "'" + chars + "'" : std::string();
}

std::string TfsParser::ReadRawTag() {
  size_t start = pos_;
  int depth = 1;
  char quote = 0;
  while (!AtEnd()) {
    char c = text_[pos_ - 1];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '<' || c == '[') {
      ++depth;
    } else if (c == '>' || c == ']') {
      if (--depth == 0) break;
    }
    ++pos_;
  }
  return text_.substr(start - 1, pos_ - start);
}

std::string TfsParser::PositionText(size_t position) const {
  size_t before = static_cast<size_t>(std::lower_bound(lineEnds_.begin(), lineEnds_.end(), position) - lineEnds_.begin());
  size_t line = before + 1;
  size_t column = position - (before == 0 ? 0 : lineEnds_[before - 1]);
  return std::to_string(line) + ":" + std::to_string(column);
}

long TfsParser::OffsetOfPosition(int line, int column) const {
  if (line < 1 || static_cast<size_t>(line) > lineEnds_.size() + 1) return -1;
  size_t start = line == 1 ? 0 : lineEnds_[static_cast<size_t>(line) - 2];
  return static_cast<long>(start) + column;
}
