// Template loading: any bytes, read as a template into a report with the test classes.
// Malformed XML ends with "Invalid file format"; everything else must load or collect
// errors, never crash or read out of bounds.

#include <cstddef>
#include <cstdint>

#include "../tests/frxTestClasses.h"
#include "platform/Stream.h"
#include "report/frxXMLSerializer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream in;
  in.Write(data, static_cast<int64_t>(size));
  in.SetPosition(0);
  TfrxTestReport report;
  TfrxXMLSerializer serializer(&in);
  try {
    serializer.LoadRoot(&report);
  } catch (const TfrxInvalidXMLException&) {
    return 0;
  } catch (const EComponentError&) {
    return 0;  // "Missing ..." from a failing reference lookup
  } catch (const EConvertError&) {
    return 0;  // a character reference that is not a number; the report lists it as a load error
  }
  // What was loaded can be written again.
  TMemoryStream out;
  TfrxXMLSerializer writer(&out);
  writer.SaveRoot(&report, true, false);
  return 0;
}
