#pragma once
// The script tool: checks a script file's syntax and reports "OK", the IL document, or
// the first syntax error as FILE:LINE:COLUMN: MESSAGE (the used unit's name in place of
// FILE when the error lies in a unit). With --run it compiles the script fully and runs
// its main block; ShowMessage writes to `out`, and a compile or run-time error is
// reported the same way (a run-time error at the statement that was running). The
// program tavrel-script is a thin shell around fsRunScriptTool.
//
// Exit codes: 0 compiled (and ran), 1 the script did not compile, failed while running
// or could not be read, 2 wrong command line.

#include <iosfwd>
#include <string>
#include <vector>

int fsRunScriptTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A file's text as script lines (LF, CR LF and CR all end a line).
std::vector<std::string> fsSplitLines(const std::string& text);
