#pragma once
// The grammar document of a script language, registered under its name before the
// first language look-up (fs_iinterpreter.h).

#include <string>

const std::string& fsJScriptGrammar();
