#pragma once
// The job ticket "*.prn" the parent application writes last: section DRUKUJ with the
// data file (PLIK), the layout file that selects the template (ARKUSZ) and the copies
// (KOPII). Paths are 8-bit system text exactly as the ticket gives them.

#include <string>
#include <string_view>

// The template a layout file selects: the folder part of `layoutPath` ("\" or "/"),
// its file name up to and including the first ".", then "fr3".
std::string TemplatePathFor(std::string_view layoutPath);

struct TJobTicket {
  std::string DataPath;    // PLIK
  std::string LayoutPath;  // ARKUSZ
  int Copies = 1;          // KOPII; 1 also when it does not read as an integer
};

// A missing or unreadable ticket reads as empty keys.
TJobTicket ReadJobTicket(const std::string& ticketPath);
