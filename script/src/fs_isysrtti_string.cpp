// "ctString": texts are 8-bit system text; positions count from 1.
#include <algorithm>

#include "fs_isysrtti_args.h"
#include "platform/TextCase.h"

namespace fs_sysrtti {

namespace {

// Longest text SetLength makes: a script asking for more gets an error instead of
// exhausting the memory of the job.
constexpr int64_t kMaxSetLengthText = 64 * 1024 * 1024;

Variant Text(std::string text) { return Variant(std::move(text)); }

std::string Copy(const std::string& s, int64_t from, int64_t count) {
  if (from < 1) from = 1;
  const int64_t size = static_cast<int64_t>(s.size());
  if (from > size || count <= 0) return {};
  return s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(std::min(count, size - from + 1)));
}

std::string Delete(std::string s, int64_t from, int64_t count) {
  const int64_t size = static_cast<int64_t>(s.size());
  if (from < 1 || from > size || count <= 0) return s;
  s.erase(static_cast<size_t>(from - 1), static_cast<size_t>(std::min(count, size - from + 1)));
  return s;
}

std::string Insert(const std::string& piece, std::string s, int64_t pos) {
  pos = std::clamp<int64_t>(pos, 1, static_cast<int64_t>(s.size()) + 1);
  s.insert(static_cast<size_t>(pos - 1), piece);
  return s;
}

// Lower case, then upper case for the first character and for every character after a
// blank that stands in the second or a later position.
std::string NameCase(const std::string& s) {
  std::string out = AnsiLowerCase(s);
  if (!out.empty()) out[0] = AnsiUpperChar(out[0]);
  for (size_t i = 1; i + 1 < out.size(); ++i)
    if (out[i] == ' ') out[i + 1] = AnsiUpperChar(out[i + 1]);
  return out;
}

std::string Trim(const std::string& s) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  const auto first = std::find_if_not(s.begin(), s.end(), blank);
  const auto last = std::find_if_not(s.rbegin(), s.rend(), blank).base();
  return first < last ? std::string(first, last) : std::string();
}

int32_t Length(const Variant& value) {
  if (value.isArray()) {
    const VariantArray& array = value.array();
    return array.bounds.empty() ? 0 : static_cast<int32_t>(array.bounds[0].count());
  }
  return static_cast<int32_t>(ValueText(value).size());
}

// A text cut or extended with blanks; an array whose first dimension's high bound
// becomes length - 1 (whatever its low bound), elements kept and new ones empty.
Variant SetLength(const Variant& value, int64_t length) {
  if (value.isText()) {
    if (length > kMaxSetLengthText) throw EfsScriptError(Message(fs_sys_messages::TextTooLong, static_cast<long long>(length), static_cast<long long>(kMaxSetLengthText)));
    std::string text = value.toString8();
    text.resize(static_cast<size_t>(std::max<int64_t>(length, 0)), ' ');
    return Variant(std::move(text));
  }
  if (!value.isArray()) throw EfsScriptError(fs_messages::ArrayTypeRequired);
  const VariantArray& old = value.array();
  std::vector<VariantArray::Bound> bounds = old.bounds;
  if (bounds.empty()) bounds.push_back({0, -1});
  bounds[0].high = std::max<int64_t>(length - 1, bounds[0].low - 1);
  int64_t inner = 1;
  for (size_t d = 1; d < bounds.size(); ++d) inner *= bounds[d].count();
  const int64_t total = bounds[0].count() * inner;
  if (total > kMaxArrayElements)
    throw EfsScriptError(Message(fs_sys_messages::ArrayTooLarge, static_cast<long long>(total), static_cast<long long>(kMaxArrayElements)));
  Variant resized = Variant::Array(bounds, old.elementKind);
  // Row-major: the first dimension's rows are contiguous blocks of `inner` elements.
  const size_t kept = static_cast<size_t>(std::min<int64_t>(total, static_cast<int64_t>(old.items.size())));
  std::copy_n(old.items.begin(), kept, resized.array().items.begin());
  return resized;
}

const std::vector<TSysFunction> kString = {
    {"function Length(s: Variant): Integer", [](TfsMethodHelper& a) { return Variant(Length(a.GetParam(0))); }},
    {"function Copy(s: String; from, count: Integer): String",
     [](TfsMethodHelper& a) { return Text(Copy(TextArg(a, 0), IntArg(a, 1), IntArg(a, 2))); }},
    {"function Pos(substr, s: String): Integer",
     [](TfsMethodHelper& a) {
       const std::string piece = TextArg(a, 0);
       const size_t at = piece.empty() ? std::string::npos : TextArg(a, 1).find(piece);
       return Variant(int32_t{at == std::string::npos ? 0 : static_cast<int32_t>(at) + 1});
     }},
    {"procedure Delete(var s: String; from, count: Integer)",
     [](TfsMethodHelper& a) {
       a.SetParam(0, Text(Delete(TextArg(a, 0), IntArg(a, 1), IntArg(a, 2))));
       return Variant();
     }},
    {"procedure DeleteStr(var s: String; from, count: Integer)",
     [](TfsMethodHelper& a) {
       a.SetParam(0, Text(Delete(TextArg(a, 0), IntArg(a, 1), IntArg(a, 2))));
       return Variant();
     }},
    {"procedure Insert(s: String; var s2: String; pos: Integer)",
     [](TfsMethodHelper& a) {
       a.SetParam(1, Text(Insert(TextArg(a, 0), TextArg(a, 1), IntArg(a, 2))));
       return Variant();
     }},
    {"function Uppercase(s: String): String", [](TfsMethodHelper& a) { return Text(AnsiUpperCase(TextArg(a, 0))); }},
    {"function Lowercase(s: String): String", [](TfsMethodHelper& a) { return Text(AnsiLowerCase(TextArg(a, 0))); }},
    {"function Trim(s: String): String", [](TfsMethodHelper& a) { return Text(Trim(TextArg(a, 0))); }},
    {"function NameCase(s: String): String", [](TfsMethodHelper& a) { return Text(NameCase(TextArg(a, 0))); }},
    {"function CompareText(s, s1: String): Integer",
     [](TfsMethodHelper& a) { return Variant(int32_t{AnsiCompareText(TextArg(a, 0), TextArg(a, 1))}); }},
    {"function Chr(i: Integer): Char",
     [](TfsMethodHelper& a) { return Text(std::string(1, static_cast<char>(IntArg(a, 0) & 0xFF))); }},
    // An empty text has no first character: its code is taken as 0.
    {"function Ord(ch: Char): Integer",
     [](TfsMethodHelper& a) {
       const std::string s = TextArg(a, 0);
       return Variant(int32_t{s.empty() ? 0 : static_cast<unsigned char>(s[0])});
     }},
    {"procedure SetLength(var S: Variant; L: Integer)",
     [](TfsMethodHelper& a) {
       a.SetParam(0, SetLength(a.GetParam(0), IntArg(a, 1)));
       return Variant();
     }},
};

}  // namespace

void DeclareStringFunctions(TfsScript& script) { DeclareGroup(script, "ctString", kString); }

}  // namespace fs_sysrtti
