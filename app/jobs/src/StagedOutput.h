#pragma once
// An export writes under a staging name of its own beside the output (hidden, unique to
// the process and the export) and takes the final names only once it has ended well:
// a failed or cut export never leaves half a file under the name the user looks for,
// and an earlier file of that name stays as it was until the new one is complete.
// Filters that derive several files from their file name (one JPEG per page) keep the
// staging stem, which Publish turns into the final one.

#include <string>
#include <vector>

class TStagedOutput {
 public:
  // `folder` and `fileStem` (the document file name) as the final file will have them.
  TStagedOutput(const std::string& folder, const std::string& fileStem, const std::string& extension);

  // The file name the filter writes to.
  const std::string& Name() const { return name_; }

  // Deletes what the export wrote (and the staging file itself, should it not be listed).
  void Discard(const std::vector<std::string>& written) const;

  // Gives each written file its final name (`finalStem` in place of the staging stem)
  // and returns those names. A file that cannot be renamed is deleted, as are the ones
  // after it, and its final name goes into `failed`.
  std::vector<std::string> Publish(std::vector<std::string> written, const std::string& finalStem,
                                   std::string& failed) const;

 private:
  std::string stem_;  // folder + "/" + the staging stem
  std::string name_;  // stem_ + extension
};
