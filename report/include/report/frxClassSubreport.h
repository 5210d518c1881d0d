#pragma once
// TfrxSubreport: a view that stands for a report page printed in its place. It is not
// copied into prepared pages; the engine outputs its Page instead.
//
// Page link: setting Page also links the page back to the subreport
// (TfrxReportPage::SetSubreport); the link on both sides is dropped when either side
// is destroyed, through the removal notification.

#include "report/frxClassView.h"

class TfrxReportPage;

class TfrxSubreport : public TfrxView {
 public:
  explicit TfrxSubreport(TfrxComponent* owner);
  TFRX_PERSISTENT_CLASS

  TfrxReportPage* Page() const { return page_; }
  void SetPage(TfrxReportPage* page);
  bool PrintOnParent() const { return printOnParent_; }
  void SetPrintOnParent(bool v) { printOnParent_ = v; }

  // Fill and frame as any view, then the subreport's name 2 device pixels right of
  // and below its top-left corner, in its own font.
  void Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TfrxComponent* PageComponent() const;
  void SetPageComponent(TfrxComponent* page);

  TfrxReportPage* page_ = nullptr;
  bool printOnParent_ = false;
};
