// "ctDate": dates and times as floating values (days since 30 December 1899).
#include "fs_isysrtti_args.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"

namespace fs_sysrtti {

namespace {

const std::vector<TSysFunction> kDate = {
    {"function EncodeDate(Year, Month, Day: Word): TDateTime",
     [](TfsMethodHelper& a) { return Variant::Date(EncodeDate(IntArg(a, 0), IntArg(a, 1), IntArg(a, 2))); }},
    {"procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)",
     [](TfsMethodHelper& a) {
       const TDateParts d = DecodeDate(FloatArg(a, 0));
       a.SetParam(1, Variant(int32_t{d.Year}));
       a.SetParam(2, Variant(int32_t{d.Month}));
       a.SetParam(3, Variant(int32_t{d.Day}));
       return Variant();
     }},
    {"function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime",
     [](TfsMethodHelper& a) {
       return Variant::Date(EncodeTime(IntArg(a, 0), IntArg(a, 1), IntArg(a, 2), IntArg(a, 3)));
     }},
    {"procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)",
     [](TfsMethodHelper& a) {
       const TTimeParts t = DecodeTime(FloatArg(a, 0));
       a.SetParam(1, Variant(int32_t{t.Hour}));
       a.SetParam(2, Variant(int32_t{t.Minute}));
       a.SetParam(3, Variant(int32_t{t.Second}));
       a.SetParam(4, Variant(int32_t{t.Millisecond}));
       return Variant();
     }},
    {"function Date: TDateTime", [](TfsMethodHelper&) { return Variant::Date(Date()); }},
    {"function Time: TDateTime", [](TfsMethodHelper&) { return Variant::Date(Time()); }},
    {"function Now: TDateTime", [](TfsMethodHelper&) { return Variant::Date(Now()); }},
    {"function DayOfWeek(aDate: TDateTime): Integer",
     [](TfsMethodHelper& a) { return Variant(int32_t{DayOfWeek(FloatArg(a, 0))}); }},
    {"function IsLeapYear(Year: Word): Boolean", [](TfsMethodHelper& a) { return Variant(IsLeapYear(IntArg(a, 0))); }},
    // A month outside 1 to 12 has no length: refused like a day that does not exist.
    {"function DaysInMonth(nYear, nMonth: Integer): Integer",
     [](TfsMethodHelper& a) {
       const int days = DaysInMonth(IntArg(a, 0), IntArg(a, 1));
       if (days == 0) throw EConvertError("Invalid argument to date encode");
       return Variant(int32_t{days});
     }},
};

}  // namespace

void DeclareDateFunctions(TfsScript& script) { DeclareGroup(script, "ctDate", kDate); }

}  // namespace fs_sysrtti
