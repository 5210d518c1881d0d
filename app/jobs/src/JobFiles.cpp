#include "jobs/JobFiles.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "platform/CodePage.h"

namespace {

// The notices, UTF-8 here and 8-bit when given.
constexpr const char* kForeignTicket =
    "Zlecenie %1 należy do innego użytkownika: jego plik danych nie zostanie usunięty.";
constexpr const char* kLinkedTicket =
    "Zlecenie %1 jest dowiązaniem symbolicznym: jego plik danych nie zostanie usunięty.";
constexpr const char* kDataNotOurs =
    "Plik danych %1 nie jest zwykłym plikiem użytkownika programu: nie został usunięty.";
constexpr const char* kFolderOpen =
    "Do folderu programu %1 mogą zapisywać inni użytkownicy, więc każdy z nich może podrzucić "
    "zlecenie. Ustaw prawo zapisu tylko dla właściciela.";

std::string Notice(const char* utf8, const std::string& path) {
  std::string text = codepage::Utf8ToAnsi(utf8);
  text.replace(text.find("%1"), 2, path);
  return text;
}

// A group of the user's own (named after the user, with no other members) lets no one
// else in; any other group does as soon as it may write.
bool GroupHasOthers(uint32_t groupId, uint32_t userId) {
  const passwd* user = ::getpwuid(userId);
  const group* entry = ::getgrgid(groupId);
  if (!user || !entry || std::strcmp(user->pw_name, entry->gr_name) != 0) return true;
  for (char** member = entry->gr_mem; member && *member; ++member)
    if (std::strcmp(*member, user->pw_name) != 0) return true;
  return false;
}

}  // namespace

TTicketCheck CheckTicket(const std::string& ticketPath) {
  TTicketCheck check;
  check.Entry = fsys::EntryInfo(ticketPath);
  const bool ours = check.Entry.Owner == fsys::CurrentUser();
  switch (check.Entry.Kind) {
    case fsys::TEntryKind::RegularFile:
      check.Readable = true;
      check.Trusted = ours;
      break;
    case fsys::TEntryKind::SymbolicLink: {
      std::error_code error;
      check.Readable = std::filesystem::is_regular_file(fsys::NativePath(ticketPath), error);
      check.Notice = Notice(kLinkedTicket, ticketPath);
      return check;
    }
    case fsys::TEntryKind::Other:
      break;
    case fsys::TEntryKind::Folder:  // never deleted, never read: nothing to say
    case fsys::TEntryKind::Missing:
      return check;
  }
  if (!ours) check.Notice = Notice(kForeignTicket, ticketPath);
  return check;
}

std::string DeleteJobDataFile(const std::string& dataPath, bool ticketTrusted) {
  if (!ticketTrusted || dataPath.empty()) return "";
  const fsys::TEntryInfo entry = fsys::EntryInfo(dataPath);
  if (entry.Kind == fsys::TEntryKind::Missing) return "";
  if (entry.Kind == fsys::TEntryKind::RegularFile && entry.Owner == fsys::CurrentUser()) {
    fsys::DeleteOwnFile(dataPath);
    return "";
  }
  return Notice(kDataNotOurs, dataPath);
}

std::string ProgramFolderNotice(const std::string& programFolder) {
  const fsys::TEntryInfo entry = fsys::EntryInfo(programFolder);
  if (entry.Kind != fsys::TEntryKind::Folder) return "";
  const uint32_t user = fsys::CurrentUser();
  // The owner may always change the rights; the administrator is trusted anyway.
  const bool ownerIsOther = entry.Owner != user && entry.Owner != 0;
  const bool groupMayWrite = (entry.Mode & S_IWGRP) != 0 && GroupHasOthers(entry.Group, user);
  const bool anyoneMayWrite = (entry.Mode & S_IWOTH) != 0;
  return ownerIsOther || groupMayWrite || anyoneMayWrite ? Notice(kFolderOpen, programFolder) : "";
}

TTicketsMet::Identity TTicketsMet::IdentityOf(const fsys::TEntryInfo& entry) {
  return {entry.Device, entry.Inode, entry.Size, entry.ModifiedNs};
}

void TTicketsMet::BeginScan() {
  std::erase_if(met_, [this](const auto& item) { return item.second < scan_; });
  ++scan_;
}

bool TTicketsMet::MetBefore(const fsys::TEntryInfo& entry) {
  const auto found = met_.find(IdentityOf(entry));
  if (found == met_.end()) return false;
  found->second = scan_;
  return true;
}

void TTicketsMet::Remember(const fsys::TEntryInfo& entry) { met_[IdentityOf(entry)] = scan_; }
