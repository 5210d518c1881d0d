#include <algorithm>

#include "platform/CodePage.h"
#include "report/frxClassComponent.h"
#include "report/frxRes.h"

// ---------------------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& theirs = other->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this, opRemove);
  }
  while (!components_.empty()) delete components_.back();
  if (owner_) owner_->RemoveComponent(this);
}

const TfrxClassInfo& TComponent::StaticClassInfo() {
  static const TfrxClassInfo info("TComponent", nullptr, nullptr, [](TfrxClassInfo& c) {
    TfrxPublish<TComponent> p(c);
    p.String("Name", &TComponent::Name, &TComponent::SetName);
    p.Integer("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
  });
  return info;
}

bool TComponent::IsValidIdent(std::string_view name) {
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (name.empty() || !alpha(name[0])) return false;
  for (char c : name)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (owner_ && !name.empty() && !frxSameText(name, name_)) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this) throw EComponentError("A component named " + name + " already exists");
  }
  if (owner_) owner_->IndexName(this, false);
  name_ = name;
  if (owner_) owner_->IndexName(this, true);
}

static std::string LowerName(std::string_view name) {
  std::string lower(name);
  for (char& ch : lower)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
  return lower;
}

void TComponent::IndexName(TComponent* c, bool add) {
  if (c->name_.empty()) return;
  std::string key = LowerName(c->name_);
  auto found = namesIndex_.find(key);
  if (add) {
    if (found == namesIndex_.end()) namesIndex_.emplace(std::move(key), c);
  } else if (found != namesIndex_.end() && found->second == c) {
    namesIndex_.erase(found);
    // Another owned component of the same name (possible only by case) takes its place.
    for (TComponent* other : components_)
      if (other != c && frxSameText(other->name_, c->name_)) {
        namesIndex_.emplace(LowerName(other->name_), other);
        break;
      }
  }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  auto found = namesIndex_.find(LowerName(name));
  return found == namesIndex_.end() ? nullptr : found->second;
}

void TComponent::InsertComponent(TComponent* c) {
  c->owner_ = this;
  components_.push_back(c);
  IndexName(c, true);
}

void TComponent::RemoveComponent(TComponent* c) {
  IndexName(c, false);
  // Removal from the end is the common case while an owner destroys its components.
  auto it = std::find(components_.rbegin(), components_.rend(), c);
  if (it != components_.rend()) components_.erase(std::next(it).base());
  c->owner_ = nullptr;
  Notification(c, opRemove);
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
    freeNotifies_.push_back(other);
  auto& theirs = other->freeNotifies_;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
  auto& theirs = other->freeNotifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove)
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
  // Every component of an owner hears of the removal of any of them.
  if (destroying_) return;
  for (TComponent* c : components_)
    if (c != component) c->Notification(component, operation);
}

// ---------------------------------------------------------------------------------------
// TfrxFontProps

// Rounded a * b / c, halves away from zero.
static int MulDiv(int a, int b, int c) {
  long long product = static_cast<long long>(a) * b;
  long long half = c / 2;
  long long q = product >= 0 ? (product + half) / c : -((-product + half) / c);
  return static_cast<int>(q);
}

int TfrxFontProps::Height() const { return -MulDiv(font_.Size, 96, 72); }
void TfrxFontProps::SetHeight(int v) { SetSize(-MulDiv(v, 72, 96)); }

const TfrxEnumType& frxFontStylesType() {
  static const TfrxEnumType type{"TFontStyles", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
  return type;
}

const TfrxEnumType& frxFontPitchType() {
  static const TfrxEnumType type{"TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}};
  return type;
}

const TfrxClassInfo& TfrxFontProps::StaticClassInfo() {
  static const TfrxClassInfo info("TFont", nullptr, nullptr, [](TfrxClassInfo& c) {
    using F = TfrxFontProps;
    TfrxPublish<F> p(c);
    p.Integer("Charset", &F::Charset, &F::SetCharset);
    p.Integer("Color", &F::Color, &F::SetColor);
    p.Integer("Height", &F::Height, &F::SetHeight);
    p.String("Name", &F::Name, &F::SetName);
    p.Enum("Pitch", frxFontPitchType(), &F::Pitch, &F::SetPitch).Default(0);
    p.Integer("Size", &F::Size, &F::SetSize).Stored(false);
    p.Set("Style", frxFontStylesType(), &F::Style, &F::SetStyle);
  });
  return info;
}

// ---------------------------------------------------------------------------------------
// TfrxComponent

const TfrxEnumType& frxRestrictionsType() {
  static const TfrxEnumType type{"TfrxRestrictions",
                                 {"rfDontModify", "rfDontSize", "rfDontMove", "rfDontDelete", "rfDontEdit"}};
  return type;
}

TfrxComponent::TfrxComponent(TfrxComponent* owner)
    : TComponent(owner ? owner->OwningReport() : nullptr), fontProps_(font_, [this] { FontChanged(); }) {
  SetParentFont(true);
  if (owner) SetParent(owner);
}

TfrxComponent::~TfrxComponent() {
  BeginDestroy();
  DetachFromParent();
  Clear();
  // Children kept by Clear (inherited ones) belong to the report, which destroys them.
  for (TfrxComponent* c : objects_) {
    c->parent_ = nullptr;
    if (!c->Owner()) delete c;
  }
  objects_.clear();
}

const TfrxClassInfo& TfrxComponent::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxComponent", &TComponent::StaticClassInfo(), nullptr, [](TfrxClassInfo& c) {
    using C = TfrxComponent;
    TfrxPublish<C> p(c);
    p.Object("Font", "TFont", &C::FontProps).Stored(&C::IsFontStored).Protected();
    p.Float("Left", &C::Left, &C::SetLeft).Protected();
    p.Float("Top", &C::Top, &C::SetTop).Protected();
    p.Float("Width", &C::Width, &C::SetWidth).Protected();
    p.Float("Height", &C::Height, &C::SetHeight).Protected();
    p.Boolean("ParentFont", &C::ParentFont, &C::SetParentFont).Default(1).Protected();
    p.Integer("GroupIndex", &C::GroupIndex, &C::SetGroupIndex).Default(0).Protected();
    p.Set("Restrictions", frxRestrictionsType(), &C::Restrictions, &C::SetRestrictions).Default(0).Protected();
    p.Boolean("Visible", &C::Visible, &C::SetVisible).Default(1).Protected();
  });
  return info;
}

TfrxComponent* TfrxComponent::CreateForDesigner(const TfrxClassInfo& cls, TfrxComponent* owner, int flags) {
  if (!cls.Factory()) return nullptr;
  TfrxComponent* c = cls.Factory()(owner);
  c->designing_ = true;
  c->DesignerFlags(flags);
  return c;
}

void TfrxComponent::DetachFromParent() {
  if (!parent_) return;
  auto& siblings = parent_->objects_;
  auto it = std::find(siblings.begin(), siblings.end(), this);
  if (it != siblings.end()) siblings.erase(it);
  parent_ = nullptr;
}

void TfrxComponent::SetParent(TfrxComponent* parent) {
  if (parent != parent_) {
    DetachFromParent();
    if (parent) parent->objects_.push_back(this);
  }
  parent_ = parent;
  // A node moved under a new parent takes that parent's font when it inherits it.
  if (parent_) SetParentFont(parentFont_);
}

std::vector<TfrxComponent*> TfrxComponent::AllObjects() const {
  std::vector<TfrxComponent*> all;
  // Depth first, a node before its children, children in list order.
  std::function<void(const TfrxComponent*)> walk = [&](const TfrxComponent* node) {
    for (TfrxComponent* child : node->Objects()) {
      all.push_back(child);
      walk(child);
    }
  };
  walk(this);
  return all;
}

static TfrxComponent* FindBelow(const TfrxComponent* node, std::string_view name) {
  for (TfrxComponent* child : node->Objects()) {
    if (frxSameText(child->Name(), name)) return child;
    if (TfrxComponent* found = FindBelow(child, name)) return found;
  }
  return nullptr;
}

TfrxComponent* TfrxComponent::FindObject(std::string_view name) const { return FindBelow(this, name); }

TfrxComponent* TfrxComponent::Page() const {
  for (const TfrxComponent* c = this; c; c = c->parent_)
    if (c->IsPageObject()) return const_cast<TfrxComponent*>(c);
  return nullptr;
}

TfrxComponent* TfrxComponent::OwningReport() const {
  for (const TfrxComponent* c = this; c; c = c->parent_)
    if (c->IsReportObject()) return const_cast<TfrxComponent*>(c);
  return nullptr;
}

TfrxComponent* TfrxComponent::FindDataSet(const std::string& name) const {
  TfrxComponent* report = OwningReport();
  return report ? report->FindDataSetByName(name) : nullptr;
}

void TfrxComponent::Clear() {
  size_t i = 0;
  while (i < objects_.size()) {
    TfrxComponent* child = objects_[i];
    if (child->IsInherited()) {
      child->Clear();
      ++i;
    } else {
      delete child;  // removes itself from the list
    }
  }
}

void TfrxComponent::SetLeft(double v) {
  if (designing_ && (restrictions_ & (1 << rfDontMove))) return;
  left_ = v;
}
void TfrxComponent::SetTop(double v) {
  if (designing_ && (restrictions_ & (1 << rfDontMove))) return;
  top_ = v;
}
void TfrxComponent::SetWidth(double v) {
  if (designing_ && (restrictions_ & (1 << rfDontSize))) return;
  width_ = v;
}
void TfrxComponent::SetHeight(double v) {
  if (designing_ && (restrictions_ & (1 << rfDontSize))) return;
  height_ = v;
}

void TfrxComponent::SetBounds(double left, double top, double width, double height) {
  SetLeft(left);
  SetTop(top);
  SetWidth(width);
  SetHeight(height);
}

double TfrxComponent::AbsLeft() const {
  if (parent_ && !parent_->IsDialogPageObject()) return left_ + parent_->AbsLeft();
  return left_;
}

double TfrxComponent::AbsTop() const {
  if (parent_ && !parent_->IsDialogPageObject()) return top_ + parent_->AbsTop();
  return top_;
}

void TfrxComponent::FontChanged() { PropagateFont(); }

void TfrxComponent::SetFont(const TFont& font) {
  font_ = font;
  FontChanged();
  parentFont_ = false;
}

void TfrxComponent::SetParentFont(bool value) {
  if (value && parent_) {
    font_ = parent_->font_;
    FontChanged();
  }
  parentFont_ = value;
}

void TfrxComponent::PropagateFont() {
  parentFont_ = false;
  for (TfrxComponent* child : Objects())
    if (child->ParentFont()) child->SetParentFont(true);
}

void TfrxComponent::SetName(const std::string& name) {
  if (frxSameText(name, Name())) return;
  if (!name.empty()) {
    if (TfrxComponent* report = OwningReport()) {
      TfrxComponent* found = report->FindObject(name);
      if (found && found != this) throw EComponentError(frxResources().Get("prDupl"));
      if (IsAncestor())
        throw EComponentError("Could not rename " + Name() + ", it was introduced in the ancestor report");
    }
  }
  TComponent::SetName(name);
}

const std::string& TfrxComponent::NameStem() const {
  if (nameStem_.empty()) {
    std::string stem = ClassName();
    if (auto at = stem.find("Tfrx"); at != std::string::npos) stem.erase(at, 4);
    if (auto at = stem.find("View"); at != std::string::npos) stem.erase(at, 4);
    nameStem_ = stem;
  }
  return nameStem_;
}

void TfrxComponent::MakeUniqueName() {
  const TfrxComponent* root = OwningReport();
  if (!root) root = parent_;
  std::vector<std::string> names;
  if (root) {
    for (TfrxComponent* c : root->AllObjects()) {
      std::string lower = c->Name();
      for (char& ch : lower)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
      names.push_back(std::move(lower));
    }
  }
  std::sort(names.begin(), names.end());
  std::string stem = NameStem();
  std::string lowerStem = stem;
  for (char& ch : lowerStem)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
  for (int n = 1;; ++n) {
    std::string candidate = lowerStem + std::to_string(n);
    if (!std::binary_search(names.begin(), names.end(), candidate)) {
      SetName(stem + std::to_string(n));
      return;
    }
  }
}

// ---------------------------------------------------------------------------------------
// TfrxReportComponent

const TfrxClassInfo& TfrxReportComponent::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxReportComponent", &TfrxComponent::StaticClassInfo(), nullptr,
                                  [](TfrxClassInfo& c) {
                                    using C = TfrxReportComponent;
                                    TfrxPublish<C> p(c);
                                    p.String("Description", &C::Description, &C::SetDescription);
                                    p.String("OnAfterData", &C::OnAfterData, &C::SetOnAfterData).Protected();
                                    p.String("OnAfterPrint", &C::OnAfterPrint, &C::SetOnAfterPrint).Protected();
                                    p.String("OnBeforePrint", &C::OnBeforePrint, &C::SetOnBeforePrint).Protected();
                                    p.String("OnPreviewClick", &C::OnPreviewClick, &C::SetOnPreviewClick).Protected();
                                    p.String("OnPreviewDblClick", &C::OnPreviewDblClick, &C::SetOnPreviewDblClick)
                                        .Protected();
                                  });
  return info;
}

void TfrxReportComponent::BeforePrint() { SaveBounds(); }

void TfrxReportComponent::AfterPrint() {
  const TfrxBounds& b = SavedBounds();
  SetBounds(b.Left, b.Top, b.Width, b.Height);
}

TfrxRectF TfrxReportComponent::OutputBounds() const {
  double x = AbsLeft(), y = AbsTop();
  return {x, y, x + Width(), y + Height()};
}

void TfrxReportComponent::Notification(TComponent* component, TOperation operation) {
  TfrxComponent::Notification(component, operation);
  if (operation == opRemove) {
    auto& deps = shiftDependents_;
    deps.erase(std::remove_if(deps.begin(), deps.end(),
                              [component](TfrxReportComponent* d) { return static_cast<TComponent*>(d) == component; }),
               deps.end());
  }
}
