// TfrxReport: loading and saving templates, the report's own raw-data records, and
// template inheritance.
#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/FileSystem.h"
#include "platform/Stream.h"
#include "report/frxClassReport.h"
#include "report/frxRes.h"
#include "report/frxXMLSerializer.h"

namespace {

// How deep ancestors may name ancestors (a template naming itself would never end).
constexpr int kMaxAncestorDepth = 16;

// The password is stored with every character code lowered by 10.
std::string ShiftPassword(std::string text, int by) {
  for (char& c : text) c = static_cast<char>(static_cast<unsigned char>(c) + by);
  return text;
}

bool IsAbsolutePath(const std::string& path) {
  bool drive = path.size() >= 2 && path[1] == ':' &&
               ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return drive || (!path.empty() && (path[0] == '/' || path[0] == '\\'));
}

std::string FolderOf(const std::string& fileName) {
  size_t slash = fileName.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

// Every element of the tree below `item`, depth first.
void CollectElements(TfrxXMLItem& item, std::vector<TfrxXMLItem*>& out) {
  for (int i = 0; i < item.Count(); ++i) {
    out.push_back(item.Items(i));
    CollectElements(*item.Items(i), out);
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Loading

bool TfrxReport::LoadFromFile(const std::string& fileName, bool raiseIfMissing) {
  Clear();
  fileName_.clear();
  bool exists = fsys::FileExists(fileName);
  if (exists || raiseIfMissing) {
    TFileStream file(fileName, TFileMode::OpenRead, TFileShare::DenyWrite);
    fileName_ = fileName;
    LoadFromStream(file);
  }
  return exists;
}

void TfrxReport::LoadFromStream(TStream& stream) {
  errors_.Clear();
  // The host decides these; the template only the few taken back below.
  TfrxEngineOptions engineOptions = engineOptions_;
  TfrxPreviewOptions previewOptions = previewOptions_;
  std::string iniFile = iniFile_;
  TfrxCustomPreview* preview = preview_;
  bool oldStyleProgress = oldStyleProgress_, showProgress = showProgress_, storeInDFM = storeInDFM_;

  try {
    TfrxComponent::LoadFromStream(stream);
  } catch (const std::exception& e) {
    errors_.Add(e.what());
  }

  bool convertNulls = engineOptions_.ConvertNulls, ignoreDevByZero = engineOptions_.IgnoreDevByZero,
       doublePass = engineOptions_.DoublePass;
  engineOptions_ = engineOptions;
  engineOptions_.ConvertNulls = convertNulls;
  engineOptions_.IgnoreDevByZero = ignoreDevByZero;
  engineOptions_.DoublePass = doublePass;

  TfrxPreviewOptions read = previewOptions_;
  previewOptions_ = previewOptions;
  previewOptions_.OutlineVisible = read.OutlineVisible;
  previewOptions_.OutlineWidth = read.OutlineWidth;
  previewOptions_.OutlineExpand = read.OutlineExpand;
  previewOptions_.PagesInCache = read.PagesInCache;
  previewOptions_.ThumbnailVisible = read.ThumbnailVisible;

  iniFile_ = iniFile;
  preview_ = preview;
  oldStyleProgress_ = oldStyleProgress;
  showProgress_ = showProgress;
  storeInDFM_ = storeInDFM;

  reportOptions_.Password = ShiftPassword(reportOptions_.Password, 10);

  if (!reportOptions_.Password.empty() && !reportOptions_.PasswordEntered && !reloading_) {
    std::string entered;
    if (frxAskPassword(entered) && entered == reportOptions_.Password) {
      reportOptions_.PasswordEntered = true;
    } else {
      errors_.Add("Invalid password");
      ShowErrors(ErrorsReport());
      Clear();
      return;
    }
  }
  // A reload of Prepare's copy leaves its errors to Prepare, which reports once.
  if (!errors_.Empty() && !reloading_) ShowErrors(ErrorsReport());
}

// ---------------------------------------------------------------------------------------
// Saving

void TfrxReport::SaveToStream(TStream& stream, bool saveChildren, bool saveAsClassName, bool saveDefaults) {
  std::string password = reportOptions_.Password;
  reportOptions_.Password = ShiftPassword(password, -10);
  try {
    TfrxXMLSerializer serializer(&stream);
    serializer.RootOwner = this;
    serializer.WriteDefaults = saveDefaults;
    // Against the ancestor, only what this template changes is written, so that later
    // changes of the ancestor reach it.
    std::unique_ptr<TfrxReport> ancestor;
    if (!parentReport_.empty()) {
      ancestor = std::make_unique<TfrxReport>();
      ancestor->EngineOptions().NewSilentMode = simSilent;
      ancestor->fileName_ = fileName_;
      ancestor->OnLoadTemplate = OnLoadTemplate;
      ancestor->SetParentReport(parentReport_);
      ancestor->parentReport_.clear();  // compared, our own ParentReport is always written
      serializer.AncestorLookup = [&ancestor](const std::string& name) -> TfrxComponent* {
        return name.empty() ? ancestor.get() : ancestor->FindObject(name);
      };
    }
    serializer.SaveRoot(this, saveChildren, saveAsClassName);
  } catch (...) {
    reportOptions_.Password = password;
    throw;
  }
  reportOptions_.Password = password;
}

void TfrxReport::SaveToFile(const std::string& fileName) {
  if (IsAbsolutePath(parentReport_)) {
    std::filesystem::path folder = fsys::NativePath(FolderOf(fileName).empty() ? "." : FolderOf(fileName));
    std::filesystem::path relative = fsys::NativePath(parentReport_).lexically_relative(
        std::filesystem::absolute(folder).lexically_normal());
    if (!relative.empty()) parentReport_ = relative.generic_string();
  }
  TFileStream file(fileName, TFileMode::Create);
  fileName_ = fileName;  // relative ancestor names are found beside it from now on
  SaveToStream(file);
}

// ---------------------------------------------------------------------------------------
// Raw-data records

void TfrxReport::ReadCollection(TfrxPropReader& reader, TfrxXMLSerializer& serializer,
                                const std::function<TPersistent&()>& newItem) {
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    reader.ReadListBegin();
    TPersistent& item = newItem();
    while (!reader.EndOfList()) serializer.LoadPersistentFromText(this, item, reader.ReadString());
    reader.ReadListEnd();
  }
  reader.ReadListEnd();
}

void TfrxReport::WriteCollection(TfrxPropWriter& writer, TfrxXMLSerializer& serializer, int count,
                                 const std::function<TPersistent&(int)>& item) const {
  writer.WriteListBegin();
  for (int i = 0; i < count; ++i) {
    writer.WriteListBegin();
    writer.WriteLongString(serializer.PropertiesToAttributes(item(i)));
    writer.WriteListEnd();
  }
  writer.WriteListEnd();
}

void TfrxReport::DefineProperties(TfrxFiler& filer) {
  TfrxXMLSerializer& serializer = filer.Serializer();
  filer.DefineProperty(
      "Left", [this](TfrxPropReader& r) { designLeft_ = static_cast<int32_t>(r.ReadInteger()); },
      [this](TfrxPropWriter& w) { w.WriteInteger(designLeft_.value_or(0)); }, designLeft_.has_value());
  filer.DefineProperty(
      "Top", [this](TfrxPropReader& r) { designTop_ = static_cast<int32_t>(r.ReadInteger()); },
      [this](TfrxPropWriter& w) { w.WriteInteger(designTop_.value_or(0)); }, designTop_.has_value());
  filer.DefineProperty(
      "Datasets",
      [this, &serializer](TfrxPropReader& r) {
        dataSets_.Clear();
        ReadCollection(r, serializer, [this]() -> TPersistent& { return dataSets_.Add(); });
      },
      [this, &serializer](TfrxPropWriter& w) {
        WriteCollection(w, serializer, dataSets_.Count(), [this](int i) -> TPersistent& { return dataSets_.Items(i); });
      },
      dataSets_.Count() > 0);
  filer.DefineProperty(
      "Variables",
      [this, &serializer](TfrxPropReader& r) {
        variables_.Clear();
        ReadCollection(r, serializer, [this]() -> TPersistent& { return variables_.Add(); });
      },
      [this, &serializer](TfrxPropWriter& w) {
        WriteCollection(w, serializer, variables_.Count(),
                        [this](int i) -> TPersistent& { return variables_.Items(i); });
      },
      variables_.Count() > 0);
  filer.DefineProperty(
      "Style",
      [this, &serializer](TfrxPropReader& r) {
        styles_.Clear();
        ReadCollection(r, serializer, [this]() -> TPersistent& { return styles_.Add(); });
      },
      [this, &serializer](TfrxPropWriter& w) {
        WriteCollection(w, serializer, styles_.Count(), [this](int i) -> TPersistent& { return styles_.Items(i); });
      },
      styles_.Count() > 0);
}

// ---------------------------------------------------------------------------------------
// Template inheritance

void TfrxReport::SetParentReport(const std::string& name) {
  if (name.empty())
    parentReport_.clear();
  else
    LoadAncestor(name);
}

std::string TfrxReport::FindAncestorFile(const std::string& name) const {
  if (IsAbsolutePath(name)) return name;
  for (const std::string& folder : {FolderOf(fileName_), fsys::ProgramFolder()}) {
    std::string candidate = folder + name;
    if (fsys::FileExists(candidate)) return candidate;
  }
  return {};
}

void TfrxReport::LoadAncestor(const std::string& name) {
  if (ancestorDepth_ >= kMaxAncestorDepth) {
    errors_.Add("Too many parent reports (limit is " + std::to_string(kMaxAncestorDepth) + "): " + name);
    return;
  }
  // Objects of the current template, kept aside when the ancestor is set on a report
  // that already has some (the designer's case); when loading, the template's elements
  // follow and fill the ancestor's objects by name.
  std::unique_ptr<TfrxXMLDocument> current;
  if (!IsLoading() && !Objects().empty()) {
    TMemoryStream saved;
    parentReport_.clear();  // read back, it would load an ancestor again
    TfrxComponent::SaveToStream(saved);
    saved.SetPosition(0);
    current = std::make_unique<TfrxXMLDocument>();
    current->LoadFromStream(saved);
    TfrxComponent::Clear();
  }

  ++ancestorDepth_;
  try {
    if (OnLoadTemplate) {
      OnLoadTemplate(*this, name);
    } else {
      std::string path = FindAncestorFile(name);
      if (path.empty()) throw EfrxReportError("Cannot find the parent report " + name);
      TFileStream file(path, TFileMode::OpenRead, TFileShare::DenyWrite);
      TfrxXMLDocument doc;
      doc.LoadFromStream(file);
      TfrxXMLSerializer serializer;
      serializer.LoadRoot(this, doc.Root());
      errors_.AddAll(serializer.ErrorTexts());
    }
  } catch (const std::exception& e) {
    errors_.Add(e.what());
  }
  --ancestorDepth_;
  parentReport_ = name;  // the ancestor's own ParentReport must not replace ours
  for (TfrxComponent* c : AllObjects()) c->SetFromAncestor(true);

  if (!current) return;
  std::vector<TfrxXMLItem*> elements;
  CollectElements(*current->Root(), elements);
  std::set<std::string, decltype([](const std::string& x, const std::string& y) { return frxCompareText(x, y) < 0; })>
      taken;
  std::vector<std::string> duplicates;
  for (TfrxXMLItem* e : elements) {
    std::string objectName = e->Prop("Name");
    taken.insert(objectName);
    if (!objectName.empty() && FindObject(objectName)) duplicates.push_back(objectName);
  }
  if (!duplicates.empty() && frxAskDuplicates(duplicates) == TfrxDuplicatesAnswer::Delete) {
    // Deleting an element takes its subtree with it: look again after each one.
    for (;;) {
      elements.clear();
      CollectElements(*current->Root(), elements);
      auto it = std::find_if(elements.begin(), elements.end(),
                             [this](const TfrxXMLItem* e) {
                               std::string objectName = e->Prop("Name");
                               return !objectName.empty() && FindObject(objectName) != nullptr;
                             });
      if (it == elements.end()) break;
      delete *it;
    }
  } else if (!duplicates.empty()) {
    for (TfrxXMLItem* e : elements) {
      std::string objectName = e->Prop("Name");
      if (objectName.empty() || !FindObject(objectName)) continue;
      int n = 1;
      while (FindObject(objectName + std::to_string(n)) || taken.count(objectName + std::to_string(n))) ++n;
      e->SetProp("Name", objectName + std::to_string(n));
      taken.insert(objectName + std::to_string(n));
    }
  }
  TfrxXMLSerializer serializer;
  serializer.LoadRoot(this, current->Root());
  errors_.AddAll(serializer.ErrorTexts());
  parentReport_ = name;
}
