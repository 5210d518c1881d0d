#pragma once
// Another user, for the tests of what the program may delete. Tests run as root, who
// may give a file away; elsewhere those cases are skipped.
#include <sys/types.h>
#include <unistd.h>

#include <string>

constexpr uid_t kOtherUid = 65534;   // "nobody"
constexpr gid_t kOtherGroup = 65534;  // "nogroup"
constexpr const char* kOtherUserNeedsRoot = "files can be given to another user only by root";

// Makes `path` (the entry itself, not a link's target) another user's.
inline bool GiveToOtherUser(const std::string& path) { return ::lchown(path.c_str(), kOtherUid, kOtherGroup) == 0; }
