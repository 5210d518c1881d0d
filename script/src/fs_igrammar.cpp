#include "fs_igrammar.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

#include "script/fs_iinterpreter.h"

namespace fs_grammar {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

Kind KindOf(const std::string& name) {
  static const std::map<std::string, Kind> kinds = {
      {"char", Kind::Char},         {"keyword", Kind::Keyword},
      {"ident", Kind::Ident},       {"number", Kind::Number},
      {"string", Kind::String},     {"frstring", Kind::FrString},
      {"eol", Kind::Eol},           {"sequence", Kind::Sequence},
      {"switch", Kind::Switch},     {"optionalswitch", Kind::OptionalSwitch},
      {"loop", Kind::Loop},         {"optionalloop", Kind::OptionalLoop},
      {"optional", Kind::Optional},
  };
  auto it = kinds.find(Lower(name));
  return it == kinds.end() ? Kind::Reference : it->second;
}

struct Compiler {
  const TfsXMLItem* errors = nullptr;
  std::map<std::string, const Element*> rulesByName;  // lower-case names
  std::vector<Element*> references;

  void Fill(Element& e, const TfsXMLItem& item) {
    e.name = item.Name();
    e.text = Lower(item.Prop("text"));
    e.node = item.Prop("node");
    e.add = item.Prop("add");
    e.hasAddText = item.HasProp("addtext");
    e.addText = item.Prop("addtext");
    if (item.HasProp("err")) {
      e.hasErr = true;
      const TfsXMLItem* message = errors ? errors->FindItem(item.Prop("err")) : nullptr;
      if (message) e.errText = message->Prop("text");
    }
    e.terminating = item.Prop("term") == "1";
    std::string skip = item.Prop("skip");
    e.noSkip = skip == "0";
    e.quietLoop = skip == "1";
    if (e.kind == Kind::Reference) references.push_back(&e);
    e.children.resize(static_cast<size_t>(item.Count()));
    for (int i = 0; i < item.Count(); ++i) {
      Element& child = e.children[static_cast<size_t>(i)];
      child.kind = KindOf(item[i].Name());
      Fill(child, item[i]);
    }
  }
};

}  // namespace

std::shared_ptr<const Grammar> Compile(const std::string& languageName, const std::string& source) {
  TfsXMLDocument doc;
  doc.LoadFromString(source);
  const TfsXMLItem& root = doc.Root();
  auto grammar = std::make_shared<Grammar>();
  grammar->languageName = languageName;
  grammar->source = source;

  Compiler compiler;
  if (const TfsXMLItem* parser = root.FindItem("parser")) {
    for (int i = 0; i < parser->Count(); ++i) {
      const TfsXMLItem& setting = (*parser)[i];
      std::string name = Lower(setting.Name());
      if (name == "keywords") {
        for (int k = 0; k < setting.Count(); ++k) grammar->keywords.push_back(Lower(setting[k].Name()));
      } else if (name == "errors") {
        compiler.errors = &setting;
      } else {
        grammar->settings.emplace_back(name, setting.Prop("text"));
        if (name == "declarevars") grammar->declareVars = setting.Prop("text") != "0";
      }
    }
  }
  if (const TfsXMLItem* types = root.FindItem("types")) {
    grammar->types = std::make_unique<TfsXMLItem>(types->Name(), types->Text());
    for (int i = 0; i < types->Count(); ++i) grammar->types->AddCopy((*types)[i]);
  }
  for (int i = 0; i < root.Count(); ++i) {
    const TfsXMLItem& item = root[i];
    std::string name = Lower(item.Name());
    if (name == "parser" || name == "types") continue;  // settings and type names, not rules
    auto rule = std::make_unique<Element>();
    rule->kind = Kind::Rule;
    compiler.Fill(*rule, item);
    compiler.rulesByName.emplace(Lower(item.Name()), rule.get());  // the first of a name wins
    grammar->rules.push_back(std::move(rule));
  }
  for (Element* reference : compiler.references) {
    auto it = compiler.rulesByName.find(Lower(reference->name));
    if (it != compiler.rulesByName.end()) reference->rule = it->second;
  }
  auto program = compiler.rulesByName.find("program");
  if (program != compiler.rulesByName.end()) grammar->program = program->second;
  return grammar;
}

std::shared_ptr<const Grammar> Fetch(const std::string& languageName) {
  const std::string& source = FetchGrammar(languageName);
  static std::mutex lock;
  static std::map<std::string, std::shared_ptr<const Grammar>> cache;
  std::lock_guard<std::mutex> guard(lock);
  std::string key = Lower(languageName);
  auto it = cache.find(key);
  if (it != cache.end() && it->second->source == source) return it->second;
  auto grammar = Compile(languageName, source);
  cache[key] = grammar;
  return grammar;
}

}  // namespace fs_grammar
