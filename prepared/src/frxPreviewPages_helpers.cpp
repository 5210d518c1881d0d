#include "frxPreviewPages_private.h"

#include "report/frxClassProps.h"

namespace frxprepared {

double FloatAttr(const TfrxXMLItem& item, std::string_view name, double fallback) {
  std::string text = item.Prop(name);
  if (text.empty()) return fallback;
  try {
    return frxStrToFloat(text);
  } catch (const EConvertError&) {
    return fallback;
  }
}

bool IsBand(const TfrxComponent& c) { return c.InheritsFrom("TfrxBand"); }
bool IsPageFooter(const TfrxComponent& c) { return c.InheritsFrom("TfrxPageFooter"); }
bool IsColumnFooter(const TfrxComponent& c) { return c.InheritsFrom("TfrxColumnFooter"); }
bool IsOverlay(const TfrxComponent& c) { return c.InheritsFrom("TfrxOverlay"); }
bool IsPageHeader(const TfrxComponent& c) { return c.InheritsFrom("TfrxPageHeader"); }
bool IsReportTitle(const TfrxComponent& c) { return c.InheritsFrom("TfrxReportTitle"); }
bool IsNullBand(const TfrxComponent& c) { return c.InheritsFrom("TfrxNullBand"); }

double PageFloat(const TfrxComponent& page, std::string_view name, double fallback) {
  TfrxPropTarget target = frxFindProp(const_cast<TfrxComponent&>(page), name);
  if (!target.Object) return fallback;
  return frxGetPropValue(*target.Object, *target.Prop).toDouble();
}

bool PageBool(const TfrxComponent& page, std::string_view name) {
  TfrxPropTarget target = frxFindProp(const_cast<TfrxComponent&>(page), name);
  return target.Object && frxGetPropValue(*target.Object, *target.Prop).toBool();
}

void SetPageValue(TfrxComponent& page, std::string_view name, const Variant& value) {
  TfrxPropTarget target = frxFindProp(page, name);
  if (target.Object) frxSetPropValue(*target.Object, *target.Prop, value);
}

TfrxComponent* NewPage(std::string_view className) {
  const TfrxClassInfo* cls = frxFindClass(className);
  if (!cls || !cls->Factory() || cls->InheritsFrom("TfrxReport")) return nullptr;
  TfrxComponent* page = cls->Factory()(nullptr);
  if (!page->IsPageObject()) {
    delete page;
    return nullptr;
  }
  return page;
}

}  // namespace frxprepared
