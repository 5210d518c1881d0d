#pragma once
// One running instance per user session: an advisory lock (flock) on a file named
// after the lock in the user's runtime folder ($XDG_RUNTIME_DIR, else the temporary
// folder with the user id in the name). The lock is held until the object is destroyed
// or the process ends, whichever comes first; the system releases it for a process that
// dies.

#include <string>
#include <string_view>

class TSingleInstanceLock {
 public:
  TSingleInstanceLock() = default;
  TSingleInstanceLock(const TSingleInstanceLock&) = delete;
  TSingleInstanceLock& operator=(const TSingleInstanceLock&) = delete;
  ~TSingleInstanceLock();

  enum class Result { Acquired, HeldElsewhere, Unavailable };
  // Takes the lock without waiting. Unavailable: the lock file cannot be opened (the
  // caller decides; the program then runs without the guard rather than not at all).
  Result Acquire(std::string_view name);

  static std::string LockFilePath(std::string_view name);

 private:
  int fd_ = -1;
};
