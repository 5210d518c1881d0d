#pragma once
// The resource documents compiled into the library (generated from report/res/*.xml at
// build time), in file-name order.

#include <span>
#include <string_view>

namespace frxres {

struct CarriedDocument {
  const char* Name;        // file name of the document in the source tree
  std::string_view Bytes;  // the document exactly as stored
};

std::span<const CarriedDocument> CarriedDocuments();

}  // namespace frxres
