// Templates prepared by the engine: whatever bands, groups, columns and vertical bands a
// template holds, linking and running them over small datasets ends with pages or with
// errors in the report's list, never with a crash or a hang.
#include <cstddef>
#include <cstdint>

#include "engine/frxEngine.h"
#include "platform/Stream.h"
#include "prepared/frxPreviewPages.h"

namespace {

// The job's aliases, three records each, so that master and detail bands have rows.
struct FuzzDataSets {
  FuzzDataSets() {
    for (TfrxUserDataSet* d : {&dane, &seria, &sumy}) {
      d->SetRangeEnd(reCount);
      d->SetRangeEndCount(3);
    }
    dane.SetUserName("Dane");
    seria.SetUserName("Seria");
    sumy.SetUserName("Sumy");
  }
  TfrxUserDataSet dane{nullptr}, seria{nullptr}, sumy{nullptr};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzDataSets dataSets;
  TfrxReport report;
  auto pages = std::make_unique<TfrxPreviewPages>(report);
  TfrxPreviewPages& store = *pages;
  auto engine = std::make_unique<TfrxEngine>(report, store);
  TfrxEngine& running = *engine;
  report.SetPreviewPages(std::move(pages), std::move(engine));
  report.EngineOptions().NewSilentMode = simSilent;
  report.OnLoadTemplate = [](TfrxReport&, const std::string&) {};
  // A template may ask for a billion rows or pages: the run stops after a few hundred
  // bands, as a user's Cancel would stop it.
  int shown = 0;
  report.OnBeforePrint = [&](TfrxComponent&) {
    if (++shown == 400) running.StopReport();
  };
  TMemoryStream input;
  input.WriteBuffer(data, static_cast<int64_t>(size));
  input.SetPosition(0);
  report.LoadFromStream(input);
  report.Prepare();
  return 0;
}
