// Report-side classes of scripts that are no published classes: the report's own members,
// variables, styles, arrays, the engine, the outline and wide line lists.
#include <cmath>

#include "engine/frxEngine.h"
#include "frxClassRTTI_private.h"
#include "fs_isysrtti_args.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassReport.h"
#include "report/frxClassStyles.h"
#include "report/frxVariables.h"
#include "script/fs_iclassesrtti.h"
#include "script/fs_iexpression.h"
#include "text/frxUnicodeUtils.h"

using fs_sysrtti::IntArg;
using fs_sysrtti::TextArg;
using frx_rtti::PersistentOf;
using frx_rtti::TargetOf;

namespace {

using H = TfsHostObject;
using C = const TfsHostClass;
using A = TfsMethodHelper;

// --- variables and arrays -----------------------------------------------------------------

// A variables list reached through TCollection's members too.
class TVariablesRef final : public TfrxScriptRefTo<TfrxVariables>, public TfsCollectionObject {
 public:
  TVariablesRef(TfrxVariables& target, TComponent* anchor)
      : TfrxScriptRefTo<TfrxVariables>(fsHostClass("TfrxVariables"), target, anchor) {}
  int CollectionCount() const override { return Target().Count(); }
  Variant CollectionItem(int index) override { return frxScriptValue(&Target().Items(index), Anchor()); }
  void CollectionClear() override { Target().Clear(); }
};

// A list that a script made with TfrxVariables.Create: it owns its variables.
class TScriptVariables final : public TfsScriptObject {
 public:
  TScriptVariables() : TfsScriptObject(fsHostClass("TfrxVariables")), ref_(variables_, nullptr) {}
  TVariablesRef& Ref() { return ref_; }

 private:
  TfrxVariables variables_;
  TVariablesRef ref_;
};

TfrxVariables& Variables(H* i, const std::string& m) {
  if (auto* made = dynamic_cast<TScriptVariables*>(i)) return made->Ref().Target();
  return TargetOf<TfrxVariables>(i, m, "TfrxVariables");
}

Variant VariablesValue(TfrxVariables& variables, TComponent* anchor) {
  return fsObjectToVariant(&frx_rtti::Keep(&variables, "TfrxVariables", anchor, [&]() -> std::unique_ptr<TfsHostObject> {
    return std::make_unique<TVariablesRef>(variables, anchor);
  }));
}

void DeclareVariables(TfsScript& s) {
  TfsClassVariable& cls = fsDeclareClass(s, "TfrxVariables", "TCollection", [] { return new TScriptVariables(); });
  cls.DeclareConstructor("constructor Create", [](H* i, C*, const std::string&, A&) { return fsObjectToVariant(i); });
  cls.DeclareDefaultProperty("Variables", "String", "Variant", [](H* i, C*, const std::string& m, A& a) {
    TfrxVariables& v = Variables(i, m);
    if (m == "VARIABLES.SET") {
      v.Set(TextArg(a, 0), a.GetParam(1));
      return Variant();
    }
    return v.IndexOf(TextArg(a, 0)) < 0 ? Variant::Null() : v.Get(TextArg(a, 0));
  });
  s.DeclareObject("frxGlobalVariables", *fsVariantToObject(VariablesValue(frxGlobalVariables(), nullptr)));
}

// Name-value items of a TfrxArray.
class TScriptArray final : public TfsScriptObject {
 public:
  TScriptArray() : TfsScriptObject(fsHostClass("TfrxArray")) {}
  std::vector<std::pair<std::string, Variant>> Items;
  std::pair<std::string, Variant>* Find(const std::string& key) {
    for (auto& item : Items)
      if (frxSameText(item.first, key)) return &item;
    return nullptr;
  }
};

void DeclareArray(TfsScript& s) {
  TfsClassVariable& cls = fsDeclareClass(s, "TfrxArray", "TCollection", [] { return new TScriptArray(); });
  cls.DeclareConstructor("constructor Create", [](H* i, C*, const std::string&, A&) { return fsObjectToVariant(i); });
  cls.DeclareDefaultProperty("Variables", "Variant", "Variant", [](H* i, C*, const std::string& m, A& a) {
    auto& array = fsInstanceOf<TScriptArray>(i, m, "TfrxArray");
    const std::string key = fsVarToText(a.GetParam(0));
    auto* item = array.Find(key);
    if (m != "VARIABLES.SET") return item ? item->second : Variant::Null();
    if (item)
      item->second = a.GetParam(1);
    else
      array.Items.emplace_back(key, a.GetParam(1));
    return Variant();
  });
}

// --- styles -----------------------------------------------------------------------------

class TStylesRef final : public TfrxScriptRefTo<TfrxStyles>, public TfsCollectionObject {
 public:
  TStylesRef(TfrxStyles& target, TComponent* anchor) : TfrxScriptRefTo<TfrxStyles>(fsHostClass("TfrxStyles"), target, anchor) {}
  int CollectionCount() const override { return Target().Count(); }
  Variant CollectionItem(int index) override { return frxScriptValue(&Target().Items(index), Anchor()); }
  void CollectionClear() override { Target().Clear(); }
};

// A style list a script made with TfrxStyles.Create: it owns its styles.
class TScriptStyles final : public TfsScriptObject {
 public:
  explicit TScriptStyles(TfrxComponent* report)
      : TfsScriptObject(fsHostClass("TfrxStyles")), styles_(report), ref_(styles_, nullptr) {}
  TStylesRef& Ref() { return ref_; }

 private:
  TfrxStyles styles_;
  TStylesRef ref_;
};

// What TfrxStyles.Create reads before its constructor names the report.
class TPendingStyles final : public TfsScriptObject {
 public:
  TPendingStyles() : TfsScriptObject(fsHostClass("TfrxStyles")) {}
};

TfrxStyles& Styles(H* i, const std::string& m) {
  if (auto* made = dynamic_cast<TScriptStyles*>(i)) return made->Ref().Target();
  return TargetOf<TfrxStyles>(i, m, "TfrxStyles");
}

TComponent* StylesAnchor(H* i) { return dynamic_cast<TScriptStyles*>(i) ? nullptr : frx_rtti::AnchorOf(i); }

// Load errors of a style file are the script's errors.
void RaiseLoadErrors(const std::vector<std::string>& errors) {
  if (errors.empty()) return;
  std::string text;
  for (const std::string& e : errors) text += (text.empty() ? "" : "; ") + e;
  throw EfsScriptError(text);
}

Variant StylesValue(TfrxStyles& styles, TComponent* anchor) {
  return fsObjectToVariant(&frx_rtti::Keep(&styles, "TfrxStyles", anchor, [&]() -> std::unique_ptr<TfsHostObject> {
    return std::make_unique<TStylesRef>(styles, anchor);
  }));
}

void DeclareStyles(TfsScript& s) {
  TfsClassVariable& cls = fsDeclareClass(s, "TfrxStyles", "TCollection", [] { return new TPendingStyles(); });
  cls.DeclareConstructor("constructor Create(AReport: TfrxReport)", [](H* i, C*, const std::string&, A& a) {
    auto* made = new TScriptStyles(frx_rtti::ComponentArg(a, 0));
    delete dynamic_cast<TPendingStyles*>(i);
    return fsObjectToVariant(made);
  });
  cls.DeclareDefaultProperty(
      "Items", "Integer", "TfrxStyleItem",
      [](H* i, C*, const std::string& m, A& a) {
        TfrxStyles& styles = Styles(i, m);
        int index = IntArg(a, 0);
        if (index < 0 || index >= styles.Count()) fsListIndexError(index);
        return frxScriptValue(&styles.Items(index), StylesAnchor(i));
      },
      true);
  cls.DeclareMethod("function Add: TfrxStyleItem", [](H* i, C*, const std::string& m, A&) {
    return frxScriptValue(&Styles(i, m).Add(), StylesAnchor(i));
  });
  cls.DeclareMethod("function Find(const Name: String): TfrxStyleItem", [](H* i, C*, const std::string& m, A& a) {
    return frxScriptValue(Styles(i, m).Find(TextArg(a, 0)), StylesAnchor(i));
  });
  cls.DeclareMethod("procedure Apply", [](H* i, C*, const std::string& m, A&) {
    Styles(i, m).ApplyStyles();
    return Variant();
  });
  cls.DeclareMethod("procedure GetList(List: TStrings)", [](H* i, C*, const std::string& m, A& a) {
    fsStringsArg(a, 0, m).SetLines(Styles(i, m).GetList());
    return Variant();
  });
  cls.DeclareMethod("procedure LoadFromFile(const FileName: String)", [](H* i, C*, const std::string& m, A& a) {
    RaiseLoadErrors(Styles(i, m).LoadFromFile(TextArg(a, 0)));
    return Variant();
  });
  cls.DeclareMethod("procedure LoadFromStream(Stream: TStream)", [](H* i, C*, const std::string& m, A& a) {
    RaiseLoadErrors(Styles(i, m).LoadFromStream(fsStreamArg(a, 0, m)));
    return Variant();
  });
  cls.DeclareMethod("procedure SaveToFile(const FileName: String)", [](H* i, C*, const std::string& m, A& a) {
    Styles(i, m).SaveToFile(TextArg(a, 0));
    return Variant();
  });
  cls.DeclareMethod("procedure SaveToStream(Stream: TStream)", [](H* i, C*, const std::string& m, A& a) {
    Styles(i, m).SaveToStream(fsStreamArg(a, 0, m));
    return Variant();
  });
}

// --- the report ---------------------------------------------------------------------------

TfrxReport& Report(H* i, const std::string& m) { return PersistentOf<TfrxReport>(i, m, "TfrxReport"); }

}  // namespace

namespace frx_rtti {

void DeclareReport(TfsClassVariable& cls) {
  cls.DeclareMethod("function Calc(const Expr: String): Variant",
                    [](H* i, C*, const std::string& m, A& a) { return Report(i, m).Calc(TextArg(a, 0), true); });
  cls.DeclareMethod("function GetDataset(const Alias: String): TfrxDataset", [](H* i, C*, const std::string& m, A& a) {
    return frxScriptValue(Report(i, m).GetDataset(TextArg(a, 0)));
  });
  cls.DeclareMethod("function LoadFromFile(const FileName: String): Boolean", [](H* i, C*, const std::string& m, A& a) {
    TfrxReport& report = Report(i, m);
    frx_rtti::CheckNotRunning(report, m);
    try {
      return Variant(report.LoadFromFile(TextArg(a, 0)));
    } catch (const std::exception&) {
      return Variant(false);
    }
  });
  cls.DeclareMethod("procedure SaveToFile(const FileName: String)", [](H* i, C*, const std::string& m, A& a) {
    Report(i, m).SaveToFile(TextArg(a, 0));
    return Variant();
  });
  cls.DeclareMethod("procedure ShowReport", [](H* i, C*, const std::string& m, A&) {
    TfrxReport& report = Report(i, m);
    // The report running this script cannot start again from inside its own run.
    frx_rtti::CheckNotRunning(report, m);
    report.ShowReport(true);
    return Variant();
  });
  cls.DeclareProperty(
      "Terminated", "Boolean", [](H* i, C*, const std::string& m) { return Variant(Report(i, m).Terminated()); },
      [](H* i, C*, const Variant& v, const std::string& m) { Report(i, m).SetTerminated(fsVarToBoolean(v)); });
  cls.DeclareProperty("Variables", "TfrxVariables", [](H* i, C*, const std::string& m) {
    TfrxReport& report = Report(i, m);
    return VariablesValue(report.Variables(), &report);
  });
  cls.DeclareProperty("Styles", "TfrxStyles", [](H* i, C*, const std::string& m) {
    TfrxReport& report = Report(i, m);
    return StylesValue(report.Styles(), &report);
  });
}

}  // namespace frx_rtti

// --- the engine and the outline ------------------------------------------------------------

namespace {

TfrxCustomEngine& Engine(H* i, const std::string& m) { return TargetOf<TfrxCustomEngine>(i, m, "TfrxCustomEngine"); }

// Output goes onto the page being built: there is none before the run has opened one.
bool BuildingPage(const TfrxReportEngine* engine) {
  if (!engine || !engine->Running()) return false;
  auto* pages = dynamic_cast<const TfrxEngine*>(engine);
  return !pages || pages->CurrentReportPage();
}

[[noreturn]] void NotBuilding(const std::string& m) {
  throw EfsScriptError("The report engine is not building a page: '" + m + "'");
}

// The engine, for members that place output.
TfrxCustomEngine& PlacingEngine(H* i, const std::string& m) {
  TfrxCustomEngine& engine = Engine(i, m);
  if (!BuildingPage(&engine)) NotBuilding(m);
  return engine;
}

void DeclareEngineState(TfsClassVariable& cls) {
  using E = TfrxCustomEngine;
  struct Float {
    const char* name;
    double (E::*get)() const;
    void (E::*set)(double);
  };
  const Float floats[] = {{"CurX", &E::CurX, &E::SetCurX},
                          {"CurY", &E::CurY, &E::SetCurY},
                          {"PageHeight", &E::PageHeight, nullptr},
                          {"PageWidth", &E::PageWidth, nullptr},
                          {"StartDate", &E::StartDate, nullptr},
                          {"StartTime", &E::StartTime, nullptr}};
  for (const Float& f : floats) {
    auto get = f.get;
    auto set = f.set;
    cls.DeclareProperty(
        f.name, "Extended", [get](H* i, C*, const std::string& m) { return Variant((Engine(i, m).*get)()); },
        set ? TfsSetValue([set](H* i, C*, const Variant& v, const std::string& m) { (Engine(i, m).*set)(fsVarToFloat(v)); })
            : TfsSetValue());
  }
  cls.DeclareProperty(
      "CurColumn", "Integer", [](H* i, C*, const std::string& m) { return Variant(int32_t{Engine(i, m).CurColumn()}); },
      [](H* i, C*, const Variant& v, const std::string& m) { Engine(i, m).SetCurColumn(fsVarToInteger(v)); });
  cls.DeclareProperty(
      "CurVColumn", "Integer", [](H* i, C*, const std::string& m) { return Variant(int32_t{Engine(i, m).CurVColumn()}); },
      [](H* i, C*, const Variant& v, const std::string& m) { Engine(i, m).SetCurVColumn(fsVarToInteger(v)); });
  cls.DeclareProperty("TotalPages", "Integer",
                      [](H* i, C*, const std::string& m) { return Variant(int32_t{Engine(i, m).TotalPages()}); });
  cls.DeclareProperty("DoublePass", "Boolean", [](H* i, C*, const std::string& m) { return Variant(Engine(i, m).DoublePass()); });
  cls.DeclareProperty("FinalPass", "Boolean", [](H* i, C*, const std::string& m) { return Variant(Engine(i, m).FinalPass()); });
  cls.DeclareProperty("SecondScriptCall", "Boolean",
                      [](H* i, C*, const std::string& m) { return Variant(Engine(i, m).SecondScriptCall()); });
}

void DeclareEngine(TfsScript& s) {
  TfsClassVariable& cls = fsDeclareClass(s, "TfrxCustomEngine", "TPersistent");
  cls.DeclareMethod("procedure AddAnchor(const Text: String)", [](H* i, C*, const std::string& m, A& a) {
    PlacingEngine(i, m).AddAnchor(TextArg(a, 0));
    return Variant();
  });
  cls.DeclareMethod("procedure NewPage", [](H* i, C*, const std::string& m, A&) {
    PlacingEngine(i, m).NewPage();
    return Variant();
  });
  cls.DeclareMethod("procedure NewColumn", [](H* i, C*, const std::string& m, A&) {
    PlacingEngine(i, m).NewColumn();
    return Variant();
  });
  cls.DeclareMethod("procedure ShowBand(Band: TfrxBand)", [](H* i, C*, const std::string& m, A& a) {
    auto* band = dynamic_cast<TfrxBand*>(frx_rtti::ComponentArg(a, 0));
    if (!band) fs_hostclasses::NoInstance(m, "TfrxBand");
    PlacingEngine(i, m).ShowBand(band);
    return Variant();
  });
  cls.DeclareMethod("procedure StopReport", [](H* i, C*, const std::string& m, A&) {
    Engine(i, m).StopReport();
    return Variant();
  });
  cls.DeclareMethod("function FreeSpace: Extended", [](H* i, C*, const std::string& m, A&) {
    return Variant(Engine(i, m).FreeSpace());
  });
  cls.DeclareMethod("function GetAnchorPage(const Text: String): Integer", [](H* i, C*, const std::string& m, A& a) {
    return Variant(int32_t{Engine(i, m).GetAnchorPage(TextArg(a, 0))});
  });
  DeclareEngineState(cls);
  fsDeclareClass(s, "TfrxEngine", "TfrxCustomEngine");
}

void DeclareOutline(TfsScript& s) {
  TfsClassVariable& cls = fsDeclareClass(s, "TfrxCustomOutline", "TPersistent");
  auto outline = [](H* i, const std::string& m) -> TfrxCustomOutline& {
    return TargetOf<TfrxCustomOutline>(i, m, "TfrxCustomOutline");
  };
  cls.DeclareMethod("procedure AddItem(const Text: String)", [outline](H* i, C*, const std::string& m, A& a) {
    auto* report = dynamic_cast<TfrxReport*>(frx_rtti::AnchorOf(i));
    if (!report || !BuildingPage(report->Engine())) NotBuilding(m);
    outline(i, m).AddItem(TextArg(a, 0), static_cast<int>(std::lround(report->Engine()->CurY())));
    return Variant();
  });
  cls.DeclareMethod("procedure LevelRoot", [outline](H* i, C*, const std::string& m, A&) {
    outline(i, m).LevelRoot();
    return Variant();
  });
  cls.DeclareMethod("procedure LevelUp", [outline](H* i, C*, const std::string& m, A&) {
    outline(i, m).LevelUp();
    return Variant();
  });
  fsDeclareClass(s, "TfrxOutline", "TfrxCustomOutline");
}

// --- wide line lists --------------------------------------------------------------------------

TWideStrings& Lines(H* i, const std::string& m) { return TargetOf<TWideStrings>(i, m, "TWideStrings"); }

// A list a script made with TWideStrings.Create.
class TScriptWideStrings final : public TfrxScriptRefTo<TWideStrings> {
 public:
  TScriptWideStrings() : TfrxScriptRefTo<TWideStrings>(fsHostClass("TWideStrings"), lines_, nullptr) {}

 private:
  TWideStrings lines_;
};

std::u16string WideArg(const A& a, int index) {
  const Variant v = a.GetParam(index);
  return v.isText() ? v.toWide() : Variant(fsVarToText(v)).toWide();
}

void DeclareWideStrings(TfsScript& s) {
  // Declared for scripts that already know TPersistent (the classes module's).
  if (!s.FindClassSymbol("TPersistent")) return;
  TfsClassVariable& cls = fsDeclareClass(s, "TWideStrings", "TPersistent", [] { return new TScriptWideStrings(); });
  cls.DeclareConstructor("constructor Create", [](H* i, C*, const std::string&, A&) { return fsObjectToVariant(i); });
  cls.DeclareMethod("function Add(const S: string): Integer",
                    [](H* i, C*, const std::string& m, A& a) { return Variant(int32_t{Lines(i, m).Add(WideArg(a, 0))}); });
  // Line objects are not kept: the lines carry flags instead.
  cls.DeclareMethod("function AddObject(const S: string; AObject: TObject): Integer",
                    [](H* i, C*, const std::string& m, A& a) { return Variant(int32_t{Lines(i, m).Add(WideArg(a, 0))}); });
  cls.DeclareMethod("procedure Clear", [](H* i, C*, const std::string& m, A&) {
    Lines(i, m).Clear();
    return Variant();
  });
  cls.DeclareMethod("procedure Delete(Index: Integer)", [](H* i, C*, const std::string& m, A& a) {
    Lines(i, m).Delete(IntArg(a, 0));
    return Variant();
  });
  cls.DeclareMethod("function IndexOf(const S: string): Integer",
                    [](H* i, C*, const std::string& m, A& a) { return Variant(int32_t{Lines(i, m).IndexOf(WideArg(a, 0))}); });
  cls.DeclareMethod("procedure Insert(Index: Integer; const S: string)", [](H* i, C*, const std::string& m, A& a) {
    Lines(i, m).Insert(IntArg(a, 0), WideArg(a, 1));
    return Variant();
  });
  cls.DeclareMethod("procedure LoadFromFile(const FileName: string)", [](H* i, C*, const std::string& m, A& a) {
    Lines(i, m).LoadFromFile(TextArg(a, 0));
    return Variant();
  });
  cls.DeclareMethod("procedure LoadFromStream(Stream: TStream)", [](H* i, C*, const std::string& m, A& a) {
    Lines(i, m).LoadFromStream(fsStreamArg(a, 0, m));
    return Variant();
  });
  cls.DeclareMethod("procedure SaveToFile(const FileName: string)", [](H* i, C*, const std::string& m, A& a) {
    Lines(i, m).SaveToFile(TextArg(a, 0));
    return Variant();
  });
  cls.DeclareMethod("procedure SaveToStream(Stream: TStream)", [](H* i, C*, const std::string& m, A& a) {
    Lines(i, m).SaveToStream(fsStreamArg(a, 0, m));
    return Variant();
  });
  cls.DeclareProperty("Count", "Integer", [](H* i, C*, const std::string& m) { return Variant(int32_t{Lines(i, m).Count()}); });
  cls.DeclareIndexProperty("Objects", "Integer", "TObject", [](H* i, C*, const std::string& m, A& a) {
    Lines(i, m).Strings(IntArg(a, 0));  // the index is checked like a line's
    return Variant(int32_t{0});
  });
  cls.DeclareDefaultProperty("Strings", "Integer", "String", [](H* i, C*, const std::string& m, A& a) {
    TWideStrings& lines = Lines(i, m);
    if (m == "STRINGS.SET") {
      lines.SetStrings(IntArg(a, 0), WideArg(a, 1));
      return Variant();
    }
    return Variant(lines.Strings(IntArg(a, 0)));
  });
  cls.DeclareProperty(
      "Text", "String", [](H* i, C*, const std::string& m) { return Variant(Lines(i, m).Text()); },
      [](H* i, C*, const Variant& v, const std::string& m) {
        Lines(i, m).SetText(v.isText() ? v.toWide() : Variant(fsVarToText(v)).toWide());
      });
}

}  // namespace

namespace frx_rtti {
void DeclareReportSideClasses(TfsScript& script) {
  DeclareWideStrings(script);
  DeclareVariables(script);
  DeclareStyles(script);
  DeclareArray(script);
  DeclareEngine(script);
  DeclareOutline(script);
}
}  // namespace frx_rtti

Variant frxScriptEngineValue(TfrxReport& report) {
  auto* engine = dynamic_cast<TfrxCustomEngine*>(report.Engine());
  if (!engine) return Variant(int32_t{0});
  return fsObjectToVariant(&frx_rtti::Keep(engine, "TfrxEngine", &report, [&]() -> std::unique_ptr<TfsHostObject> {
    return std::make_unique<TfrxScriptRefTo<TfrxCustomEngine>>(fsHostClass("TfrxEngine"), *engine, &report);
  }));
}

Variant frxScriptOutlineValue(TfrxReport& report) {
  TfrxPreviewPages* pages = frxPreviewPagesOf(report);
  if (!pages) return Variant(int32_t{0});
  TfrxCustomOutline* outline = &pages->Outline();
  return fsObjectToVariant(&frx_rtti::Keep(outline, "TfrxOutline", &report, [&]() -> std::unique_ptr<TfsHostObject> {
    return std::make_unique<TfrxScriptRefTo<TfrxCustomOutline>>(fsHostClass("TfrxOutline"), *outline, &report);
  }));
}
