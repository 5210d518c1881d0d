#pragma once
// TWideStrings: an ordered list of UTF-16 lines, each with a 32-bit flags word. Memo
// views keep their text in one; the text layout keeps its laid-out lines in another,
// where the flags mark paragraph starts and ends.
//
// - Setting Text splits at CR LF, CR, LF and U+2028 (CR LF is one break); a final line
//   break does not make an empty last line. Reading Text joins the lines, each followed
//   by CR LF.
// - LoadFromStream reads from the current position to the end: UTF-16LE when the bytes
//   start with the mark FF FE (the mark is dropped; an odd last byte is ignored),
//   otherwise 8-bit text in the system code page. SaveToStream writes UTF-16LE without
//   a mark. File errors are the stream classes' errors (EFOpenError, ...).
// - An index outside 0 .. Count() - 1 raises EListError.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TStream;

class TWideStrings {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  const std::u16string& Strings(int index) const;
  const std::u16string& operator[](int index) const { return Strings(index); }
  void SetStrings(int index, std::u16string text);
  uint32_t Flags(int index) const;
  void SetFlags(int index, uint32_t flags);

  // Appends and returns the new line's index.
  int Add(std::u16string text, uint32_t flags = 0);
  // Inserts before `index` (Count() appends).
  void Insert(int index, std::u16string text, uint32_t flags = 0);
  void Delete(int index);
  void Clear() { items_.clear(); }
  // The first line equal to `text` (case-sensitive), or -1.
  int IndexOf(std::u16string_view text) const;

  std::u16string Text() const;
  void SetText(std::u16string_view text);

  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

  bool operator==(const TWideStrings&) const = default;

 private:
  struct TItem {
    std::u16string Text;
    uint32_t Flags = 0;
    bool operator==(const TItem&) const = default;
  };
  void CheckIndex(int index) const;
  std::vector<TItem> items_;
};
