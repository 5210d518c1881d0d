// Totals: finding the calls of SUM, AVG, MIN, MAX and COUNT in the memos of a report
// page before a run, and making one item per call.
#include <cstring>
#include <set>

#include "engine/frxAggregate.h"
#include "frxAggregate_text.h"
#include "platform/Convert.h"
#include "platform/Format.h"
#include "platform/TextCase.h"
#include "report/frxBrackets.h"
#include "report/frxClassBand.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassReport.h"

namespace {

// Variables inside variables and parentheses inside parentheses: deeper than this is
// no expression a script could run either.
constexpr int kMaxScanDepth = 256;

bool OneOf(unsigned char c, const char* set) { return c != 0 && std::strchr(set, c) != nullptr; }

// Characters passed over between names (codes above 127 belong to names).
bool IsSeparator(unsigned char c) { return (c >= 1 && c <= 32) || OneOf(c, "!#$%&*+,-./0123456789=[]^|"); }

// Characters that end a name.
bool EndsName(unsigned char c) { return (c >= 1 && c <= 32) || OneOf(c, "!#$%&(*+,-./=[]^|"); }

bool IsAggregateFunction(std::string_view name) {
  const std::string upper = AnsiUpperCase(name);
  return upper == "SUM" || upper == "MIN" || upper == "MAX" || upper == "AVG" || upper == "COUNT";
}

// The arguments of a call whose "(" is at `open`, split at commas outside quotes and
// inner parentheses; `close` becomes the position of the closing ")" (the text's size
// without one). With four or more, the first and the second-to-last are kept.
std::vector<std::string> SplitArguments(std::string_view e, size_t open, size_t& close) {
  std::vector<std::string> arguments;
  int depth = 1;
  bool inSingle = false, inDouble = false;
  size_t from = open + 1, i = open + 1;
  for (; i < e.size(); ++i) {
    const char c = e[i];
    if (c == '\'' && !inDouble) inSingle = !inSingle;
    else if (c == '"' && !inSingle) inDouble = !inDouble;
    if (inSingle || inDouble) continue;
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth == 0) break;
    } else if (c == ',' && depth == 1) {
      arguments.push_back(frx_aggregate::Trim(e.substr(from, i - from)));
      from = i + 1;
    }
  }
  close = i;
  arguments.push_back(frx_aggregate::Trim(e.substr(from, i - from)));
  if (arguments.size() > 3) arguments = {arguments.front(), arguments[arguments.size() - 2]};
  return arguments;
}

// The scan of one memo: its bracketed expressions, and the report variables they name.
class TCallScanner {
 public:
  TCallScanner(TfrxAggregateList& list, TfrxReport& report, const TfrxCustomMemoView& memo, TfrxBand& defaultBand,
               const TfrxBand* parentBand)
      : list_(list), report_(report), memo_(memo), defaultBand_(defaultBand), parentBand_(parentBand) {}

  void Scan() {
    for (const std::string& expression : memo_.BracketedExpressions()) ScanExpression(expression, 0);
  }

 private:
  void ScanExpression(std::string_view e, int depth) {
    if (depth > kMaxScanDepth)
      throw EfrxReportError(memo_.Name() + ": the expression nests more than " + std::to_string(kMaxScanDepth) +
                            " levels deep");
    if (ScanVariable(e, depth)) return;
    TfrxDataSet* dataSet = nullptr;
    std::string field;
    if (report_.GetDataSetAndField(e, dataSet, field)) return;

    size_t i = 0;
    while (i < e.size()) {
      const auto c = static_cast<unsigned char>(e[i]);
      if (IsSeparator(c)) {
        ++i;
      } else if (c == '"' || c == '\'') {
        const size_t end = e.find(static_cast<char>(c), i + 1);
        i = end == std::string_view::npos ? e.size() : end + 1;
      } else if (c == '(' || c == '<') {
        i = ScanBracketed(e, i, depth);
      } else {
        i = ScanName(e, i, depth);
      }
    }
  }

  // A part in parentheses or angle brackets is scanned on its own; scanning goes on
  // after its closing character.
  size_t ScanBracketed(std::string_view e, size_t i, int depth) {
    if (i + 1 >= e.size()) return i + 1;
    const std::string_view open = e.substr(i, 1), close = e[i] == '(' ? ")" : ">";
    const auto part = frx_brackets::FindBracketEnd<char>(e, open, close, i);
    ScanExpression(part.Closed ? part.Expression : e.substr(i + 1), depth + 1);
    return part.End + 1;
  }

  size_t ScanName(std::string_view e, size_t i, int depth) {
    size_t end = i;
    while (end < e.size() && !EndsName(static_cast<unsigned char>(e[end]))) ++end;
    const std::string_view name = e.substr(i, end - i);
    if (!IsAggregateFunction(name)) {
      ScanVariable(name, depth);
      return end;
    }
    // Only a call with "(" right after the name; "sum (x)" is passed over.
    if (end >= e.size() || e[end] != '(') return end;
    size_t close = 0;
    const std::vector<std::string> arguments = SplitArguments(e, end, close);
    const size_t last = std::min(close, e.size() - 1);
    AddCall(name, arguments, e.substr(i, last - i + 1));
    return last + 1;
  }

  // When `name` is a report variable, scans its value (once per memo, which also ends
  // a variable that refers to itself).
  bool ScanVariable(std::string_view name, int depth) {
    const int index = report_.Variables().IndexOf(name);
    if (index < 0) return false;
    if (!expanded_.insert(index).second) return true;
    const Variant& value = report_.Variables().Items(index).Value();
    std::string text;
    if (!value.isNull()) TryVarToStr(value, text);
    ScanExpression(text, depth + 1);
    return true;
  }

  void AddCall(std::string_view name, const std::vector<std::string>& arguments, std::string_view callText) {
    const TfrxAggregateKind kind = frxAggregateKindOf(name);
    auto argument = [&](size_t index) { return index < arguments.size() ? arguments[index] : std::string(); };
    const size_t first = kind == TfrxAggregateKind::Count ? 0 : 1;
    const std::string bandName = argument(first), flagsText = argument(first + 1);
    int flags = 0;
    try {
      if (!flagsText.empty()) flags = StrToInt(flagsText);
    } catch (const EConvertError& e) {
      throw EfrxReportError(memo_.Name() + ": " + e.what());
    }
    const TfrxBand* band = bandName.empty() ? nullptr : dynamic_cast<const TfrxBand*>(report_.FindObject(bandName));
    TfrxAggregateItem& item = list_.AddItem(kind, band ? band : &defaultBand_, flags);
    if (kind != TfrxAggregateKind::Count) item.Expression = argument(0);
    item.ParentBand = parentBand_;
    item.IsPageFooter = dynamic_cast<const TfrxPageFooter*>(parentBand_) != nullptr;
    item.MemoName = memo_.Name();
    item.CallText = frx_aggregate::Trim(callText);
  }

  TfrxAggregateList& list_;
  TfrxReport& report_;
  const TfrxCustomMemoView& memo_;
  TfrxBand& defaultBand_;
  const TfrxBand* parentBand_;
  std::set<int> expanded_;  // variables already scanned for this memo
};

bool ShowsTotalsOfItsHomeBand(const TfrxBand* home) {
  return dynamic_cast<const TfrxReportSummary*>(home) || dynamic_cast<const TfrxPageFooter*>(home) ||
         dynamic_cast<const TfrxFooter*>(home) || dynamic_cast<const TfrxGroupFooter*>(home);
}

}  // namespace

class TfrxAggregateList::TPageScan {
 public:
  TPageScan(TfrxAggregateList& list, const THomeBandOf& homeBandOf) : list_(list), homeBandOf_(homeBandOf) {}

  void DataBand(TfrxBand& band) {
    if (band.FooterBand) BandChain(*band.FooterBand, band);
    if (band.GroupBand)
      for (TfrxBand* group : band.GroupBand->LinkedBands())
        if (group->FooterBand) BandChain(*group->FooterBand, band);
    for (TfrxBand* detail : band.LinkedBands()) DataBand(*detail);
    if (band.Vertical()) BandChain(band, band);
  }

  // The memos of a band and of its child bands.
  void BandChain(TfrxBand& first, TfrxBand& defaultBand) {
    for (TfrxBand* band = &first; band; band = band->Child())
      for (TfrxComponent* object : band->Objects())
        if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(object))
          TCallScanner(list_, list_.report_, *memo, defaultBand, ParentBandOf(*memo, *band)).Scan();
  }

 private:
  // A cell of a vertical band shows the totals of its home band when that band is a
  // footer or a summary.
  const TfrxBand* ParentBandOf(const TfrxCustomMemoView& memo, const TfrxBand& scanned) const {
    const auto* parent = dynamic_cast<const TfrxBand*>(memo.Parent());
    if (!parent) parent = &scanned;
    if (parent->Vertical() && homeBandOf_) {
      const TfrxBand* home = homeBandOf_(memo);
      if (ShowsTotalsOfItsHomeBand(home)) return home;
    }
    return parent;
  }

  TfrxAggregateList& list_;
  const THomeBandOf& homeBandOf_;
};

void TfrxAggregateList::CollectPage(TfrxReportPage& page, const THomeBandOf& homeBandOf) {
  TPageScan scan(*this, homeBandOf);
  for (auto* bands : {&page.LinkedBands(), &page.VLinkedBands()})
    for (TfrxBand* band : *bands) scan.DataBand(*band);
  if (page.LinkedBands().empty()) return;
  TfrxBand& firstMaster = *page.LinkedBands().front();
  for (TfrxBand* band : {static_cast<TfrxBand*>(page.FirstBandOfClass<TfrxPageFooter>()),
                         static_cast<TfrxBand*>(page.FirstBandOfClass<TfrxColumnFooter>()),
                         static_cast<TfrxBand*>(page.FirstBandOfClass<TfrxReportSummary>())})
    if (band) scan.BandChain(*band, firstMaster);
}
