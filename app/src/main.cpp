#include "app/Tavrel.h"
#include "prepared/frxPreviewPages.h"
#include "script/fs_ireportscript.h"

int main(int argc, char** argv) {
  fsUseScriptEngineForReports();
  frxRegisterPreviewPages();
  return RunTavrel(argc, argv);
}
