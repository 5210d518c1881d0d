#pragma once
// The file system as the program sees it. Paths are 8-bit system text (Windows-1250),
// as everywhere in the program; they reach the disk as UTF-8. Paths that come from the
// parent application may separate folders with "\" as well as "/": both are accepted.
//
// All operations go through one replaceable TFileSystem so that tests can make single
// operations fail (tests run as root, who may delete anything). Every operation reports
// failure by its result and never throws.

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

// The folder of the running executable, with a trailing "/".
std::string ProgramFolder();
// The user's home folder, with a trailing "/".
std::string HomeFolder();

}  // namespace fsys
