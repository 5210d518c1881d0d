// The classes module: TObject, TPersistent, collections, TList, streams and TComponent
// (string lists in fs_iclassesrtti_strings.cpp).
#include "script/fs_iclassesrtti.h"

#include "fs_iclassesrtti_private.h"
#include "fs_isysrtti_args.h"
#include "script/fs_iexpression.h"

using fs_sysrtti::Int64Arg;
using fs_sysrtti::IntArg;
using fs_sysrtti::TextArg;

void fsListIndexError(int index) {
  throw EfsScriptError("List index out of bounds (" + std::to_string(index) + ")");
}

TfsList::TfsList() : TfsScriptObject(fsHostClass("TList")) {}

TfsStreamObject::TfsStreamObject(const TfsHostClass& cls, std::unique_ptr<TStream> stream)
    : TfsScriptObject(cls), stream_(std::move(stream)) {}

namespace fs_classes {

TfsHostObject* ObjectArg(const TfsMethodHelper& args, int index) { return fsVariantToObject(args.GetParam(index)); }

}  // namespace fs_classes

TStream& fsStreamArg(const TfsMethodHelper& args, int index, const std::string& member) {
  return fsInstanceOf<TfsStreamObject>(fs_classes::ObjectArg(args, index), member, "TStream").Stream();
}

TfsStrings& fsStringsArg(const TfsMethodHelper& args, int index, const std::string& member) {
  return fsInstanceOf<TfsStrings>(fs_classes::ObjectArg(args, index), member, "TStrings");
}

std::string fsReadRest(TStream& stream) {
  std::string bytes(static_cast<size_t>(std::max<int64_t>(stream.Size() - stream.Position(), 0)), '\0');
  bytes.resize(static_cast<size_t>(stream.Read(bytes.data(), static_cast<int64_t>(bytes.size()))));
  return bytes;
}

namespace {

using fs_classes::ObjectArg;

// Frees what the script created; objects its host keeps are left alone.
Variant FreeObject(TfsHostObject* instance) {
  auto* object = dynamic_cast<TfsScriptObject*>(instance);
  if (object && object->OwnedByScript) delete object;
  return Variant();
}

void DeclareObjectClasses(TfsScript& s) {
  TfsClassVariable& object = fsDeclareClass(s, "TObject", "");
  object.DeclareConstructor("constructor Create", [](TfsHostObject* instance, const TfsHostClass*, const std::string&,
                                                    TfsMethodHelper&) { return fsObjectToVariant(instance); });
  object.DeclareMethod("procedure Free", [](TfsHostObject* instance, const TfsHostClass*, const std::string&,
                                            TfsMethodHelper&) { return FreeObject(instance); });
  object.DeclareMethod("function ClassName: String",
                       [](TfsHostObject* instance, const TfsHostClass*, const std::string& m, TfsMethodHelper&) {
                         if (!instance) fs_hostclasses::NoInstance(m, "TObject");
                         return Variant(instance->HostClass().Name());
                       });
  TfsClassVariable& persistent = fsDeclareClass(s, "TPersistent", "TObject");
  // Assigning between host objects copies what both sides share; only string lists do here.
  persistent.DeclareMethod("procedure Assign(Source: TPersistent)",
                           [](TfsHostObject* instance, const TfsHostClass*, const std::string& m, TfsMethodHelper& a) {
                             auto* target = dynamic_cast<TfsStrings*>(instance);
                             auto* source = dynamic_cast<TfsStrings*>(ObjectArg(a, 0));
                             if (!target || !source)
                               throw EfsScriptError("Cannot assign this object: '" + m + "'");
                             target->Items = source->Items;
                             return Variant();
                           });
  fsDeclareClass(s, "TCollectionItem", "TPersistent");
  TfsClassVariable& collection = fsDeclareClass(s, "TCollection", "TPersistent");
  auto asCollection = [](TfsHostObject* instance, const std::string& m) -> TfsCollectionObject& {
    if (auto* c = dynamic_cast<TfsCollectionObject*>(instance)) return *c;
    fs_hostclasses::NoInstance(m, "TCollection");
  };
  collection.DeclareMethod("procedure Clear", [asCollection](TfsHostObject* i, const TfsHostClass*,
                                                             const std::string& m, TfsMethodHelper&) {
    asCollection(i, m).CollectionClear();
    return Variant();
  });
  collection.DeclareProperty("Count", "Integer", [asCollection](TfsHostObject* i, const TfsHostClass*, const std::string& m) {
    return Variant(int32_t{asCollection(i, m).CollectionCount()});
  });
  collection.DeclareDefaultProperty(
      "Items", "Integer", "TObject",
      [asCollection](TfsHostObject* i, const TfsHostClass*, const std::string& m, TfsMethodHelper& a) {
        TfsCollectionObject& c = asCollection(i, m);
        int index = IntArg(a, 0);
        if (index < 0 || index >= c.CollectionCount()) fsListIndexError(index);
        return c.CollectionItem(index);
      },
      true);
}

TfsList& List(TfsHostObject* instance, const std::string& m) { return fsInstanceOf<TfsList>(instance, m, "TList"); }

int CheckedIndex(const TfsList& list, int index) {
  if (index < 0 || index >= static_cast<int>(list.Items.size())) fsListIndexError(index);
  return index;
}

int IndexOfItem(const TfsList& list, const Variant& item) {
  for (size_t i = 0; i < list.Items.size(); ++i)
    if (fsVarEquals(list.Items[i], item)) return static_cast<int>(i);
  return -1;
}

void DeclareList(TfsScript& s) {
  TfsClassVariable& list = fsDeclareClass(s, "TList", "TObject", [] { return new TfsList(); });
  using H = TfsHostObject;
  using C = const TfsHostClass;
  list.DeclareMethod("function Add(Item: TObject): Integer", [](H* i, C*, const std::string& m, TfsMethodHelper& a) {
    TfsList& l = List(i, m);
    l.Items.push_back(a.GetParam(0));
    return Variant(static_cast<int32_t>(l.Items.size() - 1));
  });
  list.DeclareMethod("procedure Clear", [](H* i, C*, const std::string& m, TfsMethodHelper&) {
    List(i, m).Items.clear();
    return Variant();
  });
  list.DeclareMethod("procedure Delete(Index: Integer)", [](H* i, C*, const std::string& m, TfsMethodHelper& a) {
    TfsList& l = List(i, m);
    l.Items.erase(l.Items.begin() + CheckedIndex(l, IntArg(a, 0)));
    return Variant();
  });
  list.DeclareMethod("function IndexOf(Item: TObject): Integer", [](H* i, C*, const std::string& m, TfsMethodHelper& a) {
    return Variant(int32_t{IndexOfItem(List(i, m), a.GetParam(0))});
  });
  list.DeclareMethod("procedure Insert(Index: Integer; Item: TObject)",
                     [](H* i, C*, const std::string& m, TfsMethodHelper& a) {
                       TfsList& l = List(i, m);
                       int index = IntArg(a, 0);
                       if (index < 0 || index > static_cast<int>(l.Items.size())) fsListIndexError(index);
                       l.Items.insert(l.Items.begin() + index, a.GetParam(1));
                       return Variant();
                     });
  list.DeclareMethod("function Remove(Item: TObject): Integer", [](H* i, C*, const std::string& m, TfsMethodHelper& a) {
    TfsList& l = List(i, m);
    int index = IndexOfItem(l, a.GetParam(0));
    if (index >= 0) l.Items.erase(l.Items.begin() + index);
    return Variant(int32_t{index});
  });
  list.DeclareProperty("Count", "Integer", [](H* i, C*, const std::string& m) {
    return Variant(static_cast<int32_t>(List(i, m).Items.size()));
  });
  list.DeclareDefaultProperty("Items", "Integer", "TObject", [](H* i, C*, const std::string& m, TfsMethodHelper& a) {
    TfsList& l = List(i, m);
    int index = CheckedIndex(l, IntArg(a, 0));
    if (m == "ITEMS.SET") {
      l.Items[static_cast<size_t>(index)] = a.GetParam(1);
      return Variant();
    }
    return l.Items[static_cast<size_t>(index)];
  });
}

TStream& Stream(TfsHostObject* instance, const std::string& m) {
  return fsInstanceOf<TfsStreamObject>(instance, m, "TStream").Stream();
}

TFileMode FileModeOf(int mode) {
  if ((mode & 0xFFFF) == 0xFFFF) return TFileMode::Create;
  switch (mode & 3) {
    case 1: return TFileMode::OpenWrite;
    case 2: return TFileMode::OpenReadWrite;
    default: return TFileMode::OpenRead;
  }
}

TFileShare FileShareOf(int mode) {
  if ((mode & 0xFFFF) == 0xFFFF) return TFileShare::DenyNone;
  switch (mode & 0xF0) {
    case 16: return TFileShare::Exclusive;
    case 32: return TFileShare::DenyWrite;
    default: return TFileShare::DenyNone;
  }
}

TSeekOrigin SeekOriginOf(int origin) {
  return origin == 1 ? TSeekOrigin::Current : origin == 2 ? TSeekOrigin::End : TSeekOrigin::Beginning;
}

// Byte counts a script asks for are bounded by what the stream holds.
int64_t Bounded(int64_t count, int64_t limit) { return count < 0 ? 0 : std::min(count, limit); }

void DeclareStreams(TfsScript& s) {
  using H = TfsHostObject;
  using C = const TfsHostClass;
  TfsClassVariable& stream = fsDeclareClass(s, "TStream", "TObject");
  stream.DeclareMethod("function Read(var Buffer: string; Count: Longint): Longint",
                       [](H* i, C*, const std::string& m, TfsMethodHelper& a) {
                         TStream& st = Stream(i, m);
                         std::string buffer(static_cast<size_t>(Bounded(Int64Arg(a, 1), st.Size() - st.Position())), '\0');
                         int64_t read = st.Read(buffer.data(), static_cast<int64_t>(buffer.size()));
                         buffer.resize(static_cast<size_t>(read));
                         a.SetParam(0, Variant(buffer));
                         return Variant(static_cast<int32_t>(read));
                       });
  stream.DeclareMethod("function Write(Buffer: string; Count: Longint): Longint",
                       [](H* i, C*, const std::string& m, TfsMethodHelper& a) {
                         std::string buffer = TextArg(a, 0);
                         int64_t count = Bounded(Int64Arg(a, 1), static_cast<int64_t>(buffer.size()));
                         return Variant(static_cast<int32_t>(Stream(i, m).Write(buffer.data(), count)));
                       });
  stream.DeclareMethod("function Seek(Offset: Longint; Origin: Word): Longint",
                       [](H* i, C*, const std::string& m, TfsMethodHelper& a) {
                         return Variant(static_cast<int32_t>(Stream(i, m).Seek(Int64Arg(a, 0), SeekOriginOf(IntArg(a, 1)))));
                       });
  stream.DeclareMethod("function CopyFrom(Source: TStream; Count: Longint): Longint",
                       [](H* i, C*, const std::string& m, TfsMethodHelper& a) {
                         TStream& source = fsStreamArg(a, 0, m);
                         return Variant(static_cast<int32_t>(Stream(i, m).CopyFrom(source, Int64Arg(a, 1))));
                       });
  stream.DeclareProperty(
      "Position", "Integer", [](H* i, C*, const std::string& m) { return Variant(Stream(i, m).Position()); },
      [](H* i, C*, const Variant& v, const std::string& m) { Stream(i, m).SetPosition(fsVarToInteger(v)); });
  stream.DeclareProperty("Size", "Integer", [](H* i, C*, const std::string& m) { return Variant(Stream(i, m).Size()); });

  TfsClassVariable& file = fsDeclareClass(s, "TFileStream", "TStream");
  file.DeclareConstructor("constructor Create(Filename: String; Mode: Word)",
                          [](H*, C*, const std::string&, TfsMethodHelper& a) {
                            int mode = IntArg(a, 1);
                            auto st = std::make_unique<TFileStream>(TextArg(a, 0), FileModeOf(mode), FileShareOf(mode));
                            return fsObjectToVariant(new TfsStreamObject(fsHostClass("TFileStream"), std::move(st)));
                          });
  TfsClassVariable& memory = fsDeclareClass(s, "TMemoryStream", "TStream", [] {
    return new TfsStreamObject(fsHostClass("TMemoryStream"), std::make_unique<TMemoryStream>());
  });
  auto mem = [](H* i, const std::string& m) -> TMemoryStream& {
    if (auto* ms = dynamic_cast<TMemoryStream*>(&Stream(i, m))) return *ms;
    fs_hostclasses::NoInstance(m, "TMemoryStream");
  };
  memory.DeclareMethod("procedure Clear", [mem](H* i, C*, const std::string& m, TfsMethodHelper&) {
    mem(i, m).Clear();
    return Variant();
  });
  memory.DeclareMethod("procedure LoadFromStream(Stream: TStream)", [mem](H* i, C*, const std::string& m, TfsMethodHelper& a) {
    mem(i, m).LoadFromStream(fsStreamArg(a, 0, m));
    return Variant();
  });
  memory.DeclareMethod("procedure LoadFromFile(const FileName: string)",
                       [mem](H* i, C*, const std::string& m, TfsMethodHelper& a) {
                         mem(i, m).LoadFromFile(TextArg(a, 0));
                         return Variant();
                       });
  memory.DeclareMethod("procedure SaveToStream(Stream: TStream)", [mem](H* i, C*, const std::string& m, TfsMethodHelper& a) {
    mem(i, m).SaveToStream(fsStreamArg(a, 0, m));
    return Variant();
  });
  memory.DeclareMethod("procedure SaveToFile(const FileName: string)",
                       [mem](H* i, C*, const std::string& m, TfsMethodHelper& a) {
                         mem(i, m).SaveToFile(TextArg(a, 0));
                         return Variant();
                       });
}

// The root of forms, controls, dialogs and report objects. What a component class makes
// is its own business (its class's way of creating instances); the constructor records
// the owner where the object keeps its settings by name.
void DeclareComponent(TfsScript& s) {
  TfsClassVariable& component = fsDeclareClass(s, "TComponent", "TPersistent");
  component.DeclareConstructor("constructor Create(AOwner: TComponent)",
                               [](TfsHostObject* instance, const TfsHostClass*, const std::string& m, TfsMethodHelper& a) {
                                 if (!instance) throw EfsScriptError("Cannot create an object of this class: '" + m + "'");
                                 if (auto* settings = dynamic_cast<TfsPropertyObject*>(instance))
                                   settings->SetProperty("OWNER", a.GetParam(0));
                                 return fsObjectToVariant(instance);
                               });
  fsDeclareObjectProperty(component, "Owner", "TComponent", false);
}

class TfsClassesRTTI : public TfsRTTIModule {
 public:
  explicit TfsClassesRTTI(TfsScript& script) : TfsRTTIModule(script) {
    fsDeclareIntConstants(script, {{"fmCreate", 65535},
                                   {"fmOpenRead", 0},
                                   {"fmOpenWrite", 1},
                                   {"fmOpenReadWrite", 2},
                                   {"fmShareExclusive", 16},
                                   {"fmShareDenyWrite", 32},
                                   {"fmShareDenyNone", 64},
                                   {"soFromBeginning", 0},
                                   {"soFromCurrent", 1},
                                   {"soFromEnd", 2}});
    script.DeclareEnum("TDuplicates", "dupIgnore, dupAccept, dupError");
    script.DeclareEnum("TPrinterOrientation", "poPortrait, poLandscape");
    DeclareObjectClasses(script);
    DeclareList(script);
    fs_classes::DeclareStrings(script);
    DeclareStreams(script);
    DeclareComponent(script);
  }
};

}  // namespace

std::unique_ptr<TfsRTTIModule> fsCreateClassesRTTI(TfsScript& script) { return std::make_unique<TfsClassesRTTI>(script); }
