#include "frxClass_standard.h"

#include "report/frxClassBand.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassPicture.h"
#include "report/frxClassReport.h"
#include "report/frxClassShapes.h"

void frxRegisterStandardClasses() {
  static const bool registered = [] {
    for (const TfrxClassInfo* cls : {
             &TfrxReport::StaticClassInfo(),        &TfrxReportPage::StaticClassInfo(),
             &TfrxDataPage::StaticClassInfo(),      &TfrxDialogPage::StaticClassInfo(),
             &TfrxReportTitle::StaticClassInfo(),   &TfrxReportSummary::StaticClassInfo(),
             &TfrxPageHeader::StaticClassInfo(),    &TfrxPageFooter::StaticClassInfo(),
             &TfrxHeader::StaticClassInfo(),        &TfrxFooter::StaticClassInfo(),
             &TfrxMasterData::StaticClassInfo(),    &TfrxDetailData::StaticClassInfo(),
             &TfrxSubdetailData::StaticClassInfo(), &TfrxDataBand4::StaticClassInfo(),
             &TfrxDataBand5::StaticClassInfo(),     &TfrxDataBand6::StaticClassInfo(),
             &TfrxGroupHeader::StaticClassInfo(),   &TfrxGroupFooter::StaticClassInfo(),
             &TfrxChild::StaticClassInfo(),         &TfrxColumnHeader::StaticClassInfo(),
             &TfrxColumnFooter::StaticClassInfo(),  &TfrxOverlay::StaticClassInfo(),
             &TfrxNullBand::StaticClassInfo(),      &TfrxFrame::StaticClassInfo(),
             &TfrxCustomMemoView::StaticClassInfo(), &TfrxMemoView::StaticClassInfo(),
             &TfrxSysMemoView::StaticClassInfo(),   &TfrxHighlight::StaticClassInfo(),
             &TfrxCustomLineView::StaticClassInfo(), &TfrxLineView::StaticClassInfo(),
             &TfrxShapeView::StaticClassInfo(),     &TfrxStyleItem::StaticClassInfo(),
             &TfrxPictureView::StaticClassInfo(),
         })
      frxRegisterClass(*cls);
    return true;
  }();
  (void)registered;
}
