// Templates loaded into a report object: the report's own attributes, its option
// records and the raw-data records of its collections, then saved again.
#include <cstddef>
#include <cstdint>

#include "platform/Stream.h"
#include "report/frxClassReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  // Ancestors named by the input are not read from the disk.
  report.OnLoadTemplate = [](TfrxReport&, const std::string&) {};
  TMemoryStream input;
  input.WriteBuffer(data, static_cast<int64_t>(size));
  input.SetPosition(0);
  report.LoadFromStream(input);
  TMemoryStream output;
  report.SaveToStream(output);
  return 0;
}
