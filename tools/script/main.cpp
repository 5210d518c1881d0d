// tavrel-script [--language NAME] [--il] FILE: all behaviour is in the script library.
#include <iostream>
#include <string>
#include <vector>

#include "script/fs_iplatformrtti.h"
#include "script/fs_iscripttool.h"

int main(int argc, char** argv) {
  // Scripts checked here know the platform's classes (lists, INI files, ...) as reports do.
  fsRegisterPlatformModules();
  std::vector<std::string> args(argv + 1, argv + argc);
  return fsRunScriptTool(args, std::cout, std::cerr);
}
