#include "script/fs_iilparser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fs_igrammar.h"
#include "fs_limits.h"
#include "script/fs_iinterpreter.h"

using fs_grammar::Element;
using fs_grammar::Kind;

struct TfsILParser::Line {
  enum Kind { Open, Close, Leaf, Block } kind;
  std::string name;
  std::string attrs;
  std::string value;  // decoded text of a leaf
  std::unique_ptr<TfsXMLItem> block;
};

namespace {

// Raised when matching goes deeper than the grammar-depth limit; SourceToIL turns it
// into an error of the parse.
struct NestingLimit {};

struct DepthGuard {
  explicit DepthGuard(int& depth) : depth_(depth) {
    if (++depth_ > fs_limits::kMaxGrammarDepth) {
      --depth_;
      throw NestingLimit{};
    }
  }
  ~DepthGuard() { --depth_; }
  int& depth_;
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool SameText(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return std::string(s.substr(b, e - b));
}

// Unit sources with any line ends get CR LF, as the script's own lines do.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string ReadUnitFile(const std::vector<std::string>& folders, const std::string& unitName, const std::string& where) {
  std::string path = unitName;
  for (const std::string& folder : folders) {
    std::string prefix = folder;
    std::replace(prefix.begin(), prefix.end(), '\\', '/');
    if (!prefix.empty() && prefix.back() != '/') prefix += '/';
    path = prefix + unitName;
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) break;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EfsScriptError("Cannot open file \"" + path + "\"", where);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TfsILParser::TfsILParser(TfsScript* script) : script_(script) {}
TfsILParser::~TfsILParser() = default;

void TfsILParser::LoadGrammar(const std::string& name) {
  grammar_ = fs_grammar::Fetch(name);
  languageName_ = name;
  ApplySettings();
}

void TfsILParser::ApplySettings() {
  parser_.ResetSettings();
  parser_.ClearKeywords();
  for (const auto& [name, text] : grammar_->settings) {
    if (name == "commentline1") parser_.CommentLine1 = text;
    else if (name == "commentline2") parser_.CommentLine2 = text;
    else if (name == "commentblock1") parser_.CommentBlock1 = text;
    else if (name == "commentblock2") parser_.CommentBlock2 = text;
    else if (name == "stringquotes" && !text.empty()) parser_.StringQuotes = text[0];
    else if (name == "hexsequence") parser_.HexSequence = text;
    else if (name == "specstrchar") parser_.SpecStrChar = text == "1";
    else if (name == "casesensitive") parser_.CaseSensitive = text == "1";
    else if (name == "skipeol") parser_.SkipEOL = text != "0";
    else if (name == "skipchar") parser_.SkipChar = text.empty() ? '\0' : text[0];
    else if (name == "identchars") parser_.SetIdentifierChars(text);
  }
  for (const std::string& word : grammar_->keywords) parser_.AddKeyword(word);
  if (script_ && script_->HighLetters) parser_.AddHighLetters();
}

bool TfsILParser::NeedDeclareVars() const { return !grammar_ || grammar_->declareVars; }

std::string TfsILParser::MapTypeName(const TfsXMLItem* ilProgram, const std::string& name) const {
  if (ilProgram)
    if (const TfsXMLItem* types = ilProgram->FindItem("types"))
      if (const TfsXMLItem* type = types->FindItem(name)) return type->Prop("type");
  if (grammar_ && grammar_->types)
    if (const TfsXMLItem* type = grammar_->types->FindItem(name)) return type->Prop("type");
  return name;
}

std::string TfsILParser::PositionAfterBlanks(size_t position) {
  size_t keep = parser_.Position();
  parser_.SetPosition(position);
  parser_.SkipBlanks();
  std::string text = parser_.CurrentPositionText();
  parser_.SetPosition(keep);
  return text;
}

void TfsILParser::RecordError(const std::string& message, size_t start, bool terminating) {
  if (errorRecorded_) return;
  errorRecorded_ = true;
  errorTerminating_ = terminating;
  ErrorMessage = message;
  ErrorPosition = PositionAfterBlanks(start);
}

void TfsILParser::ClearError() {
  errorRecorded_ = false;
  errorTerminating_ = false;
  ErrorMessage.clear();
  ErrorPosition.clear();
  ErrorUnitName.clear();
}

bool TfsILParser::MatchToken(const Element& e, std::string& token) {
  switch (e.kind) {
    case Kind::Char:
      if (!e.noSkip) parser_.SkipBlanks();
      token = parser_.ReadPunctuation();
      break;
    case Kind::Keyword: token = parser_.ReadIdentifier(); break;
    case Kind::Ident: token = parser_.ReadName(); break;
    case Kind::Number: token = parser_.ReadNumber(); break;
    default: token = parser_.ReadStringLiteral(); break;
  }
  if (token.empty()) return false;
  if (e.text.empty()) return true;
  return parser_.CaseSensitive ? token == e.text : Lower(token) == e.text;
}

bool TfsILParser::MatchChildren(const Element& e) {
  for (const Element& child : e.children)
    if (!Match(child, false)) return false;
  return true;
}

// loop, optionalloop: the children one or more (zero or more) times, with an optional
// separator character between repetitions.
bool TfsILParser::MatchLoop(const Element& e, size_t start) {
  int attempts = 0;
  bool firstFailed = false;
  bool laterFailed = false;
  size_t after = start;           // after the last complete repetition
  size_t afterSeparator = start;  // after the separator that followed it
  for (;;) {
    size_t repetition = parser_.Position();
    ++attempts;
    if (!MatchChildren(e)) {
      firstFailed = attempts == 1;
      laterFailed = attempts > 1;
      break;
    }
    after = parser_.Position();
    afterSeparator = after;
    if (!e.text.empty()) {
      parser_.SkipBlanks();
      if (parser_.ReadPunctuation() != e.text.substr(0, 1)) {
        parser_.SetPosition(after);
        break;
      }
      afterSeparator = parser_.Position();
    }
    if (parser_.Position() == repetition) break;
  }
  if (attempts >= 2) {
    // A quiet loop keeps a separator that no repetition follows, as Pascal allows
    // before the "else" or "end" of a case statement.
    parser_.SetPosition(laterFailed && e.quietLoop ? afterSeparator : after);
    if (e.quietLoop || errorTerminating_) ClearError();
    return true;
  }
  if (firstFailed) {
    if (e.kind != Kind::OptionalLoop) return false;
    parser_.SetPosition(start);
  }
  return true;
}

bool TfsILParser::Match(const Element& e, bool topRule) {
  DepthGuard guard(depth_);
  const size_t start = parser_.Position();
  const size_t firstLine = lines_.size();
  std::string token;
  bool ok = false;
  switch (e.kind) {
    case Kind::Char:
    case Kind::Keyword:
    case Kind::Ident:
    case Kind::Number:
    case Kind::String:
      ok = MatchToken(e, token);
      break;
    case Kind::FrString:
      EmitRawTagCall(parser_.ReadRawTag());
      ok = true;
      break;
    case Kind::Eol:
      ok = parser_.ReadLineEnd();
      break;
    case Kind::Sequence:
    case Kind::Rule:
      ok = MatchChildren(e);
      break;
    case Kind::Switch:
    case Kind::OptionalSwitch:
      for (const Element& child : e.children)
        if ((ok = Match(child, false))) break;
      if (e.kind == Kind::OptionalSwitch) ok = true;
      break;
    case Kind::Optional:
      if (!MatchChildren(e)) parser_.SetPosition(start);
      ok = true;
      break;
    case Kind::Loop:
    case Kind::OptionalLoop:
      ok = MatchLoop(e, start);
      break;
    case Kind::Reference:
      if (!e.rule) throw EfsScriptError(fs_messages::InvalidLanguage);
      ok = Match(*e.rule, true);
      break;
  }
  if (ok) {
    if (!e.node.empty()) Wrap(e.node, start, firstLine);
    if (!e.add.empty()) {
      std::string text = e.hasAddText ? e.addText : token;
      lines_.push_back({Line::Leaf, e.add,
                        "text=\"" + fsXMLEscape(text) + "\" pos=\"" + parser_.CurrentPositionText() + "\"", text, nullptr});
    }
    if (e.IsToken() && !e.children.empty()) ok = MatchChildren(e);
  }
  if (!ok) {
    parser_.SetPosition(start);
    if (topRule && !e.node.empty()) lines_.erase(lines_.begin() + static_cast<long>(firstLine), lines_.end());
    if (e.hasErr) RecordError(e.errText, start, e.terminating);
  }
  return ok;
}

// frstring: "<" text ">" reads the report value named by the text, as Get('text').
void TfsILParser::EmitRawTagCall(const std::string& raw) {
  std::string pos = "pos=\"" + parser_.CurrentPositionText() + "\"";
  std::string quoted = "'" + raw + "'";
  lines_.push_back({Line::Open, "dsgn", pos, {}, nullptr});
  lines_.push_back({Line::Leaf, "node", "text=\"Get\" " + pos, "Get", nullptr});
  lines_.push_back({Line::Open, "expr", pos, {}, nullptr});
  lines_.push_back({Line::Leaf, "string", "text=\"" + fsXMLEscape(quoted) + "\" " + pos, quoted, nullptr});
  lines_.push_back({Line::Close, "expr", {}, {}, nullptr});
  lines_.push_back({Line::Close, "dsgn", {}, {}, nullptr});
}

void TfsILParser::Wrap(const std::string& node, size_t start, size_t firstLine) {
  if (node == "uses") {
    LoadUnits(firstLine);
    return;
  }
  std::string attrs = "pos=\"" + PositionAfterBlanks(start) + "\"";
  if (node == "expr") attrs += " pos1=\"" + parser_.CurrentPositionText() + "\"";
  lines_.insert(lines_.begin() + static_cast<long>(firstLine), Line{Line::Open, node, std::move(attrs), {}, nullptr});
  lines_.push_back({Line::Close, node, {}, {}, nullptr});
}

// uses: every `file` leaf becomes the block of that unit's own program.
void TfsILParser::LoadUnits(size_t firstLine) {
  std::vector<Line> tail;
  for (size_t i = firstLine; i < lines_.size(); ++i) tail.push_back(std::move(lines_[i]));
  lines_.erase(lines_.begin() + static_cast<long>(firstLine), lines_.end());
  for (Line& line : tail) {
    if (line.kind != Line::Leaf || line.name != "file") {
      lines_.push_back(std::move(line));
      continue;
    }
    std::string unitName = line.value.size() >= 2 ? line.value.substr(1, line.value.size() - 2) : std::string();
    bool used = std::any_of(usedUnits_.begin(), usedUnits_.end(), [&](const std::string& u) { return SameText(u, unitName); });
    if (used) continue;
    std::string where = line.attrs.substr(line.attrs.rfind("pos=\"") + 5);
    where.pop_back();
    for (Line& block : UnitBlock(unitName, where)) lines_.push_back(std::move(block));
  }
}

std::vector<TfsILParser::Line> TfsILParser::UnitBlock(const std::string& unitName, const std::string& position) {
  usedUnits_.push_back(unitName);
  std::string source;
  if (script_ && script_->OnGetUnit)
    source = script_->OnGetUnit(unitName);
  else
    source = ReadUnitFile(script_ ? script_->UnitFolders : std::vector<std::string>{""}, unitName, position);
  std::vector<Line> block;
  if (source.empty()) return block;

  TfsILParser unit(script_);
  unit.nested_ = true;
  unit.usedUnits_ = usedUnits_;
  unit.depth_ = depth_;
  unit.LoadGrammar(languageName_);
  if (unit.SourceToIL(WithCrLf(source))) {
    usedUnits_ = unit.usedUnits_;
    block.push_back({Line::Open, "uses", "unit=\"" + fsXMLEscape(unitName) + "\"", {}, nullptr});
    block.push_back({Line::Block, {}, {}, {}, unit.il_.TakeRoot()});
    block.push_back({Line::Close, "uses", {}, {}, nullptr});
  } else if (!errorRecorded_) {
    errorRecorded_ = true;
    errorTerminating_ = false;
    ErrorMessage = unit.ErrorMessage;
    ErrorPosition = unit.ErrorPosition;
    if (ErrorUnitName.empty()) ErrorUnitName = unit.ErrorUnitName.empty() ? unitName : unit.ErrorUnitName;
  }
  return block;
}

std::unique_ptr<TfsXMLItem> TfsILParser::BuildTree() {
  auto program = std::make_unique<TfsXMLItem>("program");
  std::vector<TfsXMLItem*> open{program.get()};
  for (Line& line : lines_) {
    switch (line.kind) {
      case Line::Open: open.push_back(&open.back()->Add(std::move(line.name), std::move(line.attrs))); break;
      case Line::Close: open.pop_back(); break;
      case Line::Leaf: open.back()->Add(std::move(line.name), std::move(line.attrs)); break;
      case Line::Block: open.back()->Add(std::move(line.block)); break;
    }
  }
  lines_.clear();
  if (grammar_->types) program->AddCopy(*grammar_->types);
  return program;
}

void TfsILParser::PublishErrors() {
  if (!script_ || nested_) return;
  script_->ErrorMessage = ErrorMessage;
  script_->ErrorPosition = ErrorPosition;
  script_->ErrorUnitName = ErrorUnitName;
}

bool TfsILParser::SourceToIL(const std::string& text) {
  ClearError();
  lines_.clear();
  il_.SetRoot(nullptr);
  if (!grammar_) LoadGrammar(script_ ? script_->SyntaxType : std::string("PascalScript"));
  parser_.LoadSource(text);

  // "#language NAME" on the first line chooses the grammar.
  size_t start = 1;
  if (!text.empty() && text[0] == '#') {
    parser_.SetPosition(2);
    if (Lower(parser_.ReadIdentifier()) == "language") {
      size_t from = parser_.Position() - 1;
      size_t end = text.find_first_of("\r\n", from);
      if (end == std::string::npos) end = text.size();
      LoadGrammar(Trim(std::string_view(text).substr(from, end - from)));
      size_t lf = text.find('\n', from);
      start = lf == std::string::npos ? text.size() + 1 : lf + 2;
    }
  }
  sourceStart_ = start;
  parser_.SetPosition(start);
  if (!grammar_->program) throw EfsScriptError(fs_messages::InvalidLanguage);

  bool ok;
  try {
    ok = Match(*grammar_->program, true) && !errorRecorded_;
  } catch (const NestingLimit&) {
    char message[128];
    std::snprintf(message, sizeof message, fs_limits::kGrammarDepthMessage, fs_limits::kMaxGrammarDepth);
    ErrorMessage = message;
    ErrorPosition = PositionAfterBlanks(parser_.Position());
    ErrorUnitName.clear();
    errorRecorded_ = true;
    lines_.clear();
    ok = false;
  }
  if (ok) il_.SetRoot(BuildTree());
  lines_.clear();
  PublishErrors();
  return ok;
}

std::unique_ptr<TfsXMLItem> TfsILParser::TakeIL() { return il_.TakeRoot(); }

void TfsILParser::ILToProgram() {
  if (TfsProgramBuilder* builder = fsProgramBuilder(); builder && script_) builder->ILToProgram(*script_, *this, il_.Root());
}

bool TfsILParser::FindFirstToken(std::string& position) {
  parser_.SetPosition(sourceStart_);
  for (;;) {
    parser_.SkipBlanks();
    if (parser_.AtEnd() || (parser_.Current() != '\r' && parser_.Current() != '\n')) break;
    parser_.SetPosition(parser_.Position() + 1);
  }
  if (parser_.AtEnd()) return false;
  position = parser_.CurrentPositionText();
  return true;
}
