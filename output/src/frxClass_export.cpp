// TfrxCustomExportFilter: properties, the application-wide list of filters, and the
// page-range syntax shared by exporting and printing.
#include <algorithm>

#include "output/frxClassExport.h"
#include "platform/Convert.h"

namespace {

std::vector<TfrxCustomExportFilter*>& Filters() {
  static std::vector<TfrxCustomExportFilter*> filters;
  return filters;
}

}  // namespace

TfrxCustomExportFilter::TfrxCustomExportFilter(TComponent* owner, bool noRegistration)
    : TComponent(owner), noRegistration_(noRegistration) {
  if (!noRegistration_) Filters().push_back(this);
}

TfrxCustomExportFilter::~TfrxCustomExportFilter() { std::erase(Filters(), this); }

const TfrxClassInfo& TfrxCustomExportFilter::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxCustomExportFilter", &TComponent::StaticClassInfo(), nullptr,
                                  [](TfrxClassInfo& c) {
                                    using F = TfrxCustomExportFilter;
                                    TfrxPublish<F> p(c);
                                    p.Boolean("ShowDialog", &F::ShowDialog, &F::SetShowDialog).Default(1);
                                    p.String("FileName", &F::FileName, &F::SetFileName);
                                    p.Boolean("ExportNotPrintable", &F::ExportNotPrintable,
                                              &F::SetExportNotPrintable)
                                        .Default(0);
                                    p.Boolean("UseFileCache", &F::UseFileCache, &F::SetUseFileCache).Default(1);
                                    p.String("DefaultPath", &F::DefaultPath, &F::SetDefaultPath);
                                    p.Boolean("ShowProgress", &F::ShowProgress, &F::SetShowProgress).Default(1);
                                    p.Boolean("OverwritePrompt", &F::OverwritePrompt, &F::SetOverwritePrompt)
                                        .Default(0);
                                  });
  return info;
}

const std::vector<TfrxCustomExportFilter*>& frxExportFilters() { return Filters(); }

std::set<int> frxParsePageNumbers(std::string_view text, int pageCount) {
  std::string compact;
  for (char c : text)
    if (c != ' ') compact += c;
  std::set<int> pages;
  if (compact.empty()) return pages;
  size_t start = 0;
  while (start <= compact.size()) {
    size_t comma = compact.find(',', start);
    if (comma == std::string::npos) comma = compact.size();
    std::string part = compact.substr(start, comma - start);
    start = comma + 1;
    const size_t dash = part.find('-');
    if (dash == std::string::npos) {
      pages.insert(StrToInt(part));
      continue;
    }
    if (dash + 1 == part.size()) part += std::to_string(pageCount);
    const int first = StrToInt(std::string_view(part).substr(0, dash));
    const int end = StrToInt(std::string_view(part).substr(dash + 1));
    // Pages past the last one do not exist: a range reaching beyond it stops there, so
    // that a huge range costs nothing, but still selects its first page (and so does
    // not fall back to every page).
    const int last = std::min(end, std::max(pageCount, first));
    for (int page = first; page <= last; ++page) pages.insert(page);
  }
  return pages;
}
