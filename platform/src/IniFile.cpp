#include "platform/IniFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/Convert.h"
#include "platform/FileSystem.h"

namespace {

// Upper case of one Windows-1250 byte: ASCII and the accented letters of the page.
unsigned char UpperCase1250(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // ś
    case 0x9D: return 0x8D;  // ť
    case 0x9E: return 0x8E;  // ž
    case 0x9F: return 0x8F;  // ź
    case 0xB3: return 0xA3;  // ł
    case 0xB9: return 0xA5;  // ą
    case 0xBA: return 0xAA;  // ş
    case 0xBE: return 0xBC;  // ľ
    case 0xBF: return 0xAF;  // ż
    default: break;
  }
  if (c >= 0xE0 && c != 0xF7 && c != 0xFF) return static_cast<unsigned char>(c - 32);
  return c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperCase1250(static_cast<unsigned char>(a[i])) !=
        UpperCase1250(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// "name=value" or "[name]"; built by appending, which also keeps GCC 12's -Wrestrict
// false alarm on literal + string away.
std::string Joined(std::string_view a, std::string_view b, std::string_view c) {
  std::string text;
  text.reserve(a.size() + b.size() + c.size());
  text.append(a).append(b).append(c);
  return text;
}

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Unquote(std::string_view s) {
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
    s = s.substr(1, s.size() - 2);
  return std::string(s);
}

}  // namespace

TIniText::TIniText(std::string_view text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    lines_.push_back(ParseLine(std::string(raw)));
    start = end + 1;
  }
}

TIniText::Line TIniText::ParseLine(std::string raw) {
  Line line;
  const std::string_view body = Trim(raw);
  if (body.empty() || body.front() == ';') {
  } else if (body.front() == '[') {
    const size_t close = body.find(']');
    if (close != std::string_view::npos) {
      line.kind = Line::Kind::Section;
      line.name = std::string(Trim(body.substr(1, close - 1)));
    }
  } else {
    line.kind = Line::Kind::Entry;
    const size_t eq = body.find('=');
    line.name = std::string(Trim(body.substr(0, eq)));
    if (eq != std::string_view::npos) line.value = Unquote(Trim(body.substr(eq + 1)));
  }
  line.raw = std::move(raw);
  return line;
}

bool TIniText::SectionRange(std::string_view section, size_t& begin, size_t& end) const {
  for (begin = 0; begin < lines_.size(); ++begin) {
    if (lines_[begin].kind == Line::Kind::Section && SameName(lines_[begin].name, section)) break;
  }
  if (begin == lines_.size()) return false;
  for (end = begin + 1; end < lines_.size(); ++end) {
    if (lines_[end].kind == Line::Kind::Section) break;
  }
  return true;
}

const std::string* TIniText::Find(std::string_view section, std::string_view key) const {
  size_t begin = 0, end = 0;
  if (!SectionRange(section, begin, end)) return nullptr;
  for (size_t i = begin + 1; i < end; ++i) {
    if (lines_[i].kind == Line::Kind::Entry && SameName(lines_[i].name, key)) return &lines_[i].value;
  }
  return nullptr;
}

bool TIniText::SectionExists(std::string_view section) const {
  size_t begin = 0, end = 0;
  return SectionRange(section, begin, end);
}

std::vector<std::string> TIniText::SectionNames() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (line.kind == Line::Kind::Section) names.push_back(line.name);
  }
  return names;
}

std::vector<std::string> TIniText::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  size_t begin = 0, end = 0;
  if (!SectionRange(section, begin, end)) return names;
  for (size_t i = begin + 1; i < end; ++i) {
    if (lines_[i].kind == Line::Kind::Entry) names.push_back(lines_[i].name);
  }
  return names;
}

void TIniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string raw = Joined(key, "=", value);
  size_t begin = 0, end = 0;
  if (!SectionRange(section, begin, end)) {
    lines_.push_back(ParseLine(Joined("[", section, "]")));
    lines_.push_back(ParseLine(std::move(raw)));
    return;
  }
  size_t insertAt = begin + 1;
  for (size_t i = begin + 1; i < end; ++i) {
    if (lines_[i].kind != Line::Kind::Entry) continue;
    if (SameName(lines_[i].name, key)) {
      // The key keeps the spelling it has in the file.
      lines_[i] = ParseLine(Joined(lines_[i].name, "=", value));
      return;
    }
    insertAt = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), ParseLine(std::move(raw)));
}

void TIniText::DeleteKey(std::string_view section, std::string_view key) {
  size_t begin = 0, end = 0;
  if (!SectionRange(section, begin, end)) return;
  for (size_t i = begin + 1; i < end; ++i) {
    if (lines_[i].kind == Line::Kind::Entry && SameName(lines_[i].name, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

void TIniText::EraseSection(std::string_view section) {
  size_t begin = 0, end = 0;
  if (!SectionRange(section, begin, end)) return;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(begin), lines_.begin() + static_cast<std::ptrdiff_t>(end));
}

std::string TIniText::Text() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.raw;
    text += "\r\n";
  }
  return text;
}

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {
  std::error_code error;
  const auto path = fsys::NativePath(fileName_);
  if (!std::filesystem::is_regular_file(path, error)) return;
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  text_ = TIniText(bytes);
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
  const std::string* value = text_.Find(section, key);
  return value ? *value : std::string(defaultValue);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const std::string* value = text_.Find(section, key);
  return value ? StrToIntDef(*value, defaultValue) : defaultValue;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  TIniText updated = text_;
  updated.Set(section, key, value);
  Save(std::move(updated));
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  if (!ValueExists(section, key)) return;
  TIniText updated = text_;
  updated.DeleteKey(section, key);
  Save(std::move(updated));
}

void TIniFile::EraseSection(std::string_view section) {
  if (!SectionExists(section)) return;
  TIniText updated = text_;
  updated.EraseSection(section);
  Save(std::move(updated));
}

void TIniFile::Save(TIniText updated) {
  const auto path = fsys::NativePath(fileName_);
  auto temporary = path;
  temporary += ".tmp";
  const std::string bytes = updated.Text();
  bool written = false;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    written = out && out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && out.flush();
  }
  std::error_code error;
  if (written) std::filesystem::rename(temporary, path, error);
  if (!written || error) {
    std::filesystem::remove(temporary, error);
    throw EIniFileException("Unable to write to " + fileName_);
  }
  text_ = std::move(updated);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}
