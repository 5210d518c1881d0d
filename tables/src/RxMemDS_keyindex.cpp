#include "RxMemDS_keyindex.h"

#include <algorithm>

namespace {

// The nearest entry of the ascending `rows` from `from` on in the direction `step`.
int Nearest(const std::vector<int>& rows, int from, int step) {
  if (step > 0) {
    const auto found = std::lower_bound(rows.begin(), rows.end(), from);
    return found == rows.end() ? -1 : *found;
  }
  const auto after = std::upper_bound(rows.begin(), rows.end(), from);
  return after == rows.begin() ? -1 : *(after - 1);
}

void MoveUpFrom(std::vector<int>& rows, int position) {
  for (auto it = std::lower_bound(rows.begin(), rows.end(), position); it != rows.end(); ++it) ++*it;
}

}  // namespace

void TIntegerKeyIndex::Clear() {
  rows_.clear();
  loose_.clear();
  count_ = 0;
}

std::vector<int>& TIntegerKeyIndex::RowsOf(Key key) { return key ? rows_[*key] : loose_; }

void TIntegerKeyIndex::Inserted(int position, Key key) {
  // Appending, the common case, moves nothing.
  if (position < count_) {
    for (auto& [value, rows] : rows_) MoveUpFrom(rows, position);
    MoveUpFrom(loose_, position);
  }
  ++count_;
  std::vector<int>& rows = RowsOf(key);
  rows.insert(std::lower_bound(rows.begin(), rows.end(), position), position);
}

void TIntegerKeyIndex::Forget(int position, Key key) {
  std::vector<int>& rows = RowsOf(key);
  const auto found = std::lower_bound(rows.begin(), rows.end(), position);
  if (found != rows.end() && *found == position) rows.erase(found);
  if (key && rows.empty()) rows_.erase(*key);
}

void TIntegerKeyIndex::Changed(int position, Key before, Key after) {
  if (before == after) return;
  Forget(position, before);
  std::vector<int>& rows = RowsOf(after);
  rows.insert(std::lower_bound(rows.begin(), rows.end(), position), position);
}

int TIntegerKeyIndex::Candidate(int32_t key, int from, int step) const {
  const auto found = rows_.find(key);
  const int keyed = found == rows_.end() ? -1 : Nearest(found->second, from, step);
  const int loose = Nearest(loose_, from, step);
  if (keyed < 0) return loose;
  if (loose < 0) return keyed;
  return step > 0 ? std::min(keyed, loose) : std::max(keyed, loose);
}
