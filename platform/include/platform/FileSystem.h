#pragma once
// The file system as the program sees it. Paths are 8-bit system text (Windows-1250),
// as everywhere in the program; they reach the disk as UTF-8. Paths that come from the
// parent application may separate folders with "\" as well as "/": both are accepted.
//
// All operations go through one replaceable TFileSystem so that tests can make single
// operations fail (tests run as root, who may delete anything). Every operation reports
// failure by its result and never throws.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fsys {

// 8-bit system text to a path on disk; "\" becomes "/".
std::filesystem::path NativePath(std::string_view path);

// True when `name` matches the wildcard `mask` ("*" any run, "?" one character),
// without regard to the case of ASCII letters, as file masks match on Windows.
bool MatchesMask(std::string_view name, std::string_view mask);

// What a directory entry is, the entry itself (a symbolic link is not followed).
enum class TEntryKind { Missing, RegularFile, SymbolicLink, Folder, Other };

struct TEntryInfo {
  TEntryKind Kind = TEntryKind::Missing;
  uint32_t Owner = 0;        // user id
  uint32_t Group = 0;        // group id
  uint32_t Mode = 0;         // permission bits
  uint64_t Device = 0;       // device and inode: the entry's identity
  uint64_t Inode = 0;
  int64_t Size = 0;
  int64_t ModifiedNs = 0;    // last modification, nanoseconds since the epoch
};

class TFileSystem {
 public:
  virtual ~TFileSystem() = default;
  // Names (not paths) of every entry of `folder` matching `mask`, files and folders
  // alike, in the order the file system returns them; empty when the folder is missing.
  virtual std::vector<std::string> FindEntries(std::string_view folder, std::string_view mask) const;
  // True for an existing file that is not a folder.
  virtual bool FileExists(std::string_view path) const;
  virtual bool DirectoryExists(std::string_view path) const;
  // Deletes a file (not a folder); false when it cannot (missing, a folder, no right).
  virtual bool DeleteFile(std::string_view path) const;
  // Creates one folder level; false when it cannot or it exists already.
  virtual bool CreateDir(std::string_view path) const;
  // The entry at `path` itself; Kind Missing when there is none.
  virtual TEntryInfo EntryInfo(std::string_view path) const;
  // The user the program runs as (effective user id).
  virtual uint32_t CurrentUser() const;
  // Deletes `path` only when it is a regular file (not a link, folder or device) owned
  // by CurrentUser(). The check and the deletion are made on the same entry of the same
  // folder, which is held open between them, so a link swapped in on the way is never
  // followed. False when it is not such a file or cannot be deleted.
  virtual bool DeleteOwnFile(std::string_view path) const;
  // Renames a file, replacing an existing file of the new name at once; false when it
  // cannot (a folder in the way, another file system, no right).
  virtual bool RenameFile(std::string_view from, std::string_view to) const;
};

// The file system in use.
const TFileSystem& FileSystem();
// Puts `replacement` in place of the file system in use (nullptr: the real one again)
// and returns the one it replaces. The replacement must outlive its use.
const TFileSystem* SetFileSystem(const TFileSystem* replacement);

inline std::vector<std::string> FindEntries(std::string_view folder, std::string_view mask) {
  return FileSystem().FindEntries(folder, mask);
}
inline bool FileExists(std::string_view path) { return FileSystem().FileExists(path); }
inline bool DirectoryExists(std::string_view path) { return FileSystem().DirectoryExists(path); }
inline bool DeleteFile(std::string_view path) { return FileSystem().DeleteFile(path); }
inline bool CreateDir(std::string_view path) { return FileSystem().CreateDir(path); }
inline TEntryInfo EntryInfo(std::string_view path) { return FileSystem().EntryInfo(path); }
inline uint32_t CurrentUser() { return FileSystem().CurrentUser(); }
inline bool DeleteOwnFile(std::string_view path) { return FileSystem().DeleteOwnFile(path); }
inline bool RenameFile(std::string_view from, std::string_view to) { return FileSystem().RenameFile(from, to); }

// The folder of the running executable, with a trailing "/".
std::string ProgramFolder();
// The user's home folder, with a trailing "/".
std::string HomeFolder();

}  // namespace fsys
