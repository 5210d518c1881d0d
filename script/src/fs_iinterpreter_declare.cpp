// Registration by declaration text: the Declare* operations of TfsScript and
// ParseDeclaration, which reads a declaration text into an entry with parameters.
#include <cctype>
#include <cstdlib>

#include "script/fs_iinterpreter.h"
#include "script/fs_iparser.h"

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

// A number of a default value: integer (32 bits when it fits), else float, "." decimal.
Variant NumberValue(const std::string& text, bool negative) {
  bool isFloat = text.find_first_of(".eE") != std::string::npos && text[0] != '$';
  if (isFloat) {
    double v = std::strtod(text.c_str(), nullptr);
    return Variant(negative ? -v : v);
  }
  unsigned long long magnitude =
      text[0] == '$' ? std::strtoull(text.c_str() + 1, nullptr, 16) : std::strtoull(text.c_str(), nullptr, 10);
  long long v = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
  if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int32_t>(v));
  return Variant(static_cast<int64_t>(v));
}

Variant DefaultValue(TfsParser& parser, const TfsScript* script) {
  parser.SkipBlanks();
  char c = parser.Current();
  if (c == '\'') {
    std::string literal = parser.ReadStringLiteral();
    return Variant(literal.size() >= 2 ? literal.substr(1, literal.size() - 2) : std::string());
  }
  bool negative = false;
  if (c == '-') {
    negative = true;
    parser.SetPosition(parser.Position() + 1);
  }
  std::string number = parser.ReadNumber();
  if (!number.empty()) return NumberValue(number, negative);
  std::string name = parser.ReadIdentifier();
  TfsCustomVariable* entry = script && !name.empty() ? script->FindSymbol(name) : nullptr;
  return entry ? entry->ReadValue() : Variant::Null();
}

bool NextIs(TfsParser& parser, char c) {
  parser.SkipBlanks();
  if (parser.AtEnd() || parser.Current() != c) return false;
  parser.SetPosition(parser.Position() + 1);
  return true;
}

}  // namespace

std::unique_ptr<TfsCustomVariable> ParseDeclaration(const std::string& text, const TfsScript* script) {
  TfsParser parser;
  if (script && script->HighLetters) parser.AddHighLetters();
  parser.LoadSource(text);

  std::string word = parser.ReadIdentifier();
  bool macro = Lower(word).rfind("macro", 0) == 0;
  if (macro) word = word.substr(5);
  bool isFunction = Lower(word) == "function";
  std::string name = parser.ReadIdentifier();

  std::string typeName;
  if (isFunction) {
    size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
      TfsParser tail;
      tail.LoadSource(std::string_view(text).substr(colon + 1));
      if (script && script->HighLetters) tail.AddHighLetters();
      typeName = tail.ReadIdentifier();
    }
  }
  auto entry = std::make_unique<TfsCustomVariable>(name, TypeNameToCode(typeName, script), typeName);
  entry->SourceArgs = macro;

  if (!NextIs(parser, '(')) return entry;
  for (;;) {
    size_t groupStart = parser.Position();
    if (NextIs(parser, ')')) break;
    bool byReference = false;
    std::string first = parser.ReadIdentifier();
    if (Lower(first) == "var") {
      byReference = true;
      first = parser.ReadIdentifier();
    } else if (Lower(first) == "const") {
      first = parser.ReadIdentifier();
    }
    if (first.empty()) break;  // a malformed list ends here
    std::vector<std::string> names{first};
    while (NextIs(parser, ',')) names.push_back(parser.ReadIdentifier());
    std::string type;
    if (NextIs(parser, ':')) type = parser.ReadIdentifier();
    bool hasDefault = NextIs(parser, '=');
    Variant defaultValue = hasDefault ? DefaultValue(parser, script) : Variant::Null();
    ScriptType code = TypeNameToCode(type, script);
    for (size_t i = 0; i < names.size(); ++i) {
      bool last = i + 1 == names.size();
      auto param = std::make_unique<TfsParamItem>(names[i], code, type, last && hasDefault, byReference);
      if (last && hasDefault) param->DefaultValue = defaultValue;
      entry->AddParam(std::move(param));
    }
    if (NextIs(parser, ';')) continue;
    if (NextIs(parser, ')') || parser.Position() == groupStart || parser.AtEnd()) break;
    break;  // anything else ends a malformed list
  }
  return entry;
}

TfsCustomVariable* TfsScript::DeclareType(const std::string& typeName, ScriptType type) {
  if (TfsCustomVariable* found = FindSymbol(typeName)) return found;
  auto entry = std::make_unique<TfsTypeVariable>(typeName, type, typeName);
  TfsCustomVariable* result = entry.get();
  AddEntry(typeName, std::move(entry));
  return result;
}

TfsClassVariable* TfsScript::DeclareClass(const TfsHostClass& hostClass, const std::string& ancestorName) {
  if (FindSymbol(hostClass.Name())) return nullptr;
  auto cls = std::make_unique<TfsClassVariable>(hostClass, ancestorName);
  cls->HomeScript = this;
  if (TfsClassVariable* ancestor = FindClassSymbol(ancestorName)) cls->DefaultMember = ancestor->DefaultMember;
  TfsClassVariable* result = cls.get();
  AddEntry(hostClass.Name(), std::move(cls));
  return result;
}

TfsCustomVariable* TfsScript::DeclareConstant(const std::string& name, const std::string& typeName, const Variant& value) {
  if (TfsCustomVariable* found = FindSymbol(name)) return found;
  auto constant = std::make_unique<TfsVariable>(name, TypeNameToCode(typeName, this), typeName);
  constant->WriteValue(value);
  constant->Locked = true;
  TfsCustomVariable* result = constant.get();
  AddEntry(name, std::move(constant));
  return result;
}

TfsCustomVariable* TfsScript::DeclareEnumValues(const std::string& typeName, const std::string& names, bool flags) {
  auto type = std::make_unique<TfsVariable>(typeName, stEnum, typeName);
  TfsCustomVariable* result = type.get();
  AddEntry(typeName, std::move(type));
  int64_t value = flags ? 1 : 0;
  size_t from = 0;
  for (;;) {
    size_t comma = names.find(',', from);
    std::string name = Trim(names.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
    if (!name.empty()) {
      auto constant = std::make_unique<TfsVariable>(name, stEnum, typeName);
      constant->WriteValue(value >= INT32_MIN && value <= INT32_MAX ? Variant(static_cast<int32_t>(value)) : Variant(value));
      constant->Locked = true;
      AddEntry(name, std::move(constant));
      value = flags ? value * 2 : value + 1;
    }
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  return result;
}

TfsCustomVariable* TfsScript::DeclareEnum(const std::string& typeName, const std::string& names) {
  return DeclareEnumValues(typeName, names, false);
}

TfsCustomVariable* TfsScript::DeclareEnumSet(const std::string& typeName, const std::string& names) {
  return DeclareEnumValues(typeName, names, true);
}

TfsCustomVariable* TfsScript::DeclareVariable(const std::string& name, const std::string& typeName, const Variant& value) {
  if (TfsCustomVariable* found = FindSymbol(name)) return found;
  auto variable = std::make_unique<TfsVariable>(name, TypeNameToCode(typeName, this), typeName);
  variable->WriteValue(value);
  variable->OnGetVarValue = OnGetVarValue;
  TfsCustomVariable* result = variable.get();
  AddEntry(name, std::move(variable));
  return result;
}

TfsCustomVariable* TfsScript::DeclareObject(const std::string& name, TfsHostObject& object) {
  return DeclareVariable(name, object.HostClass().Name(), fsObjectToVariant(&object));
}

TfsMethodHelper& TfsScript::AddFunction(std::unique_ptr<TfsMethodHelper> helper, const std::string& category,
                                        const std::string& description) {
  helper->Category = category;
  helper->Description = description.empty() ? helper->Name() : description;
  helper->HomeScript = this;
  TfsMethodHelper& result = *helper;
  AddEntry(result.Name(), std::move(helper));
  return result;
}

TfsMethodHelper& TfsScript::DeclareFunction(const std::string& declaration, TfsCallMethod call,
                                            const std::string& category, const std::string& description) {
  auto helper = std::make_unique<TfsMethodHelper>(declaration, this);
  helper->OnCall = std::move(call);
  return AddFunction(std::move(helper), category, description);
}

TfsMethodHelper& TfsScript::DeclareFunctionEx(const std::string& declaration, TfsCallMethodEx call,
                                              const std::string& category, const std::string& description) {
  auto helper = std::make_unique<TfsMethodHelper>(declaration, this);
  helper->OnCallEx = std::move(call);
  return AddFunction(std::move(helper), category, description);
}

void TfsScript::DeclareForm(TfsHostObject& form) {
  const TfsHostClass& hostClass = form.HostClass();
  TfsClassVariable* cls = FindClassSymbol(hostClass.Name());
  if (!cls) {
    const char* ancestor = hostClass.InheritsFrom("TForm")         ? "TForm"
                           : hostClass.InheritsFrom("TDataModule") ? "TDataModule"
                           : hostClass.InheritsFrom("TFrame")      ? "TFrame"
                                                                   : nullptr;
    if (!ancestor) return;
    cls = DeclareClass(hostClass, ancestor);
    if (!cls) return;
  }
  for (int i = 0; i < form.HostComponentCount(); ++i) {
    TfsHostObject* component = form.HostComponent(i);
    if (!component) continue;
    // A form declared again (a new instance of its class) points its members at the new components.
    auto* existing = dynamic_cast<TfsComponentHelper*>(cls->LookupMember(component->HostName()));
    if (existing)
      existing->SetComponent(*component);
    else
      cls->DeclareComponentMember(*component);
  }
  DeclareObject(form.HostName(), form);
}
