// tavrel-script [--language NAME] [--il] FILE: all behaviour is in the script library.
#include <iostream>
#include <string>
#include <vector>

#include "script/fs_iscripttool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return fsRunScriptTool(args, std::cout, std::cerr);
}
