#pragma once
// Byte streams with 64-bit positions: the one interface through which templates,
// prepared reports, paging files, pictures and exports are read and written.
//
// Contract:
// - A stream has a size and a current position; Read and Write move the position by the
//   number of bytes they transferred. Read returns fewer bytes than asked only at the end
//   of the stream; Write on a memory stream always writes everything and on a file stream
//   writes everything or raises EWriteError.
// - ReadBuffer / WriteBuffer transfer exactly `count` bytes or raise EReadError /
//   EWriteError ("Stream read error", "Stream write error").
// - Seeking past the end is allowed; a later Write fills the gap with zero bytes.
//   Seeking before the start raises EStreamError.
// - Errors are exceptions derived from EStreamError (a std::runtime_error); a stream
//   that raised stays usable, its position unchanged by the failed call.
// - Whoever creates a stream owns it; streams are not copyable.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EReadError : public EStreamError {
 public:
  EReadError() : EStreamError("Stream read error") {}
};
class EWriteError : public EStreamError {
 public:
  EWriteError() : EStreamError("Stream write error") {}
};

// A file that could not be created or opened. The message names the file and the
// system's reason: Cannot create file "x". No such file or directory
class EFileStreamError : public EStreamError {
 public:
  EFileStreamError(const std::string& message, std::string path, int error)
      : EStreamError(message), path_(std::move(path)), error_(error) {}
  const std::string& path() const { return path_; }
  int errorCode() const { return error_; }  // errno

 private:
  std::string path_;
  int error_;
};
class EFCreateError : public EFileStreamError {
 public:
  EFCreateError(const std::string& path, int error);
};
class EFOpenError : public EFileStreamError {
 public:
  EFOpenError(const std::string& path, int error);
};

enum class TSeekOrigin { Beginning, Current, End };

class TStream {
 public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream() = default;

  // Up to `count` bytes; the number read (0 at the end).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  // The number written.
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // The new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size() = 0;
  // Truncates or extends (with zero bytes); the position is kept unless it lies beyond the
  // new end, in which case it moves to the end.
  virtual void SetSize(int64_t size) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::Current); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::Beginning); }

  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  void WriteString(const std::string& bytes) { WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size())); }

  // Copies `count` bytes from the source's current position; with `count` 0 the whole
  // source from its start. Raises EReadError when the source has fewer bytes. Returns the
  // number copied.
  int64_t CopyFrom(TStream& source, int64_t count);
};

// A growable block of memory. Memory() stays valid until the next call that changes the size.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return size_; }
  void SetSize(int64_t size) override;

  const uint8_t* Memory() const { return data_.get(); }
  uint8_t* Memory() { return data_.get(); }
  // The bytes as a string (8-bit text), without moving the position.
  std::string DataString() const;
  void Clear();

  void LoadFromStream(TStream& source);  // replaces the content with the whole source
  void SaveToStream(TStream& target);    // writes the whole content
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path);

 private:
  void Reserve(int64_t capacity);

  std::unique_ptr<uint8_t[]> data_;
  int64_t size_ = 0;
  int64_t capacity_ = 0;
  int64_t position_ = 0;
};

enum class TFileMode {
  Create,         // create or truncate, read and write
  OpenRead,       // existing file, read only
  OpenWrite,      // existing file, write only
  OpenReadWrite,  // existing file, read and write
};

// What other openers of the same file are allowed while this stream is open. Held as an
// advisory lock (flock), so it binds every Tavrel process and tool that opens the file
// through TFileStream; a share conflict raises EFOpenError / EFCreateError.
enum class TFileShare {
  DenyNone,   // no lock
  DenyWrite,  // shared lock: other readers welcome, no exclusive opener
  Exclusive,  // exclusive lock
};

class TFileStream : public TStream {
 public:
  TFileStream(const std::string& path, TFileMode mode, TFileShare share = TFileShare::DenyNone);
  ~TFileStream() override;

  // A new file with a unique name "<prefix>XXXXXX" in `folder`, open for reading and
  // writing and visible only to its owner. Raises EFCreateError.
  static std::unique_ptr<TFileStream> CreateTemporary(const std::string& folder, const std::string& prefix);

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;
  void SetSize(int64_t size) override;

  const std::string& FileName() const { return path_; }

 private:
  TFileStream(int fd, std::string path);

  int fd_ = -1;
  std::string path_;
  int64_t position_ = 0;
};

// The system's folder for temporary files, without a trailing separator.
std::string SystemTempFolder();
