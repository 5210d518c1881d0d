// Prepared reports opened from any bytes: loaded, every page built and sized, then saved
// again. A damaged file ends with its clear error (malformed XML, a prepared report that
// is not sound, a value that is not a number); nothing may crash, leak or read out of
// bounds, and whatever loaded must save.

#include <cstddef>
#include <cstdint>

#include "../tests/frxStoreTestClasses.h"
#include "platform/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  auto owned = std::make_unique<TfrxPreviewPages>(report);
  TfrxPreviewPages& pages = *owned;
  report.SetPreviewPages(std::move(owned), nullptr);
  TMemoryStream in;
  in.Write(data, static_cast<int64_t>(size));
  in.SetPosition(0);
  try {
    pages.LoadFromStream(in, size % 2 == 1);
  } catch (const TfrxInvalidXMLException&) {
    return 0;
  } catch (const EfrxPreparedReportError&) {
    return 0;
  } catch (const EConvertError&) {
    return 0;
  }
  for (int i = 0; i < pages.Count(); ++i) {
    try {
      pages.PageSize(i);
      pages.BuildPage(i);
    } catch (const TfrxInvalidXMLException&) {
    } catch (const EfrxPreparedReportError&) {
    } catch (const EConvertError&) {
    }
  }
  pages.Outline().LevelRoot();
  for (int i = 0; i < pages.Outline().Count(); ++i) pages.Outline().ItemAt(i);
  pages.GetAnchorPage("Kotwica");
  TMemoryStream out;
  try {
    pages.SaveToStream(out);
  } catch (const TfrxInvalidXMLException&) {
    // A partially loaded page whose stream part is malformed cannot be copied out.
  }
  return 0;
}
