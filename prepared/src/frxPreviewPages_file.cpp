// Prepared-report files (".fp3"): the store's tree with the report's settings, the source
// pages, the dictionary and the picture cache written into it.

#include <filesystem>

#include "frxPreviewPages_private.h"
#include "platform/Convert.h"
#include "platform/Stream.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxXMLSerializer.h"

using namespace frxprepared;

namespace {

// The picture cache's text is ours: anything but pairs of hexadecimal digits means the
// file was damaged, and a damaged picture is not guessed at.
std::string FromHex(std::string_view hex, int entry) {
  auto fail = [entry](const std::string& why) {
    return EfrxPreparedReportError("Picture cache entry " + std::to_string(entry) + " " + why);
  };
  if (hex.size() % 2 != 0) throw fail("has an odd number of hexadecimal digits");
  if (static_cast<int64_t>(hex.size() / 2) > TfrxPreparedLimits::kMaxPictureBytes)
    throw fail("is larger than " + std::to_string(TfrxPreparedLimits::kMaxPictureBytes) + " bytes");
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int hi = HexDigitValue(hex[i]), lo = HexDigitValue(hex[i + 1]);
    if (hi < 0 || lo < 0) throw fail("holds a character that is not a hexadecimal digit at " + std::to_string(i));
    bytes += static_cast<char>(hi * 16 + lo);
  }
  return bytes;
}

std::string BoolText(bool v) { return v ? "1" : "0"; }

}  // namespace

// --- saving --------------------------------------------------------------------------------

void TfrxPreviewPages::WriteReportElement() {
  TfrxXMLItem& element = Child("report");
  element.Clear();
  TfrxXMLItem* item = element.Add();
  item->Name = report_.ClassName();
  item->SetProp("DotMatrixReport", BoolText(report_.DotMatrixReport()));
  item->SetProp("PreviewOptions.OutlineVisible", BoolText(report_.PreviewOptions().OutlineVisible));
  item->SetProp("PreviewOptions.OutlineWidth", std::to_string(report_.PreviewOptions().OutlineWidth));
  item->SetProp("ReportOptions.Name", report_.ReportOptions().Name);
}

void TfrxPreviewPages::WriteSourcePages() {
  TfrxXMLItem& element = Child("sourcepages");
  element.Clear();
  for (const auto& page : sourcePages_) {
    TfrxXMLSerializer serializer;
    serializer.SaveRoot(page.get(), true, true, element.Add());
  }
}

void TfrxPreviewPages::WriteDictionary() {
  TfrxXMLItem& element = Child("dictionary");
  element.Clear();
  dictionary_.ForEach([&element](const std::string& alias, const std::string& sourceName) {
    TfrxXMLItem* item = element.Add();
    item->Name = alias;
    item->Text = "name=\"" + sourceName + "\"";
  });
}

void TfrxPreviewPages::WritePictureCache() {
  TfrxXMLItem& element = Child("picturecache");
  element.Clear();
  for (int i = 1; i <= pictures_.Count(); ++i) {
    TfrxXMLItem* item = element.Add();
    item->Name = "item";
    item->SetProp("stream", BytesToHex(pictures_.Bytes(i)));
  }
}

void TfrxPreviewPages::SaveToStream(TStream& stream) {
  WriteReportElement();
  WriteSourcePages();
  WriteDictionary();
  WritePictureCache();
  xml_.SaveToStream(stream);
}

void TfrxPreviewPages::SaveToFile(const std::string& fileName) {
  // Written beside the target and renamed over it when complete, so that a failed save
  // never leaves half a file in place of a good one.
  std::filesystem::path target(fileName);
  std::string folder = target.has_parent_path() ? target.parent_path().string() : std::string(".");
  std::unique_ptr<TFileStream> file = TFileStream::CreateTemporary(folder, ".fp3");
  const std::string temporary = file->FileName();
  try {
    SaveToStream(*file);
    file.reset();
    using std::filesystem::perms;
    std::filesystem::permissions(temporary, perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
    std::filesystem::rename(temporary, target);
  } catch (...) {
    file.reset();
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw;
  }
}

// --- loading -------------------------------------------------------------------------------

void TfrxPreviewPages::ReadReportElement() {
  int at = xml_.Root()->Find("report");
  if (at < 0 || xml_.Root()->Items(at)->Count() == 0) return;
  const TfrxXMLItem& item = *xml_.Root()->Items(at)->Items(0);
  // Only the four settings a prepared report carries are taken: a file must not reach
  // the report's other properties (its ancestor template, its script, its folders).
  std::string text;
  for (const char* name :
       {"DotMatrixReport", "PreviewOptions.OutlineVisible", "PreviewOptions.OutlineWidth", "ReportOptions.Name"}) {
    if (item.Text.find(name) == std::string::npos) continue;
    text += ' ';
    text += name;
    text += "=\"" + EscapeXMLText(item.Prop(name)) + "\"";
  }
  TfrxXMLSerializer serializer;
  serializer.AttributesToProperties(text, report_);
  report_.Errors().AddAll(serializer.ErrorTexts());
}

void TfrxPreviewPages::ReadSourcePages() {
  TfrxXMLItem& element = Child("sourcepages");
  for (int i = 0; i < element.Count(); ++i) {
    TfrxXMLItem& item = *element.Items(i);
    std::unique_ptr<TfrxComponent> page(NewPage(item.Name));
    if (!page) page.reset(NewPage("TfrxReportPage"));
    if (!page)
      throw EfrxPreparedReportError("Source page " + std::to_string(i) + " <" + item.Name +
                                    "> is not a page class of this program");
    TfrxXMLSerializer serializer;
    serializer.LegacyText = xml_.LegacyText;
    serializer.LoadRoot(page.get(), &item);
    report_.Errors().AddAll(serializer.ErrorTexts());
    for (TfrxComponent* object : page->AllObjects()) storedTexts_[object] = serializer.ObjectToText(object);
    sourcePages_.push_back(std::move(page));
  }
  element.Clear();
}

void TfrxPreviewPages::ReadDictionary() {
  TfrxXMLItem& element = Child("dictionary");
  for (int i = 0; i < element.Count(); ++i) {
    const TfrxXMLItem& item = *element.Items(i);
    // The attribute text is name="Page<n>.<object>", as it was written.
    if (item.Text.size() < 7) continue;
    const std::string sourceName = item.Text.substr(6, item.Text.size() - 7);
    if (sourceName.compare(0, 4, "Page") != 0) continue;
    const size_t dot = sourceName.find('.');
    if (dot == std::string::npos) continue;
    std::optional<int> page = TryStrToInt(sourceName.substr(4, dot - 4));
    if (!page || *page < 0 || *page >= SourcePageCount()) continue;
    TfrxComponent* object = SourcePage(*page)->FindObject(sourceName.substr(dot + 1));
    // An alias whose object is not there is left out: its elements then name no class
    // and are reported as unknown when their page is built.
    if (!object) continue;
    dictionary_.Add(item.Name, sourceName, object);
    object->SetOutputAlias(item.Name);
  }
}

void TfrxPreviewPages::ReadPictureCache() {
  pictures_.Clear();
  pictures_.SetFileCaching(report_.PreviewOptions().PictureCacheInFile, report_.EngineOptions().TempDir);
  int at = xml_.Root()->Find("picturecache");
  if (at < 0) return;
  const TfrxXMLItem& element = *xml_.Root()->Items(at);
  for (int i = 0; i < element.Count(); ++i) pictures_.AddBytes(FromHex(element.Items(i)->Prop("stream"), i + 1));
}

void TfrxPreviewPages::CheckOutlineAndAnchors() const {
  // Walked without recursion: the nesting of a damaged file is bounded, not the stack.
  struct TLevel {
    const TfrxXMLItem* Item;
    int Depth;
  };
  std::vector<TLevel> pending;
  for (const char* list : {"outline", "anchors"}) {
    const int at = xml_.Root()->Find(list);
    if (at >= 0) pending.push_back({xml_.Root()->Items(at), 0});
    while (!pending.empty()) {
      const TLevel level = pending.back();
      pending.pop_back();
      if (level.Depth > TfrxPreparedLimits::kMaxOutlineDepth)
        throw EfrxPreparedReportError(std::string("Items of <") + list + "> nested deeper than " +
                                      std::to_string(TfrxPreparedLimits::kMaxOutlineDepth) + " levels");
      for (int i = 0; i < level.Item->Count(); ++i) {
        const TfrxXMLItem& item = *level.Item->Items(i);
        try {
          item.Prop("text");
          for (const char* number : {"page", "top"}) {
            const std::string value = item.Prop(number);
            if (!value.empty() && !TryStrToInt(value)) throw EConvertError("'" + value + "' is not a valid integer value");
          }
        } catch (const EConvertError& e) {
          throw EfrxPreparedReportError(std::string("Item ") + std::to_string(i + 1) + " of <" + list +
                                        "> is damaged: " + e.what());
        }
        pending.push_back({&item, level.Depth + 1});
      }
    }
  }
}

void TfrxPreviewPages::LoadFromStream(TStream& stream, bool partialLoading) {
  ClearAll();
  try {
    xml_.LoadFromStream(stream, partialLoading);
    loadedFrom_ = &stream;
    if (xml_.Root()->Name != "preparedreport")
      throw EfrxPreparedReportError("Invalid file format: the document element is <" + xml_.Root()->Name +
                                    ">, not <preparedreport>");
    CheckOutlineAndAnchors();
    ReadReportElement();
    ReadSourcePages();
    ReadDictionary();
    ReadPictureCache();
  } catch (...) {
    ClearAll();
    xml_.Root()->Name = "preparedreport";
    throw;
  }
}

bool TfrxPreviewPages::LoadFromFile(const std::string& fileName, bool raiseIfMissing) {
  std::error_code ignored;
  const bool exists = std::filesystem::is_regular_file(fileName, ignored);
  if (!exists && !raiseIfMissing) return false;
  TFileStream file(fileName, TFileMode::OpenRead, TFileShare::DenyWrite);
  LoadFromStream(file, false);
  loadedFrom_ = nullptr;  // the file closes here; nothing was left in it
  return exists;
}
