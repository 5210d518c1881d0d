#pragma once
// The error of the platform's lists: an index outside the list. Raised by every list
// that numbers its items from 0 (table fields, string lists), with the system's text
// "List index out of bounds (<index>)".

#include <cstdint>
#include <stdexcept>
#include <string>

class EListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] inline void RaiseListIndexError(int64_t index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}
