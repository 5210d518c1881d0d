// The INI files module over the platform's INI layer.
#include "script/fs_iinirtti.h"

#include <optional>

#include "fs_isysrtti_args.h"
#include "platform/Convert.h"
#include "platform/Format.h"
#include "platform/IniFile.h"
#include "script/fs_iclassesrtti.h"
#include "script/fs_iexpression.h"

using fs_sysrtti::BoolArg;
using fs_sysrtti::FloatArg;
using fs_sysrtti::IntArg;
using fs_sysrtti::TextArg;

namespace {

// An INI file a script opened: in memory (TMemIniFile) or written at each change (TIniFile).
class TfsIniObject final : public TfsScriptObject {
 public:
  TfsIniObject(const TfsHostClass& cls, bool writeThrough) : TfsScriptObject(cls), writeThrough_(writeThrough) {}

  void Open(const std::string& fileName) {
    fileName_ = fileName;
    file_ = std::make_unique<TIniFile>(fileName);
    if (!writeThrough_) {
      memory_ = file_->Contents();
      file_.reset();
    }
  }
  const std::string& FileName() const { return fileName_; }
  const TIniText& Contents() const { return file_ ? file_->Contents() : memory_; }

  std::optional<std::string> Read(const std::string& section, const std::string& key) const {
    const std::string* value = Contents().Find(section, key);
    return value ? std::optional<std::string>(*value) : std::nullopt;
  }
  void Write(const std::string& section, const std::string& key, const std::string& value) {
    if (file_)
      file_->WriteString(section, key, value);
    else
      memory_.Set(section, key, value);
  }
  void DeleteKey(const std::string& section, const std::string& key) {
    if (file_)
      file_->DeleteKey(section, key);
    else
      memory_.DeleteKey(section, key);
  }
  void EraseSection(const std::string& section) {
    if (file_)
      file_->EraseSection(section);
    else
      memory_.EraseSection(section);
  }
  void Replace(TIniText text) {
    if (file_)
      file_->SetContents(std::move(text));
    else
      memory_ = std::move(text);
  }

 private:
  bool writeThrough_;
  std::string fileName_;
  std::unique_ptr<TIniFile> file_;
  TIniText memory_;
};

using H = TfsHostObject;
using C = const TfsHostClass;
using A = TfsMethodHelper;

TfsIniObject& Ini(H* i, const std::string& m) { return fsInstanceOf<TfsIniObject>(i, m, "TCustomIniFile"); }

// A value read with a default: the text when the key is there and reads, else the default.
template <class Parse>
Variant ReadParsed(H* i, const std::string& m, A& a, Parse parse) {
  if (auto text = Ini(i, m).Read(TextArg(a, 0), TextArg(a, 1))) {
    if (auto value = parse(*text)) return *value;
  }
  return a.GetParam(2);
}

std::optional<Variant> ParseFloat(const std::string& text) {
  double value = 0;
  return TryStrToFloat(text, value) ? std::optional<Variant>(Variant(value)) : std::nullopt;
}

template <bool (*TryParse)(std::string_view, double&, const TFormatSettings&)>
std::optional<Variant> ParseDate(const std::string& text) {
  double value = 0;
  return TryParse(text, value, CurrentFormatSettings()) ? std::optional<Variant>(Variant::Date(value)) : std::nullopt;
}

void Write(H* i, const std::string& m, A& a, const std::string& value) { Ini(i, m).Write(TextArg(a, 0), TextArg(a, 1), value); }

// The bytes of a hexadecimal text, up to the first pair that is no hexadecimal number.
std::string Unhex(const std::string& text) {
  std::string bytes;
  for (size_t k = 0; k + 1 < text.size(); k += 2) {
    int high = HexDigitValue(text[k]), low = HexDigitValue(text[k + 1]);
    if (high < 0 || low < 0) break;
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

void DeclareCustomIniFile(TfsScript& s) {
  TfsClassVariable& cls = fsDeclareClass(s, "TCustomIniFile", "TObject", [] {
    return new TfsIniObject(fsHostClass("TCustomIniFile"), false);
  });
  cls.DeclareConstructor("constructor Create(const FileName: String)", [](H* i, C*, const std::string& m, A& a) {
    Ini(i, m).Open(TextArg(a, 0));
    return fsObjectToVariant(i);
  });
  cls.DeclareMethod("function ReadInteger(const Section, Ident: String; Default: Longint): Longint",
                    [](H* i, C*, const std::string& m, A& a) {
                      auto text = Ini(i, m).Read(TextArg(a, 0), TextArg(a, 1));
                      return Variant(int32_t{text ? StrToIntDef(*text, IntArg(a, 2)) : IntArg(a, 2)});
                    });
  cls.DeclareMethod("procedure WriteInteger(const Section, Ident: String; Value: Longint)",
                    [](H* i, C*, const std::string& m, A& a) {
                      Write(i, m, a, std::to_string(IntArg(a, 2)));
                      return Variant();
                    });
  cls.DeclareMethod("function ReadBool(const Section, Ident: String; Default: Boolean): Boolean",
                    [](H* i, C*, const std::string& m, A& a) {
                      auto text = Ini(i, m).Read(TextArg(a, 0), TextArg(a, 1));
                      return Variant(StrToIntDef(text.value_or(""), BoolArg(a, 2) ? 1 : 0) != 0);
                    });
  cls.DeclareMethod("procedure WriteBool(const Section, Ident: String; Value: Boolean)",
                    [](H* i, C*, const std::string& m, A& a) {
                      Write(i, m, a, BoolArg(a, 2) ? "1" : "0");
                      return Variant();
                    });
  cls.DeclareMethod("function ReadFloat(const Section, Name: String; Default: Double): Double",
                    [](H* i, C*, const std::string& m, A& a) { return ReadParsed(i, m, a, ParseFloat); });
  cls.DeclareMethod("procedure WriteFloat(const Section, Name: String; Value: Double)",
                    [](H* i, C*, const std::string& m, A& a) {
                      Write(i, m, a, FloatToStr(FloatArg(a, 2)));
                      return Variant();
                    });
  struct DateKind {
    const char* read;
    const char* write;
    std::optional<Variant> (*parse)(const std::string&);
    std::string (*format)(double, const TFormatSettings&);
  };
  const DateKind dates[] = {
      {"function ReadDate(const Section, Name: String; Default: TDateTime): TDateTime",
       "procedure WriteDate(const Section, Name: String; Value: TDateTime)", ParseDate<TryStrToDate>, DateToStr},
      {"function ReadDateTime(const Section, Name: String; Default: TDateTime): TDateTime",
       "procedure WriteDateTime(const Section, Name: String; Value: TDateTime)", ParseDate<TryStrToDateTime>,
       DateTimeToStr},
      {"function ReadTime(const Section, Name: String; Default: TDateTime): TDateTime",
       "procedure WriteTime(const Section, Name: String; Value: TDateTime)", ParseDate<TryStrToTime>, TimeToStr},
  };
  for (const DateKind& d : dates) {
    auto parse = d.parse;
    auto format = d.format;
    cls.DeclareMethod(d.read, [parse](H* i, C*, const std::string& m, A& a) { return ReadParsed(i, m, a, parse); });
    cls.DeclareMethod(d.write, [format](H* i, C*, const std::string& m, A& a) {
      Write(i, m, a, format(FloatArg(a, 2), CurrentFormatSettings()));
      return Variant();
    });
  }
  cls.DeclareMethod("function ReadBinaryStream(const Section, Name: String; Value: TStream): Integer",
                    [](H* i, C*, const std::string& m, A& a) {
                      const std::string bytes = Unhex(Ini(i, m).Read(TextArg(a, 0), TextArg(a, 1)).value_or(""));
                      fsStreamArg(a, 2, m).WriteString(bytes);
                      return Variant(static_cast<int32_t>(bytes.size()));
                    });
  cls.DeclareMethod("procedure WriteBinaryStream(const Section, Name: String; Value: TStream)",
                    [](H* i, C*, const std::string& m, A& a) {
                      Write(i, m, a, BytesToHex(fsReadRest(fsStreamArg(a, 2, m))));
                      return Variant();
                    });
  cls.DeclareMethod("function SectionExists(const Section: String): Boolean", [](H* i, C*, const std::string& m, A& a) {
    return Variant(Ini(i, m).Contents().SectionExists(TextArg(a, 0)));
  });
  cls.DeclareMethod("function ValueExists(const Section, Ident: String): Boolean", [](H* i, C*, const std::string& m, A& a) {
    return Variant(Ini(i, m).Read(TextArg(a, 0), TextArg(a, 1)).has_value());
  });
  cls.DeclareMethod("procedure WriteTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True)",
                    [](H* i, C*, const std::string& m, A& a) {
                      TfsIniObject& ini = Ini(i, m);
                      const std::string section = TextArg(a, 0);
                      if (BoolArg(a, 2)) ini.EraseSection(section);
                      const TfsStrings& list = fsStringsArg(a, 1, m);
                      for (int k = 0; k < list.Count(); ++k) ini.Write(section, std::to_string(k), list.Items[static_cast<size_t>(k)].Text);
                      return Variant();
                    });
  cls.DeclareMethod("function ReadTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True): String;",
                    [](H* i, C*, const std::string& m, A& a) {
                      TfsIniObject& ini = Ini(i, m);
                      const std::string section = TextArg(a, 0);
                      TfsStrings& list = fsStringsArg(a, 1, m);
                      if (BoolArg(a, 2)) list.Items.clear();
                      for (const std::string& key : ini.Contents().KeyNames(section)) list.Add(ini.Read(section, key).value_or(""));
                      return Variant(list.Text());
                    });
  cls.DeclareProperty("FileName", "String", [](H* i, C*, const std::string& m) { return Variant(Ini(i, m).FileName()); });
}

// The section's lines as the list shows them: "name=value", or the values alone.
void SectionLines(TfsIniObject& ini, const std::string& section, TfsStrings& list, bool valuesOnly) {
  list.Items.clear();
  for (const std::string& key : ini.Contents().KeyNames(section)) {
    const std::string value = ini.Read(section, key).value_or("");
    list.Add(valuesOnly ? value : key + "=" + value);
  }
}

void DeclareMemIniFile(TfsScript& s) {
  TfsClassVariable& cls = fsDeclareClass(s, "TMemIniFile", "TCustomIniFile", [] {
    return new TfsIniObject(fsHostClass("TMemIniFile"), false);
  });
  cls.DeclareMethod("procedure WriteString(const Section, Ident, Value: String)", [](H* i, C*, const std::string& m, A& a) {
    Write(i, m, a, TextArg(a, 2));
    return Variant();
  });
  cls.DeclareMethod("function ReadString(const Section, Ident, Default: String): String",
                    [](H* i, C*, const std::string& m, A& a) {
                      return Variant(Ini(i, m).Read(TextArg(a, 0), TextArg(a, 1)).value_or(TextArg(a, 2)));
                    });
  cls.DeclareMethod("procedure ReadSectionValuesEx(const Section: String; Values: TStrings)",
                    [](H* i, C*, const std::string& m, A& a) {
                      SectionLines(Ini(i, m), TextArg(a, 0), fsStringsArg(a, 1, m), true);
                      return Variant();
                    });
  cls.DeclareMethod("procedure DeleteKey(const Section, Ident: String)", [](H* i, C*, const std::string& m, A& a) {
    Ini(i, m).DeleteKey(TextArg(a, 0), TextArg(a, 1));
    return Variant();
  });
  cls.DeclareMethod("procedure ReadSection(const Section: String; Strings: TStrings)", [](H* i, C*, const std::string& m, A& a) {
    fsStringsArg(a, 1, m).SetLines(Ini(i, m).Contents().KeyNames(TextArg(a, 0)));
    return Variant();
  });
  cls.DeclareMethod("procedure ReadSections(Strings: TStrings)", [](H* i, C*, const std::string& m, A& a) {
    fsStringsArg(a, 0, m).SetLines(Ini(i, m).Contents().SectionNames());
    return Variant();
  });
  cls.DeclareMethod("procedure ReadSectionValues(const Section: String; Strings: TStrings)",
                    [](H* i, C*, const std::string& m, A& a) {
                      SectionLines(Ini(i, m), TextArg(a, 0), fsStringsArg(a, 1, m), false);
                      return Variant();
                    });
  cls.DeclareMethod("procedure EraseSection(const Section: String)", [](H* i, C*, const std::string& m, A& a) {
    Ini(i, m).EraseSection(TextArg(a, 0));
    return Variant();
  });
  cls.DeclareMethod("procedure Clear", [](H* i, C*, const std::string& m, A&) {
    Ini(i, m).Replace(TIniText());
    return Variant();
  });
  cls.DeclareMethod("procedure GetStrings(List: TStrings)", [](H* i, C*, const std::string& m, A& a) {
    fsStringsArg(a, 0, m).SetText(Ini(i, m).Contents().Text());
    return Variant();
  });
  cls.DeclareMethod("procedure SetStrings(List: TStrings)", [](H* i, C*, const std::string& m, A& a) {
    Ini(i, m).Replace(TIniText(fsStringsArg(a, 0, m).Text()));
    return Variant();
  });
  cls.DeclareMethod("procedure SaveIniFileToStream(oStream: TStream)", [](H* i, C*, const std::string& m, A& a) {
    fsStreamArg(a, 0, m).WriteString(Ini(i, m).Contents().Text());
    return Variant();
  });
  cls.DeclareMethod("procedure LoadIniFileFromStream(oStream: TStream)", [](H* i, C*, const std::string& m, A& a) {
    Ini(i, m).Replace(TIniText(fsReadRest(fsStreamArg(a, 0, m))));
    return Variant();
  });
  // The file-backed kind has every member of the memory kind: each change is saved at once.
  fsDeclareClass(s, "TIniFile", "TMemIniFile", [] { return new TfsIniObject(fsHostClass("TIniFile"), true); });
}

class TfsIniRTTI final : public TfsRTTIModule {
 public:
  explicit TfsIniRTTI(TfsScript& script) : TfsRTTIModule(script) {
    DeclareCustomIniFile(script);
    DeclareMemIniFile(script);
  }
};

}  // namespace

std::unique_ptr<TfsRTTIModule> fsCreateIniRTTI(TfsScript& script) { return std::make_unique<TfsIniRTTI>(script); }
