#pragma once
// What the engine's tests share: views that show what the engine did with them, a
// dataset over rows given in the test, and a report with the store and the engine on
// one page of 100 × 100 mm without margins (about 378 pixels of printable height).

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/frxEngine.h"
#include "prepared/frxPreviewPages.h"

// A stretchable view holding `Lines` lines of 10 pixels; split, it keeps the whole lines
// that fit and records how many it printed in PartLines, so that the parts of one object
// can be added up across pages.
class TfrxTestLines : public TfrxStretcheable {
 public:
  static constexpr double kLine = 10;
  explicit TfrxTestLines(TfrxComponent* owner) : TfrxStretcheable(owner) {}
  TFRX_PERSISTENT_CLASS
  int32_t Lines() const { return lines_; }
  void SetLines(int32_t v) { lines_ = v; }
  int32_t PartLines() const { return partLines_; }
  void SetPartLines(int32_t v) { partLines_ = v; }

  double CalcHeight() override { return lines_ * kLine; }
  void StartParts() override { remaining_ = lines_; }
  double SplitPart() override;

 private:
  int32_t lines_ = 0, partLines_ = 0;
  int remaining_ = 0;
};

// A view that shows the value of its Expression for the current row in Shown, which the
// store records with the band.
class TfrxTestValue : public TfrxView {
 public:
  explicit TfrxTestValue(TfrxComponent* owner) : TfrxView(owner) {}
  TFRX_PERSISTENT_CLASS
  const std::string& Expression() const { return expression_; }
  void SetExpression(const std::string& v) { expression_ = v; }
  const std::string& Shown() const { return shown_; }
  void SetShown(const std::string& v) { shown_ = v; }

  void BeforePrint() override;
  void FetchData() override;
  void AfterPrint() override;

 private:
  std::string expression_, shown_, savedShown_;
};

// A dataset over rows of values given by the test. A table that follows another shows
// only the rows whose key field equals the key field of the other's current record,
// as the job's detail tables follow Dane.
class TTestTable : public TfrxUserDataSet {
 public:
  TTestTable(const std::string& alias, std::vector<std::string> fields);
  void AddRow(std::vector<Variant> values) { rows_.push_back(std::move(values)); }
  void Follow(TTestTable& master, const std::string& keyField) {
    master_ = &master;
    keyField_ = keyField;
  }
  void First() override;

 private:
  int FieldIndex(const std::string& name) const;

  std::vector<std::vector<Variant>> rows_;
  std::vector<size_t> visible_;
  TTestTable* master_ = nullptr;
  std::string keyField_;
};

class TemplateRun {
 public:
  TemplateRun();

  TfrxReportPage* AddPage(const std::string& name);
  template <class B>
  B* AddBand(const std::string& name, double height, TfrxReportPage* on = nullptr) {
    auto* band = new B(on ? on : page);
    band->SetName(name);
    band->SetBounds(0, nextTop_, 378, height);
    nextTop_ += height + 10;  // in the order of the page, as a designer places them
    return band;
  }
  TfrxMasterData* AddRow(double height) { return row = AddBand<TfrxMasterData>("Wiersz", height); }
  // A band of 500 pixels, taller than the page, holding 50 lines.
  TfrxMasterData* AddTallBand();
  // A data band over a dataset (printing all its records).
  template <class B>
  B* AddDataBand(const std::string& name, TfrxDataSet& dataSet, double height = 20) {
    B* band = AddBand<B>(name, height);
    band->SetDataSet(&dataSet);
    band->SetRowCount(0);
    return band;
  }
  // A value view on a band showing `expression`.
  TfrxTestValue* Show(TfrxBand& band, const std::string& expression);
  // Lets the page's data bands build the body instead of the test.
  void UseDataBands() { report.OnManualBuild = nullptr; }

  // Every page as "Name@top" for each band on it ("Name@left,top" away from the left
  // edge), rounded to whole pixels.
  std::vector<std::string> Layout();
  // Every band on every page in order, as "Name" or "Name[value value ...]" with the
  // values of its value views.
  std::vector<std::string> Rows();

  TfrxReport report;
  TfrxPreviewPages* store = nullptr;
  TfrxEngine* engine = nullptr;
  TfrxReportPage* page = nullptr;
  TfrxMasterData* row = nullptr;
  int rows = 0;
  std::function<void(TfrxReportPage&)> build;

 private:
  double nextTop_ = 0;
};
