// Subreport views: the page link and the placeholder drawing.

#include "frxClass_drawing.h"
#include "report/frxClassPage.h"
#include "report/frxClassSubreport.h"

const TfrxClassInfo& TfrxSubreport::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxSubreport", &TfrxView::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxSubreport(owner); }, [](TfrxClassInfo& c) {
        using S = TfrxSubreport;
        TfrxPublish<S> p(c);
        p.Reference("Page", "TfrxReportPage", &S::PageComponent, &S::SetPageComponent);
        p.Boolean("PrintOnParent", &S::PrintOnParent, &S::SetPrintOnParent).Default(0);
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxSubreport);

TfrxSubreport::TfrxSubreport(TfrxComponent* owner) : TfrxView(owner) {
  // The engine prints the page in its place; the subreport itself is no output.
  SetStyleFlags(StyleFlags() & ~csoCopiedToOutput);
  Frame().SetTyp(15);
  TFont font;
  font.Name = "Tahoma";
  font.Size = 8;
  SetFont(font);
  SetColor(12632256);
}

TfrxComponent* TfrxSubreport::PageComponent() const { return page_; }

void TfrxSubreport::SetPageComponent(TfrxComponent* page) { SetPage(dynamic_cast<TfrxReportPage*>(page)); }

void TfrxSubreport::SetPage(TfrxReportPage* page) {
  if (page_ == page) return;
  if (page_) {
    // Another subreport may have taken the page since.
    if (page_->Subreport() == this) page_->SetSubreport(nullptr);
    RemoveFreeNotification(page_);
  }
  page_ = page;
  if (page_) {
    FreeNotification(page_);
    page_->SetSubreport(this);
  }
}

void TfrxSubreport::Notification(TComponent* component, TOperation operation) {
  TfrxView::Notification(component, operation);
  if (operation == opRemove && page_ && static_cast<TComponent*>(page_) == component) page_ = nullptr;
}

void TfrxSubreport::Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) {
  TfrxView::Draw(canvas, scaleX, scaleY, offsetX, offsetY);
  TCanvasFont font = CanvasFont(Font(), 96);
  font.Height = -frx_draw::Nearest(Font().Size * 96.0 / 72 * scaleY);
  canvas.SetFont(font);
  canvas.TextOut(device_.Left + 2, device_.Top + 2, Name());
}
