#pragma once
// A grammar document compiled for matching: every element with its attributes decoded
// once and its rule references resolved, so that matching never searches attribute
// texts. Compiled grammars are shared between parsers (they never change).

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "script/fs_xml.h"

namespace fs_grammar {

enum class Kind {
  Char, Keyword, Ident, Number, String,  // token elements
  FrString, Eol, Sequence, Switch, OptionalSwitch, Loop, OptionalLoop, Optional,
  Reference,  // any other name: a rule
  Rule,       // a child of the document root
};

struct Element {
  Kind kind = Kind::Sequence;
  std::string name;
  std::string text;        // lower case; for loops the separator
  std::string node;        // wrap what the element emits into this IL element
  std::string add;         // emit a leaf of this name
  std::string addText;
  bool hasAddText = false;
  bool hasErr = false;
  std::string errText;     // the message the `err` attribute names
  bool terminating = false;  // term="1"
  bool noSkip = false;       // skip="0" on char
  bool quietLoop = false;    // skip="1" on loops
  const Element* rule = nullptr;  // resolved reference; null when the grammar lacks it
  std::vector<Element> children;

  bool IsToken() const { return kind <= Kind::String; }
};

struct Grammar {
  std::string languageName;
  std::string source;  // the grammar text it was compiled from
  std::vector<std::pair<std::string, std::string>> settings;
  std::vector<std::string> keywords;
  bool declareVars = true;
  std::unique_ptr<TfsXMLItem> types;  // null when the grammar has none
  std::vector<std::unique_ptr<Element>> rules;
  const Element* program = nullptr;
};

// Compiles a grammar text; raises EfsXMLError for broken XML.
std::shared_ptr<const Grammar> Compile(const std::string& languageName, const std::string& source);
// The compiled grammar of a registered language, compiled once per grammar text.
std::shared_ptr<const Grammar> Fetch(const std::string& languageName);

}  // namespace fs_grammar
