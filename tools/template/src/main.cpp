#include <iostream>

#include "template/TemplateTool.h"

int main(int argc, char** argv) {
  return RunTemplateTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
