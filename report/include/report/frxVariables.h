#pragma once
// Report variables: a list of named values, grouped into categories.
//
// Contract
// - Names compare without regard to ASCII case; the first match wins.
// - A variable whose name begins with a blank is a category header; the variables that
//   follow it, up to the next header, belong to that category. The empty category is
//   the run of variables before the first header.
// - The list owns its items. Item pointers stay valid until the item is deleted or the
//   list is cleared.
// - How a value is used (evaluated as an expression or taken as it is) is the report's
//   business (TfrxReport::LookupValue); the list only stores values.
// - Load and save as a document whose root element is "variables", with one "item"
//   element per variable carrying the attributes Name and Value, written and read as the
//   template serializer does: 8-bit text, decoded from UTF-8 only when the document's
//   declaration clears LegacyText. A document that cannot be read raises and leaves the
//   list as it was.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Variant.h"
#include "report/frxClassProps.h"

class TStream;

class TfrxVariable final : public TPersistent {
 public:
  TfrxVariable() = default;
  TfrxVariable(std::string name, Variant value) : name_(std::move(name)), value_(std::move(value)) {}
  TFRX_PERSISTENT_CLASS

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  const Variant& Value() const { return value_; }
  void SetValue(const Variant& value) { value_ = value; }
  // A category header: the name begins with a blank.
  bool IsCategory() const { return !name_.empty() && name_[0] == ' '; }

 private:
  std::string name_;
  Variant value_;
};

class TfrxVariables {
 public:
  TfrxVariables() = default;
  TfrxVariables(const TfrxVariables&) = delete;
  TfrxVariables& operator=(const TfrxVariables&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TfrxVariable& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
  TfrxVariable& Add();
  TfrxVariable& Insert(int index);
  void Delete(int index);
  void Clear() { items_.clear(); }
  // Replaces the contents with copies of the other list's items.
  void Assign(const TfrxVariables& source);

  // Index of the first variable of that name, or -1.
  int IndexOf(std::string_view name) const;
  // The value of a name; null when there is none.
  Variant Get(std::string_view name) const;
  // Sets the value of a name; a missing name is appended at the end.
  void Set(std::string_view name, const Variant& value);

  // Category names in list order, without the leading blank.
  std::vector<std::string> GetCategoriesList() const;
  // Names of the variables of a category (the empty category: before the first header).
  std::vector<std::string> GetVariablesList(std::string_view category) const;
  // Deletes a category header with its variables; nothing when there is no such category.
  void DeleteCategory(std::string_view category);
  void DeleteVariable(std::string_view name);
  // An existing name anywhere only gets the new value; otherwise the variable is
  // inserted at the end of the category's block (a missing category is added at the end).
  void AddVariable(std::string_view category, std::string_view name, const Variant& value);

  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

 private:
  // Index of the category header, or -1; the empty category has none.
  int CategoryIndex(std::string_view category) const;
  // One past the last variable of the block that starts after `header` (-1: the front).
  int BlockEnd(int header) const;

  std::vector<std::unique_ptr<TfrxVariable>> items_;
};

// The application-wide variables: values that are never evaluated ("CopyName0", ...).
TfrxVariables& frxGlobalVariables();
