#pragma once
// Keyed message texts. Every user-visible text of the report library is looked up by a key
// ("prDupl", "clErrors", "200", ...) in one process-wide table, frxResources(), filled on
// first use from the resource documents compiled into the library (report/res/*.xml, in
// file-name order) and extendable by further documents at any time.
//
// Lookup rules:
// - a key without an entry yields the key itself (so an untranslated caption still shows
//   something meaningful);
// - a leading "!" of an entry is dropped (only one).
// Keys compare exactly, case included.
//
// A resource document:
//   <?xml version="1.0" encoding="utf-8"?>
//   <Resources CodePage="1250">
//     <StrRes Name="mbError" Text="Błąd"/>
//   </Resources>
// "Text" is UTF-8; the table holds and returns 8-bit text of the system code page
// (Windows-1250), whatever code page a document names, because all 8-bit text of the
// program is in that page. "CodePage", when present, must name a code page the platform
// knows. Elements other than "StrRes" are left for other resource kinds and skipped.
//
// Loading a document adds its keys and replaces the texts of keys already present, a later
// entry of the same key winning. A document that cannot be read leaves the table as it was
// and raises EfrxResourceError naming the document and what is wrong.
//
// The table may be read and extended from any thread; the first use loads the carried
// documents exactly once.

#include <cstddef>
#include <map>
#include <shared_mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TStream;

class EfrxResourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TfrxResourceEntry {
  std::string Name;
  std::string Text;  // 8-bit text, as stored (a leading "!" is kept)
};

// The entries of one resource document read from the stream's current position, in
// document order. `source` names the document in error messages.
std::vector<TfrxResourceEntry> frxReadResourceDocument(TStream& stream, std::string_view source);

class TfrxResources {
 public:
  TfrxResources() = default;
  TfrxResources(const TfrxResources&) = delete;
  TfrxResources& operator=(const TfrxResources&) = delete;

  // The text of `key` by the lookup rules above.
  std::string Get(std::string_view key) const;
  // Numbered texts of the dialogs and windows (captions such as 200 "Drukuj").
  std::string Get(int id) const;
  bool Contains(std::string_view key) const;
  std::size_t Count() const;

  // Adds the entry or replaces the text of an existing one (8-bit text).
  void Add(std::string_view key, std::string_view text);
  // Adds all entries in order; a later entry of the same key wins. Atomic for readers.
  void AddEntries(const std::vector<TfrxResourceEntry>& entries);

  // Adds the entries of a resource document (see above). A file that cannot be opened
  // raises the platform's EFOpenError, which names it.
  void LoadFromStream(TStream& stream, std::string_view source = "stream");
  void LoadFromFile(const std::string& path);
  // Adds the documents compiled into the library; raises on the first one that fails.
  void LoadCarriedDocuments();

 private:
  mutable std::shared_mutex lock_;
  std::map<std::string, std::string, std::less<>> texts_;
};

// The process-wide table, loaded from the carried documents on first use.
TfrxResources& frxResources();
