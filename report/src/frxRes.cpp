#include "report/frxRes.h"

#include <charconv>
#include <mutex>

#include "frxRes_carried.h"
#include "platform/CodePage.h"
#include "platform/Stream.h"
#include "report/frxXML.h"

namespace {

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

[[noreturn]] void Fail(std::string_view source, const std::string& what) {
  throw EfrxResourceError("Message texts \"" + std::string(source) + "\": " + what);
}

// An attribute's value; a malformed character reference is an error of the document.
std::string Attribute(const TfrxXMLItem& item, std::string_view name, std::string_view source,
                      const std::string& where) {
  try {
    return item.Prop(name);
  } catch (const TfrxXMLConvertError& e) {
    Fail(source, where + ", " + std::string(name) + ": " + e.what());
  }
}

void CheckCodePage(const TfrxXMLItem& root, std::string_view source) {
  const std::string text = Attribute(root, "CodePage", source, "document element");
  if (text.empty()) return;
  int codePage = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), codePage);
  if (error != std::errc() || end != text.data() + text.size() || !codepage::IsSupported(codePage))
    Fail(source, "unknown code page \"" + text + "\"");
}

TfrxResourceEntry ReadEntry(const TfrxXMLItem& item, int index, std::string_view source) {
  const std::string where = "element " + std::to_string(index + 1);
  TfrxResourceEntry entry;
  entry.Name = Attribute(item, "Name", source, where);
  if (entry.Name.empty()) Fail(source, where + " has no Name");
  entry.Text = codepage::Utf8ToAnsi(Attribute(item, "Text", source, where));
  return entry;
}

void LoadCarried(TfrxResources& table, const frxres::CarriedDocument& document) {
  TMemoryStream stream;
  stream.WriteBuffer(document.Bytes.data(), static_cast<int64_t>(document.Bytes.size()));
  stream.SetPosition(0);
  table.LoadFromStream(stream, document.Name);
}

}  // namespace

std::vector<TfrxResourceEntry> frxReadResourceDocument(TStream& stream, std::string_view source) {
  TfrxXMLDocument document;
  try {
    document.LoadFromStream(stream);
  } catch (const TfrxInvalidXMLException& e) {
    Fail(source, std::string(e.what()) + " at byte " + std::to_string(e.Offset()));
  }
  const TfrxXMLItem& root = *document.Root();
  if (!SameText(root.Name, "Resources"))
    Fail(source, "the document element is \"" + root.Name + "\", not \"Resources\"");
  CheckCodePage(root, source);

  std::vector<TfrxResourceEntry> entries;
  entries.reserve(static_cast<std::size_t>(root.Count()));
  for (int i = 0; i < root.Count(); ++i) {
    const TfrxXMLItem& item = *root.Items(i);
    if (SameText(item.Name, "StrRes")) entries.push_back(ReadEntry(item, i, source));
  }
  return entries;
}

std::string TfrxResources::Get(std::string_view key) const {
  std::shared_lock guard(lock_);
  auto found = texts_.find(key);
  if (found == texts_.end()) return std::string(key);
  std::string_view text = found->second;
  if (!text.empty() && text.front() == '!') text.remove_prefix(1);
  return std::string(text);
}

std::string TfrxResources::Get(int id) const { return Get(std::to_string(id)); }

bool TfrxResources::Contains(std::string_view key) const {
  std::shared_lock guard(lock_);
  return texts_.find(key) != texts_.end();
}

std::size_t TfrxResources::Count() const {
  std::shared_lock guard(lock_);
  return texts_.size();
}

void TfrxResources::Add(std::string_view key, std::string_view text) {
  std::unique_lock guard(lock_);
  texts_.insert_or_assign(std::string(key), std::string(text));
}

void TfrxResources::AddEntries(const std::vector<TfrxResourceEntry>& entries) {
  std::unique_lock guard(lock_);
  for (const auto& entry : entries) texts_.insert_or_assign(entry.Name, entry.Text);
}

void TfrxResources::LoadFromStream(TStream& stream, std::string_view source) {
  AddEntries(frxReadResourceDocument(stream, source));
}

void TfrxResources::LoadFromFile(const std::string& path) {
  TFileStream file(path, TFileMode::OpenRead, TFileShare::DenyWrite);
  LoadFromStream(file, path);
}

void TfrxResources::LoadCarriedDocuments() {
  for (const auto& document : frxres::CarriedDocuments()) LoadCarried(*this, document);
}

TfrxResources& frxResources() {
  // The carried documents are fixed at build time and their loading is tested there, so
  // a failure here is not expected; should it happen anyway, the table stays usable and
  // every text shows its key rather than turning each message into a new error.
  static TfrxResources table;
  static std::once_flag loaded;
  std::call_once(loaded, [] {
    for (const auto& document : frxres::CarriedDocuments()) {
      try {
        LoadCarried(table, document);
      } catch (const std::exception&) {
      }
    }
  });
  return table;
}
