// TfsScript: the symbol table, compiling, clearing and the run-state operations.
#include <algorithm>
#include <cctype>

#include "script/fs_iilparser.h"
#include "script/fs_iinterpreter.h"

namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

int LineOf(const std::string& position) { return std::atoi(position.c_str()); }

bool IsModule(const TfsItemList& entry) { return dynamic_cast<const TfsRTTIModule*>(&entry) != nullptr; }

bool HasOwner(const TfsItemList& entry, TfsOwnerTag owner) {
  auto* variable = dynamic_cast<const TfsCustomVariable*>(&entry);
  return variable && variable->OwnerTag == owner;
}

// The failure message when a grammar ends without naming what it expected.
constexpr const char* kSyntaxError = "Syntax error";

}  // namespace

TfsScript::TfsScript(void* owner) : Owner(owner) {}

TfsScript::~TfsScript() {
  ClearProgram();
  RemoveSystemModules();
  MainStatement.reset();
  table_.clear();
}

void TfsScript::AddEntry(const std::string& name, std::unique_ptr<TfsItemList> object) {
  if (auto* variable = dynamic_cast<TfsCustomVariable*>(object.get())) variable->OwnerTag = CurrentOwner;
  std::string key = Upper(name);
  // Placed ahead of the entries of the same name: the newest is found first.
  table_.emplace_hint(table_.lower_bound(key), std::move(key), std::move(object));
}

std::unique_ptr<TfsItemList> TfsScript::RemoveEntry(TfsItemList* object) {
  for (auto it = table_.begin(); it != table_.end(); ++it) {
    if (it->second.get() != object) continue;
    std::unique_ptr<TfsItemList> taken = std::move(it->second);
    table_.erase(it);
    return taken;
  }
  return nullptr;
}

TfsCustomVariable* TfsScript::FindLocalSymbol(std::string_view name) const {
  std::string key = Upper(name);
  for (auto it = table_.lower_bound(key); it != table_.end() && it->first == key; ++it)
    if (auto* variable = dynamic_cast<TfsCustomVariable*>(it->second.get())) return variable;
  return nullptr;
}

TfsCustomVariable* TfsScript::FindSymbol(std::string_view name) const {
  for (const TfsScript* script = this; script; script = script->ParentScript)
    if (TfsCustomVariable* found = script->FindLocalSymbol(name)) return found;
  return nullptr;
}

TfsClassVariable* TfsScript::FindClassSymbol(std::string_view name) const {
  return dynamic_cast<TfsClassVariable*>(FindSymbol(name));
}

std::vector<TfsItemList*> TfsScript::Entries() const {
  std::vector<TfsItemList*> entries;
  entries.reserve(table_.size());
  for (const auto& [name, entry] : table_) entries.push_back(entry.get());
  return entries;
}

bool TfsScript::CompileScript() {
  TfsILParser parser(this);
  return CompileScript(parser);
}

bool TfsScript::CompileScript(TfsILParser& parser, bool buildProgram) {
  ErrorMessage.clear();
  ErrorPosition.clear();
  ErrorUnitName.clear();
  try {
    std::string text;
    for (const std::string& line : Lines) {
      text += line;
      text += "\r\n";
    }
    parser.LoadGrammar(SyntaxType);
    if (parser.SourceToIL(text)) {
      if (buildProgram) parser.ILToProgram();
    } else if (ErrorMessage.empty()) {
      // The grammar gave up without a message. A script of blanks and comments is an
      // empty program; anything else must not pass as compiled.
      std::string position;
      if (parser.FindFirstToken(position)) {
        ErrorMessage = kSyntaxError;
        ErrorPosition = position;
      }
    }
  } catch (const EfsScriptError& e) {
    ErrorMessage = e.what();
    if (!e.Position.empty()) ErrorPosition = e.Position;
    if (!e.UnitName.empty()) ErrorUnitName = e.UnitName;
  } catch (const std::exception& e) {
    ErrorMessage = e.what();
  }
  if (ErrorMessage.empty()) ErrorPosition.clear();
  return ErrorMessage.empty();
}

void TfsScript::RemoveWhere(const std::function<bool(const TfsItemList&)>& drop) {
  for (auto it = table_.begin(); it != table_.end();) {
    if (drop(*it->second))
      it = table_.erase(it);
    else
      ++it;
  }
}

void TfsScript::ClearStatements() {
  MainStatement.reset();
  executableLines_.clear();
}

void TfsScript::ClearProgram() {
  RemoveWhere([](const TfsItemList& e) { return !IsModule(e) && !HasOwner(e, fsSystemOwner); });
  ClearStatements();
  ErrorPosition.clear();
  ErrorMessage.clear();
  ErrorUnitName.clear();
}

void TfsScript::RemoveOwnedItems(TfsOwnerTag owner) {
  RemoveWhere([owner](const TfsItemList& e) { return HasOwner(e, owner); });
}

void TfsScript::ClearOwnedItems(TfsOwnerTag owner) {
  RemoveOwnedItems(owner);
  ClearStatements();
}

void TfsScript::AddSystemModules() {
  if (SystemModulesAdded) return;
  TfsOwnerTag previous = CurrentOwner;
  CurrentOwner = fsSystemOwner;
  for (const TfsRTTIModuleClass& moduleClass : fsRTTIModules()) AddEntry("", moduleClass(*this));
  CurrentOwner = previous;
  SystemModulesAdded = true;
}

void TfsScript::RemoveSystemModules() {
  if (!SystemModulesAdded) return;
  RemoveWhere([](const TfsItemList& e) { return IsModule(e) || HasOwner(e, fsSystemOwner); });
  SystemModulesAdded = false;
}

void TfsScript::TerminateScript() {
  ExitPending = true;
  StopRequested = true;
  for (const auto& [name, entry] : table_)
    if (auto* procedure = dynamic_cast<TfsProcVariable*>(entry.get())) procedure->Program().TerminateScript();
}

void TfsScript::SetScriptVariable(const std::string& name, const Variant& value) {
  if (TfsCustomVariable* variable = FindSymbol(name))
    variable->WriteValue(value);
  else
    DeclareVariable(name, "Variant", value);
}

void TfsScript::ReportRunLine(const std::string& unitName, const std::string& position) {
  for (TfsScript* script = this; script; script = script->ParentScript) {
    if (script->OnRunLine) {
      script->OnRunLine(*this, unitName, position);
      return;
    }
  }
}

void TfsScript::NoteStatementLine(const std::string& unitName, const std::string& position) {
  std::vector<int>& lines = executableLines_[unitName];
  int line = LineOf(position);
  auto at = std::lower_bound(lines.begin(), lines.end(), line);
  if (at == lines.end() || *at != line) lines.insert(at, line);
}

bool TfsScript::LineHasStatement(int line, const std::string& unitName) const {
  auto it = executableLines_.find(unitName);
  return it != executableLines_.end() && std::binary_search(it->second.begin(), it->second.end(), line);
}
