#include "report/frxRes.h"

#include <mutex>

std::string TfrxResources::Get(std::string_view key) const {
  std::shared_lock guard(lock_);
  auto found = texts_.find(key);
  if (found == texts_.end()) return std::string(key);
  std::string_view text = found->second;
  if (!text.empty() && text.front() == '!') text.remove_prefix(1);
  return std::string(text);
}

std::string TfrxResources::Get(int id) const { return Get(std::to_string(id)); }

bool TfrxResources::Contains(std::string_view key) const {
  std::shared_lock guard(lock_);
  return texts_.find(key) != texts_.end();
}

std::size_t TfrxResources::Count() const {
  std::shared_lock guard(lock_);
  return texts_.size();
}

void TfrxResources::Add(std::string_view key, std::string_view text) {
  std::unique_lock guard(lock_);
  texts_.insert_or_assign(std::string(key), std::string(text));
}

void TfrxResources::AddEntries(const std::vector<TfrxResourceEntry>& entries) {
  std::unique_lock guard(lock_);
  for (const auto& entry : entries) texts_.insert_or_assign(entry.Name, entry.Text);
}

TfrxResources& frxResources() {
  static TfrxResources table;
  return table;
}
