#pragma once
// Text helpers shared by the totals' item operations and their scan of memo texts.

#include <string>
#include <string_view>

namespace frx_aggregate {

// The text without leading and trailing blanks and control characters.
inline std::string Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return std::string(text.substr(b, e - b));
}

}  // namespace frx_aggregate
