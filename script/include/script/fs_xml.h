#pragma once
// The script engine's own small XML: grammars and the intermediate program (IL) are
// kept in it. An element has a name, an attribute text (the raw text after the name,
// kept unparsed and decoded only when an attribute is asked for), ordered children
// and a parent link. Element content text does not exist in this dialect.
//
// Ownership: a document owns its root; an item owns its children. Reading replaces the
// whole tree. Every reading failure raises EfsXMLError "Invalid file format"; the
// tree is then left empty.

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class EfsXMLError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TfsXMLItem {
 public:
  TfsXMLItem() = default;
  explicit TfsXMLItem(std::string name, std::string text = {}) : name_(std::move(name)), text_(std::move(text)) {}
  TfsXMLItem(const TfsXMLItem&) = delete;
  TfsXMLItem& operator=(const TfsXMLItem&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  // The raw attribute text, as written between the name and ">".
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }

  // Value of attribute `name` (case-insensitive), character references and &quot;
  // decoded; empty when the attribute is missing.
  std::string Prop(std::string_view name) const;
  bool HasProp(std::string_view name) const;

  int Count() const { return static_cast<int>(items_.size()); }
  TfsXMLItem& operator[](int index) const { return *items_[static_cast<size_t>(index)]; }
  TfsXMLItem* Parent() const { return parent_; }
  // First child of that name (case-insensitive), or null.
  TfsXMLItem* FindItem(std::string_view name) const;

  TfsXMLItem& Add(std::string name, std::string text = {});
  TfsXMLItem& Add(std::unique_ptr<TfsXMLItem> item);
  // A deep copy appended as the last child.
  TfsXMLItem& AddCopy(const TfsXMLItem& source);
  void Clear() { items_.clear(); }

 private:
  std::string name_;
  std::string text_;
  std::vector<std::unique_ptr<TfsXMLItem>> items_;
  TfsXMLItem* parent_ = nullptr;
};

class TfsXMLDocument {
 public:
  TfsXMLDocument() : root_(std::make_unique<TfsXMLItem>()) {}

  TfsXMLItem& Root() const { return *root_; }
  void SetRoot(std::unique_ptr<TfsXMLItem> root);
  // Hands the tree over; the document is left with an empty root.
  std::unique_ptr<TfsXMLItem> TakeRoot();

  void LoadFromString(std::string_view text);
  // The document text: the XML declaration line, then the tree. With `indent` each
  // element is on its own line, two blanks per level; lines end with LineBreak.
  std::string SaveToString(bool indent = true) const;

  std::string LineBreak = "\r\n";

 private:
  std::unique_ptr<TfsXMLItem> root_;
};

// Attribute value escaping as the parser writes it: CR, LF, double quote, "<", ">" and
// "&" become decimal character references.
std::string fsXMLEscape(std::string_view value);
