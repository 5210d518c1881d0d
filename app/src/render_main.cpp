// tavrel-render: one print job run headless; everything it does lives in tavrel_jobs.
#include <filesystem>
#include <iostream>

#include "engine/frxEngine.h"
#include "jobs/RenderTool.h"
#include "platform/FileSystem.h"
#include "prepared/frxPreviewPages.h"
#include "script/fs_ireportscript.h"

int main(int argc, char** argv) {
  fsUseScriptEngineForReports();
  frxRegisterPreviewPages();
  frxRegisterEngine();
  std::error_code error;
  std::string current = std::filesystem::current_path(error).string();
  if (current.empty()) current = ".";
  return RunRenderTool(std::vector<std::string>(argv + 1, argv + argc), fsys::ProgramFolder(), current, std::cout,
                       std::cerr);
}
