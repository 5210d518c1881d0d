#pragma once
// Keyed message texts. Every user-visible text of the report library is looked up by a key
// ("prDupl", "clErrors", "200", ...) in one process-wide table, frxResources().
//
// Lookup rules:
// - a key without an entry yields the key itself (so an untranslated caption still shows
//   something meaningful);
// - a leading "!" of an entry is dropped (only one).
// Keys compare exactly, case included.
//
// Texts in the table are 8-bit text of the system code page (Windows-1250).
//
// The table may be read and extended from any thread.

#include <cstddef>
#include <map>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

struct TfrxResourceEntry {
  std::string Name;
  std::string Text;  // 8-bit text, as stored (a leading "!" is kept)
};

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

 private:
  mutable std::shared_mutex lock_;
  std::map<std::string, std::string, std::less<>> texts_;
};

// The process-wide table.
TfrxResources& frxResources();
