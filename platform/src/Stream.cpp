#include "platform/Stream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

std::string ErrorReason(int error) { return std::strerror(error); }

int64_t Resolve(int64_t offset, TSeekOrigin origin, int64_t current, int64_t size) {
  int64_t base = origin == TSeekOrigin::Beginning ? 0 : origin == TSeekOrigin::Current ? current : size;
  if ((offset < 0 && base < -offset) || (offset > 0 && base > INT64_MAX - offset))
    throw EStreamError("Invalid stream position");
  return base + offset;
}

}  // namespace

EFCreateError::EFCreateError(const std::string& path, int error)
    : EFileStreamError("Cannot create file \"" + path + "\". " + ErrorReason(error), path, error) {}

EFOpenError::EFOpenError(const std::string& path, int error)
    : EFileStreamError("Cannot open file \"" + path + "\". " + ErrorReason(error), path, error) {}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError();
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr int64_t kChunk = 64 * 1024;
  std::vector<uint8_t> chunk(static_cast<size_t>(std::min(count, kChunk)));
  int64_t left = count;
  while (left > 0) {
    int64_t n = std::min(left, kChunk);
    source.ReadBuffer(chunk.data(), n);
    WriteBuffer(chunk.data(), n);
    left -= n;
  }
  return count;
}

// ---- TMemoryStream ----

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  int64_t n = std::min(count, size_ - position_);
  std::memcpy(buffer, data_.get() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position_ > INT64_MAX - count) throw EWriteError();
  int64_t end = position_ + count;
  if (end > size_) {
    Reserve(end);
    if (position_ > size_) std::memset(data_.get() + size_, 0, static_cast<size_t>(position_ - size_));
    size_ = end;
  }
  std::memcpy(data_.get() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  position_ = Resolve(offset, origin, position_, size_);
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0) throw EStreamError("Invalid stream size");
  if (size > size_) {
    Reserve(size);
    std::memset(data_.get() + size_, 0, static_cast<size_t>(size - size_));
  }
  size_ = size;
  if (position_ > size_) position_ = size_;
}

void TMemoryStream::Reserve(int64_t capacity) {
  if (capacity <= capacity_) return;
  // Grow geometrically so that appending byte by byte stays linear.
  int64_t grown = std::max<int64_t>({capacity, capacity_ + capacity_ / 2, 256});
  std::unique_ptr<uint8_t[]> bigger;
  try {
    bigger.reset(new uint8_t[static_cast<size_t>(grown)]);
  } catch (const std::bad_alloc&) {
    throw EStreamError("Out of memory while expanding memory stream");
  }
  if (size_ > 0) std::memcpy(bigger.get(), data_.get(), static_cast<size_t>(size_));
  data_ = std::move(bigger);
  capacity_ = grown;
}

std::string TMemoryStream::DataString() const {
  return size_ ? std::string(reinterpret_cast<const char*>(data_.get()), static_cast<size_t>(size_)) : std::string();
}

void TMemoryStream::Clear() {
  data_.reset();
  size_ = capacity_ = position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  int64_t size = source.Size();
  SetSize(size);
  if (size) source.ReadBuffer(data_.get(), size);
  position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& target) { target.WriteBuffer(data_.get(), size_); }

void TMemoryStream::LoadFromFile(const std::string& path) {
  TFileStream file(path, TFileMode::OpenRead, TFileShare::DenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& path) {
  TFileStream file(path, TFileMode::Create);
  SaveToStream(file);
}

// ---- TFileStream ----

namespace {

int OpenFlags(TFileMode mode) {
  switch (mode) {
    case TFileMode::Create: return O_RDWR | O_CREAT | O_TRUNC;
    case TFileMode::OpenRead: return O_RDONLY;
    case TFileMode::OpenWrite: return O_WRONLY;
    case TFileMode::OpenReadWrite: return O_RDWR;
  }
  return O_RDONLY;
}

}  // namespace

TFileStream::TFileStream(const std::string& path, TFileMode mode, TFileShare share) : path_(path) {
  bool creating = mode == TFileMode::Create;
  // Truncation waits until the share lock is held, so a refused opener destroys nothing.
  int flags = (OpenFlags(mode) & ~O_TRUNC) | O_CLOEXEC;
  fd_ = ::open(path.c_str(), flags, 0666);
  if (fd_ < 0) {
    int error = errno;
    if (creating) throw EFCreateError(path, error);
    throw EFOpenError(path, error);
  }
  struct stat info {};
  if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd_);
    if (creating) throw EFCreateError(path, EISDIR);
    throw EFOpenError(path, EISDIR);
  }
  if (share != TFileShare::DenyNone) {
    int lock = (share == TFileShare::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    if (::flock(fd_, lock) != 0) {
      int error = errno;
      ::close(fd_);
      if (creating) throw EFCreateError(path, error);
      throw EFOpenError(path, error);
    }
  }
  if (creating && ::ftruncate(fd_, 0) != 0) {
    int error = errno;
    ::close(fd_);
    throw EFCreateError(path, error);
  }
}

TFileStream::TFileStream(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

std::unique_ptr<TFileStream> TFileStream::CreateTemporary(const std::string& folder, const std::string& prefix) {
  std::string base = folder.empty() ? SystemTempFolder() : folder;
  if (!base.empty() && base.back() != '/') base += '/';
  std::string pattern = base + prefix + "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) throw EFCreateError(pattern, errno);
  return std::unique_ptr<TFileStream>(new TFileStream(fd, std::string(name.data())));
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t n = ::pread(fd_, out + done, static_cast<size_t>(count - done), position_ + done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EReadError();
    }
    if (n == 0) break;
    done += n;
  }
  position_ += done;
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  auto* in = static_cast<const char*>(buffer);
  while (done < count) {
    ssize_t n = ::pwrite(fd_, in + done, static_cast<size_t>(count - done), position_ + done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EWriteError();
    }
    done += n;
  }
  position_ += done;
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  if (origin == TSeekOrigin::Current && offset == 0) return position_;
  position_ = Resolve(offset, origin, position_, origin == TSeekOrigin::End ? Size() : 0);
  return position_;
}

int64_t TFileStream::Size() {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) throw EStreamError("Cannot read the size of \"" + path_ + "\"");
  return info.st_size;
}

void TFileStream::SetSize(int64_t size) {
  if (size < 0 || ::ftruncate(fd_, size) != 0) throw EWriteError();
  if (position_ > size) position_ = size;
}

std::string SystemTempFolder() {
  std::error_code error;
  std::string folder = std::filesystem::temp_directory_path(error).string();
  if (error || folder.empty()) folder = "/tmp";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}
