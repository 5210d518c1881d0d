#pragma once
// Report datasets over an in-memory table: TfrxCustomDBDataSet (field aliases, the field
// map, OpenDataSource / CloseDataSource) and TfrxDBDataset (the table operations).
//
// Contract
// - The table is DataSet, else the table of DataSource, else none. The dataset only
//   refers to it: the table (and the link) must outlive every use of the dataset, as
//   the main window's tables outlive its datasets.
// - BeginUse fails with "Źródło %s jest niepodłączone" (the dataset's Name) when there is
//   no table. It hooks the table's AfterOpen and BeforeClose: the table's own handlers
//   keep running first, then the dataset forgets its field map, whose field objects the
//   table frees on closing. EndUse (and the destructor, and a change of table) give the
//   table its own handlers back.
// - Open runs once until Close or until the table is reopened; every operation that
//   reads the table runs it first. It opens the table when OpenDataSource is set, builds
//   the field map and, for RangeBegin rbCurrent or RangeEnd reCurrent, remembers a
//   bookmark of the table's current record, to which First goes back and at which Next
//   stops; EndUse returns the table there.
// - Field names are compared without regard to ASCII case. With FieldAliases the
//   dataset's fields are the aliases of the lines "table field=alias" whose name does not
//   begin with "-" (a line without "=" shows the field under its own name); without
//   them, the table's fields.
// - An unknown field name read while the table is open gives null and adds
//   "<CurrentObjectName>: Nieznaleziono pola: <alias>."<field>"" to the report's errors,
//   once per read. While the table is closed (OpenDataSource off) there is no record to
//   read: values are null and display texts name the field as alias."field".

#include <optional>
#include <string>
#include <vector>

#include "report/frxClassDataSet.h"
#include "tables/RxMemDS.h"

// A link to a table, as bound controls use it.
class TDataSource {
 public:
  explicit TDataSource(TRxMemoryData* dataSet = nullptr) : dataSet_(dataSet) {}
  TRxMemoryData* DataSet() const { return dataSet_; }
  void SetDataSet(TRxMemoryData* dataSet) { dataSet_ = dataSet; }

 private:
  TRxMemoryData* dataSet_;
};

class TfrxCustomDBDataSet : public TfrxDataSet {
 public:
  explicit TfrxCustomDBDataSet(TfrxComponent* owner) : TfrxDataSet(owner) {}
  TFRX_PERSISTENT_CLASS

  bool CloseDataSource() const { return closeDataSource_; }
  void SetCloseDataSource(bool v) { closeDataSource_ = v; }
  bool OpenDataSource() const { return openDataSource_; }
  void SetOpenDataSource(bool v) { openDataSource_ = v; }
  std::vector<std::string>& FieldAliases() { return fieldAliases_; }
  const std::vector<std::string>& FieldAliases() const { return fieldAliases_; }
  std::string FieldAliasesText() const { return frxJoinLines(fieldAliases_); }
  void SetFieldAliasesText(const std::string& text) { fieldAliases_ = frxSplitLines(text); }

  // The table field a dataset field name stands for: the name of the first alias line
  // whose alias equals it, else the name itself.
  std::string TableFieldName(const std::string& fieldName) const;
  // The aliases of the visible alias lines, in line order.
  std::vector<std::string> VisibleAliases() const;

  int FieldsCount() override;

 private:
  bool closeDataSource_ = false;
  bool openDataSource_ = true;
  std::vector<std::string> fieldAliases_;
};

class TfrxDBDataset : public TfrxCustomDBDataSet {
 public:
  explicit TfrxDBDataset(TfrxComponent* owner) : TfrxCustomDBDataSet(owner) {}
  ~TfrxDBDataset() override;
  TFRX_PERSISTENT_CLASS

  TRxMemoryData* DataSet() const { return dataSet_; }
  void SetDataSet(TRxMemoryData* table);  // clears DataSource
  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* source);  // clears DataSet
  // The table the dataset reads: DataSet, else DataSource's, else none.
  TRxMemoryData* GetDataSet() const;
  // Kept for the template format: the tables here have no binary-coded decimal fields.
  bool BCDToCurrency() const { return bcdToCurrency_; }
  void SetBCDToCurrency(bool v) { bcdToCurrency_ = v; }

  std::u16string DisplayText(const std::string& fieldName) override;
  int DisplayWidth(const std::string& fieldName) override;
  TfrxFieldType FieldType(const std::string& fieldName) override;
  Variant Value(const std::string& fieldName) override;
  void BeginUse() override;
  void EndUse() override;
  void Open() override;
  void Close() override;
  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() override;
  bool IsBlobField(const std::string& fieldName) override;
  int RecordCount() override;
  void CopyBlobTo(const std::string& fieldName, TStream& stream) override;
  void GetFieldList(std::vector<std::string>& list) override;

 private:
  // A field of the map. The field is found again by its index on each read and checked
  // against its name, so a table closed and reopened behind the dataset's back is never
  // read through a freed field object.
  struct MappedField {
    std::string name;        // the dataset's name of the field
    std::string tableField;  // the table's name of it
    int index;
  };
  struct Hook;

  void EnsureOpen();
  void BuildFieldMap(TRxMemoryData& table);
  void ForgetFieldMap();
  // The mapped field of that name, or none.
  TField* FindMapped(const std::string& fieldName);
  // The mapped field; an unknown name is reported and gives none.
  TField* FieldOrReport(const std::string& fieldName);
  std::string NotFoundMessage(const std::string& fieldName) const;
  // The table's definition behind a dataset field name, when there is one.
  const TFieldDef* FindFieldDef(const std::string& fieldName) const;
  void ForgetTable();
  void HookTable(TRxMemoryData& table);
  void UnhookTable();

  TRxMemoryData* dataSet_ = nullptr;
  TDataSource* dataSource_ = nullptr;
  bool bcdToCurrency_ = false;

  bool opened_ = false;
  std::vector<MappedField> fieldMap_;  // sorted by name, ASCII case ignored
  std::optional<TBookmark> bookmark_;

  TRxMemoryData* hooked_ = nullptr;
  TDataSetNotifyEvent ownAfterOpen_, ownBeforeClose_;
};
