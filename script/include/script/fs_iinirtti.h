#pragma once
// The INI files module: TCustomIniFile, TMemIniFile and TIniFile over the platform's INI
// layer (platform/IniFile.h), so that scripts read and write INI files exactly as the
// program reads its own settings: names without regard to case, first match wins,
// trimmed and unquoted values, CR LF lines in the system code page.
//
// - TIniFile writes every change to its file at once (through a temporary file, never
//   leaving half a file); TMemIniFile keeps its changes in memory (SaveIniFileToStream
//   hands them out).
// - Booleans are written "1" and "0" and read as integers (non-zero is true); numbers,
//   dates and times in the system locale's texts; binary streams as hexadecimal digits.
// - WriteTStrings writes a list as the section's keys "0", "1", ... (clearing the section
//   first when IsClear); ReadTStrings reads a section's values back in file order and
//   returns them as one text.
// - A file that cannot be written raises "Unable to write to <file>".

#include <memory>

#include "script/fs_iinterpreter.h"

std::unique_ptr<TfsRTTIModule> fsCreateIniRTTI(TfsScript& script);
