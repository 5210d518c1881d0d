#pragma once
// Totals of a run: SUM, AVG, MIN, MAX and COUNT in memo expressions. Before the first
// pass the list finds every such call in the memos of footers, group footers, page and
// column footers, report summaries and vertical data bands (CollectPage) and makes one
// item per call. The engine then adds a row to the items of a data band whenever that
// band is printed (AddRow), asks for a value while the band showing it is printed
// (FindValue) and resets the items of a band after the band was printed (ResetShownIn).
//
// Contract
// - Ownership: the list belongs to the engine and owns its items; items refer to bands
//   and to the report, which outlive them (the engine empties the list at the start and
//   at the end of every run).
// - Calls found: inside bracketed expressions of memos with AllowExpressions, in upper
//   or lower case, with "(" right after the name ("sum (x)" is no call); also inside the
//   report variables those expressions name, each variable expanded once per memo (so a
//   variable that names itself, directly or through others, ends the scan). A call
//   elsewhere has no item: FindValue gives null, which the memo shows as 0.
// - Arguments: SUM/AVG/MIN/MAX(expression, band, flags), COUNT(band, flags). The band
//   is a report object's name (a scan's default band when it names none); flags bit 0
//   counts rows of an invisible band too, bit 1 makes a running total that is never
//   reset once it counted a row. A flags argument that is not an integer fails the
//   collection with the memo's name and the conversion error.
// - Keeping: items of page footers collect into a keep buffer while bands are kept
//   together, so rows that move to the next page count in the next page's footer.
//   UndoRow takes back the last row of a band from every item that counted it outside
//   the keep buffer (also when it arrived with a merged keep buffer), and RedoRow adds
//   the row again to exactly those items: a row moved with its data footer counts once.
// - Errors: a failing expression raises the report's Calc error ("<memo>: <error>");
//   values that cannot be added or compared raise "<memo>: <error>" too.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Variant.h"

class TfrxBand;
class TfrxComponent;
class TfrxCustomMemoView;
class TfrxReport;
class TfrxReportPage;

enum class TfrxAggregateKind : uint8_t { Sum = 0, Avg = 1, Min = 2, Max = 3, Count = 4 };

// The kind of a function name, in any case: COUNT for every name that is not one of
// the other four.
TfrxAggregateKind frxAggregateKindOf(std::string_view functionName);

class TfrxAggregateItem {
 public:
  static constexpr int kMaxVerticalColumn = 1000;

  TfrxAggregateItem(TfrxReport& report, TfrxAggregateKind kind, const TfrxBand* dataBand, int flags)
      : report_(report), kind_(kind), dataBand_(dataBand), includeInvisible_(flags & 1), runningTotal_(flags & 2) {}

  TfrxAggregateKind Kind() const { return kind_; }
  const TfrxBand* DataBand() const { return dataBand_; }
  bool IncludeInvisible() const { return includeInvisible_; }
  bool RunningTotal() const { return runningTotal_; }
  // The first argument, trimmed (empty for COUNT).
  std::string Expression;
  // The band that shows the value, and whether it is a page footer.
  const TfrxBand* ParentBand = nullptr;
  bool IsPageFooter = false;
  std::string MemoName;
  // The whole call as written, trimmed.
  std::string CallText;

  // Adds the current row: into the column `column` when it is 1 or more, else into the
  // value (or the keep buffer while keeping).
  void AddValue(int column);
  // Empties the value unless it is a running total that counted a row (or `evenRunning`).
  void ResetItem(bool evenRunning = false);
  // Empties everything, running totals and the keep buffer too (between the passes).
  void ClearValues();
  // The value for the column (1 or more) or for the whole band; 0 when nothing counted.
  Variant ItemResult(int column) const;
  void StartKeeping();
  void EndKeeping();
  // Takes the last row out again when it counted outside the keep buffer; RedoRow then
  // adds it back (once).
  void UndoRow();
  void RedoRow();
  bool Keeping() const { return keeping_; }
  int Count() const { return count_.Count; }

 private:
  struct TAccumulator {
    int Count = 0;
    Variant Value = Variant::Null();
  };
  void Combine(Variant& into, const Variant& v) const;
  void Accumulate(TAccumulator& into, const Variant& v) const;
  Variant RowValue() const;
  Variant ResultOf(const Variant& value, int count) const;
  void CheckColumn(int column) const;

  TfrxReport& report_;
  TfrxAggregateKind kind_;
  const TfrxBand* dataBand_;
  bool includeInvisible_, runningTotal_;
  TAccumulator count_;  // the value and the rows counted
  std::vector<TAccumulator> columns_;  // empty, or one per vertical column 0 … 1000
  bool keeping_ = false;
  TAccumulator keep_;
  // The value as it was without the last row, while the last row counted in it; while
  // keeping, the keep buffer as it was without the last row added into it.
  std::optional<TAccumulator> withoutLastRow_, keepWithoutLastRow_;
  bool undone_ = false;
};

class TfrxAggregateList {
 public:
  // The band a cell of a vertical band was moved from, or none.
  using THomeBandOf = std::function<TfrxBand*(const TfrxComponent& object)>;

  explicit TfrxAggregateList(TfrxReport& report) : report_(report) {}
  TfrxAggregateList(const TfrxAggregateList&) = delete;
  TfrxAggregateList& operator=(const TfrxAggregateList&) = delete;
  ~TfrxAggregateList();

  void ClearList();
  // Finds the calls in the page's footers, group footers, vertical data bands, page
  // footer, column footer and report summary (with their child bands). The page's
  // bands must be linked.
  void CollectPage(TfrxReportPage& page, const THomeBandOf& homeBandOf = {});
  void AddRow(const TfrxBand* band, int column);
  void UndoRow(const TfrxBand* band);
  // Adds the row again to the items whose row UndoRow took back.
  void RedoRow(const TfrxBand* band);
  void ResetShownIn(const TfrxBand* band);
  void StartKeeping();
  void EndKeeping();
  // Empties every item, running totals too (between the passes).
  void ClearValues();
  // The value of the first item shown in `shownIn` with this kind, expression (case
  // ignored), data band (any when `band` is none) and flags; null without one.
  Variant FindValue(const TfrxBand* shownIn, int column, std::string_view function, std::string_view expression,
                    int flags, const TfrxComponent* band) const;

  int Count() const { return static_cast<int>(items_.size()); }
  const TfrxAggregateItem& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }

  // The scan's way to add an item (frxAggregate_scan.cpp).
  TfrxAggregateItem& AddItem(TfrxAggregateKind kind, const TfrxBand* dataBand, int flags);

 private:
  class TPageScan;

  TfrxReport& report_;
  std::vector<std::unique_ptr<TfrxAggregateItem>> items_;
};
