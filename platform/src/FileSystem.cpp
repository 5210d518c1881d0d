#include "platform/FileSystem.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
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

namespace {

TEntryKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return TEntryKind::RegularFile;
  if (S_ISLNK(mode)) return TEntryKind::SymbolicLink;
  if (S_ISDIR(mode)) return TEntryKind::Folder;
  return TEntryKind::Other;
}

// Closes a descriptor when the scope ends.
class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  ~TDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

TEntryInfo TFileSystem::EntryInfo(std::string_view path) const {
  TEntryInfo info;
  struct stat st {};
  if (path.empty() || ::lstat(NativePath(path).c_str(), &st) != 0) return info;
  info.Kind = KindOf(st.st_mode);
  info.Owner = st.st_uid;
  info.Group = st.st_gid;
  info.Mode = st.st_mode & 07777;
  info.Device = st.st_dev;
  info.Inode = st.st_ino;
  info.Size = st.st_size;
  info.ModifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return info;
}

uint32_t TFileSystem::CurrentUser() const { return ::geteuid(); }

bool TFileSystem::DeleteOwnFile(std::string_view path) const {
  if (path.empty()) return false;
  const std::filesystem::path native = NativePath(path);
  const std::filesystem::path name = native.filename();
  // "x/.." or "x/" name a folder, never a file to delete.
  if (name.empty() || name == "." || name == "..") return false;
  const std::filesystem::path parent = native.has_parent_path() ? native.parent_path() : std::filesystem::path(".");
  const TDescriptor folder(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) return false;
  struct stat st {};
  if (::fstatat(folder.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (!S_ISREG(st.st_mode) || st.st_uid != CurrentUser()) return false;
  return ::unlinkat(folder.get(), name.c_str(), 0) == 0;
}

bool TFileSystem::RenameFile(std::string_view from, std::string_view to) const {
  if (from.empty() || to.empty()) return false;
  return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
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
