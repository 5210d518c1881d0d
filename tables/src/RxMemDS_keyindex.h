#pragma once
// The records of a table by one field's value read as an integer: for each integer the
// ascending positions of the records holding it, and apart the records whose value is
// not an integer. The table keeps it in step with every change of its record list, so
// that a filter on that value visits only the records it may accept.

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

class TIntegerKeyIndex {
 public:
  using Key = std::optional<int32_t>;  // no value: the field does not read as an integer

  void Clear();
  // A record with `key` now stands at `position`; those from there on moved one place up.
  void Inserted(int position, Key key);
  // The record at `position` now holds `after` in place of `before`.
  void Changed(int position, Key before, Key after);
  // The nearest position from `from` on in the direction `step` (1 or -1) whose key is
  // `key` or not an integer; -1 when there is none.
  int Candidate(int32_t key, int from, int step) const;

 private:
  std::vector<int>& RowsOf(Key key);
  void Forget(int position, Key key);

  std::unordered_map<int32_t, std::vector<int>> rows_;
  std::vector<int> loose_;
  int count_ = 0;
};
