// Any bytes as a script source of the language TAVREL_FUZZ_GRAMMAR names: SourceToIL must
// answer with an IL document or an error, never crash, hang or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/fs_iilparser.h"
#include "script/fs_iinterpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TfsScript script;
  // Units are never read from disk here: a used unit's text is the input itself.
  std::string source(reinterpret_cast<const char*>(data), size);
  script.OnGetUnit = [&source](const std::string&) { return source; };
  TfsILParser parser(&script);
  parser.LoadGrammar(TAVREL_FUZZ_GRAMMAR);
  try {
    if (parser.SourceToIL(source)) (void)parser.ILDocument().SaveToString(true);
  } catch (const EfsScriptError&) {
    // "Language '...' not found" from a "#language" line is a proper answer.
  }
  return 0;
}
