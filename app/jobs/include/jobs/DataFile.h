#pragma once
// The data file of a job: numbered value lines ("12=Kowalski") and blocks of table rows
// ("TABLE P" ... "ENDTABLE"), written by the parent application in the system code page.
// LoadDataFile fills the three job tables from it, the job header, and three record
// counts as report variables. Errors are not caught here: each one ends the loading and
// reaches the caller, which removes the job.

#include <string>
#include <string_view>
#include <vector>

class TJobTables;
class TfrxVariables;

// What the output actions need of a job besides its tables; empty for each new job.
struct TJobHeader {
  std::string DocumentName;  // key 95, at most 40 characters
  std::string Recipient;     // key 77, at most 60 characters
};

constexpr size_t kDocumentNameLength = 40;
constexpr size_t kRecipientLength = 60;
// A table block holds at most this many rows; the lines after them are not rows.
constexpr int kTableBlockRowLimit = 499;

// Splits 8-bit text into lines at CR LF, LF or CR; a final line break ends the last line
// and does not start an empty one.
std::vector<std::string> SplitDataLines(std::string_view text);

// `text` is the whole data file as read, in the system code page.
void LoadDataFile(std::string_view text, TJobHeader& header, TJobTables& tables, TfrxVariables& variables);

// Reads the table block that the line at `index` starts, if it starts one. `recordCounter`
// is the number the next main record would get, so rows belong to recordCounter - 1.
void LoadTableBlock(const std::vector<std::string>& lines, int recordCounter, size_t index,
                    TJobTables& tables, TfrxVariables& variables);
