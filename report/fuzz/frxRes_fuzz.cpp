// Message text documents from outside (an added language or override file): any bytes
// must end in entries or a clear error, never a crash.
#include <cstddef>
#include <cstdint>
#include <exception>

#include "platform/Stream.h"
#include "report/frxRes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream stream;
  stream.WriteBuffer(data, static_cast<int64_t>(size));
  stream.SetPosition(0);
  try {
    TfrxResources table;
    table.LoadFromStream(stream, "fuzz");
    for (const char* key : {"mbError", "1", ""}) (void)table.Get(key);
  } catch (const std::exception&) {
  }
  return 0;
}
