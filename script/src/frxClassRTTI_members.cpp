// Members the report classes get by hand, beside their published properties.
#include <map>

#include "frxClassRTTI_private.h"
#include "fs_isysrtti_args.h"
#include "platform/Stream.h"
#include "report/frxClassBand.h"
#include "report/frxClassDataSet.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassPicture.h"
#include "report/frxClassView.h"
#include "script/fs_iclassesrtti.h"
#include "script/fs_iexpression.h"
#include "text/frxUnicodeUtils.h"

using fs_sysrtti::BoolArg;
using fs_sysrtti::FloatArg;
using fs_sysrtti::TextArg;
using frx_rtti::PersistentOf;

namespace {

using H = TfsHostObject;
using C = const TfsHostClass;
using A = TfsMethodHelper;

TfrxComponent& Component(H* i, const std::string& m) { return PersistentOf<TfrxComponent>(i, m, "TfrxComponent"); }

// A component's list of objects, kept with the component and filled anew at each read.
Variant ObjectList(TfrxComponent& component, const char* kind, const std::vector<TfrxComponent*>& objects) {
  auto& list = static_cast<TfsList&>(frx_rtti::Keep(&component, kind, &component, [] {
    auto made = std::make_unique<TfsList>();
    made->OwnedByScript = false;
    return made;
  }));
  list.Items.clear();
  for (TfrxComponent* object : objects) list.Items.push_back(frxScriptValue(object));
  return fsObjectToVariant(&list);
}

void DeclareComponent(TfsClassVariable& cls) {
  // "TfrxMemoView.Create(Band1)": the class's factory makes the object as the owner's child.
  cls.DeclareConstructor("constructor Create(AOwner: TComponent)", [](H* i, C*, const std::string& m, A& a) {
    // What the class read before this call; it ends here whatever happens.
    std::unique_ptr<frx_rtti::TPendingComponent> pending(dynamic_cast<frx_rtti::TPendingComponent*>(i));
    const TfrxClassInfo* info = pending ? frxFindClass(pending->HostClass().Name()) : nullptr;
    if (!info || !info->Factory()) throw EfsScriptError("Cannot create an object of this class: '" + m + "'");
    TfrxComponent* owner = frx_rtti::ComponentArg(a, 0);
    // An object without an owner would belong to nobody.
    if (!owner) throw EfsScriptError("A report object needs an owner: '" + m + "'");
    frx_rtti::CheckTreeMayChange(*owner, m);
    return frxScriptValue(info->Factory()(owner));
  });
  cls.DeclareProperty("Owner", "TComponent",
                      [](H* i, C*, const std::string& m) { return frxScriptValue(Component(i, m).Owner()); });
  cls.DeclareMethod("procedure Clear", [](H* i, C*, const std::string& m, A&) {
    TfrxComponent& c = Component(i, m);
    frx_rtti::CheckNotRunning(c, m);
    c.Clear();
    return Variant();
  });
  cls.DeclareMethod("function FindObject(s: String): TfrxComponent", [](H* i, C*, const std::string& m, A& a) {
    return frxScriptValue(Component(i, m).FindObject(TextArg(a, 0)));
  });
  cls.DeclareMethod("procedure LoadFromStream(Stream: TStream)", [](H* i, C*, const std::string& m, A& a) {
    TfrxComponent& c = Component(i, m);
    frx_rtti::CheckNotRunning(c, m);
    c.LoadFromStream(fsStreamArg(a, 0, m));
    return Variant();
  });
  cls.DeclareMethod("procedure SaveToStream(Stream: TStream; SaveChildren: Boolean = True)",
                    [](H* i, C*, const std::string& m, A& a) {
                      Component(i, m).SaveToStream(fsStreamArg(a, 0, m), BoolArg(a, 1));
                      return Variant();
                    });
  cls.DeclareMethod("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Extended)", [](H* i, C*, const std::string& m, A& a) {
    Component(i, m).SetBounds(FloatArg(a, 0), FloatArg(a, 1), FloatArg(a, 2), FloatArg(a, 3));
    return Variant();
  });
  cls.DeclareProperty("Objects", "TList", [](H* i, C*, const std::string& m) {
    TfrxComponent& c = Component(i, m);
    return ObjectList(c, "Objects", c.Objects());
  });
  cls.DeclareProperty("AllObjects", "TList", [](H* i, C*, const std::string& m) {
    TfrxComponent& c = Component(i, m);
    return ObjectList(c, "AllObjects", c.AllObjects());
  });
  cls.DeclareProperty(
      "Parent", "TfrxComponent", [](H* i, C*, const std::string& m) { return frxScriptValue(Component(i, m).Parent()); },
      [](H* i, C*, const Variant& v, const std::string& m) {
        TfrxComponent& c = Component(i, m);
        frx_rtti::CheckTreeMayChange(c, m);
        c.SetParent(dynamic_cast<TfrxComponent*>(frxScriptObject(v)));
      });
  cls.DeclareProperty("Page", "TfrxPage", [](H* i, C*, const std::string& m) { return frxScriptValue(Component(i, m).Page()); });
  cls.DeclareProperty("AbsLeft", "Extended", [](H* i, C*, const std::string& m) { return Variant(Component(i, m).AbsLeft()); });
  cls.DeclareProperty("AbsTop", "Extended", [](H* i, C*, const std::string& m) { return Variant(Component(i, m).AbsTop()); });
}

void DeclareView(TfsClassVariable& cls) {
  cls.DeclareProperty(
      "TagStr", "String",
      [](H* i, C*, const std::string& m) { return Variant(PersistentOf<TfrxView>(i, m, "TfrxView").TagStr()); },
      [](H* i, C*, const Variant& v, const std::string& m) {
        PersistentOf<TfrxView>(i, m, "TfrxView").SetTagStr(fsVarToText(v));
      });
}

void DeclareStretcheable(TfsClassVariable& cls) {
  cls.DeclareMethod("function CalcHeight: Extended", [](H* i, C*, const std::string& m, A&) {
    return Variant(PersistentOf<TfrxStretcheable>(i, m, "TfrxStretcheable").CalcHeight());
  });
}

TfrxCustomMemoView& Memo(H* i, const std::string& m) { return PersistentOf<TfrxCustomMemoView>(i, m, "TfrxCustomMemoView"); }

// The memo's text from a script value: 8-bit text through the code page of the memo
// font's character set when it is not the default one, anything else as wide text.
void SetMemoText(TfrxCustomMemoView& memo, const Variant& value) {
  if (value.kind() == VarKind::String && memo.Font().Charset != 1) {
    memo.SetAnsiText(value.toString8());
    return;
  }
  memo.SetText(value.isText() ? value.toWide() : Variant(fsVarToText(value)).toWide());
}

void AssignLines(TWideStrings& lines, const Variant& value, const std::string& m) {
  TfsHostObject* source = fsVariantToObject(value);
  if (auto* wide = dynamic_cast<TfrxScriptRefTo<TWideStrings>*>(source)) {
    if (&wide->Target() != &lines) lines = wide->Target();
    return;
  }
  if (auto* strings = dynamic_cast<TfsStrings*>(source)) {
    lines.SetText(Variant(strings->Text()).toWide());
    return;
  }
  fs_hostclasses::NoInstance(m, "TStrings");
}

void DeclareMemo(TfsClassVariable& cls) {
  cls.DeclareMethod("function CalcWidth: Extended", [](H* i, C*, const std::string& m, A&) {
    return Variant(Memo(i, m).CalcWidth());
  });
  cls.DeclareProperty(
      "Text", "String", [](H* i, C*, const std::string& m) { return Variant(Memo(i, m).Text()); },
      [](H* i, C*, const Variant& v, const std::string& m) { SetMemoText(Memo(i, m), v); });
  cls.DeclareProperty(
      "AnsiText", "String", [](H* i, C*, const std::string& m) { return Variant(Memo(i, m).AnsiText()); },
      [](H* i, C*, const Variant& v, const std::string& m) { Memo(i, m).SetAnsiText(fsVarToText(v)); });
  cls.DeclareProperty(
      "Lines", "TWideStrings",
      [](H* i, C*, const std::string& m) {
        TfrxCustomMemoView& memo = Memo(i, m);
        return frx_rtti::ValueOf(&memo.Lines(), "TWideStrings", &memo);
      },
      [](H* i, C*, const Variant& v, const std::string& m) { AssignLines(Memo(i, m).Lines(), v, m); });
  cls.DeclareProperty("Value", "Variant", [](H* i, C*, const std::string& m) { return Memo(i, m).Value(); });
}

void DeclarePicture(TfsClassVariable& cls) {
  cls.DeclareMethod("procedure LoadFromFile(filename: String)", [](H* i, C*, const std::string& m, A& a) {
    PersistentOf<TfrxPictureView>(i, m, "TfrxPictureView").LoadFromFile(TextArg(a, 0));
    return Variant();
  });
}

void DeclareBand(TfsClassVariable& cls) {
  cls.DeclareProperty("Overflow", "Boolean",
                      [](H* i, C*, const std::string& m) { return Variant(PersistentOf<TfrxBand>(i, m, "TfrxBand").Overflow); });
}

TfrxDataSet& DataSet(H* i, const std::string& m) { return PersistentOf<TfrxDataSet>(i, m, "TfrxDataSet"); }

template <void (TfrxDataSet::*Move)()>
void DeclareMove(TfsClassVariable& cls, const char* declaration) {
  cls.DeclareMethod(declaration, [](H* i, C*, const std::string& m, A&) {
    (DataSet(i, m).*Move)();
    return Variant();
  });
}

void DeclareDataSet(TfsClassVariable& cls) {
  DeclareMove<&TfrxDataSet::Open>(cls, "procedure Open");
  DeclareMove<&TfrxDataSet::Close>(cls, "procedure Close");
  DeclareMove<&TfrxDataSet::First>(cls, "procedure First");
  DeclareMove<&TfrxDataSet::Next>(cls, "procedure Next");
  DeclareMove<&TfrxDataSet::Prior>(cls, "procedure Prior");
  cls.DeclareMethod("function Eof: Boolean", [](H* i, C*, const std::string& m, A&) { return Variant(DataSet(i, m).Eof()); });
  cls.DeclareMethod("function FieldsCount: Integer",
                    [](H* i, C*, const std::string& m, A&) { return Variant(int32_t{DataSet(i, m).FieldsCount()}); });
  cls.DeclareMethod("function HasField(const fName: String): Boolean",
                    [](H* i, C*, const std::string& m, A& a) { return Variant(DataSet(i, m).HasField(TextArg(a, 0))); });
  cls.DeclareMethod("function IsBlobField(const fName: String): Boolean",
                    [](H* i, C*, const std::string& m, A& a) { return Variant(DataSet(i, m).IsBlobField(TextArg(a, 0))); });
  cls.DeclareMethod("function RecordCount: Integer",
                    [](H* i, C*, const std::string& m, A&) { return Variant(int32_t{DataSet(i, m).RecordCount()}); });
  cls.DeclareMethod("procedure GetFieldList(List: TStrings)", [](H* i, C*, const std::string& m, A& a) {
    auto& list = fsStringsArg(a, 0, m);
    std::vector<std::string> fields;
    DataSet(i, m).GetFieldList(fields);
    list.SetLines(fields);
    return Variant();
  });
  cls.DeclareProperty("RecNo", "Integer", [](H* i, C*, const std::string& m) { return Variant(int32_t{DataSet(i, m).RecNo()}); });
  cls.DeclareIndexProperty(
      "DisplayText", "String", "String",
      [](H* i, C*, const std::string& m, A& a) { return Variant(DataSet(i, m).DisplayText(TextArg(a, 0))); }, true);
  cls.DeclareIndexProperty(
      "DisplayWidth", "String", "Integer",
      [](H* i, C*, const std::string& m, A& a) { return Variant(int32_t{DataSet(i, m).DisplayWidth(TextArg(a, 0))}); },
      true);
  cls.DeclareIndexProperty(
      "FieldType", "String", "TfrxFieldType",
      [](H* i, C*, const std::string& m, A& a) {
        return Variant(static_cast<int32_t>(DataSet(i, m).FieldType(TextArg(a, 0))));
      },
      true);
  cls.DeclareIndexProperty(
      "Value", "String", "Variant", [](H* i, C*, const std::string& m, A& a) { return DataSet(i, m).Value(TextArg(a, 0)); },
      true);
}

// A dialog page is not shown on this platform: ShowModal answers the ModalResult the
// script set (kept beside the page), else mrCancel, as windowless forms do.
TfsPropertyObject& DialogResult(H* i, const std::string& m) {
  auto& page = PersistentOf<TfrxDialogPage>(i, m, "TfrxDialogPage");
  return dynamic_cast<TfsPropertyBag&>(frx_rtti::Keep(&page, "ModalResult", &page, [] {
    auto bag = std::make_unique<TfsPropertyBag>(fsHostClass("TfrxDialogPage"));
    bag->OwnedByScript = false;
    return bag;
  }));
}

void DeclareDialogPage(TfsClassVariable& cls) {
  cls.DeclareMethod("function ShowModal: Integer", [](H* i, C*, const std::string& m, A&) {
    const Variant result = DialogResult(i, m).GetProperty("MODALRESULT");
    return Variant(int32_t{result.isOrdinal() && result.toInt32() != 0 ? result.toInt32() : 2});
  });
  cls.DeclareProperty(
      "ModalResult", "Integer",
      [](H* i, C*, const std::string& m) {
        const Variant result = DialogResult(i, m).GetProperty("MODALRESULT");
        return result.isOrdinal() ? result : Variant(int32_t{0});
      },
      [](H* i, C*, const Variant& v, const std::string& m) {
        DialogResult(i, m).SetProperty("MODALRESULT", Variant(int32_t{fsVarToInteger(v)}));
      });
}

void DeclareDialogControl(TfsClassVariable& cls) {
  // Dialog controls take no focus: this system shows no dialog pages.
  cls.DeclareMethod("procedure SetFocus", [](H*, C*, const std::string&, A&) { return Variant(); });
}

}  // namespace

namespace frx_rtti {

void DeclareHandMembers(TfsClassVariable& cls) {
  static const std::map<std::string, void (*)(TfsClassVariable&)> members = {
      {"TFRXCOMPONENT", DeclareComponent},
      {"TFRXVIEW", DeclareView},              {"TFRXSTRETCHEABLE", DeclareStretcheable},
      {"TFRXCUSTOMMEMOVIEW", DeclareMemo},    {"TFRXPICTUREVIEW", DeclarePicture},
      {"TFRXBAND", DeclareBand},              {"TFRXDATASET", DeclareDataSet},
      {"TFRXDIALOGCONTROL", DeclareDialogControl}, {"TFRXREPORT", frx_rtti::DeclareReport},
      {"TFRXDIALOGPAGE", DeclareDialogPage},
  };
  auto found = members.find(cls.UpperName());
  if (found != members.end()) found->second(cls);
}

}  // namespace frx_rtti
