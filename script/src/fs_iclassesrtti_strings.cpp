// TStrings and TStringList of the classes module.
#include <algorithm>

#include "fs_iclassesrtti_private.h"
#include "fs_isysrtti_args.h"
#include "platform/TextCase.h"
#include "script/fs_iexpression.h"

using fs_sysrtti::IntArg;
using fs_sysrtti::TextArg;

namespace {

int CompareText(const std::string& a, const std::string& b) {
  const std::string ua = AnsiUpperCase(a), ub = AnsiUpperCase(b);
  return ua < ub ? -1 : (ua == ub ? 0 : 1);
}

std::string NameOf(const std::string& line) {
  size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

// An item of the comma text: quoted when it holds a blank, a comma or a quote.
std::string CommaItem(const std::string& item) {
  if (!item.empty() && item.find_first_of(" ,\"\t") == std::string::npos) return item;
  std::string quoted = "\"";
  for (char c : item) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::vector<std::string> ParseCommaText(const std::string& text) {
  std::vector<std::string> items;
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  };
  skipBlanks();
  while (i < text.size()) {
    std::string item;
    if (text[i] == '"') {
      ++i;
      while (i < text.size()) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
    } else {
      while (i < text.size() && text[i] != ',' && static_cast<unsigned char>(text[i]) > ' ') item += text[i++];
    }
    items.push_back(item);
    skipBlanks();
    if (i < text.size() && text[i] == ',') {
      ++i;
      skipBlanks();
    }
  }
  return items;
}

TfsStrings& Strings(TfsHostObject* instance, const std::string& m) {
  return fsInstanceOf<TfsStrings>(instance, m, "TStrings");
}

}  // namespace

TfsStrings::TfsStrings() : TfsScriptObject(fsHostClass("TStringList")) {}

void TfsStrings::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) fsListIndexError(index);
}

int TfsStrings::Add(const std::string& text, const Variant& object) {
  if (!Sorted) {
    Items.push_back({text, object});
    return Count() - 1;
  }
  int index = 0;
  if (Find(text, index)) {
    if (Duplicates == 0) return index;
    if (Duplicates == 2) throw EfsScriptError("String list does not allow duplicates");
  }
  Items.insert(Items.begin() + index, {text, object});
  return index;
}

void TfsStrings::Insert(int index, const std::string& text, const Variant& object) {
  if (index < 0 || index > Count()) fsListIndexError(index);
  Items.insert(Items.begin() + index, {text, object});
}

void TfsStrings::Delete(int index) {
  CheckIndex(index);
  Items.erase(Items.begin() + index);
}

int TfsStrings::IndexOf(const std::string& text) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareText(Items[static_cast<size_t>(i)].Text, text) == 0) return i;
  return -1;
}

int TfsStrings::IndexOfName(const std::string& name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string& line = Items[static_cast<size_t>(i)].Text;
    if (line.find('=') != std::string::npos && CompareText(NameOf(line), name) == 0) return i;
  }
  return -1;
}

std::string TfsStrings::Text() const {
  std::string text;
  for (const TItem& item : Items) text += item.Text + "\r\n";
  return text;
}

void TfsStrings::SetText(const std::string& text) { SetLines(SplitLines(text)); }

std::vector<std::string> TfsStrings::Lines() const {
  std::vector<std::string> lines;
  for (const TItem& item : Items) lines.push_back(item.Text);
  return lines;
}

void TfsStrings::SetLines(const std::vector<std::string>& lines) {
  Items.clear();
  for (const std::string& line : lines) Add(line);
}

bool TfsStrings::Find(const std::string& text, int& index) const {
  int low = 0, high = Count() - 1;
  bool found = false;
  while (low <= high) {
    int middle = (low + high) / 2;
    int c = CompareText(Items[static_cast<size_t>(middle)].Text, text);
    if (c < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (c == 0) found = true;
    }
  }
  index = low;
  return found;
}

void TfsStrings::Sort() {
  std::stable_sort(Items.begin(), Items.end(),
                   [](const TItem& a, const TItem& b) { return CompareText(a.Text, b.Text) < 0; });
}

namespace fs_classes {

void DeclareStrings(TfsScript& s) {
  using H = TfsHostObject;
  using C = const TfsHostClass;
  using A = TfsMethodHelper;
  TfsClassVariable& strings = fsDeclareClass(s, "TStrings", "TPersistent");
  strings.DeclareMethod("function Add(const S: string): Integer", [](H* i, C*, const std::string& m, A& a) {
    return Variant(int32_t{Strings(i, m).Add(TextArg(a, 0))});
  });
  strings.DeclareMethod("function AddObject(const S: string; AObject: TObject): Integer",
                        [](H* i, C*, const std::string& m, A& a) {
                          return Variant(int32_t{Strings(i, m).Add(TextArg(a, 0), a.GetParam(1))});
                        });
  strings.DeclareMethod("procedure Clear", [](H* i, C*, const std::string& m, A&) {
    Strings(i, m).Items.clear();
    return Variant();
  });
  strings.DeclareMethod("procedure Delete(Index: Integer)", [](H* i, C*, const std::string& m, A& a) {
    Strings(i, m).Delete(IntArg(a, 0));
    return Variant();
  });
  strings.DeclareMethod("function IndexOf(const S: string): Integer", [](H* i, C*, const std::string& m, A& a) {
    return Variant(int32_t{Strings(i, m).IndexOf(TextArg(a, 0))});
  });
  strings.DeclareMethod("function IndexOfName(const Name: string): Integer", [](H* i, C*, const std::string& m, A& a) {
    return Variant(int32_t{Strings(i, m).IndexOfName(TextArg(a, 0))});
  });
  strings.DeclareMethod("function IndexOfObject(AObject: TObject): Integer", [](H* i, C*, const std::string& m, A& a) {
    TfsStrings& l = Strings(i, m);
    for (int k = 0; k < l.Count(); ++k)
      if (fsVarEquals(l.Items[static_cast<size_t>(k)].Object, a.GetParam(0))) return Variant(int32_t{k});
    return Variant(int32_t{-1});
  });
  strings.DeclareMethod("procedure Insert(Index: Integer; const S: string)", [](H* i, C*, const std::string& m, A& a) {
    Strings(i, m).Insert(IntArg(a, 0), TextArg(a, 1));
    return Variant();
  });
  strings.DeclareMethod("procedure InsertObject(Index: Integer; const S: string; AObject: TObject)",
                        [](H* i, C*, const std::string& m, A& a) {
                          Strings(i, m).Insert(IntArg(a, 0), TextArg(a, 1), a.GetParam(2));
                          return Variant();
                        });
  strings.DeclareMethod("procedure LoadFromFile(const FileName: string)", [](H* i, C*, const std::string& m, A& a) {
    TMemoryStream stream;
    stream.LoadFromFile(TextArg(a, 0));
    Strings(i, m).SetText(stream.DataString());
    return Variant();
  });
  strings.DeclareMethod("procedure LoadFromStream(Stream: TStream)", [](H* i, C*, const std::string& m, A& a) {
    Strings(i, m).SetText(fsReadRest(fsStreamArg(a, 0, m)));
    return Variant();
  });
  strings.DeclareMethod("procedure SaveToFile(const FileName: string)", [](H* i, C*, const std::string& m, A& a) {
    TMemoryStream stream;
    stream.WriteString(Strings(i, m).Text());
    stream.SaveToFile(TextArg(a, 0));
    return Variant();
  });
  strings.DeclareMethod("procedure SaveToStream(Stream: TStream)", [](H* i, C*, const std::string& m, A& a) {
    fsStreamArg(a, 0, m).WriteString(Strings(i, m).Text());
    return Variant();
  });
  strings.DeclareMethod("procedure Move(CurIndex, NewIndex: Integer)", [](H* i, C*, const std::string& m, A& a) {
    TfsStrings& l = Strings(i, m);
    int from = IntArg(a, 0), to = IntArg(a, 1);
    l.CheckIndex(from);
    l.CheckIndex(to);
    TfsStrings::TItem item = l.Items[static_cast<size_t>(from)];
    l.Items.erase(l.Items.begin() + from);
    l.Items.insert(l.Items.begin() + to, item);
    return Variant();
  });
  strings.DeclareProperty(
      "CommaText", "String",
      [](H* i, C*, const std::string& m) {
        std::string text;
        for (const auto& item : Strings(i, m).Items) text += (text.empty() ? "" : ",") + CommaItem(item.Text);
        return Variant(text);
      },
      [](H* i, C*, const Variant& v, const std::string& m) { Strings(i, m).SetLines(ParseCommaText(fsVarToText(v))); });
  strings.DeclareProperty("Count", "Integer",
                          [](H* i, C*, const std::string& m) { return Variant(int32_t{Strings(i, m).Count()}); });
  strings.DeclareProperty(
      "Text", "String", [](H* i, C*, const std::string& m) { return Variant(Strings(i, m).Text()); },
      [](H* i, C*, const Variant& v, const std::string& m) { Strings(i, m).SetText(fsVarToText(v)); });
  strings.DeclareIndexProperty(
      "Names", "Integer", "String",
      [](H* i, C*, const std::string& m, A& a) {
        TfsStrings& l = Strings(i, m);
        l.CheckIndex(IntArg(a, 0));
        return Variant(NameOf(l.Items[static_cast<size_t>(IntArg(a, 0))].Text));
      },
      true);
  strings.DeclareIndexProperty("Objects", "Integer", "TObject", [](H* i, C*, const std::string& m, A& a) {
    TfsStrings& l = Strings(i, m);
    l.CheckIndex(IntArg(a, 0));
    Variant& object = l.Items[static_cast<size_t>(IntArg(a, 0))].Object;
    if (m == "OBJECTS.SET") {
      object = a.GetParam(1);
      return Variant();
    }
    return object;
  });
  strings.DeclareIndexProperty("Values", "String", "String", [](H* i, C*, const std::string& m, A& a) {
    TfsStrings& l = Strings(i, m);
    const std::string name = TextArg(a, 0);
    int index = l.IndexOfName(name);
    if (m != "VALUES.SET") {
      if (index < 0) return Variant(std::string());
      const std::string& line = l.Items[static_cast<size_t>(index)].Text;
      return Variant(line.substr(line.find('=') + 1));
    }
    const std::string value = TextArg(a, 1);
    if (value.empty()) {
      if (index >= 0) l.Delete(index);
    } else if (index >= 0) {
      l.Items[static_cast<size_t>(index)].Text = name + "=" + value;
    } else {
      l.Add(name + "=" + value);
    }
    return Variant();
  });
  strings.DeclareDefaultProperty("Strings", "Integer", "String", [](H* i, C*, const std::string& m, A& a) {
    TfsStrings& l = Strings(i, m);
    l.CheckIndex(IntArg(a, 0));
    std::string& text = l.Items[static_cast<size_t>(IntArg(a, 0))].Text;
    if (m == "STRINGS.SET") {
      text = TextArg(a, 1);
      return Variant();
    }
    return Variant(text);
  });

  TfsClassVariable& list = fsDeclareClass(s, "TStringList", "TStrings", [] { return new TfsStrings(); });
  list.DeclareMethod("function Find(s: String; var Index: Integer): Boolean", [](H* i, C*, const std::string& m, A& a) {
    int index = 0;
    bool found = Strings(i, m).Find(TextArg(a, 0), index);
    a.SetParam(1, Variant(int32_t{index}));
    return Variant(found);
  });
  list.DeclareMethod("procedure Sort", [](H* i, C*, const std::string& m, A&) {
    Strings(i, m).Sort();
    return Variant();
  });
  list.DeclareProperty(
      "Duplicates", "TDuplicates", [](H* i, C*, const std::string& m) { return Variant(int32_t{Strings(i, m).Duplicates}); },
      [](H* i, C*, const Variant& v, const std::string& m) { Strings(i, m).Duplicates = fsVarToInteger(v); });
  list.DeclareProperty(
      "Sorted", "Boolean", [](H* i, C*, const std::string& m) { return Variant(Strings(i, m).Sorted); },
      [](H* i, C*, const Variant& v, const std::string& m) {
        TfsStrings& l = Strings(i, m);
        l.Sorted = fsVarToBoolean(v);
        if (l.Sorted) l.Sort();
      });
}

}  // namespace fs_classes
