#pragma once
// The grammar-driven parser. A language is an XML grammar (registered by name, see
// fs_iinterpreter.h); TfsILParser interprets it against a source text with TfsParser
// and writes the program as the intermediate XML document, the IL.
//
// Use: LoadGrammar(name) once, then SourceToIL(text) per source. SourceToIL returns
// false on a syntax error; the grammar's message, the position where the failing
// element began and, for errors inside a used unit, the unit's name are then in
// ErrorMessage / ErrorPosition / ErrorUnitName (and in the script's fields when the
// parser works for a script). A grammar that refers to a rule it lacks raises
// EfsScriptError "Invalid language definition"; a grammar or IL text that breaks the
// XML rules raises EfsXMLError "Invalid file format"; an unknown language raises
// EfsScriptError "Language '%s' not found". Scripts nested deeper than the engine's
// limit fail like a syntax error, with a message naming the limit.
//
// Used units: a `uses` clause loads each unit once, through the script's OnGetUnit or
// from the first of its UnitFolders that holds the file, and parses it with a nested
// parser of the same language; a unit that cannot be read raises EfsScriptError.

#include <memory>
#include <string>
#include <vector>

#include "script/fs_iparser.h"
#include "script/fs_xml.h"

class TfsScript;

namespace fs_grammar {
struct Grammar;
struct Element;
}

class TfsILParser {
 public:
  // `script` (may be null) gives HighLetters, the unit sources and receives the errors.
  explicit TfsILParser(TfsScript* script);
  ~TfsILParser();

  void LoadGrammar(const std::string& name);
  bool SourceToIL(const std::string& text);
  // Hands the IL to the registered program builder (does nothing without one).
  void ILToProgram();

  const std::string& LanguageName() const { return languageName_; }
  TfsXMLDocument& ILDocument() { return il_; }
  TfsParser& Parser() { return parser_; }
  // "0" in the grammar's declarevars: undeclared names become variables.
  bool NeedDeclareVars() const;
  // After SourceToIL: the position text of the first token of the source, false when
  // the source holds nothing but blanks, line ends and comments.
  bool FindFirstToken(std::string& position);
  // The engine's type name for a language type name: the IL's own `types` first (of
  // `ilProgram`, the program element being built), then the grammar's; else unchanged.
  std::string MapTypeName(const TfsXMLItem* ilProgram, const std::string& name) const;

  std::string ErrorMessage;
  std::string ErrorPosition;
  std::string ErrorUnitName;

 private:
  struct Line;
  bool Match(const fs_grammar::Element& e, bool topRule);
  bool MatchChildren(const fs_grammar::Element& e);
  bool MatchLoop(const fs_grammar::Element& e, size_t start);
  bool MatchToken(const fs_grammar::Element& e, std::string& token);
  void EmitRawTagCall(const std::string& raw);
  void Wrap(const std::string& node, size_t start, size_t firstLine);
  void LoadUnits(size_t firstLine);
  std::vector<Line> UnitBlock(const std::string& unitName, const std::string& position);
  void RecordError(const std::string& message, size_t start, bool terminating);
  void ClearError();
  std::string PositionAfterBlanks(size_t position);
  void ApplySettings();
  std::unique_ptr<TfsXMLItem> BuildTree();
  void PublishErrors();
  std::unique_ptr<TfsXMLItem> TakeIL();

  TfsScript* script_;
  TfsParser parser_;
  std::shared_ptr<const fs_grammar::Grammar> grammar_;
  std::string languageName_;
  TfsXMLDocument il_;
  std::vector<Line> lines_;
  bool errorRecorded_ = false;
  bool errorTerminating_ = false;
  int depth_ = 0;
  std::vector<std::string> usedUnits_;
  bool nested_ = false;
  size_t sourceStart_ = 1;
};
