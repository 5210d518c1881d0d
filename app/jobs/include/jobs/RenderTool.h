#pragma once
// The behaviour of the command-line job runner tavrel-render: one job, run headless
// through the same job sequence as the resident utility, then exit.
//
//   tavrel-render [options] TICKET.prn
//   tavrel-render [options] --template FILE.fr3 --data FILE
//
// Settings come from Tavrel.ini in the program's folder, as the utility reads them;
// --action and --out override the action and the folder the output goes to. The files
// written go to `out` one per line (UTF-8); messages to `err`.
// Exit status: 0 done, 1 the job failed, 2 a usage error.

#include <iosfwd>
#include <string>
#include <vector>

#include "jobs/JobSequence.h"

class TJobTables;
class TfrxVariables;

constexpr int kRenderDone = 0;
constexpr int kRenderJobFailed = 1;
constexpr int kRenderUsageError = 2;

// `args` are the arguments after the program name, as the system gives them (UTF-8);
// `programFolder` (8-bit) ends with "/"; `currentFolder` (UTF-8, as the system gives it)
// is where output goes when neither --out nor Tavrel.ini names a folder.
// `outputs` are the outputs this program has (export filters, printing); the e-mail
// hand-off is added when it has none.
int RunRenderTool(const std::vector<std::string>& args, const std::string& programFolder,
                  const std::string& currentFolder, std::ostream& out, std::ostream& err,
                  TJobOutputs outputs = {});

// The three job tables and the report variables as tab-separated UTF-8 text: per table
// a header line (its alias, then the field names), then one line per record with an
// empty first column; then "Variables" with "Name" and "Value" and a line per variable.
// A tab inside a value is written as \t and a backslash as \\. The tables' filters are
// lifted while they are read and restored afterwards; Dane is left on its first record.
void DumpJobTables(TJobTables& tables, const TfrxVariables& variables, std::ostream& out);
