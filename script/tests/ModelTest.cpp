#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptHost.h"
#include "script/fs_iilparser.h"
#include "script/fs_iinterpreter.h"

namespace {

// A few host classes and objects of the kind a report hands to scripts.
const TfsHostClass kTObject("TObject", nullptr);
const TfsHostClass kTComponent("TComponent", &kTObject);
const TfsHostClass kTForm("TForm", &kTComponent);
const TfsHostClass kTfrxMemoView("TfrxMemoView", &kTComponent);
const TfsHostClass kTfrxDialogPage("TfrxDialogPage", &kTForm);

struct HostObject : TfsHostObject {
  HostObject(const TfsHostClass& cls, std::string name) : cls_(&cls), name_(std::move(name)) {}
  const TfsHostClass& HostClass() const override { return *cls_; }
  std::string HostName() const override { return name_; }
  int HostComponentCount() const override { return static_cast<int>(children.size()); }
  TfsHostObject* HostComponent(int i) const override { return children[static_cast<size_t>(i)]; }
  std::vector<TfsHostObject*> children;
  const TfsHostClass* cls_;
  std::string name_;
};

TEST(FsModel, TypeCodesAndNames) {
  const std::pair<ScriptType, const char*> names[] = {
      {stInteger, "Integer"}, {stBoolean, "Boolean"}, {stFloat, "Extended"}, {stChar, "Char"},
      {stString, "String"},   {stArray, "Array"},     {stVariant, "Variant"}, {stConstructor, "Variant"},
  };
  for (const auto& [code, name] : names) EXPECT_EQ(TypeCodeToName(code), name);
  EXPECT_EQ(TypeCodeToName(stClass, "TfrxMemoView"), "TfrxMemoView");
  EXPECT_EQ(TypeCodeToName(stEnum, "TAlign"), "TAlign");

  TfsScript script;
  DeclareTestTypes(script);
  EXPECT_EQ(TypeNameToCode("integer", &script), stInteger);
  EXPECT_EQ(TypeNameToCode("EXTENDED", &script), stFloat);
  EXPECT_EQ(TypeNameToCode("TNoSuchThing", &script), stClass);
  EXPECT_EQ(TypeNameToCode("", &script), stClass);
}

TEST(FsModel, SymbolTableFindsTheNewestCaseInsensitivelyThroughParents) {
  TfsScript parent, child;
  child.ParentScript = &parent;
  DeclareTestTypes(parent);
  EXPECT_EQ(child.FindSymbol("integer"), parent.FindSymbol("Integer"));
  EXPECT_EQ(child.FindLocalSymbol("Integer"), nullptr);

  auto first = std::make_unique<TfsVariable>("Suma", stInteger, "Integer");
  auto second = std::make_unique<TfsVariable>("SUMA", stFloat, "Extended");
  TfsCustomVariable* older = first.get();
  TfsCustomVariable* newer = second.get();
  child.AddEntry("Suma", std::move(first));
  child.AddEntry("SUMA", std::move(second));
  EXPECT_EQ(child.FindSymbol("suma"), newer);
  auto taken = child.RemoveEntry(newer);
  EXPECT_EQ(taken.get(), newer);
  EXPECT_EQ(child.FindSymbol("suma"), older);

  // a registration module is owned but never found
  child.AddEntry("", std::make_unique<TfsRTTIModule>(child));
  EXPECT_EQ(child.FindLocalSymbol(""), nullptr);
  EXPECT_EQ(child.FindClassSymbol("Suma"), nullptr);
}

TEST(FsModel, DeclarationsOfTypesConstantsVariablesAndEnums) {
  TfsScript script;
  DeclareTestTypes(script);
  TfsCustomVariable* vat = script.DeclareConstant("Vat", "Integer", Variant(int32_t{23}));
  EXPECT_EQ(script.DeclareConstant("VAT", "Integer", Variant(int32_t{8})), vat);  // not declared twice
  vat->WriteValue(Variant(int32_t{5}));
  EXPECT_EQ(vat->ReadValue().toInt32(), 23);  // constants are read-only

  script.DeclareEnum("TAlign", "alNone, alTop ,alBottom");
  script.DeclareEnumSet("TStyles", "fsBold, fsItalic, fsUnderline");
  struct Case {
    const char* name;
    int value;
    const char* type;
  };
  const Case cases[] = {{"alNone", 0, "TAlign"},  {"alTop", 1, "TAlign"},     {"alBottom", 2, "TAlign"},
                        {"fsBold", 1, "TStyles"}, {"fsItalic", 2, "TStyles"}, {"fsUnderline", 4, "TStyles"}};
  for (const Case& c : cases) {
    TfsCustomVariable* constant = script.FindSymbol(c.name);
    ASSERT_NE(constant, nullptr) << c.name;
    EXPECT_EQ(constant->ReadValue().toInt32(), c.value) << c.name;
    EXPECT_EQ(constant->TypeCode, stEnum);
    EXPECT_EQ(constant->DeclaredType, c.type);
    EXPECT_TRUE(constant->Locked);
  }
  EXPECT_EQ(script.FindSymbol("TAlign")->TypeCode, stEnum);

  TfsCustomVariable* n = script.DeclareVariable("Ilosc", "Integer", Variant(2.6));
  EXPECT_EQ(n->ReadValue().kind(), VarKind::Integer);  // stored in the declared type
  EXPECT_EQ(n->ReadValue().toInt32(), 3);
  n->WriteValue(Variant("12"));
  EXPECT_EQ(n->ReadValue().toInt32(), 12);
  EXPECT_THROW(n->WriteValue(Variant("dwa")), EVariantError);
  EXPECT_EQ(script.DeclareVariable("ilosc", "String", Variant("x")), n);
}

TEST(FsModel, ValueHookOverridesUnlessItAnswersNull) {
  TfsScript script;
  DeclareTestTypes(script);
  std::string asked;
  script.OnGetVarValue = [&](const std::string& name, ScriptType, const Variant&) {
    asked = name;
    return name == "Strona" ? Variant(int32_t{7}) : Variant::Null();
  };
  TfsCustomVariable* page = script.DeclareVariable("Strona", "Integer", Variant(int32_t{1}));
  TfsCustomVariable* copies = script.DeclareVariable("Kopie", "Integer", Variant(int32_t{2}));
  EXPECT_EQ(page->ReadValue().toInt32(), 7);
  EXPECT_EQ(copies->ReadValue().toInt32(), 2);
  EXPECT_EQ(asked, "Kopie");
}

TEST(FsModel, StringVariablesKeepText) {
  TfsStringVariable name("Nazwa", stString, "String");
  name.WriteValue(Variant(int32_t{42}));
  EXPECT_EQ(name.ReadValue().str(), "42");
  TfsStringVariable letter("Litera", stChar, "Char");
  letter.WriteValue(Variant("abc"));
  EXPECT_EQ(letter.ReadValue().str(), "a");
}

struct DeclarationCase {
  const char* text;
  const char* name;
  ScriptType type;
  bool macro;
  std::vector<std::string> params;  // "name:Type", "var " prefix, "=default" suffix when optional
};

std::string Describe(const TfsParamItem& p) {
  std::string out = (p.ByReference ? "var " : "") + p.Name() + ":" + p.DeclaredType;
  if (p.MayOmit) {
    const Variant& d = p.DefaultValue;
    out += "=";
    if (d.isNull()) out += "null";
    else if (d.isText()) out += "'" + d.str() + "'";
    else if (d.kind() == VarKind::Double) out += std::to_string(d.toDouble()).substr(0, 4);
    else out += std::to_string(d.toInt64()) + (d.kind() == VarKind::Int64 ? "L" : "");
  }
  return out;
}

TEST(FsModel, ParseDeclaration) {
  TfsScript script;
  DeclareTestTypes(script);
  script.DeclareConstant("MaxIlosc", "Integer", Variant(int32_t{99}));
  const DeclarationCase cases[] = {
      {"procedure Inc(var i: Integer; incr: Integer = 1)", "Inc", stClass, false, {"var i:Integer", "incr:Integer=1"}},
      {"function Copy(s: String; from, count: Integer): String", "Copy", stString, false,
       {"s:String", "from:Integer", "count:Integer"}},
      {"macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant", "IIF", stVariant, true,
       {"Expr:Boolean", "TrueValue:Variant", "FalseValue:Variant"}},
      {"function Format(const Fmt: String; Args: Variant = 'x'): String", "Format", stString, false,
       {"Fmt:String", "Args:Variant='x'"}},
      {"procedure Move(a, b: Integer = -3)", "Move", stClass, false, {"a:Integer", "b:Integer=-3"}},
      {"procedure Big(a: Variant = 5000000000)", "Big", stClass, false, {"a:Variant=5000000000L"}},
      {"procedure Real(a: Extended = 2.5)", "Real", stClass, false, {"a:Extended=2.50"}},
      {"procedure Limit(a: Integer = MaxIlosc; b: Integer = Nowhere)", "Limit", stClass, false,
       {"a:Integer=99", "b:Integer=null"}},
      {"function Now: Extended", "Now", stFloat, false, {}},
      {"procedure Broken(a: Integer; ", "Broken", stClass, false, {"a:Integer"}},
  };
  for (const DeclarationCase& c : cases) {
    auto entry = ParseDeclaration(c.text, &script);
    EXPECT_EQ(entry->Name(), c.name) << c.text;
    EXPECT_EQ(entry->TypeCode, c.type) << c.text;
    EXPECT_EQ(entry->SourceArgs, c.macro) << c.text;
    std::vector<std::string> params;
    for (int i = 0; i < entry->ParamCount(); ++i) params.push_back(Describe(entry->Param(i)));
    EXPECT_EQ(params, c.params) << c.text;
  }
}

TEST(FsModel, FunctionCallBacksOfBothFlavours) {
  TfsScript script;
  DeclareTestTypes(script);
  std::vector<Variant> seen;
  TfsMethodHelper& inc = script.DeclareFunction(
      "procedure Inc(var i: Integer; incr: Integer = 1)",
      [&](TfsHostObject* instance, const TfsHostClass* cls, const std::string& name, std::vector<Variant>& params) {
        EXPECT_EQ(instance, nullptr);
        EXPECT_EQ(cls, nullptr);
        EXPECT_EQ(name, "INC");
        seen = params;
        const Variant sum(params[0].toInt32() + params[1].toInt32());
        params[0] = sum;
        params[1] = Variant(int32_t{100});  // not a var parameter: not copied back
        return Variant();
      },
      "ctOther");
  EXPECT_EQ(inc.Description, "Inc");
  EXPECT_EQ(script.FindSymbol("inc"), &inc);
  inc.SetParam(0, Variant(int32_t{5}));
  inc.SetParam(1, Variant(int32_t{2}));
  inc.ReadValue();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(inc.GetParam(0).toInt32(), 7);
  EXPECT_EQ(inc.GetParam(1).toInt32(), 2);

  TfsMethodHelper& copy = script.DeclareFunctionEx(
      "function Copy(s: String; from, count: Integer): String",
      [](TfsHostObject*, const TfsHostClass*, const std::string&, TfsMethodHelper& caller) {
        std::string s = caller.GetParam(0).toString8();
        return Variant(s.substr(static_cast<size_t>(caller.GetParam(1).toInt32() - 1),
                                static_cast<size_t>(caller.GetParam(2).toInt32())));
      });
  copy.SetParam(0, Variant("Faktura"));
  copy.SetParam(1, Variant(int32_t{1}));
  copy.SetParam(2, Variant(int32_t{4}));
  EXPECT_EQ(copy.ReadValue().str(), "Fakt");

  TfsMethodHelper& silent = script.DeclareFunction("function Nic: Integer", nullptr);
  EXPECT_EQ(silent.ReadValue().toInt32(), 0);  // no call-back: 0
}

TEST(FsModel, ClassesMembersAndIndexedProperties) {
  TfsScript script;
  DeclareTestTypes(script);
  TfsClassVariable* component = script.DeclareClass(kTComponent, "TObject");
  ASSERT_NE(component, nullptr);
  EXPECT_EQ(script.DeclareClass(kTComponent, "TObject"), nullptr);  // registered once

  HostObject memo(kTfrxMemoView, "Memo1");
  std::vector<std::string> calls;
  component->DeclareDefaultProperty(
      "Items", "Integer", "String",
      [&](TfsHostObject* instance, const TfsHostClass* cls, const std::string& name, TfsMethodHelper& m) {
        EXPECT_EQ(instance, &memo);
        EXPECT_EQ(cls, &kTComponent);
        std::string call = name + " " + std::to_string(m.GetParam(0).toInt32());
        if (name == "ITEMS.SET") call += " " + m.GetParam(1).toString8();
        calls.push_back(call);
        return Variant("pozycja");
      });
  TfsPropertyHelper& visible = component->DeclareProperty(
      "Visible", "Boolean", [](TfsHostObject*, const TfsHostClass*, const std::string&) { return Variant(int32_t{0}); });
  EXPECT_TRUE(visible.Locked);  // no setter: read-only
  EXPECT_FALSE(visible.ReadValue().toBool());
  EXPECT_EQ(visible.ReadValue().kind(), VarKind::Boolean);

  TfsClassVariable* memoClass = script.DeclareClass(kTfrxMemoView, "TComponent");
  ASSERT_NE(memoClass, nullptr);
  EXPECT_EQ(memoClass->DefaultMember, component->DefaultMember);  // inherited default property
  auto* items = dynamic_cast<TfsMethodHelper*>(memoClass->LookupMember("items"));
  ASSERT_NE(items, nullptr);
  EXPECT_TRUE(items->IsIndexProperty);
  EXPECT_EQ(items->DeclarationText, "function Items(pInteger: Integer): String");
  EXPECT_EQ(memoClass->LookupMember("Nothing"), nullptr);

  items->OwnerInstance = fsObjectToVariant(&memo);
  items->SetParam(0, Variant(int32_t{3}));
  EXPECT_EQ(items->ReadValue().str(), "pozycja");
  items->WriteValue(Variant("nowa"));
  EXPECT_EQ(calls, (std::vector<std::string>{"ITEMS.GET 3", "ITEMS.SET 3 nowa"}));

  TfsMethodHelper& create = component->DeclareConstructor("constructor Create(AOwner: TComponent)", nullptr);
  EXPECT_EQ(create.DeclarationText, "function Create(AOwner: TComponent): Constructor");
  EXPECT_EQ(create.TypeCode, stConstructor);

  // Reading a class without a held value asks the host class for an instance.
  EXPECT_EQ(fsVariantToObject(component->ReadValue()), nullptr);
  component->Param(0).WriteValue(fsObjectToVariant(&memo));
  EXPECT_EQ(fsVariantToObject(component->ReadValue()), &memo);
  EXPECT_EQ(fsVariantToObject(component->ReadValue()), nullptr);  // reset after the read
}

TEST(FsModel, AncestorCyclesEndTheMemberLookUp) {
  const TfsHostClass a("TPetlaA", nullptr), b("TPetlaB", nullptr);
  TfsScript script;
  script.DeclareClass(a, "TPetlaB");
  script.DeclareClass(b, "TPetlaA")->DeclareProperty("Tag", "Integer", nullptr);
  EXPECT_NE(script.FindClassSymbol("TPetlaA")->LookupMember("Tag"), nullptr);
  EXPECT_EQ(script.FindClassSymbol("TPetlaA")->LookupMember("Brak"), nullptr);
}

TEST(FsModel, FormsDeclareTheirComponents) {
  TfsScript script;
  HostObject edit(kTfrxMemoView, "Edit1");
  HostObject dialog(kTfrxDialogPage, "DialogPage1");
  dialog.children = {&edit};
  script.DeclareForm(dialog);
  TfsClassVariable* cls = script.FindClassSymbol("TfrxDialogPage");
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(cls->AncestorName(), "TForm");
  ASSERT_NE(cls->LookupMember("Edit1"), nullptr);
  EXPECT_EQ(fsVariantToObject(cls->LookupMember("Edit1")->ReadValue()), &edit);
  EXPECT_EQ(fsVariantToObject(script.FindSymbol("DialogPage1")->ReadValue()), &dialog);

  HostObject other(kTfrxMemoView, "Memo1");  // not a form: nothing happens
  script.DeclareForm(other);
  EXPECT_EQ(script.FindSymbol("Memo1"), nullptr);
}

TEST(FsModel, EventsTakeScriptProceduresOnly) {
  TfsScript script;
  DeclareTestTypes(script);
  TfsClassVariable* cls = script.DeclareClass(kTComponent, "TObject");
  std::vector<std::string> hooks;
  TfsEventHelper& onClick = cls->DeclareEvent(
      "OnClick",
      [](TfsHostObject* instance, TfsProcVariable& handler) { return std::make_unique<TfsCustomEvent>(instance, handler); },
      [&](TfsHostObject*, const std::string& name, TfsCustomEvent* adapter) {
        hooks.push_back(name + (adapter ? " " + adapter->Handler().Name() : " cleared"));
      });
  onClick.HomeScript = &script;
  script.AddEntry("Kliknij", std::make_unique<TfsProcVariable>("Kliknij", stClass, "", script, false));
  script.DeclareVariable("Licznik", "Integer", Variant(int32_t{0}));

  onClick.WriteValue(Variant("Kliknij"));
  onClick.WriteValue(Variant("0"));
  EXPECT_EQ(hooks, (std::vector<std::string>{"OnClick Kliknij", "OnClick cleared"}));
  for (const char* bad : {"Licznik", "Brak"}) {
    try {
      onClick.WriteValue(Variant(bad));
      ADD_FAILURE() << bad;
    } catch (const EfsScriptError& e) {
      EXPECT_STREQ(e.what(), "Event handler must be a procedure");
    }
  }
}

TEST(FsModel, ProceduresOwnASubProgram) {
  TfsScript script;
  DeclareTestTypes(script);
  TfsProcVariable function("Brutto", stFloat, "Extended", script, true);
  EXPECT_TRUE(function.Locked);
  EXPECT_EQ(&function.Program().ParentScript[0], &script);
  ASSERT_NE(function.TargetEntry, nullptr);
  EXPECT_EQ(function.TargetEntry, function.Program().FindLocalSymbol("Result"));
  EXPECT_EQ(function.TargetEntry->TypeCode, stFloat);
  EXPECT_EQ(function.Program().FindSymbol("Integer"), script.FindSymbol("Integer"));
}

TEST(FsModel, OwnersClearingAndSystemModules) {
  static int modulesBuilt = 0;
  static bool registered = false;
  if (!registered) {
    fsRegisterRTTIModule([](TfsScript& script) {
      ++modulesBuilt;
      script.DeclareType("Integer", stInteger);
      return std::make_unique<TfsRTTIModule>(script);
    });
    registered = true;
  }
  TfsScript script;
  script.AddSystemModules();
  script.AddSystemModules();  // only once
  EXPECT_EQ(modulesBuilt, 1);
  EXPECT_TRUE(script.SystemModulesAdded);
  EXPECT_EQ(script.FindSymbol("Integer")->OwnerTag, fsSystemOwner);

  int report = 0;
  script.CurrentOwner = fsOwnerTagOf(&report);
  script.DeclareVariable("Value", "Variant", Variant::Null());
  script.CurrentOwner = fsNoOwner;
  script.DeclareVariable("Tymczasowa", "Integer", Variant(int32_t{1}));
  script.NoteStatementLine("", "12:5");
  script.NoteStatementLine("", "3:1");
  script.NoteStatementLine("", "12:9");
  EXPECT_TRUE(script.LineHasStatement(12, ""));
  EXPECT_TRUE(script.LineHasStatement(3, ""));
  EXPECT_FALSE(script.LineHasStatement(4, ""));
  EXPECT_FALSE(script.LineHasStatement(12, "unit.pas"));

  script.ClearOwnedItems(fsOwnerTagOf(&report));
  EXPECT_EQ(script.FindSymbol("Value"), nullptr);
  EXPECT_NE(script.FindSymbol("Tymczasowa"), nullptr);
  EXPECT_FALSE(script.LineHasStatement(12, ""));

  script.ErrorMessage = "old";
  script.ClearProgram();
  EXPECT_EQ(script.FindSymbol("Tymczasowa"), nullptr);
  EXPECT_NE(script.FindSymbol("Integer"), nullptr);  // registration entries stay
  EXPECT_EQ(script.ErrorMessage, "");

  script.RemoveSystemModules();
  EXPECT_EQ(script.FindSymbol("Integer"), nullptr);
  EXPECT_EQ(script.EntryCount(), 0);
}

TEST(FsModel, TerminateReachesEveryProcedure) {
  TfsScript script;
  auto procedure = std::make_unique<TfsProcVariable>("Licz", stClass, "", script, false);
  TfsProcVariable* licz = procedure.get();
  script.AddEntry("Licz", std::move(procedure));
  script.TerminateScript();
  EXPECT_TRUE(script.StopRequested && script.ExitPending);
  EXPECT_TRUE(licz->Program().StopRequested && licz->Program().ExitPending);
}

TEST(FsModel, RunLineGoesToTheFirstScriptWithAHandler) {
  TfsScript main, procedure;
  procedure.ParentScript = &main;
  std::string seen;
  main.OnRunLine = [&](TfsScript& script, const std::string& unit, const std::string& position) {
    seen = (&script == &procedure ? "procedure " : "main ") + unit + " " + position;
  };
  procedure.ReportRunLine("", "4:3");
  EXPECT_EQ(seen, "procedure  4:3");
}

TEST(FsModel, SetScriptVariableDeclaresWhatIsMissing) {
  TfsScript script;
  DeclareTestTypes(script);
  script.SetScriptVariable("ExceptionMessage", Variant("Dzielenie przez zero"));
  ASSERT_NE(script.FindSymbol("ExceptionMessage"), nullptr);
  EXPECT_EQ(script.FindSymbol("ExceptionMessage")->ReadValue().str(), "Dzielenie przez zero");
  script.SetScriptVariable("exceptionmessage", Variant("inne"));
  EXPECT_EQ(script.FindSymbol("ExceptionMessage")->ReadValue().str(), "inne");
}

// Records what the next pass receives.
struct RecordingBuilder : TfsProgramBuilder {
  void ILToProgram(TfsScript& script, TfsILParser& parser, const TfsXMLItem& program) override {
    calls.push_back(program.Name() + " " + std::to_string(program.Count()) + " " + parser.LanguageName());
    if (failWith) throw EfsScriptError(failWith, "2:7", "");
  }
  std::vector<std::string> calls;
  const char* failWith = nullptr;
};

TEST(FsModel, CompileScriptHandsTheILToTheProgramBuilder) {
  RecordingBuilder builder;
  fsSetProgramBuilder(&builder);
  TfsScript script;
  script.Lines = {"var a: Integer;", "begin", "  a := 1", "end."};
  EXPECT_TRUE(script.CompileScript());
  EXPECT_EQ(builder.calls, (std::vector<std::string>{"program 3 PascalScript"}));

  builder.failWith = "Undeclared identifier: 'b'";
  EXPECT_FALSE(script.CompileScript());
  EXPECT_EQ(script.ErrorMessage, "Undeclared identifier: 'b'");
  EXPECT_EQ(script.ErrorPosition, "2:7");

  builder.calls.clear();
  script.Lines = {"begin", "  a := ", "end."};
  EXPECT_FALSE(script.CompileScript());
  EXPECT_TRUE(builder.calls.empty());  // syntax errors stop before the next pass
  EXPECT_EQ(script.ErrorMessage, "Expression expected");
  EXPECT_EQ(script.ErrorPosition, "3:1");
  fsSetProgramBuilder(nullptr);
}

TEST(FsModel, CompileScriptReportsEveryFailure) {
  struct Case {
    const char* language;
    std::vector<std::string> lines;
    bool ok;
    const char* message;
    const char* position;
  };
  const Case cases[] = {
      {"PascalScript", {"begin end."}, true, "", ""},
      {"BasicScript", {}, true, "", ""},  // an empty program
      {"BasicScript", {"' only a comment", ""}, true, "", ""},
      {"BasicScript", {"x = 1", "@@@"}, true, "", ""},  // text after the program is not examined
      {"BasicScript", {"@@@"}, false, "Syntax error", "1:1"},
      {"BasicScript", {"If a Then", "  x = 1"}, false, "'END' expected", "3:1"},
      {"Cobol", {"begin end."}, false, "Language 'Cobol' not found", ""},
      {"PascalScript", {"uses 'brak_takiego_pliku.pas';", "begin end."}, false,
       "Cannot open file \"brak_takiego_pliku.pas\"", "1:30"},
  };
  for (const Case& c : cases) {
    TfsScript script;
    script.SyntaxType = c.language;
    script.Lines = c.lines;
    EXPECT_EQ(script.CompileScript(), c.ok) << c.language << " " << (c.lines.empty() ? "" : c.lines[0]);
    EXPECT_EQ(script.ErrorMessage, c.message);
    EXPECT_EQ(script.ErrorPosition, c.position);
  }
}

}  // namespace
