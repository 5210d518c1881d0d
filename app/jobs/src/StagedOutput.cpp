#include "StagedOutput.h"

#include <unistd.h>

#include <atomic>

#include "platform/FileSystem.h"

namespace {

int NextExportNumber() {
  static std::atomic<int> number{0};
  return ++number;
}

}  // namespace

TStagedOutput::TStagedOutput(const std::string& folder, const std::string& fileStem, const std::string& extension)
    : stem_(folder + "/." + fileStem + ".tavrel-" + std::to_string(::getpid()) + "-" +
            std::to_string(NextExportNumber())),
      name_(stem_ + extension) {}

void TStagedOutput::Discard(const std::vector<std::string>& written) const {
  for (const std::string& file : written)
    if (file.rfind(stem_, 0) == 0) fsys::DeleteOwnFile(file);
  fsys::DeleteOwnFile(name_);
}

std::vector<std::string> TStagedOutput::Publish(std::vector<std::string> written, const std::string& finalStem,
                                                std::string& failed) const {
  // A filter that names no file wrote its one file under the name it was given.
  if (written.empty() && fsys::FileExists(name_)) written.push_back(name_);
  std::vector<std::string> published;
  for (const std::string& file : written) {
    if (file.rfind(stem_, 0) != 0) {  // not staged by us: left where the filter put it
      published.push_back(file);
      continue;
    }
    const std::string target = finalStem + file.substr(stem_.size());
    if (failed.empty() && fsys::RenameFile(file, target)) {
      published.push_back(target);
    } else {
      if (failed.empty()) failed = target;
      fsys::DeleteOwnFile(file);
    }
  }
  return published;
}
