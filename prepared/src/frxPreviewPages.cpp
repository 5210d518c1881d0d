// The prepared pages store: runs, source pages, recording of bands, keeping, anchors and
// logical page numbers.

#include "prepared/frxPreviewPages.h"

#include <cctype>
#include <cmath>
#include <utility>

#include "frxPreviewPages_private.h"
#include "platform/Convert.h"
#include "report/frxXMLSerializer.h"

using namespace frxprepared;

namespace {

TfrxPrintWalk& PrintWalk() {
  static TfrxPrintWalk walk;
  return walk;
}

TfrxExportWalk& ExportWalk() {
  static TfrxExportWalk walk;
  return walk;
}

std::string AliasPrefix(const TfrxComponent& copy) {
  if (IsBand(copy)) return "b";
  const std::string& stem = copy.NameStem();
  if (stem.empty()) return "o";
  return std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(stem[0]))));
}

std::string SourceName(int pageIndex, const TfrxComponent& copy) {
  return "Page" + std::to_string(pageIndex) + "." + copy.Name();
}

}  // namespace

TfrxPrintWalk frxSetPrintWalk(TfrxPrintWalk walk) { return std::exchange(PrintWalk(), std::move(walk)); }
TfrxExportWalk frxSetExportWalk(TfrxExportWalk walk) { return std::exchange(ExportWalk(), std::move(walk)); }

void frxRegisterPreviewPages() {
  TfrxReportCollaborators with = frxReportCollaborators();
  with.Pages = [](TfrxReport& report) -> std::unique_ptr<TfrxReportPages> {
    return std::make_unique<TfrxPreviewPages>(report);
  };
  frxSetReportCollaborators(std::move(with));
}

TfrxPreviewPages* frxPreviewPagesOf(TfrxReport& report) {
  return dynamic_cast<TfrxPreviewPages*>(report.PreviewPages());
}

// --- construction and state ----------------------------------------------------------------

TfrxPreviewPages::TfrxPreviewPages(TfrxReport& report) : report_(report) {
  xml_.Root()->Name = "preparedreport";
}

TfrxPreviewPages::~TfrxPreviewPages() { ClearAll(); }

TfrxXMLItem& TfrxPreviewPages::PagesElement() const { return Child("previewpages"); }

int TfrxPreviewPages::Count() const {
  int i = xml_.Root()->Find("previewpages");
  return i < 0 ? 0 : xml_.Root()->Items(i)->Count();
}

TfrxXMLItem* TfrxPreviewPages::PageElement(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return PagesElement().Items(index);
}

TfrxXMLItem* TfrxPreviewPages::CurrentPageElement() {
  TfrxXMLItem* page = PageElement(currentPage_);
  if (page) xml_.PageInItem(page);
  return page;
}

bool TfrxPreviewPages::Running() const { return engine_ && engine_->Running(); }

bool TfrxPreviewPages::FirstOfTwoPasses() const {
  return report_.EngineOptions().DoublePass && engine_ && !engine_->FinalPass();
}

bool TfrxPreviewPages::FinalOfTwoPasses() const {
  return report_.EngineOptions().DoublePass && engine_ && engine_->FinalPass();
}

double TfrxPreviewPages::CurY() const { return engine_ ? engine_->CurY() : 0; }

const std::string& TfrxPreviewPages::StoredText(const TfrxComponent& sourceObject) const {
  static const std::string none;
  auto found = storedTexts_.find(&sourceObject);
  return found == storedTexts_.end() ? none : found->second;
}

void TfrxPreviewPages::ClearPageCache() { pageCache_.clear(); }

void TfrxPreviewPages::ClearAll() {
  ClearPageCache();
  storedTexts_.clear();
  sourcePages_.clear();
  xml_.Clear();
  outline_.Reset();
  dictionary_.Clear();
  pictures_.Clear();
  unknownClasses_.clear();
  currentPage_ = -1;
  newPageMode_ = TfrxNewPageMode::Append;
  outputSize_ = 0;
  logicalPageCount_ = 0;
  marks_ = {};
  loadedFrom_ = nullptr;
}

// --- runs ----------------------------------------------------------------------------------

void TfrxPreviewPages::StartRun() {
  if (pictures_.Count() == 0)
    pictures_.SetFileCaching(report_.PreviewOptions().PictureCacheInFile, report_.EngineOptions().TempDir);
  xml_.TempDir = report_.EngineOptions().TempDir;
  runFirstPage_ = Count();
  report_.ProgressStart(TfrxProgressType::Running);
}

void TfrxPreviewPages::EndRun() {
  ClearPageCache();
  // The template may be reloaded or freed once the run is over: no link between the
  // template and the source copies may outlive the run.
  for (const auto& page : sourcePages_) {
    for (TfrxComponent* copy : page->AllObjects()) {
      TfrxComponent* original = copy->SourceObject();
      if (original && original->SourceObject() == copy) original->SetSourceObject(nullptr);
      copy->SetSourceObject(nullptr);
    }
    page->SetSourceObject(nullptr);
  }
  report_.ProgressStop();
}

TfrxComponent* TfrxPreviewPages::NewCopyOf(TfrxComponent& source, TfrxComponent* parent) {
  const TfrxClassInfo& cls = source.ClassInfo();
  if (!cls.Factory()) return nullptr;
  TfrxComponent* copy = cls.Factory()(parent);
  auto* picture = dynamic_cast<TfrxPictureView*>(&source);
  const bool pictureStored = picture && picture->PictureStored();
  if (picture) picture->SetPictureStored(false);
  try {
    copy->Assign(source);
  } catch (...) {
    if (picture) picture->SetPictureStored(pictureStored);
    delete copy;
    throw;
  }
  if (picture) picture->SetPictureStored(pictureStored);
  return copy;
}

TfrxComponent* TfrxPreviewPages::CopyForOutput(TfrxComponent& source, TfrxComponent* parent) {
  TfrxComponent* copy = NewCopyOf(source, parent);
  if (!copy) return nullptr;
  copy->SetName(source.Name());
  copy->SetSourceObject(&source);
  for (TfrxComponent* child : source.Objects())
    if (child->StyleFlags() & csoCopiedToOutput) CopyForOutput(*child, copy);
  return copy;
}

void TfrxPreviewPages::SetStoredText(TfrxComponent& copy) {
  if (copy.StyleFlags() & csoStoredInFull) {
    storedTexts_[&copy] = copy.ClassName();
  } else {
    TfrxXMLSerializer serializer;
    storedTexts_[&copy] = serializer.ObjectToText(&copy);
  }
}

void TfrxPreviewPages::RegisterSourcePage(TfrxComponent& templatePage) {
  std::unique_ptr<TfrxComponent> page(CopyForOutput(templatePage, nullptr));
  if (!page) return;
  const int pageIndex = static_cast<int>(sourcePages_.size());
  sourcePages_.push_back(std::move(page));
  for (TfrxComponent* copy : sourcePages_.back()->AllObjects()) {
    TfrxComponent* original = copy->SourceObject();
    original->SetSourceObject(copy);
    std::string alias = dictionary_.AddUnique(AliasPrefix(*copy), SourceName(pageIndex, *copy), copy);
    if (copy->IsMemoView())
      if (auto* view = dynamic_cast<TfrxView*>(copy)) {
        view->SetDataSet(nullptr);
        view->SetDataField("");
      }
    SetStoredText(*copy);
    copy->SetOutputAlias(alias);
    original->SetOutputAlias(alias);
  }
}

void TfrxPreviewPages::RegisterSourceObject(TfrxComponent& object) {
  if (sourcePages_.empty()) return;
  const int pageIndex = static_cast<int>(sourcePages_.size()) - 1;
  TfrxComponent* copy = NewCopyOf(object, sourcePages_.back().get());
  if (!copy) return;
  copy->MakeUniqueName();
  std::string alias = dictionary_.AddUnique(AliasPrefix(*copy), SourceName(pageIndex, *copy), copy);
  SetStoredText(*copy);
  object.SetSourceObject(copy);
  object.SetOutputAlias(alias);
  copy->SetOutputAlias(alias);
}

int TfrxPreviewPages::SourcePageIndexOf(const TfrxComponent& templatePage) const {
  for (size_t i = 0; i < sourcePages_.size(); ++i)
    if (sourcePages_[i]->SourceObject() == &templatePage) return static_cast<int>(i);
  return -1;
}

// --- passes --------------------------------------------------------------------------------

void TfrxPreviewPages::StartPass() {
  marks_ = {};
  marks_.Page = Count() - 1;
  if (TfrxXMLItem* page = PageElement(marks_.Page)) {
    xml_.PageInItem(page);
    marks_.Objects = page->Count();
    marks_.OutlineItems = Child("outline").Count();
  }
  CloseLogicalNumbering();
}

void TfrxPreviewPages::DropPassOutput() {
  ClearPageCache();
  TfrxXMLItem& root = *xml_.Root();
  if (marks_.Page < 0) {
    for (int i = root.Count() - 1; i >= 0; --i) {
      TfrxXMLItem* child = root.Items(i);
      if (child->Name != "anchors" && child->Name != "logicalpagenumbers") delete child;
    }
  } else {
    if (TfrxXMLItem* page = PageElement(marks_.Page)) {
      xml_.PageInItem(page);
      while (page->Count() > marks_.Objects) delete page->Items(page->Count() - 1);
    }
    TfrxXMLItem& pages = PagesElement();
    while (pages.Count() > marks_.Page + 1) delete pages.Items(pages.Count() - 1);
    TfrxXMLItem& outline = Child("outline");
    while (outline.Count() > marks_.OutlineItems) delete outline.Items(outline.Count() - 1);
  }
  outline_.Reset();
  CloseLogicalNumbering();
  currentPage_ = marks_.Page;
  outputSize_ = 0;
}

// --- pages and bands -----------------------------------------------------------------------

void TfrxPreviewPages::CheckPaging() {
  const TfrxEngineOptions& options = report_.EngineOptions();
  if (!options.UseFileCache || int64_t{options.MaxMemSize} * 1048576 >= outputSize_) return;
  for (int i = Count() - 2; i >= 0; --i) {
    TfrxXMLItem* page = PageElement(i);
    if (!page->Resident) break;
    xml_.PageOutItem(page);
  }
  outputSize_ = 0;
}

void TfrxPreviewPages::StartOutputPage(TfrxComponent& templatePage) {
  CheckPaging();
  ++currentPage_;
  if (currentPage_ < Count() && newPageMode_ == TfrxNewPageMode::Reuse) return;
  TfrxXMLItem* page = PagesElement().Add();
  page->Name = "page" + std::to_string(SourcePageIndexOf(templatePage));
  page->Pageable = Count() > 2;
  report_.ProgressStep(currentPage_ + 1);
  newPageMode_ = TfrxNewPageMode::Reuse;
  currentPage_ = Count() - 1;
  CountLogicalPage();
}

std::string TfrxPreviewPages::FullText(TfrxComponent& object) {
  TfrxXMLSerializer serializer;
  return serializer.PropertiesToAttributes(object);
}

void TfrxPreviewPages::EmitObject(TfrxComponent& object, TfrxXMLItem& parent) {
  if (!object.Visible() || !(object.StyleFlags() & csoCopiedToOutput)) return;
  TfrxXMLItem* item = parent.Add();
  const TfrxComponent* source = object.SourceObject();
  if (source && !object.OutputAlias().empty()) {
    item->Name = object.OutputAlias();
    if (FirstOfTwoPasses())
      item->Text = object.TfrxComponent::WriteDifferences(source);
    else if (object.StyleFlags() & csoStoredInFull)
      item->Text = FullText(object) + object.TfrxComponent::WriteDifferences(source);
    else
      item->Text = object.WriteDifferences(source);
  } else {
    item->Name = object.ClassName();
    item->Text = FullText(object);
    if (IsNullBand(object)) {
      item->SetProp("l", frxFloatToStr(object.Left()));
      item->SetProp("t", frxFloatToStr(object.Top()));
    }
  }
  outputSize_ += static_cast<int64_t>(item->Name.size() + item->Text.size()) + 64;
  for (TfrxComponent* child : object.Objects()) EmitObject(*child, *item);
}

void TfrxPreviewPages::EmitBand(TfrxComponent& band) {
  if (TfrxXMLItem* page = CurrentPageElement()) EmitObject(band, *page);
}

bool TfrxPreviewPages::PageHasBand(const TfrxComponent& band) {
  TfrxXMLItem* page = CurrentPageElement();
  if (!page) return false;
  for (int i = 0; i < page->Count(); ++i) {
    const TfrxComponent* source = FindSource(page->Items(i)->Name);
    if (!source) continue;
    if (source->SourceObject() == &band) return true;
    if (IsPageFooter(band) && IsPageFooter(*source)) return true;
    if (IsColumnFooter(band) && IsColumnFooter(*source)) return true;
  }
  return false;
}

int TfrxPreviewPages::ObjectPosition() {
  TfrxXMLItem* page = CurrentPageElement();
  return page ? page->Count() : 0;
}

double TfrxPreviewPages::LowestBandBottom(double x) {
  TfrxXMLItem* page = CurrentPageElement();
  double lowest = 0;
  if (!page) return lowest;
  for (int i = 0; i < page->Count(); ++i) {
    const TfrxXMLItem& item = *page->Items(i);
    const TfrxComponent* source = FindSource(item.Name);
    if (!source || !IsBand(*source) || IsPageFooter(*source) || IsOverlay(*source)) continue;
    const double left = FloatAttr(item, "l", source->Left());
    if (x == 0 || std::fabs(left - x) < 0.001 || IsPageHeader(*source) || IsReportTitle(*source)) {
      const double bottom = FloatAttr(item, "t", source->Top()) + FloatAttr(item, "h", source->Height());
      if (bottom > lowest) lowest = bottom;
    }
  }
  return lowest;
}

// --- keeping together ------------------------------------------------------------------------

void TfrxPreviewPages::SetAsideFrom(int position) {
  TfrxXMLItem* page = CurrentPageElement();
  if (!page || position < 0) return;
  TfrxXMLItem& cutted = Child("cutted");
  while (page->Count() > position) cutted.AddItem(page->Items(position));
}

void TfrxPreviewPages::PutBackSetAside(double y, double x) {
  int at = xml_.Root()->Find("cutted");
  if (at < 0) return;
  TfrxXMLItem* cutted = xml_.Root()->Items(at);
  TfrxXMLItem* page = CurrentPageElement();
  if (page && cutted->Count() > 0) {
    // An absent position is the source object's, as everywhere in the recorded form.
    auto position = [this](const TfrxXMLItem& item, std::string_view name) {
      const TfrxComponent* source = FindSource(item.Name);
      double fallback = !source ? 0 : name == "l" ? source->Left() : source->Top();
      return FloatAttr(item, name, fallback);
    };
    const double l0 = position(*cutted->Items(0), "l"), t0 = position(*cutted->Items(0), "t");
    while (cutted->Count() > 0) {
      TfrxXMLItem* item = cutted->Items(0);
      item->SetProp("l", frxFloatToStr(position(*item, "l") + x - l0));
      item->SetProp("t", frxFloatToStr(position(*item, "t") + y - t0));
      page->AddItem(item);
    }
  }
  delete cutted;
}

// --- pictures ------------------------------------------------------------------------------

int TfrxPreviewPages::CachePicture(const TfrxPictureView& view) {
  if (view.Picture().Empty()) return 0;
  return pictures_.Add([&view](TStream& stream) { view.SavePictureData(stream); });
}

// --- anchors -------------------------------------------------------------------------------

void TfrxPreviewPages::AddAnchor(const std::string& text) {
  TfrxXMLItem* item = Child("anchors").Add();
  item->Name = "item";
  item->SetProp("text", text);
  item->SetProp("page", std::to_string(currentPage_));
  item->SetProp("top", std::to_string(std::lround(CurY())));
}

int TfrxPreviewPages::GetAnchorPage(const std::string& text) const {
  const TfrxXMLItem& anchors = Child("anchors");
  for (int i = anchors.Count() - 1; i >= 0; --i)
    if (frxCompareText(anchors.Items(i)->Prop("text"), text) == 0)
      return TryStrToInt(anchors.Items(i)->Prop("page")).value_or(0) + 1;
  return 1;
}

int TfrxPreviewPages::AnchorPosition() const { return Child("anchors").Count() - 1; }

void TfrxPreviewPages::MoveAnchorsDown(int index, int newTop) {
  TfrxXMLItem& anchors = Child("anchors");
  if (index + 1 >= anchors.Count() || index + 1 < 0) return;
  const int distance = newTop - TryStrToInt(anchors.Items(index + 1)->Prop("top")).value_or(0);
  for (int i = index + 1; i < anchors.Count(); ++i) {
    TfrxXMLItem* anchor = anchors.Items(i);
    anchor->SetProp("page", std::to_string(TryStrToInt(anchor->Prop("page")).value_or(0) + 1));
    anchor->SetProp("top", std::to_string(TryStrToInt(anchor->Prop("top")).value_or(0) + distance));
  }
}

// --- logical page numbers --------------------------------------------------------------------

void TfrxPreviewPages::CountLogicalPage() {
  if (FinalOfTwoPasses()) return;
  ++logicalPageCount_;
  TfrxXMLItem* page = Child("logicalpagenumbers").Add();
  page->Name = "page";
  page->SetProp("n", std::to_string(logicalPageCount_));
}

void TfrxPreviewPages::CloseLogicalNumbering() {
  if (FinalOfTwoPasses()) return;
  TfrxXMLItem& numbers = Child("logicalpagenumbers");
  for (int i = currentPage_; i > marks_.Page && i >= 0; --i) {
    if (i >= numbers.Count()) continue;
    TfrxXMLItem* page = numbers.Items(i);
    page->SetProp("t", std::to_string(logicalPageCount_));
    if (page->Prop("n") == "1") break;
  }
  logicalPageCount_ = 0;
}

int TfrxPreviewPages::LogicalPageNo() const {
  const TfrxXMLItem& numbers = Child("logicalpagenumbers");
  if (currentPage_ >= 0 && currentPage_ < numbers.Count())
    return TryStrToInt(numbers.Items(currentPage_)->Prop("n")).value_or(0);
  return currentPage_ - runFirstPage_ + 1;
}

int TfrxPreviewPages::LogicalTotalPages() const {
  const TfrxXMLItem& numbers = Child("logicalpagenumbers");
  if (currentPage_ >= 0 && currentPage_ < numbers.Count())
    return TryStrToInt(numbers.Items(currentPage_)->Prop("t")).value_or(0);
  return (engine_ ? engine_->TotalPages() : Count()) - runFirstPage_;
}

// --- outputs -------------------------------------------------------------------------------

void TfrxPreviewPages::PrintPages() {
  if (!PrintWalk()) throw EfrxPreparedReportError("This program cannot print prepared pages");
  PrintWalk()(*this);
}

bool TfrxPreviewPages::ExportPages(TfrxCustomExportFilter& filter) {
  copyNumber_ = 0;
  if (!ExportWalk()) throw EfrxPreparedReportError("This program has no export filters for prepared pages");
  return ExportWalk()(*this, filter);
}
