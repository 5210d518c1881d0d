#pragma once
// The report component tree: the named component base (names, owner, removal
// notification), TfrxComponent (tree, geometry, font, naming) and TfrxReportComponent
// (the part of an object that takes part in printing).
//
// Contract
// - Ownership: the owner of every report object (TComponent::Owner) is the report found
//   by walking up the parent chain of the object given at creation (or none when there
//   is no report above it). The owner destroys what it owns; a parent additionally
//   destroys its children when it is cleared or destroyed. Moving a node to another
//   parent only changes the two Objects lists. Destroying an object removes it from
//   its parent and from its owner.
// - Removal notification: when a component is destroyed, its owner's components and
//   every component that asked for it (FreeNotification) receive Notification(c,
//   opRemove) and clear their references to c. They receive it while c is being
//   destroyed: compare the pointer, never call into c.
// - Seams for classes that come later: the page and report classes override
//   IsPageObject / IsDialogPageObject / IsReportObject; the report also overrides the
//   report services (FindDataSetByName, SetScriptSelf, ExpressionText) that views use.
// - Texts are 8-bit (Windows-1250); errors are exceptions carrying the message.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Graphics.h"
#include "report/frxClassProps.h"

class TCanvas;
class TStream;

// Report units: pixels at 96 per inch.
constexpr double fr01cm = 3.77953;
constexpr double fr1cm = 37.7953;
constexpr double fr01in = 9.6;
constexpr int fr1in = 96;
constexpr double fr1CharX = 9.6;
constexpr int fr1CharY = 17;
constexpr int crHand = 150;
constexpr int crZoom = 151;
constexpr int crFormat = 152;

// Errors of the component layer (naming rules).
class EComponentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum TOperation : uint8_t { opInsert, opRemove };

// The named component base: Name, Tag, owner and the removal notification.
class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  TFRX_PERSISTENT_CLASS

  const std::string& Name() const { return name_; }
  // A valid identifier ("'x' is not a valid component name"), unique among the owner's
  // components ("A component named x already exists"); empty is allowed.
  virtual void SetName(const std::string& name);
  int32_t Tag() const { return tag_; }
  void SetTag(int32_t tag) { tag_ = tag; }

  TComponent* Owner() const { return owner_; }
  const std::vector<TComponent*>& Components() const { return components_; }
  // The owned component of that name (ASCII case-insensitive), or none.
  TComponent* FindComponent(std::string_view name) const;

  // Asks for the removal notification of `other` (and gives it ours).
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);
  virtual void Notification(TComponent* component, TOperation operation);

  // Platform states: loading from a stream, and inherited from an ancestor.
  bool IsComponentLoading() const { return loadingState_; }
  void SetComponentLoading(bool value) { loadingState_ = value; }
  bool IsInherited() const { return inherited_; }
  void SetInherited(bool value) { inherited_ = value; }

  // The loaded notification, after a stream has set the properties.
  virtual void Loaded() {}

  static bool IsValidIdent(std::string_view name);

 protected:
  // Called first by a destructor: the owned components are going too, so they need not
  // hear of each other's removal.
  void BeginDestroy() { destroying_ = true; }

 private:
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);
  void IndexName(TComponent* c, bool add);

  std::string name_;
  int32_t tag_ = 0;
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::unordered_map<std::string, TComponent*> namesIndex_;  // owned names, lower case
  std::vector<TComponent*> freeNotifies_;
  bool loadingState_ = false;
  bool inherited_ = false;
  bool destroying_ = false;
};

// The published face of a TFont sub-object ("TFont": Charset, Color, Height, Name,
// Pitch, Size, Style). Every change through it runs `changed`.
class TfrxFontProps final : public TPersistent {
 public:
  TfrxFontProps(TFont& font, std::function<void()> changed) : font_(font), changed_(std::move(changed)) {}
  TfrxFontProps(const TfrxFontProps&) = delete;
  TfrxFontProps& operator=(const TfrxFontProps&) = delete;
  TFRX_PERSISTENT_CLASS

  const TFont& Font() const { return font_; }
  int Charset() const { return font_.Charset; }
  void SetCharset(int v) { Change([&] { font_.Charset = v; }); }
  TColor Color() const { return font_.Color; }
  void SetColor(TColor v) { Change([&] { font_.Color = v; }); }
  // Pixels at 96 per inch: negative for the character height.
  int Height() const;
  void SetHeight(int v);
  const std::string& Name() const { return font_.Name; }
  void SetName(const std::string& v) { Change([&] { font_.Name = v; }); }
  int Pitch() const { return font_.Pitch; }
  void SetPitch(int v) { Change([&] { font_.Pitch = static_cast<uint8_t>(v); }); }
  int Size() const { return font_.Size; }
  void SetSize(int v) { Change([&] { font_.Size = v; }); }
  int Style() const { return font_.Style; }
  void SetStyle(int v) { Change([&] { font_.Style = static_cast<TFontStyles>(v & 15); }); }

 private:
  template <class F>
  void Change(F f) {
    f();
    if (changed_) changed_();
  }
  TFont& font_;
  std::function<void()> changed_;
};

enum TfrxRestriction : uint8_t { rfDontModify, rfDontSize, rfDontMove, rfDontDelete, rfDontEdit };
using TfrxRestrictions = uint8_t;  // bit (1 << member)

// Style flags of a component class.
enum TfrxComponentStyleFlag : uint8_t {
  csoCopiedToOutput = 1,  // takes part in prepared output
  csoStoredInFull = 2,    // output copies are written with all their properties
  csoDesignerOnly = 4,
};
using TfrxComponentStyle = uint8_t;

struct TfrxRectF {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TfrxRectF&) const = default;
};

struct TfrxBounds {
  double Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TfrxBounds&) const = default;
};

const TfrxEnumType& frxRestrictionsType();  // "TfrxRestrictions"
const TfrxEnumType& frxFontStylesType();    // "TFontStyles"
const TfrxEnumType& frxFontPitchType();     // "TFontPitch"

class TfrxComponent : public TComponent {
 public:
  // Creates the object as the last child of `owner`, owned by the report above it.
  explicit TfrxComponent(TfrxComponent* owner);
  ~TfrxComponent() override;
  TFRX_PERSISTENT_CLASS

  // The designer's constructor: the object is marked Designing; the flags word is handed
  // to DesignerFlags (lines and shapes read it).
  static TfrxComponent* CreateForDesigner(const TfrxClassInfo& cls, TfrxComponent* owner, int flags);

  // Tree
  TfrxComponent* Parent() const { return parent_; }
  virtual void SetParent(TfrxComponent* parent);
  virtual const std::vector<TfrxComponent*>& Objects() const { return objects_; }
  // All descendants, depth first, a node before its children; rebuilt on each call.
  std::vector<TfrxComponent*> AllObjects() const;
  TfrxComponent* FindObject(std::string_view name) const;
  // Nearest ancestor-or-self that is a page / the report, or none.
  TfrxComponent* Page() const;
  TfrxComponent* OwningReport() const;
  virtual void Clear();

  // Geometry
  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  virtual void SetLeft(double v);
  virtual void SetTop(double v);
  virtual void SetWidth(double v);
  virtual void SetHeight(double v);
  void SetBounds(double left, double top, double width, double height);
  double AbsLeft() const;
  double AbsTop() const;
  virtual void ApplyAlignment();

  // Font
  const TFont& Font() const { return font_; }
  virtual void SetFont(const TFont& font);
  TfrxFontProps* FontProps() { return &fontProps_; }
  bool ParentFont() const { return parentFont_; }
  virtual void SetParentFont(bool value);
  bool IsFontStored() const { return !parentFont_; }

  // Naming
  void SetName(const std::string& name) override;
  void MakeUniqueName();
  // The class name without its first "Tfrx" and its first "View", unless set.
  const std::string& NameStem() const;
  void SetNameStem(std::string stem) { nameStem_ = std::move(stem); }
  virtual std::string DescriptiveName() const { return ClassName(); }

  // State and other fields
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value) { visible_ = value; }
  int32_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int32_t v) { groupIndex_ = v; }
  TfrxRestrictions Restrictions() const { return restrictions_; }
  void SetRestrictions(TfrxRestrictions v) { restrictions_ = static_cast<TfrxRestrictions>(v & 31); }
  const std::string& Description() const { return description_; }
  void SetDescription(const std::string& v) { description_ = v; }
  bool Designing() const { return designing_; }
  void SetDesigning(bool v) { designing_ = v; }
  bool IsLoading() const { return loading_ || IsComponentLoading(); }
  void SetLoading(bool v) { loading_ = v; }
  bool Printing() const { return printing_; }
  void SetPrinting(bool v) { printing_ = v; }
  bool Writing() const { return writing_; }
  void SetWriting(bool v) { writing_ = v; }
  bool IsAncestor() const { return fromAncestor_ || IsInherited(); }
  void SetFromAncestor(bool v) { fromAncestor_ = v; }
  TfrxComponentStyle StyleFlags() const { return styleFlags_; }
  void SetStyleFlags(TfrxComponentStyle v) { styleFlags_ = v; }
  const std::string& OutputAlias() const { return outputAlias_; }
  void SetOutputAlias(std::string v) { outputAlias_ = std::move(v); }
  TfrxComponent* SourceObject() const { return sourceObject_; }
  void SetSourceObject(TfrxComponent* v) { sourceObject_ = v; }
  TfrxComponent* SourceBand() const { return sourceBand_; }
  void SetSourceBand(TfrxComponent* v) { sourceBand_ = v; }
  const TfrxBounds& SavedBounds() const { return savedBounds_; }

  // Template streaming (frxXMLSerializer): LoadFromStream clears the object and reads a
  // document into it, handing the load errors to the report (AppendErrors);
  // SaveToStream writes the object as the document element.
  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream, bool saveChildren = true, bool saveAsClassName = false,
                            bool saveDefaultValues = false);
  // Copies a component's properties (not its name, not its children) through the
  // template form; CopyWithChildren copies its subtree too.
  void Assign(TfrxComponent& source);
  void CopyWithChildren(TfrxComponent& source, bool saveAsClassName = false);

  // The memo view's text (the serializer's "Text", "u" and "x" attributes): memo views
  // answer true and keep their lines; the text is the lines each followed by CR LF.
  virtual bool IsMemoView() const { return false; }
  virtual std::u16string MemoText() const { return {}; }
  virtual void SetMemoText(const std::u16string& text) {}

  // The attribute text of the compact difference form against `reference`, an object of
  // the same class: " l=" ... for each property in which this object differs.
  virtual std::string WriteDifferences(const TfrxComponent* reference) const;

  // Seams the page and report classes override.
  virtual bool IsPageObject() const { return false; }
  virtual bool IsDialogPageObject() const { return false; }
  virtual bool IsReportObject() const { return false; }
  // Report services (answered by the report object; nothing here).
  virtual TfrxComponent* FindDataSetByName(const std::string& name) const { return nullptr; }
  virtual void SetScriptSelf(TfrxComponent* view) {}
  // The text of the value of an expression, for bracketed texts.
  virtual std::string ExpressionText(const std::string& expression) { return {}; }
  // The name a dataset shows to templates (its alias); other components their Name.
  virtual std::string UserName() const { return Name(); }
  // Errors met while loading this object's tree (the report keeps them).
  virtual void AppendErrors(const std::vector<std::string>& errors) {}
  // The dataset of that name, looked up through the report.
  TfrxComponent* FindDataSet(const std::string& name) const;

 protected:
  // Handler of the font's change event.
  virtual void PropagateFont();
  virtual void DesignerFlags(int flags) {}
  // Hooks of the difference form: bands always write " t=", auto-width memos never " w=".
  virtual bool DifferencesAlwaysWriteTop() const { return false; }
  virtual bool DifferencesWriteWidth() const { return true; }
  void SaveBounds() { savedBounds_ = {left_, top_, width_, height_}; }
  void FontChanged();

 private:
  void DetachFromParent();

  TFont font_;
  TfrxFontProps fontProps_;
  std::vector<TfrxComponent*> objects_;
  TfrxComponent* parent_ = nullptr;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool parentFont_ = true;
  int32_t groupIndex_ = 0;
  bool designing_ = false, loading_ = false, printing_ = false, writing_ = false;
  TfrxRestrictions restrictions_ = 0;
  bool visible_ = true;
  std::string description_;
  bool fromAncestor_ = false;
  TfrxComponentStyle styleFlags_ = csoCopiedToOutput;
  std::string outputAlias_;
  mutable std::string nameStem_;
  TfrxComponent* sourceObject_ = nullptr;
  TfrxComponent* sourceBand_ = nullptr;
  TfrxBounds savedBounds_;
};

// The part of an object that takes part in printing.
class TfrxReportComponent : public TfrxComponent {
 public:
  explicit TfrxReportComponent(TfrxComponent* owner) : TfrxComponent(owner) {}
  TFRX_PERSISTENT_CLASS

  virtual void Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) = 0;
  virtual void BeforePrint();
  virtual void FetchData() {}
  virtual void AfterPrint();
  virtual std::string ComponentText() const { return {}; }
  virtual TfrxRectF OutputBounds() const;

  // Names of script procedures, empty for none.
  const std::string& OnAfterData() const { return onAfterData_; }
  void SetOnAfterData(const std::string& v) { onAfterData_ = v; }
  const std::string& OnAfterPrint() const { return onAfterPrint_; }
  void SetOnAfterPrint(const std::string& v) { onAfterPrint_ = v; }
  const std::string& OnBeforePrint() const { return onBeforePrint_; }
  void SetOnBeforePrint(const std::string& v) { onBeforePrint_ = v; }
  const std::string& OnPreviewClick() const { return onPreviewClick_; }
  void SetOnPreviewClick(const std::string& v) { onPreviewClick_ = v; }
  const std::string& OnPreviewDblClick() const { return onPreviewDblClick_; }
  void SetOnPreviewDblClick(const std::string& v) { onPreviewDblClick_ = v; }

  // The engine's: how far this object moved, and the objects that move with it.
  int32_t ShiftDistance() const { return shiftDistance_; }
  void SetShiftDistance(int32_t v) { shiftDistance_ = v; }
  std::vector<TfrxReportComponent*>& ShiftDependents() { return shiftDependents_; }
  // How much taller the object became in the current preparation.
  double ExtraHeight = 0;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::string onAfterData_, onAfterPrint_, onBeforePrint_, onPreviewClick_, onPreviewDblClick_;
  int32_t shiftDistance_ = 0;
  std::vector<TfrxReportComponent*> shiftDependents_;
};
