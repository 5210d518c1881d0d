// Job tickets and settings files come from outside: any bytes must parse, answer
// lookups and write back without a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TIniText text(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const std::string& section : text.SectionNames()) {
    for (const std::string& key : text.KeyNames(section)) (void)text.Find(section, key);
  }
  (void)text.Find("DRUKUJ", "PLIK");
  text.Set("DRUKUJ", "KOPII", "2");
  (void)text.Text();
  return 0;
}
