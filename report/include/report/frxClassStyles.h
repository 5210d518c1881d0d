#pragma once
// Named styles: TfrxStyleItem (a font, a colour and a frame under a name), TfrxStyles
// (a report's collection of them) and TfrxStyleSheet (a list of collections).
//
// Contract
// - Names are unique within a collection, compared without regard to ASCII case: a
//   duplicate is refused with "Duplicate name" and the item keeps its name. A new item
//   is named "Style" followed by the smallest free number.
// - Files: a collection is an XML document "style" with the collection's Name and one
//   "item" element per style whose attributes are the item's properties; a style sheet
//   is a document "stylesheet" with one "style" element per collection. Loading clears
//   first; a document whose element has another name loads nothing. Loading a collection
//   applies it to the report's memos (ApplyStyles).
// - A collection may belong to a report (the report's own styles, kept in its template's
//   raw data); ApplyStyles then reaches the report's memo views, through their published
//   "Style" property.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "report/frxClassView.h"

class TStream;
class TfrxStyles;
class TfrxXMLItem;

class TfrxStyleItem final : public TPersistent {
 public:
  explicit TfrxStyleItem(TfrxStyles& owner);
  TfrxStyleItem(const TfrxStyleItem&) = delete;
  TfrxStyleItem& operator=(const TfrxStyleItem&) = delete;
  TFRX_PERSISTENT_CLASS

  TfrxStyles& Collection() const { return owner_; }
  const std::string& Name() const { return name_; }
  // Refuses a name another item of the collection has ("Duplicate name").
  void SetName(const std::string& name);
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_ = font; }
  TfrxFrame& Frame() { return frame_; }
  const TfrxFrame& Frame() const { return frame_; }
  TfrxFontProps* FontProps() { return &fontProps_; }
  TfrxFrame* FramePtr() { return &frame_; }
  // Copies font, colour and frame (not the name).
  void Assign(const TfrxStyleItem& source);

 private:
  TfrxStyles& owner_;
  std::string name_;
  TColor color_ = clTransparent;
  TFont font_;
  TfrxFontProps fontProps_;
  TfrxFrame frame_;
};

class TfrxStyles {
 public:
  // `report`: the report whose memos ApplyStyles reaches, or none.
  explicit TfrxStyles(TfrxComponent* report = nullptr) : report_(report) {}
  TfrxStyles(const TfrxStyles&) = delete;
  TfrxStyles& operator=(const TfrxStyles&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  TfrxComponent* Report() const { return report_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TfrxStyleItem& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
  // A new item named "Style" followed by the first free number.
  TfrxStyleItem& Add();
  void Delete(int index);
  void Clear() { items_.clear(); }
  // The item of that name (ASCII case ignored), or none.
  TfrxStyleItem* Find(std::string_view name) const;
  // The names in order.
  std::vector<std::string> GetList() const;
  // Every memo of the report takes its style again: memos whose style this collection
  // has get its font, colour and frame; the others lose their style name.
  void ApplyStyles() const;

  // The "style" document and its element. Errors met in the items' attributes
  // (a duplicate name, a bad number) are returned, each once.
  std::vector<std::string> LoadFromStream(TStream& stream);
  std::vector<std::string> LoadFromFile(const std::string& fileName);
  std::vector<std::string> LoadFromXMLItem(const TfrxXMLItem& element, bool legacyText);
  void SaveToStream(TStream& stream) const;
  void SaveToFile(const std::string& fileName) const;
  void SaveToXMLItem(TfrxXMLItem& element) const;

 private:
  TfrxComponent* report_;
  std::string name_;
  std::vector<std::unique_ptr<TfrxStyleItem>> items_;
};

class TfrxStyleSheet {
 public:
  TfrxStyleSheet() = default;
  TfrxStyleSheet(const TfrxStyleSheet&) = delete;
  TfrxStyleSheet& operator=(const TfrxStyleSheet&) = delete;

  void Clear() { items_.clear(); }
  void Delete(int index);
  // A new, empty collection at the end.
  TfrxStyles& Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TfrxStyles& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
  // The collection of that name (ASCII case ignored), or none.
  TfrxStyles* Find(std::string_view name) const;
  std::vector<std::string> GetList() const;

  // The "stylesheet" document; errors as for TfrxStyles.
  std::vector<std::string> LoadFromStream(TStream& stream);
  std::vector<std::string> LoadFromFile(const std::string& fileName);
  void SaveToStream(TStream& stream) const;
  void SaveToFile(const std::string& fileName) const;

 private:
  std::vector<std::unique_ptr<TfrxStyles>> items_;
};
