#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

TSingleInstanceLock::~TSingleInstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

std::string TSingleInstanceLock::LockFilePath(std::string_view name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/" + std::string(name) + ".lock";
  return "/tmp/" + std::string(name) + "-" + std::to_string(::getuid()) + ".lock";
}

TSingleInstanceLock::Result TSingleInstanceLock::Acquire(std::string_view name) {
  if (fd_ >= 0) return Result::Acquired;
  const std::string path = LockFilePath(name);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return Result::Unavailable;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool busy = errno == EWOULDBLOCK;
    ::close(fd);
    return busy ? Result::HeldElsewhere : Result::Unavailable;
  }
  fd_ = fd;
  return Result::Acquired;
}
