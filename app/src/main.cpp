#include "ScriptDialogs.h"
#include "app/Tavrel.h"
#include "engine/frxEngine.h"
#include "output/frxClassExport.h"
#include "prepared/frxPreviewPages.h"
#include "script/fs_ireportscript.h"

int main(int argc, char** argv) {
  fsUseScriptEngineForReports();
  InstallScriptDialogs();
  frxRegisterPreviewPages();
  frxRegisterEngine();
  frxRegisterExportFilters();
  return RunTavrel(argc, argv);
}
