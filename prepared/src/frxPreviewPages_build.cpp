// Building page objects from the recorded tree, the page cache, drawing, and editing
// whole pages.

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "frxPreviewPages_private.h"
#include "platform/Canvas.h"
#include "platform/Convert.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassPicture.h"
#include "report/frxRes.h"
#include "report/frxXMLSerializer.h"

using namespace frxprepared;

namespace {

// The source page index of a "page<n>" element, or -1 for the other forms.
int InstanceOf(const TfrxXMLItem& element) {
  if (element.Name.size() <= 4 || element.Name.compare(0, 4, "page") != 0) return -1;
  std::optional<int> n = TryStrToInt(element.Name.substr(4));
  return n && *n >= 0 ? *n : -1;
}

bool IsInstanceName(const std::string& name) {
  if (name.size() <= 4 || name.compare(0, 4, "page") != 0) return false;
  for (size_t i = 4; i < name.size(); ++i)
    if (name[i] != '-' && (name[i] < '0' || name[i] > '9')) return false;
  return true;
}

}  // namespace

void TfrxPreviewPages::ReportUnknownClass(const std::string& name) {
  if (unknownClasses_.insert(name).second)
    report_.Errors().Add(frxResources().Get("xrCantFindClass") + " " + name);
}

TfrxComponent* TfrxPreviewPages::ReadObject(TfrxXMLItem& element, TfrxComponent& parent) {
  const TfrxComponent* source = FindSource(element.Name);
  std::string text = source ? StoredText(*source) : element.Name;
  const std::string className = text.substr(0, text.find(' '));
  const TfrxClassInfo* cls = frxFindClass(className);
  // Pages and reports never stand inside a page; a file that says so is not obeyed.
  if (!cls || !cls->Factory() || cls->InheritsFrom("TfrxReport") || cls->InheritsFrom("TfrxPage")) {
    ReportUnknownClass(className);
    return nullptr;
  }
  text += ' ';
  text += element.Text;
  TfrxXMLSerializer serializer;
  TfrxComponent* object = serializer.LoadObjectFromText(text, &parent, true);
  if (object->IsPageObject()) {
    delete object;
    ReportUnknownClass(className);
    return nullptr;
  }
  report_.Errors().AddAll(serializer.ErrorTexts());
  if (source) {
    try {
      object->SetName(source->Name());
    } catch (const EComponentError&) {
      // A name another object of the page already has: the object is drawn all the same.
    }
    if (auto* picture = dynamic_cast<TfrxPictureView*>(object); picture && picture->Picture().Empty())
      FetchCachedPicture(*picture);
  }
  return object;
}

void TfrxPreviewPages::FetchCachedPicture(TfrxPictureView& view) {
  const std::string bytes = pictures_.Bytes(view.ImageIndex());
  if (bytes.empty()) {
    view.Picture().Clear();
    return;
  }
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  try {
    if (view.ReadPictureStream(stream, true) != frxS_OK)
      report_.Errors().Add(view.Name() + ": picture " + std::to_string(view.ImageIndex()) +
                           " of the picture cache is in no known format");
  } catch (const TPictureError& e) {
    report_.Errors().Add(view.Name() + ": " + e.what());
  }
}

void TfrxPreviewPages::ReadObjects(TfrxXMLItem& element, TfrxComponent& parent, int depth) {
  if (depth > TfrxPreparedLimits::kMaxObjectDepth)
    throw EfrxPreparedReportError("Objects nested deeper than " + std::to_string(TfrxPreparedLimits::kMaxObjectDepth) +
                                  " levels in page element <" + element.Name + ">");
  for (int i = 0; i < element.Count(); ++i) {
    TfrxXMLItem& child = *element.Items(i);
    if (TfrxComponent* object = ReadObject(child, parent)) ReadObjects(child, *object, depth + 1);
  }
}

std::unique_ptr<TfrxComponent> TfrxPreviewPages::ReadPage(TfrxXMLItem& element) {
  std::unique_ptr<TfrxComponent> page;
  if (IsInstanceName(element.Name)) {
    const int index = InstanceOf(element);
    if (index < 0 || index >= SourcePageCount())
      throw EfrxPreparedReportError("Page element <" + element.Name + "> refers to a source page that is not there");
    const TfrxComponent& source = *SourcePage(index);
    page.reset(NewPage(source.ClassName()));
    if (!page) throw EfrxPreparedReportError("Source page " + std::to_string(index) + " is not a page");
    page->Assign(const_cast<TfrxComponent&>(source));
    page->SetName(source.Name());
    ReadObjects(element, *page, 0);
  } else {
    page.reset(NewPage(element.Name));
    if (!page) {
      ReportUnknownClass(element.Name);
      return nullptr;
    }
    TfrxXMLSerializer serializer;
    serializer.LegacyText = xml_.LegacyText;
    serializer.LoadRoot(page.get(), &element);
    report_.Errors().AddAll(serializer.ErrorTexts());
  }
  return page;
}

TfrxComponent* TfrxPreviewPages::BuildPage(int index) {
  TfrxXMLItem* element = PageElement(index);
  if (!element) return nullptr;
  if (!Running()) {
    for (size_t i = 0; i < pageCache_.size(); ++i)
      if (pageCache_[i].Index == index) {
        if (i > 0) std::rotate(pageCache_.begin(), pageCache_.begin() + static_cast<std::ptrdiff_t>(i),
                               pageCache_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        return pageCache_.front().Page.get();
      }
  }
  xml_.PageInItem(element);
  std::unique_ptr<TfrxComponent> page = ReadPage(*element);
  if (!page) return nullptr;
  page->ApplyAlignment();
  pageCache_.insert(pageCache_.begin(), TCachedPage{index, std::move(page)});
  const size_t limit = static_cast<size_t>(std::max(report_.PreviewOptions().PagesInCache, 0));
  if (pageCache_.size() > 1 && pageCache_.size() > limit) {
    PageOutIfAllowed(pageCache_.back().Index);
    pageCache_.pop_back();
  }
  return pageCache_.front().Page.get();
}

void TfrxPreviewPages::PageOutIfAllowed(int index) {
  TfrxXMLItem* element = PageElement(index);
  if (element && report_.EngineOptions().UseFileCache && element->Pageable) xml_.PageOutItem(element);
}

TfrxCustomPreviewPages::TPageSize TfrxPreviewPages::PageSize(int index) {
  TfrxXMLItem* element = PageElement(index);
  if (!element) return {};
  const TfrxComponent* page = nullptr;
  const int source = InstanceOf(*element);
  if (source >= 0 && source < SourcePageCount())
    page = SourcePage(source);
  else
    page = BuildPage(index);
  if (!page) return {};
  return {static_cast<int>(std::lround(page->Width())), static_cast<int>(std::lround(page->Height()))};
}

// --- editing whole pages -------------------------------------------------------------------

void TfrxPreviewPages::InsertBlankPage(int index) {
  TfrxXMLItem* at = PageElement(index);
  if (!at) return;
  auto* blank = new TfrxXMLItem;
  blank->Name = at->Name;
  PagesElement().InsertItem(index, blank);
  ClearPageCache();
}

void TfrxPreviewPages::RemovePage(int index) {
  if (Count() < 2) return;
  if (TfrxXMLItem* element = PageElement(index)) {
    delete element;
    ClearPageCache();
  }
}

void TfrxPreviewPages::ReplacePage(int index, TfrxComponent& page) {
  TfrxXMLItem* element = PageElement(index);
  if (!element) return;
  element->Pageable = false;
  element->Clear();
  element->Resident = true;
  element->StoreKind = TfrxXMLItem::TStoreKind::None;
  // Written before the cache is emptied: the page given may be one the cache holds.
  TfrxXMLSerializer serializer;
  serializer.SaveRoot(&page, true, true, element);
  ClearPageCache();
}

void TfrxPreviewPages::SetSourcePageSize(TfrxComponent& templatePage, double height, double width) {
  const int index = SourcePageIndexOf(templatePage);
  if (index < 0) return;
  TfrxComponent& page = *SourcePage(index);
  SetPageValue(page, "PaperSize", Variant(int32_t{256}));
  SetPageValue(page, "PaperWidth", Variant(width / fr01cm));
  SetPageValue(page, "PaperHeight", Variant(height / fr01cm));
}

void TfrxPreviewPages::AppendPagesOf(TfrxReport& other) {
  TfrxPreviewPages* theirs = frxPreviewPagesOf(other);
  if (!theirs || theirs == this) return;
  const int first = Count();
  for (int i = 0; i < theirs->Count(); ++i) {
    TfrxComponent* page = theirs->BuildPage(i);
    if (!page) continue;
    TfrxXMLSerializer serializer;
    serializer.SaveRoot(page, true, true, PagesElement().Add());
  }
  const TfrxXMLItem& anchors = theirs->Child("anchors");
  for (int i = 0; i < anchors.Count(); ++i) {
    const TfrxXMLItem& anchor = *anchors.Items(i);
    TfrxXMLItem* copy = Child("anchors").Add();
    copy->Name = "item";
    copy->SetProp("text", anchor.Prop("text"));
    copy->SetProp("page", std::to_string(TryStrToInt(anchor.Prop("page")).value_or(0) + first));
    copy->SetProp("top", anchor.Prop("top"));
  }
  const int savedPage = currentPage_;
  std::function<void(const TfrxXMLItem&, int)> copyLevel = [&](const TfrxXMLItem& level, int depth) {
    if (depth > TfrxPreparedLimits::kMaxOutlineDepth)
      throw EfrxPreparedReportError("Outline items nested deeper than " +
                                    std::to_string(TfrxPreparedLimits::kMaxOutlineDepth) + " levels");
    for (int i = 0; i < level.Count(); ++i) {
      const TfrxXMLItem& item = *level.Items(i);
      currentPage_ = first + TryStrToInt(item.Prop("page")).value_or(0);
      outline_.AddItem(item.Prop("text"), TryStrToInt(item.Prop("top")).value_or(0));
      copyLevel(item, depth + 1);
      outline_.LevelUp();
    }
  };
  outline_.LevelRoot();
  copyLevel(theirs->Child("outline"), 0);
  currentPage_ = savedPage;
  ClearPageCache();
}

// --- drawing -------------------------------------------------------------------------------

void TfrxPreviewPages::DrawPageTo(int index, TCanvas& canvas, double scaleX, double scaleY, double offsetX,
                                  double offsetY) {
  TfrxComponent* page = BuildPage(index);
  if (!page) return;
  const bool printing = canvas.IsPrinter();
  const double leftMargin = PageFloat(*page, "LeftMargin"), rightMargin = PageFloat(*page, "RightMargin");
  const bool mirrored = PageBool(*page, "MirrorMargins") && index % 2 == 1;
  if (mirrored) {
    SetPageValue(*page, "LeftMargin", Variant(rightMargin));
    SetPageValue(*page, "RightMargin", Variant(leftMargin));
  }
  if (!printing) {
    canvas.SaveClip();
    const TRect paper{
        static_cast<int>(std::lround(offsetX)), static_cast<int>(std::lround(offsetY)),
        static_cast<int>(std::lround(PageFloat(*page, "PaperWidth") * fr01cm * scaleX + offsetX - 1)),
        static_cast<int>(std::lround(PageFloat(*page, "PaperHeight") * fr01cm * scaleY + offsetY - 1))};
    canvas.IntersectClip(paper);
  }
  page->SetPrinting(printing);
  if (auto* reportPage = dynamic_cast<TfrxReportPage*>(page))
    reportPage->PaintPageBackground(canvas, scaleX, scaleY, offsetX, offsetY);
  offsetX += PageFloat(*page, "LeftMargin") * fr01cm * scaleX;
  offsetY += PageFloat(*page, "TopMargin") * fr01cm * scaleY;
  const TRect clip = canvas.ClipBounds();
  for (TfrxComponent* object : page->AllObjects()) {
    auto* view = dynamic_cast<TfrxView*>(object);
    if (!view || (printing && !view->Printable())) continue;
    const double left = view->AbsLeft() * scaleX + offsetX - 20, top = view->AbsTop() * scaleY + offsetY - 20;
    const double right = (view->AbsLeft() + view->Width()) * scaleX + offsetX + 20;
    const double bottom = (view->AbsTop() + view->Height()) * scaleY + offsetY + 20;
    const bool visible = canvas.IsRecording() ||
                         (right >= clip.Left && left <= clip.Right && bottom >= clip.Top && top <= clip.Bottom);
    if (!visible) continue;
    view->SetPrinting(printing);
    // Memos put these into "[TotalPages#]" and "[CopyName#]" as they are drawn.
    if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(view)) {
      memo->SetTotalPagesValue(Count());
      memo->SetCopyNumber(copyNumber_);
      memo->SetPrintScale(printScaleFactor_);
    }
    view->Draw(canvas, scaleX, scaleY, offsetX, offsetY);
    view->SetPrinting(false);
  }
  page->SetPrinting(false);
  if (mirrored) {
    SetPageValue(*page, "LeftMargin", Variant(leftMargin));
    SetPageValue(*page, "RightMargin", Variant(rightMargin));
  }
  if (!printing) canvas.RestoreClip();
}
