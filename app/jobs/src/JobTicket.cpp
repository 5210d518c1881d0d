#include "jobs/JobTicket.h"

#include "platform/IniFile.h"

std::string TemplatePathFor(std::string_view layoutPath) {
  const size_t slash = layoutPath.find_last_of("\\/");
  const size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::string_view name = layoutPath.substr(nameStart);
  const size_t dot = name.find('.');
  const std::string_view stem = dot == std::string_view::npos ? std::string_view() : name.substr(0, dot + 1);
  return std::string(layoutPath.substr(0, nameStart)) + std::string(stem) + "fr3";
}

TJobTicket ReadJobTicket(const std::string& ticketPath) {
  const TIniFile ticket(ticketPath);
  TJobTicket result;
  result.DataPath = ticket.ReadString("DRUKUJ", "PLIK", "");
  result.LayoutPath = ticket.ReadString("DRUKUJ", "ARKUSZ", "");
  result.Copies = ticket.ReadInteger("DRUKUJ", "KOPII", 1);
  return result;
}
