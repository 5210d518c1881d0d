// Display formats come from templates and scripts: any picture must format, and any
// text must be read as a number, date or time, with a clear error at worst.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Convert.h"
#include "platform/Format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const TFormatSettings& settings = PolishFormatSettings();
  const std::vector<Variant> args = {int32_t{-12345}, 1234.5678, "tekst", int64_t{5000000000}, int32_t{3}};
  try {
    (void)Format(text, args, settings);
  } catch (const EConvertError&) {
  }
  try {
    (void)FormatFloat(text, -98765.4321, settings);
  } catch (const EConvertError&) {
  }
  (void)FormatDateTime(text, 46367.5873, settings);
  double value = 0;
  (void)TryStrToFloat(text, value, settings);
  (void)TryStrToDateTime(text, value, settings);
  (void)TryStrToTime(text, value, settings);
  (void)TryStrToInt64(text);
  return 0;
}
