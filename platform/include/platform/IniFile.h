#pragma once
// INI files read and written the way the Windows private-profile functions do, which
// is what the settings file, the job tickets written by the parent application and the
// scripts' INI class rely on:
// - sections "[name]" and keys "name=value"; names compare without regard to case
//   (ASCII and the Polish letters of Windows-1250); the first match wins;
// - names and values are trimmed of blanks and tabs; a value enclosed in a matching
//   pair of quotes (" or ') loses them; lines starting with ";" are comments;
// - lines end with CR LF or LF; text is bytes of the system code page (Windows-1250),
//   kept as they are;
// - a missing, unreadable or malformed file reads as empty: nothing is ever reported
//   on reading.
// Writing keeps every other line as it was: an existing key is replaced in place, a new
// key goes after the last entry of its section, a new section at the end of the file.
// Each write saves the whole file at once (CR LF lines), through a temporary file in the
// same folder, so that a failed write never leaves a half-written file behind.
//
// Paths are 8-bit system text; see platform/FileSystem.h for how they reach the disk.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Raised when the file cannot be written: "Unable to write to <file>".
class EIniFileException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The parsed lines of one INI text, usable without a file (tickets are parsed from
// their bytes, the fuzz target feeds arbitrary text).
class TIniText {
 public:
  TIniText() = default;
  explicit TIniText(std::string_view text);

  // The value, or nullptr when the section or key is missing.
  const std::string* Find(std::string_view section, std::string_view key) const;
  bool SectionExists(std::string_view section) const;
  std::vector<std::string> SectionNames() const;
  std::vector<std::string> KeyNames(std::string_view section) const;

  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes the first entry of that key in the section; nothing when there is none.
  void DeleteKey(std::string_view section, std::string_view key);
  // Removes the first section of that name with its lines.
  void EraseSection(std::string_view section);
  // The text as it is written to disk: CR LF after every line.
  std::string Text() const;

 private:
  struct Line {
    std::string raw;
    enum class Kind { Other, Section, Entry } kind = Kind::Other;
    std::string name;   // section or key name, trimmed
    std::string value;  // entry value, trimmed and unquoted
  };
  static Line ParseLine(std::string raw);
  // Index range [begin, end) of the first section called `section`; begin is the header.
  bool SectionRange(std::string_view section, size_t& begin, size_t& end) const;

  std::vector<Line> lines_;
};

class TIniFile {
 public:
  // Reads the file once; later writes update both the file and what is read.
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return fileName_; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // The value read as an integer ("12", "-3", "$1F", "0x1f"); `defaultValue` when the
  // key is missing or its value does not read as an integer.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  bool SectionExists(std::string_view section) const { return text_.SectionExists(section); }
  bool ValueExists(std::string_view section, std::string_view key) const {
    return text_.Find(section, key) != nullptr;
  }
  std::vector<std::string> ReadSections() const { return text_.SectionNames(); }
  std::vector<std::string> ReadSection(std::string_view section) const {
    return text_.KeyNames(section);
  }

  // Throws EIniFileException when the file cannot be saved; the value is then not kept.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  // The whole content as read and written so far; SetContents replaces and saves it.
  const TIniText& Contents() const { return text_; }
  void SetContents(TIniText text) { Save(std::move(text)); }
  // Saved at once like the writes; nothing is written when there is nothing to remove.
  void DeleteKey(std::string_view section, std::string_view key);
  void EraseSection(std::string_view section);

 private:
  void Save(TIniText updated);

  std::string fileName_;
  TIniText text_;
};
