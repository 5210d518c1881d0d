#pragma once
// TfrxDialogComponent: the base of the non-visual report objects (the datasets among
// them). Such an object sits on a page only as an icon for the designer: it draws
// nothing in a report and never takes part in prepared output.

#include "report/frxClassComponent.h"

class TfrxDialogComponent : public TfrxReportComponent {
 public:
  explicit TfrxDialogComponent(TfrxComponent* owner);
  TFRX_PERSISTENT_CLASS

  // Nothing of a non-visual object is drawn on report pages.
  void Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) override {}
};
