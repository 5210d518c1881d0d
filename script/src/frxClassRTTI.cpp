// The report classes module: constants, enumerations, the report classes in the order
// scripts know them, and the report functions.
#include "script/frxClassRTTI.h"

#include "frxClassRTTI_private.h"
#include "fs_isysrtti_args.h"
#include "platform/DateTime.h"
#include "report/frxClassReport.h"
#include "script/fs_igraphicsrtti.h"
#include "script/fs_iplatformrtti.h"

namespace {

void DeclareConstants(TfsScript& s) {
  const std::pair<const char*, Variant> lengths[] = {
      {"fr01cm", Variant(fr01cm)},          {"fr1cm", Variant(fr1cm)},       {"fr01in", Variant(fr01in)},
      {"fr1in", Variant(int32_t{fr1in})}, {"fr1CharX", Variant(fr1CharX)}, {"fr1CharY", Variant(int32_t{fr1CharY})}};
  for (const auto& [name, value] : lengths) s.DeclareConstant(name, "Extended", value);
  fsDeclareIntConstants(s, {{"clTransparent", 0x1FFFFFFF}, {"crHand", crHand}, {"crZoom", crZoom}, {"crFormat", crFormat}});
}

void DeclareEnums(TfsScript& s) {
  const std::pair<const char*, const char*> enums[] = {
      {"TfrxStretchMode", "smDontStretch, smActualHeight, smMaxHeight"},
      {"TfrxShiftMode", "smDontShift, smAlways, smWhenOverlapped"},
      {"TfrxDuplexMode", "dmNone, dmVertical, dmHorizontal, dmSimplex"},
      {"TfrxAlign", "baNone, baLeft, baRight, baCenter, baWidth, baBottom"},
      {"TfrxFrameStyle", "fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble"},
      {"TfrxHAlign", "haLeft, haRight, haCenter, haBlock"},
      {"TfrxVAlign", "vaTop, vaBottom, vaCenter"},
      {"TfrxShapeKind", "skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2"},
      {"TfrxZoomMode", "zmDefault, zmWholePage, zmPageWidth, zmManyPages"},
      {"TfrxPrintPages", "ppAll, ppOdd, ppEven"},
      {"TfrxRangeBegin", "rbFirst, rbCurrent"},
      {"TfrxRangeEnd", "reLast, reCurrent, reCount"},
      {"TfrxFieldType", "fftNumeric, fftString, fftBoolean"},
      {"TfrxFormatKind", "fkText, fkNumeric, fkDateTime, fkBoolean"},
  };
  const std::pair<const char*, const char*> sets[] = {
      {"TfrxFrameTypes", "ftLeft, ftRight, ftTop, ftBottom"},
      {"TfrxRestrictions", "rfDontModify, rfDontSize, rfDontMove, rfDontDelete"},
      {"TfrxPreviewButtons",
       "pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbTree, pbPageSetup, pbRefresh, pbTools, pbEdit, pbNavigator, "
       "pbExportQuick"},
      {"TfrxDMPFontStyles", "fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript, fsxCondensed, fsxWide, "
                            "fsx12cpi, fsx15cpi"},
  };
  // Between the two lists in the order scripts know them; the order of declaration only
  // matters for names declared twice, and none are.
  for (const auto& [type, names] : enums) s.DeclareEnum(type, names);
  for (const auto& [type, names] : sets) s.DeclareEnumSet(type, names);
}

// The classes in the order scripts know them, with the ancestor a class has when this
// system carries no class of that name (dot-matrix and dialog classes, picture formats).
struct TClassEntry {
  const char* name;
  const char* ancestor;
};
const TClassEntry kClasses[] = {
    {"TJPEGImage", "TGraphic"},
    {"TPNGObject", "TGraphic"},
    {"TfrxDataSet", "TComponent"},
    {"TfrxUserDataSet", "TfrxDataSet"},
    {"TfrxCustomDBDataSet", "TfrxDataSet"},
    {"TfrxComponent", "TComponent"},
    {"TfrxReportComponent", "TfrxComponent"},
    {"TfrxDialogComponent", "TfrxReportComponent"},
    {"TfrxDialogControl", "TfrxReportComponent"},
    {"TfrxFrameLine", "TPersistent"},
    {"TfrxFrame", "TPersistent"},
    {"TfrxHighlight", "TPersistent"},
    {"TfrxFormat", "TPersistent"},
    {"TfrxView", "TfrxReportComponent"},
    {"TfrxShapeView", "TfrxView"},
    {"TfrxStretcheable", "TfrxView"},
    {"TfrxCustomMemoView", "TfrxStretcheable"},
    {"TfrxMemoView", "TfrxCustomMemoView"},
    {"TfrxSysMemoView", "TfrxCustomMemoView"},
    {"TfrxDMPMemoView", "TfrxCustomMemoView"},
    {"TfrxCustomLineView", "TfrxStretcheable"},
    {"TfrxLineView", "TfrxCustomLineView"},
    {"TfrxDMPLineView", "TfrxCustomLineView"},
    {"TfrxDMPCommand", "TfrxView"},
    {"TfrxSubreport", "TfrxView"},
    {"TfrxPictureView", "TfrxView"},
    {"TfrxBand", "TfrxReportComponent"},
    {"TfrxDataBand", "TfrxBand"},
    {"TfrxHeader", "TfrxBand"},
    {"TfrxFooter", "TfrxBand"},
    {"TfrxPageHeader", "TfrxBand"},
    {"TfrxPageFooter", "TfrxBand"},
    {"TfrxColumnHeader", "TfrxBand"},
    {"TfrxColumnFooter", "TfrxBand"},
    {"TfrxGroupHeader", "TfrxBand"},
    {"TfrxGroupFooter", "TfrxBand"},
    {"TfrxReportTitle", "TfrxBand"},
    {"TfrxReportSummary", "TfrxBand"},
    {"TfrxChild", "TfrxBand"},
    {"TfrxOverlay", "TfrxBand"},
    {"TfrxMasterData", "TfrxDataBand"},
    {"TfrxDetailData", "TfrxDataBand"},
    {"TfrxSubdetailData", "TfrxDataBand"},
    {"TfrxDataBand4", "TfrxDataBand"},
    {"TfrxDataBand5", "TfrxDataBand"},
    {"TfrxDataBand6", "TfrxDataBand"},
    {"TfrxPage", "TfrxComponent"},
    {"TfrxReportPage", "TfrxPage"},
    {"TfrxDataPage", "TfrxPage"},
    {"TfrxDialogPage", "TfrxPage"},
    {"TfrxDMPPage", "TfrxReportPage"},
    {"TfrxEngineOptions", "TPersistent"},
    {"TfrxPrintOptions", "TPersistent"},
    {"TfrxPreviewOptions", "TPersistent"},
    {"TfrxReportOptions", "TPersistent"},
    {"TfrxVariable", "TCollectionItem"},
    {"TfrxStyleItem", "TCollectionItem"},
};

void DeclareClasses(TfsScript& s) {
  // Declared before by the classes and graphics modules: they get their published
  // properties here.
  frx_rtti::CompleteDeclaredClass(s, TComponent::StaticClassInfo());
  frx_rtti::CompleteDeclaredClass(s, TfrxFontProps::StaticClassInfo());
  for (const TClassEntry& entry : kClasses) {
    if (const TfrxClassInfo* info = frx_rtti::ClassInfoNamed(entry.name)) {
      frxDeclareScriptClass(s, *info);
    } else if (!s.FindClassSymbol(entry.name)) {
      std::function<TfsHostObject*()> make;
      // Picture formats are pictures of the graphics module.
      if (std::string_view(entry.ancestor) == "TGraphic") make = [name = std::string(entry.name)] { return fsNewGraphic(name); };
      frx_rtti::DeclareHandMembers(fsDeclareClass(s, entry.name, entry.ancestor, std::move(make)));
    }
  }
  frx_rtti::DeclareReportSideClasses(s);
  frxDeclareScriptClass(s, TfrxReport::StaticClassInfo());
}

int DatePart(const TfsMethodHelper& args, int TDateParts::*part) {
  return DecodeDate(fs_sysrtti::FloatArg(args, 0)).*part;
}

void DeclareFunctions(TfsScript& s) {
  const std::pair<const char*, int TDateParts::*> parts[] = {
      {"function DayOf(Date: TDateTime): Integer", &TDateParts::Day},
      {"function MonthOf(Date: TDateTime): Integer", &TDateParts::Month},
      {"function YearOf(Date: TDateTime): Integer", &TDateParts::Year}};
  for (const auto& [declaration, part] : parts) {
    auto field = part;
    s.DeclareFunctionEx(
        declaration,
        [field](TfsHostObject*, const TfsHostClass*, const std::string&, TfsMethodHelper& a) {
          return Variant(int32_t{DatePart(a, field)});
        },
        "ctDate");
  }
}

class TfrxReportClassesRTTI final : public TfsRTTIModule {
 public:
  explicit TfrxReportClassesRTTI(TfsScript& script) : TfsRTTIModule(script) {
    DeclareConstants(script);
    DeclareEnums(script);
    DeclareClasses(script);
    DeclareFunctions(script);
  }
};

}  // namespace

std::unique_ptr<TfsRTTIModule> frxCreateReportClassesRTTI(TfsScript& script) {
  return std::make_unique<TfrxReportClassesRTTI>(script);
}

void frxRegisterScriptModules() { fsRegisterPlatformModules(frxCreateReportClassesRTTI); }
