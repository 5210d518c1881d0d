// The report's option records, their published properties and clearing rules, and the
// error list.
#include <algorithm>
#include <ctime>

#include "platform/CodePage.h"
#include "report/frxClassReport.h"
#include "report/frxRes.h"

namespace {

// Lower case of one UTF-16 unit for the Latin letters Windows-1250 can hold.
char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  // Latin Extended-A: pairs upper (even) / lower (odd), shifted by one in two runs.
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return static_cast<char16_t>(c | 1);
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
    return (c & 1) ? static_cast<char16_t>(c + 1) : c;
  return c;
}

}  // namespace

// Now as days since 30 December 1899, local time.
double frxNow() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  std::tm epoch{};
  epoch.tm_year = -1;  // 1899
  epoch.tm_mon = 11;
  epoch.tm_mday = 30;
  // Calendar days between the two dates, independent of time zones.
  auto days = [](const std::tm& d) {
    int y = d.tm_year + 1900, m = d.tm_mon + 1;
    if (m <= 2) {
      y -= 1;
      m += 12;
    }
    return 365L * y + y / 4 - y / 100 + y / 400 + (153 * (m - 3) + 2) / 5 + d.tm_mday;
  };
  double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
  return static_cast<double>(days(local) - days(epoch)) + seconds / 86400.0;
}

int frxCompareText(std::string_view a, std::string_view b) {
  std::u16string wa = codepage::ToWide(a), wb = codepage::ToWide(b);
  size_t n = std::min(wa.size(), wb.size());
  for (size_t i = 0; i < n; ++i) {
    char16_t x = FoldCase(wa[i]), y = FoldCase(wb[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (wa.size() == wb.size()) return 0;
  return wa.size() < wb.size() ? -1 : 1;
}

void TfrxErrorList::Add(const std::string& message) {
  auto it = std::lower_bound(items_.begin(), items_.end(), message,
                             [](const std::string& x, const std::string& y) { return frxCompareText(x, y) < 0; });
  if (it != items_.end() && frxCompareText(*it, message) == 0) return;
  items_.insert(it, message);
}

void TfrxErrorList::AddAll(const std::vector<std::string>& messages) {
  for (const std::string& m : messages) Add(m);
}

std::string TfrxErrorList::Text() const {
  std::string text;
  for (const std::string& m : items_) text += m + "\r\n";
  return text;
}

// ---------------------------------------------------------------------------------------
// Enumerations

const TfrxEnumType& frxSilentModeType() {
  static const TfrxEnumType type{"TfrxSilentMode", {"simMessageBoxes", "simSilent", "simReThrow"}};
  return type;
}
const TfrxEnumType& frxPrintModeType() {
  static const TfrxEnumType type{"TfrxPrintMode", {"pmDefault", "pmSplit", "pmJoin", "pmScale"}};
  return type;
}
const TfrxEnumType& frxPrintPagesType() {
  static const TfrxEnumType type{"TfrxPrintPages", {"ppAll", "ppOdd", "ppEven"}};
  return type;
}
const TfrxEnumType& frxZoomModeType() {
  static const TfrxEnumType type{"TfrxZoomMode", {"zmDefault", "zmWholePage", "zmPageWidth", "zmManyPages"}};
  return type;
}
const TfrxEnumType& frxPreviewButtonsType() {
  static const TfrxEnumType type{"TfrxPreviewButton",
                                 {"pbPrint", "pbLoad", "pbSave", "pbExport", "pbZoom", "pbFind", "pbOutline",
                                  "pbPageSetup", "pbTools", "pbEdit", "pbNavigator", "pbExportQuick", "pbNoClose",
                                  "pbNoFullScreen", "pbNoEmail"}};
  return type;
}

// ---------------------------------------------------------------------------------------
// Option records. Their settings are plain fields; each declaration reaches its field
// directly.

namespace {

template <class T>
class FieldDeclarations {
 public:
  explicit FieldDeclarations(TfrxClassInfo& info) : info_(info) {}

  template <class F>
  void Boolean(const char* name, F T::*field, bool def) {
    Ordinal(name, TfrxPropKind::Enumeration, &frxBooleanType(), field).Default = def ? 1 : 0;
  }
  template <class F>
  TfrxPropInfo& Integer(const char* name, F T::*field) {
    return Ordinal(name, TfrxPropKind::Integer, nullptr, field);
  }
  template <class F>
  TfrxPropInfo& Enum(const char* name, const TfrxEnumType& type, F T::*field) {
    return Ordinal(name, TfrxPropKind::Enumeration, &type, field);
  }
  template <class F>
  TfrxPropInfo& Set(const char* name, const TfrxEnumType& type, F T::*field) {
    return Ordinal(name, TfrxPropKind::Set, &type, field);
  }
  void String(const char* name, std::string T::*field) {
    TfrxPropInfo& p = Begin(name, TfrxPropKind::String);
    p.GetStr = [field](const TPersistent& o) { return static_cast<const T&>(o).*field; };
    p.SetStr = [field](TPersistent& o, const std::string& v) { static_cast<T&>(o).*field = v; };
  }
  // A string list kept as its text (lines each followed by CR LF).
  void Strings(const char* name, std::string T::*field) {
    TfrxPropInfo& p = Begin(name, TfrxPropKind::Strings);
    p.GetStr = [field](const TPersistent& o) { return static_cast<const T&>(o).*field; };
    p.SetStr = [field](TPersistent& o, const std::string& v) {
      std::string text = v;
      if (!text.empty() && text.back() != '\n') text += "\r\n";
      static_cast<T&>(o).*field = text;
    };
  }
  TfrxPropInfo& Float(const char* name, double T::*field) {
    TfrxPropInfo& p = Begin(name, TfrxPropKind::Float);
    p.GetFloat = [field](const TPersistent& o) { return static_cast<const T&>(o).*field; };
    p.SetFloat = [field](TPersistent& o, double v) { static_cast<T&>(o).*field = v; };
    return p;
  }
  TfrxPropInfo& Begin(const char* name, TfrxPropKind kind) {
    auto p = std::make_unique<TfrxPropInfo>();
    p->Name = name;
    p->Kind = kind;
    return info_.AddDeclaration(std::move(p));
  }

 private:
  template <class F>
  TfrxPropInfo& Ordinal(const char* name, TfrxPropKind kind, const TfrxEnumType* type, F T::*field) {
    TfrxPropInfo& p = Begin(name, kind);
    p.Enum = type;
    p.GetOrd = [field](const TPersistent& o) { return static_cast<int64_t>(static_cast<const T&>(o).*field); };
    bool isEnum = kind == TfrxPropKind::Enumeration;
    p.SetOrd = [field, type, isEnum](TPersistent& o, int64_t v) {
      // An enumeration never takes a value outside its type.
      if (isEnum && (v < 0 || v >= static_cast<int64_t>(type->Values.size()))) return;
      static_cast<T&>(o).*field = static_cast<F>(v);
    };
    return p;
  }

  TfrxClassInfo& info_;
};

}  // namespace

const TfrxClassInfo& TfrxEngineOptions::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxEngineOptions", nullptr, nullptr, [](TfrxClassInfo& c) {
    using O = TfrxEngineOptions;
    FieldDeclarations<O> d(c);
    d.Boolean("ConvertNulls", &O::ConvertNulls, true);
    d.Boolean("DoublePass", &O::DoublePass, false);
    d.Integer("MaxMemSize", &O::MaxMemSize).Default = 10;
    d.Boolean("PrintIfEmpty", &O::PrintIfEmpty, true);
    // The boolean view of NewSilentMode: read from older templates, never written.
    TfrxPropInfo& silent = d.Begin("SilentMode", TfrxPropKind::Enumeration);
    silent.Enum = &frxBooleanType();
    silent.GetOrd = [](const TPersistent& o) -> int64_t { return static_cast<const O&>(o).SilentMode(); };
    silent.SetOrd = [](TPersistent& o, int64_t v) { static_cast<O&>(o).SetSilentMode(v != 0); };
    silent.StoredFlag = false;
    d.Enum("NewSilentMode", frxSilentModeType(), &O::NewSilentMode).Default = simMessageBoxes;
    d.String("TempDir", &O::TempDir);
    d.Boolean("UseFileCache", &O::UseFileCache, false);
    d.Boolean("IgnoreDevByZero", &O::IgnoreDevByZero, false);
  });
  return info;
}

void TfrxEngineOptions::Clear() {
  ConvertNulls = true;
  IgnoreDevByZero = false;
  DoublePass = false;
}

const TfrxClassInfo& TfrxPreviewOptions::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxPreviewOptions", nullptr, nullptr, [](TfrxClassInfo& c) {
    using O = TfrxPreviewOptions;
    FieldDeclarations<O> d(c);
    d.Boolean("AllowEdit", &O::AllowEdit, true);
    d.Set("Buttons", frxPreviewButtonsType(), &O::Buttons).Default = frxAllPreviewButtons;
    d.Boolean("DoubleBuffered", &O::DoubleBuffered, true);
    d.Boolean("Maximized", &O::Maximized, true);
    d.Boolean("MDIChild", &O::MDIChild, false);
    d.Boolean("Modal", &O::Modal, true);
    d.Boolean("OutlineExpand", &O::OutlineExpand, true);
    d.Boolean("OutlineVisible", &O::OutlineVisible, false);
    d.Integer("OutlineWidth", &O::OutlineWidth).Default = 120;
    d.Integer("PagesInCache", &O::PagesInCache).Default = 50;
    d.Boolean("ShowCaptions", &O::ShowCaptions, false);
    d.Boolean("ThumbnailVisible", &O::ThumbnailVisible, false);
    d.Float("Zoom", &O::Zoom).FloatDefault = 1;
    d.Enum("ZoomMode", frxZoomModeType(), &O::ZoomMode).Default = zmDefault;
    d.Boolean("PictureCacheInFile", &O::PictureCacheInFile, false);
  });
  return info;
}

void TfrxPreviewOptions::Clear() {
  OutlineExpand = true;
  OutlineVisible = false;
  OutlineWidth = 120;
  PagesInCache = 50;
  ThumbnailVisible = false;
}

const TfrxClassInfo& TfrxPrintOptions::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxPrintOptions", nullptr, nullptr, [](TfrxClassInfo& c) {
    using O = TfrxPrintOptions;
    FieldDeclarations<O> d(c);
    d.Integer("Copies", &O::Copies).Default = 1;
    d.Boolean("Collate", &O::Collate, true);
    d.String("PageNumbers", &O::PageNumbers);
    d.Integer("PagesOnSheet", &O::PagesOnSheet).Default = 0;
    d.String("Printer", &O::Printer);
    d.Enum("PrintMode", frxPrintModeType(), &O::PrintMode).Default = pmDefault;
    d.Integer("PrintOnSheet", &O::PrintOnSheet).Default = 0;
    d.Enum("PrintPages", frxPrintPagesType(), &O::PrintPages).Default = ppAll;
    d.Boolean("Reverse", &O::Reverse, false);
    d.Boolean("ShowDialog", &O::ShowDialog, true);
    d.Boolean("SwapPageSize", &O::SwapPageSize, false);
  });
  return info;
}

void TfrxPrintOptions::Clear() {
  Copies = 1;
  Collate = true;
  PageNumbers.clear();
  PagesOnSheet = 0;
  Printer = frxResources().Get("prDefault");
  PrintMode = pmDefault;
  PrintOnSheet = 0;
  PrintPages = ppAll;
  Reverse = false;
  ShowDialog = true;
  SplicingLine = 3;
}

const TfrxClassInfo& TfrxReportOptions::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxReportOptions", nullptr, nullptr, [](TfrxClassInfo& c) {
    using O = TfrxReportOptions;
    FieldDeclarations<O> d(c);
    d.String("Author", &O::Author);
    d.Boolean("Compressed", &O::Compressed, false);
    d.String("ConnectionName", &O::ConnectionName);
    d.Float("CreateDate", &O::CreateDate);
    d.Strings("Description", &O::Description);
    d.String("InitString", &O::InitString);
    d.String("Name", &O::Name);
    d.Float("LastChange", &O::LastChange);
    d.String("Password", &O::Password);
    d.String("VersionBuild", &O::VersionBuild);
    d.String("VersionMajor", &O::VersionMajor);
    d.String("VersionMinor", &O::VersionMinor);
    d.String("VersionRelease", &O::VersionRelease);
  });
  return info;
}

void TfrxReportOptions::Clear() {
  Author.clear();
  Compressed = false;
  ConnectionName.clear();
  Description.clear();
  InitString.clear();
  Name.clear();
  Password.clear();
  VersionBuild.clear();
  VersionMajor.clear();
  VersionMinor.clear();
  VersionRelease.clear();
  PasswordEntered = false;
  CreateDate = LastChange = frxNow();
}
