// "ctConv" and "ctFormat": values to texts and back, and the three formatters.
#include "fs_isysrtti_args.h"
#include "platform/Convert.h"
#include "platform/Format.h"

namespace fs_sysrtti {

namespace {

Variant Text(std::string text) { return Variant(std::move(text)); }

// The elements of Format's argument array; a value that is no array is one argument.
std::vector<Variant> FormatArguments(const Variant& args) {
  if (!args.isArray()) {
    if (args.isNull() || args.isEmpty()) return {};
    return {args};
  }
  return args.array().items;
}

// An edit mask "picture;save literals;blank" applied to a value. Picture characters:
// "L", "l", "A", "a", "C", "c", "0", "9", "#" take one character of the value (or the
// blank when the value has run out); ">" and "<" switch the case of what follows, "<>"
// ends that; "\" makes the next character literal; "!" is accepted and ignored; ":" and
// "/" are the locale's time and date separators; anything else is a literal. When the
// value keeps its literals (the second field is not "0"), a value character equal to a
// literal at its place is consumed with it.
std::string ApplyEditMask(const std::string& mask, const std::string& value) {
  std::string picture = mask;
  bool saveLiterals = true;
  char blank = '_';
  // The two trailing fields are split off from the right, so a ";" in the picture
  // itself stays part of it unless escaped fields follow.
  const size_t last = picture.rfind(';');
  if (last != std::string::npos && last > 0) {
    const size_t middle = picture.rfind(';', last - 1);
    if (middle != std::string::npos && last - middle == 2) {
      saveLiterals = picture[middle + 1] != '0';
      if (last + 1 < picture.size()) blank = picture[last + 1];
      picture.resize(middle);
    } else if (last + 2 == picture.size()) {
      saveLiterals = picture[last + 1] != '0';
      picture.resize(last);
    }
  }
  const TFormatSettings& settings = CurrentFormatSettings();
  std::string out;
  size_t next = 0;
  int caseMode = 0;  // 1 upper, -1 lower
  for (size_t i = 0; i < picture.size(); ++i) {
    char c = picture[i];
    if (c == '>' ) {
      caseMode = 1;
      continue;
    }
    if (c == '<') {
      if (i + 1 < picture.size() && picture[i + 1] == '>') {
        caseMode = 0;
        ++i;
      } else {
        caseMode = -1;
      }
      continue;
    }
    if (c == '!') continue;
    bool literal = true;
    if (c == '\\' && i + 1 < picture.size()) {
      c = picture[++i];
    } else if (c == ':') {
      c = settings.TimeSeparator;
    } else if (c == '/') {
      c = settings.DateSeparator;
    } else if (std::string_view("LlAaCc09#").find(c) != std::string_view::npos) {
      literal = false;
    }
    if (literal) {
      out += c;
      if (saveLiterals && next < value.size() && value[next] == c) ++next;
      continue;
    }
    char taken = next < value.size() ? value[next++] : blank;
    if (caseMode > 0) taken = static_cast<char>(std::toupper(static_cast<unsigned char>(taken)));
    if (caseMode < 0) taken = static_cast<char>(std::tolower(static_cast<unsigned char>(taken)));
    out += taken;
  }
  return out;
}

const std::vector<TSysFunction> kConversion = {
    {"function IntToStr(i: Integer): String",
     [](TfsMethodHelper& a) { return Text(std::to_string(Int64Arg(a, 0))); }},
    {"function FloatToStr(e: Extended): String", [](TfsMethodHelper& a) { return Text(FloatToStr(FloatArg(a, 0))); }},
    {"function DateToStr(e: Extended): String", [](TfsMethodHelper& a) { return Text(DateToStr(FloatArg(a, 0))); }},
    {"function TimeToStr(e: Extended): String", [](TfsMethodHelper& a) { return Text(TimeToStr(FloatArg(a, 0))); }},
    {"function DateTimeToStr(e: Extended): String",
     [](TfsMethodHelper& a) { return Text(DateTimeToStr(FloatArg(a, 0))); }},
    {"function BoolToStr(B: Boolean): string;", [](TfsMethodHelper& a) { return Text(BoolArg(a, 0) ? "-1" : "0"); }},
    {"function VarToStr(v: Variant): String", [](TfsMethodHelper& a) { return Text(ValueText(a.GetParam(0))); }},
    {"function StrToInt(s: String): Integer", [](TfsMethodHelper& a) { return Variant(StrToInt(TextArg(a, 0))); }},
    // The value stays a 64-bit integer whatever the declaration's result type says.
    {"function StrToInt64(s: String): Integer",
     [](TfsMethodHelper& a) { return Variant(StrToInt64(TextArg(a, 0))); }},
    {"function StrToFloat(s: String): Extended",
     [](TfsMethodHelper& a) { return Variant(StrToFloat(TextArg(a, 0))); }},
    {"function StrToDate(s: String): Extended",
     [](TfsMethodHelper& a) { return Variant::Date(StrToDate(TextArg(a, 0))); }},
    {"function StrToTime(s: String): Extended",
     [](TfsMethodHelper& a) { return Variant::Date(StrToTime(TextArg(a, 0))); }},
    {"function StrToDateTime(s: String): Extended",
     [](TfsMethodHelper& a) { return Variant::Date(StrToDateTime(TextArg(a, 0))); }},
    {"function StrToBool(const S: string): Boolean;", [](TfsMethodHelper& a) { return Variant(BoolArg(a, 0)); }},
};

const std::vector<TSysFunction> kFormat = {
    {"function Format(Fmt: String; Args: array): String",
     [](TfsMethodHelper& a) { return Text(Format(TextArg(a, 0), FormatArguments(a.GetParam(1)))); }},
    {"function FormatFloat(Fmt: String; Value: Extended): String",
     [](TfsMethodHelper& a) { return Text(FormatFloat(TextArg(a, 0), FloatArg(a, 1))); }},
    {"function FormatDateTime(Fmt: String; DateTime: TDateTime): String",
     [](TfsMethodHelper& a) { return Text(FormatDateTime(TextArg(a, 0), FloatArg(a, 1))); }},
    {"function FormatMaskText(EditMask: string; Value: string): string",
     [](TfsMethodHelper& a) { return Text(ApplyEditMask(TextArg(a, 0), TextArg(a, 1))); }},
};

}  // namespace

void DeclareConversionFunctions(TfsScript& script) { DeclareGroup(script, "ctConv", kConversion); }
void DeclareFormatFunctions(TfsScript& script) { DeclareGroup(script, "ctFormat", kFormat); }

}  // namespace fs_sysrtti
