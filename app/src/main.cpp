#include "app/Tavrel.h"
#include "script/fs_ireportscript.h"

int main(int argc, char** argv) {
  fsUseScriptEngineForReports();
  return RunTavrel(argc, argv);
}
