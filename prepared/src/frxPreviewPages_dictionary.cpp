// The dictionary of aliases and the picture cache of the prepared pages.

#include <filesystem>

#include "platform/Stream.h"
#include "prepared/frxPreviewPages.h"

// --- TfrxDictionary ------------------------------------------------------------------------

void TfrxDictionary::Add(const std::string& alias, const std::string& sourceName, TfrxComponent* object) {
  entries_[alias] = TEntry{sourceName, object};
}

std::string TfrxDictionary::CreateUniqueName(const std::string& prefix) const {
  int n = 10000;
  while (n > 1 && !Contains(prefix + std::to_string(n))) n /= 2;
  while (Contains(prefix + std::to_string(n))) ++n;
  return prefix + std::to_string(n);
}

std::string TfrxDictionary::AddUnique(const std::string& prefix, const std::string& sourceName,
                                      TfrxComponent* object) {
  std::string alias = CreateUniqueName(prefix);
  Add(alias, sourceName, object);
  return alias;
}

TfrxComponent* TfrxDictionary::GetObject(std::string_view alias) const {
  auto found = entries_.find(alias);
  return found == entries_.end() ? nullptr : found->second.Object;
}

std::string TfrxDictionary::GetSourceName(std::string_view alias) const {
  auto found = entries_.find(alias);
  return found == entries_.end() ? std::string() : found->second.SourceName;
}

void TfrxDictionary::ForEach(
    const std::function<void(const std::string& alias, const std::string& sourceName)>& visit) const {
  for (const auto& [alias, entry] : entries_) visit(alias, entry.SourceName);
}

// --- TfrxPictureCacheStreams ----------------------------------------------------------------------

void TfrxPictureCacheStreams::SetFileCaching(bool inFile, const std::string& tempDir) {
  inFile_ = inFile;
  tempDir_ = tempDir;
}

void TfrxPictureCacheStreams::Clear() {
  std::vector<std::string> files = FileNames();
  entries_.clear();
  streams_.clear();  // closes the files before they are deleted
  std::error_code ignored;
  for (const std::string& file : files) std::filesystem::remove(file, ignored);
}

std::vector<std::string> TfrxPictureCacheStreams::FileNames() const {
  std::vector<std::string> names;
  for (const auto& stream : streams_)
    if (auto* file = dynamic_cast<TFileStream*>(stream.get())) names.push_back(file->FileName());
  return names;
}

TStream& TfrxPictureCacheStreams::LastStream() {
  if (streams_.empty() || streams_.back()->Size() > kMaxStreamBytes) {
    if (inFile_) {
      std::string folder = tempDir_;
      std::error_code ignored;
      if (folder.empty() || !std::filesystem::is_directory(folder, ignored)) folder = SystemTempFolder();
      streams_.push_back(TFileStream::CreateTemporary(folder, "frPic"));
    } else {
      streams_.push_back(std::make_unique<TMemoryStream>());
    }
  }
  return *streams_.back();
}

int TfrxPictureCacheStreams::Add(const std::function<void(TStream&)>& write) {
  TStream& stream = LastStream();
  int64_t offset = stream.Seek(0, TSeekOrigin::End);
  entries_.push_back(TEntry{static_cast<int>(streams_.size()) - 1, offset});
  try {
    write(stream);
  } catch (...) {
    // A picture that could not be written leaves no entry and no partial bytes.
    entries_.pop_back();
    stream.SetSize(offset);
    throw;
  }
  return Count();
}

int TfrxPictureCacheStreams::AddBytes(std::string_view bytes) {
  return Add([bytes](TStream& s) { s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size())); });
}

std::string TfrxPictureCacheStreams::Bytes(int index) {
  if (index <= 0 || index > Count()) return {};
  const TEntry& entry = entries_[static_cast<size_t>(index - 1)];
  TStream& stream = *streams_[static_cast<size_t>(entry.Stream)];
  // The entry ends where the next entry of the same stream starts, or at the stream's end.
  int64_t end = stream.Size();
  if (index < Count() && entries_[static_cast<size_t>(index)].Stream == entry.Stream)
    end = entries_[static_cast<size_t>(index)].Offset;
  std::string bytes(static_cast<size_t>(end - entry.Offset), '\0');
  stream.SetPosition(entry.Offset);
  stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}
