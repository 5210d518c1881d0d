// The process-wide lists: registration modules, languages and the program builder.
// They are filled at start-up, before any script exists, and only read afterwards.
#include <cctype>
#include <cstdio>
#include <deque>

#include "fs_iinterpreter_program.h"
#include "script/fs_ibasic.h"
#include "script/fs_icpp.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_ijs.h"
#include "script/fs_ipascal.h"
#include "script/fs_isysrtti.h"

namespace {

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

struct Language {
  std::string name;
  std::string grammar;
};

// The built-in languages are registered when the list is first used, so that they are
// present whatever the order in which the program's units start. A deque keeps the
// grammar texts in place when more languages are added.
std::deque<Language>& Languages() {
  static std::deque<Language> languages = {
      {"PascalScript", fsPascalScriptGrammar()},
      {"C++Script", fsCppScriptGrammar()},
      {"BasicScript", fsBasicScriptGrammar()},
      {"JScript", fsJScriptGrammar()},
  };
  return languages;
}

// The built-in functions come first, before any module a unit registers.
std::vector<TfsRTTIModuleClass>& Modules() {
  static std::vector<TfsRTTIModuleClass> modules = {fsCreateSysFunctions};
  return modules;
}

TfsProgramBuilder* programBuilder = nullptr;

}  // namespace

void fsRegisterRTTIModule(TfsRTTIModuleClass moduleClass) { Modules().push_back(std::move(moduleClass)); }

const std::vector<TfsRTTIModuleClass>& fsRTTIModules() { return Modules(); }

void fsRegisterLanguage(const std::string& name, const std::string& grammar) {
  for (Language& language : Languages()) {
    if (SameText(language.name, name)) {
      language.grammar = grammar;
      return;
    }
  }
  Languages().push_back({name, grammar});
}

std::vector<std::string> fsLanguageNames() {
  std::vector<std::string> names;
  for (const Language& language : Languages()) names.push_back(language.name);
  return names;
}

const std::string& FetchGrammar(const std::string& name) {
  for (const Language& language : Languages())
    if (SameText(language.name, name)) return language.grammar;
  char message[256];
  std::snprintf(message, sizeof message, fs_messages::LanguageNotFound, name.substr(0, 200).c_str());
  throw EfsScriptError(message);
}

void fsSetProgramBuilder(TfsProgramBuilder* builder) { programBuilder = builder; }

TfsProgramBuilder* fsProgramBuilder() { return programBuilder ? programBuilder : &fsInterpreterBuilder(); }
