#pragma once
// Helpers shared by the store's source files.

#include <string>
#include <string_view>

#include "report/frxClassComponent.h"
#include "report/frxXML.h"

namespace frxprepared {

// A number attribute of a recorded element: "," or "." as the separator, spaces ignored;
// `fallback` when the attribute is absent or not a number.
double FloatAttr(const TfrxXMLItem& item, std::string_view name, double fallback);

// Band kinds the store tells apart, by class (a class derived from one counts as it).
bool IsBand(const TfrxComponent& c);
bool IsPageFooter(const TfrxComponent& c);
bool IsColumnFooter(const TfrxComponent& c);
bool IsOverlay(const TfrxComponent& c);
bool IsPageHeader(const TfrxComponent& c);
bool IsReportTitle(const TfrxComponent& c);
bool IsNullBand(const TfrxComponent& c);

// Page properties read and written by name, so that every page class that publishes
// them is served alike.
double PageFloat(const TfrxComponent& page, std::string_view name, double fallback = 0);
bool PageBool(const TfrxComponent& page, std::string_view name);
void SetPageValue(TfrxComponent& page, std::string_view name, const Variant& value);

// A page of the class registered under `className`, without owner; none when the class
// is unknown or not a page class.
TfrxComponent* NewPage(std::string_view className);

}  // namespace frxprepared
