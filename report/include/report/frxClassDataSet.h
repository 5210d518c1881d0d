#pragma once
// Report datasets: the one way a report reads records. A dataset has an alias
// (UserName) by which templates and expressions name it, navigation (First, Next,
// Prior, Eof), a record number, a field list and field values by name.
//
// Contract
// - TfrxDataSet is the base: its operations have the base behaviour below, which
//   TfrxUserDataSet keeps (the host drives it with RangeEnd = reCount or the
//   navigation events) and the table datasets (tables/frxDBSet.h) override.
// - Order of use by a report: SetReport(report), BeginUse, then Open / First / Next /
//   Eof / Value ... any number of times, then EndUse. Every operation may be called
//   without a report; errors that belong in the report's error list are then dropped
//   (see TfrxDataSetReport), the values are the same.
// - RecNo counts the Next moves since First, from 0. With RangeEnd = reCount the
//   dataset ends after RangeEndCount records: the Next that would pass the limit
//   leaves RecNo at RangeEndCount - 1 and sets the end flag.
// - Registry: every dataset adds itself to one application-wide list when created and
//   removes itself when destroyed; the list is guarded by a lock, held while the list is
//   searched or changed (never while a dataset's own code runs).
// - Texts are 8-bit (Windows-1250); display texts are wide (UTF-16).

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Variant.h"
#include "report/frxClassDialog.h"

class TStream;
class TfrxDataSet;

// Raised by datasets: a dataset without its table, a blank alias.
class EfrxDataSetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum TfrxRangeBegin : uint8_t { rbFirst, rbCurrent };
enum TfrxRangeEnd : uint8_t { reLast, reCurrent, reCount };
enum TfrxFieldType : uint8_t { fftNumeric, fftString, fftBoolean };

const TfrxEnumType& frxRangeBeginType();  // "TfrxRangeBegin"
const TfrxEnumType& frxRangeEndType();    // "TfrxRangeEnd"

// What a dataset asks of the report it serves. The report object implements it and
// hands itself to each dataset of its list (SetReport) before a run; it clears the
// reference (SetReport(nullptr)) when it lets the dataset go or is destroyed, so the
// dataset never outlives the pointer it keeps.
class TfrxDataSetReport {
 public:
  // The name put in front of run-time error messages.
  virtual std::string CurrentObjectName() const = 0;
  // Adds a message to the report's error list.
  virtual void AddError(const std::string& message) = 0;

 protected:
  ~TfrxDataSetReport() = default;
};

using TfrxNotifyEvent = std::function<void(TfrxDataSet& sender)>;
using TfrxCheckEOFEvent = std::function<void(TfrxDataSet& sender, bool& eof)>;

class TfrxDataSet : public TfrxDialogComponent {
 public:
  explicit TfrxDataSet(TfrxComponent* owner);
  ~TfrxDataSet() override;
  TFRX_PERSISTENT_CLASS

  // Naming the component gives it its alias while it has none.
  void SetName(const std::string& name) override;
  std::string UserName() const override { return userName_; }

  // --- the dataset operations, in slot order ----------------------------------------------
  virtual std::u16string DisplayText(const std::string& fieldName);  // empty
  virtual int DisplayWidth(const std::string& fieldName);            // 10
  virtual TfrxFieldType FieldType(const std::string& fieldName);     // fftNumeric
  virtual Variant Value(const std::string& fieldName);               // null
  // An empty or blank alias is refused with the text of "prInvProp".
  virtual void SetUserName(const std::string& name);
  virtual void BeginUse() {}
  virtual void EndUse() {}
  virtual void Open();   // fires OnOpen
  virtual void Close();  // fires OnClose
  virtual void First();
  virtual void Next();
  virtual void Prior();
  virtual bool Eof();
  virtual int FieldsCount() { return 0; }
  virtual bool IsBlobField(const std::string& fieldName) { return false; }
  virtual int RecordCount();
  virtual void CopyBlobTo(const std::string& fieldName, TStream& stream) {}
  // Replaces the list's contents with the dataset's field names.
  virtual void GetFieldList(std::vector<std::string>& list);

  // True when GetFieldList holds the name (compared without regard to ASCII case).
  bool HasField(std::string_view fieldName);

  // --- published properties --------------------------------------------------------------
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  TfrxRangeBegin RangeBegin() const { return rangeBegin_; }
  void SetRangeBegin(TfrxRangeBegin v) { rangeBegin_ = v; }
  TfrxRangeEnd RangeEnd() const { return rangeEnd_; }
  void SetRangeEnd(TfrxRangeEnd v) { rangeEnd_ = v; }
  int32_t RangeEndCount() const { return rangeEndCount_; }
  void SetRangeEndCount(int32_t v) { rangeEndCount_ = v; }

  // --- state -----------------------------------------------------------------------------
  int RecNo() const { return recNo_; }
  TfrxDataSetReport* Report() const { return report_; }
  void SetReport(TfrxDataSetReport* report) { report_ = report; }

  // Host hooks of the navigation; OnCheckEOF may change the answer of Eof.
  TfrxCheckEOFEvent OnCheckEOF;
  TfrxNotifyEvent OnFirst, OnNext, OnPrior;
  TfrxNotifyEvent OnOpen, OnClose;

 protected:
  // Adds a message to the report's error list. Without a report the message is
  // dropped: the dataset has no list of its own and no one would read it.
  void ReportError(const std::string& message) const;
  std::string CurrentObjectName() const;

  int recNo_ = 0;
  bool eof_ = false;  // the end flag

 private:
  bool enabled_ = true;
  TfrxRangeBegin rangeBegin_ = rbFirst;
  TfrxRangeEnd rangeEnd_ = reLast;
  int32_t rangeEndCount_ = 0;
  std::string userName_;
  TfrxDataSetReport* report_ = nullptr;
};

// The value callbacks of a user dataset.
using TfrxGetValueEvent = std::function<void(const std::string& fieldName, Variant& value)>;
using TfrxNewGetValueEvent = std::function<void(TfrxDataSet& sender, const std::string& fieldName, Variant& value)>;

// A dataset whose values come from the host: a list of field names and callbacks.
class TfrxUserDataSet : public TfrxDataSet {
 public:
  explicit TfrxUserDataSet(TfrxComponent* owner) : TfrxDataSet(owner) {}
  TFRX_PERSISTENT_CLASS

  std::vector<std::string>& Fields() { return fields_; }
  const std::vector<std::string>& Fields() const { return fields_; }
  // The list as one text, lines each followed by CR LF; set from CR LF, LF or CR lines.
  std::string FieldsText() const;
  void SetFieldsText(const std::string& text);

  // Null unless OnGetValue, then OnNewGetValue, give a value.
  Variant Value(const std::string& fieldName) override;
  // The value as text: nothing for null, "True" / "False", numbers in the float text of
  // the template format; text as it is.
  std::u16string DisplayText(const std::string& fieldName) override;
  int FieldsCount() override { return static_cast<int>(fields_.size()); }
  void GetFieldList(std::vector<std::string>& list) override { list = fields_; }

  TfrxGetValueEvent OnGetValue;
  TfrxNewGetValueEvent OnNewGetValue;

 private:
  std::vector<std::string> fields_;
};

// --- text helpers shared by the dataset classes ----------------------------------------

// The lines of a list text (CR LF, LF or CR separated; a last line break ends the last
// line and does not start another), and back (each line followed by CR LF).
std::vector<std::string> frxSplitLines(std::string_view text);
std::string frxJoinLines(const std::vector<std::string>& lines);
// The text of a value as a dataset shows it (see TfrxUserDataSet::DisplayText).
std::string frxDataSetValueText(const Variant& value);

// --- the application-wide dataset list -------------------------------------------------

// A copy of the list, in creation order.
std::vector<TfrxDataSet*> frxGlobalDataSets();
// The first dataset of the list whose alias equals `alias` without regard to ASCII case
// and that does not belong to a report other than `report` (none: belongs to no report).
// None for an empty alias.
TfrxDataSet* frxFindGlobalDataSet(std::string_view alias, const TfrxComponent* report);
