// tavrel-render: one print job run headless; everything it does lives in tavrel_jobs.
#include <QGuiApplication>
#include <filesystem>
#include <iostream>

#include "app/JobExportFilters.h"
#include "engine/frxEngine.h"
#include "jobs/RenderTool.h"
#include "output/frxClassExport.h"
#include "platform/FileSystem.h"
#include "prepared/frxPreviewPages.h"
#include "script/fs_ireportscript.h"

int main(int argc, char** argv) {
  // Page images are drawn with Qt's painters and fonts, which need an application
  // object; the runner shows no window, so it draws offscreen unless told otherwise.
  // Qt gets no arguments of ours.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);

  fsUseScriptEngineForReports();
  frxRegisterPreviewPages();
  frxRegisterEngine();
  frxRegisterExportFilters();
  TJobExportFilters filters;
  TJobOutputs outputs;
  filters.AddTo(outputs);
  std::error_code error;
  std::string current = std::filesystem::current_path(error).string();
  if (current.empty()) current = ".";
  return RunRenderTool(std::vector<std::string>(argv + 1, argv + argc), fsys::ProgramFolder(), current, std::cout,
                       std::cerr, outputs);
}
