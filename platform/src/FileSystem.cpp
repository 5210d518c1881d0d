#include "platform/FileSystem.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "platform/CodePage.h"

namespace fsys {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

std::string WithTrailingSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

const TFileSystem& RealFileSystem() {
  static const TFileSystem real;
  return real;
}

const TFileSystem*& Current() {
  static const TFileSystem* current = &RealFileSystem();
  return current;
}

}  // namespace

std::filesystem::path NativePath(std::string_view path) {
  std::string utf8 = codepage::AnsiToUtf8(path);
  for (char& c : utf8) {
    if (c == '\\') c = '/';
  }
  return std::filesystem::path(utf8);
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  // Iterative match with one back-tracking point for the last "*": linear in practice.
  size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == '?' || LowerAscii(mask[m]) == LowerAscii(name[n]))) {
      ++n;
      ++m;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::vector<std::string> TFileSystem::FindEntries(std::string_view folder, std::string_view mask) const {
  std::vector<std::string> names;
  std::error_code error;
  std::filesystem::directory_iterator it(NativePath(folder), error), end;
  for (; !error && it != end; it.increment(error)) {
    std::string name = codepage::Utf8ToAnsi(it->path().filename().string());
    if (MatchesMask(name, mask)) names.push_back(std::move(name));
  }
  return names;
}

bool TFileSystem::FileExists(std::string_view path) const {
  if (path.empty()) return false;
  std::error_code error;
  const auto status = std::filesystem::status(NativePath(path), error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool TFileSystem::DirectoryExists(std::string_view path) const {
  if (path.empty()) return false;
  std::error_code error;
  return std::filesystem::is_directory(NativePath(path), error);
}

bool TFileSystem::DeleteFile(std::string_view path) const {
  if (path.empty()) return false;
  const auto native = NativePath(path);
  std::error_code error;
  if (std::filesystem::is_directory(std::filesystem::symlink_status(native, error))) return false;
  return ::unlink(native.c_str()) == 0;
}

bool TFileSystem::CreateDir(std::string_view path) const {
  if (path.empty()) return false;
  std::error_code error;
  return std::filesystem::create_directory(NativePath(path), error) && !error;
}

const TFileSystem& FileSystem() { return *Current(); }

const TFileSystem* SetFileSystem(const TFileSystem* replacement) {
  const TFileSystem* previous = Current();
  Current() = replacement ? replacement : &RealFileSystem();
  return previous;
}

std::string ProgramFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return WithTrailingSlash(codepage::Utf8ToAnsi(std::filesystem::current_path(error).string()));
  return WithTrailingSlash(codepage::Utf8ToAnsi(exe.parent_path().string()));
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* entry = ::getpwuid(::getuid());
    home = entry && entry->pw_dir ? entry->pw_dir : "/";
  }
  return WithTrailingSlash(codepage::Utf8ToAnsi(home));
}

}  // namespace fsys
