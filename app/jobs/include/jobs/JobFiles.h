#pragma once
// Which files a job may delete. The parent application writes its tickets and data
// files as the user the program runs as; anything else in the program's folder may
// have been put there by someone else, and a ticket may name any file as its data file.
// So:
// - A ticket is trusted when it is a regular file of the program's user. Only then may
//   its data file be deleted (after the job, or when the ticket is dropped), and only
//   when that is a regular file of the program's user too, checked on the entry itself.
// - An untrusted ticket (another user's, a symbolic link) still runs its job, but
//   nothing is deleted except the ticket itself (a link as a link, never its target),
//   and the program says so once for that ticket.
// - An untrusted ticket that cannot be deleted is met again in every scan; it is run
//   and reported once, not again while it stays as it was (TTicketsMet).
// Notices are 8-bit system text.

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include "platform/FileSystem.h"

struct TTicketCheck {
  bool Trusted = false;     // its data file may be deleted
  // A regular file, or a link to one: anything else (a folder, a pipe, a device) would
  // read as nothing or never end, and is taken as an empty ticket.
  bool Readable = false;
  std::string Notice;       // why not, for an untrusted ticket; "" for a trusted one
  fsys::TEntryInfo Entry;   // the ticket's entry as found
};

// Looks at the ticket's entry (not following a link) before it is read.
TTicketCheck CheckTicket(const std::string& ticketPath);

// Deletes a job's data file when `ticketTrusted` and it is a regular file of the
// program's user. Returns a notice when a data file of a trusted ticket stays because
// it is not such a file; "" otherwise (deleted, missing, a failed deletion, which stays
// silent as it always has, or an untrusted ticket, whose notice was given already).
std::string DeleteJobDataFile(const std::string& dataPath, bool ticketTrusted);

// A notice when other users can write into the program's folder (and so drop tickets
// into it); "" when only its owner can.
std::string ProgramFolderNotice(const std::string& programFolder);

// Untrusted tickets that could not be deleted, by the identity of their entry (device,
// inode, size, modification time): a rewritten ticket is a new one.
class TTicketsMet {
 public:
  // Starts a scan: tickets not met again before the next scan are forgotten then.
  void BeginScan();
  // True when the ticket was met before; it is kept for the next scan either way.
  bool MetBefore(const fsys::TEntryInfo& entry);
  void Remember(const fsys::TEntryInfo& entry);
  size_t Count() const { return met_.size(); }

 private:
  using Identity = std::tuple<uint64_t, uint64_t, int64_t, int64_t>;
  static Identity IdentityOf(const fsys::TEntryInfo& entry);
  std::map<Identity, int> met_;  // identity -> the scan it was last met in
  int scan_ = 0;
};
