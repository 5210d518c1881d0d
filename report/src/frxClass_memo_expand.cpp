// Memo views filled for one output: the data field or the expanded expressions, the
// script's "Value", the highlight, repeated values and the overflow into FlowTo.

#include <algorithm>
#include <cctype>

#include "platform/CodePage.h"
#include "platform/Stream.h"
#include "report/frxBrackets.h"
#include "report/frxClassDataSet.h"
#include "report/frxClassMemo.h"
#include "report/frxClassReport.h"

namespace {

constexpr size_t kMaxDelimiterLength = 255;
constexpr size_t kMaxFormatLength = 255;

// ExpressionDelimiters: the opening delimiter before the first comma, the closing one
// after it. Without a comma the opening delimiter is empty, which turns expansion off.
std::pair<std::string, std::string> SplitDelimiters(const std::string& delimiters) {
  const size_t comma = delimiters.find(',');
  if (comma == std::string::npos) return {};
  return {delimiters.substr(0, std::min(comma, kMaxDelimiterLength)),
          delimiters.substr(comma + 1, kMaxDelimiterLength)};
}

bool SameTextNoCase(std::u16string_view a, std::string_view b) {
  auto lower = [](char16_t c) { return c < 128 ? static_cast<char16_t>(std::tolower(c)) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char y) {
           return lower(x) == lower(static_cast<unsigned char>(y));
         });
}

// The format written after " #": one letter for the kind, then the format text. For
// numbers every ",", "-" or "." is the decimal separator to print and reads as ".".
void ReadFormatSuffix(std::string_view suffix, TfrxFormat& format) {
  const char letter = suffix.empty() ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(suffix[0])));
  std::string text(suffix.substr(suffix.empty() ? 0 : 1, kMaxFormatLength));
  switch (letter) {
    case 'b':
      format.SetKind(fkBoolean);
      break;
    case 'd':
    case 't':
      format.SetKind(fkDateTime);
      break;
    case 'n':
      format.SetKind(fkNumeric);
      for (char& c : text)
        if (c == ',' || c == '-' || c == '.') {
          format.SetDecimalSeparator(std::string(1, c));
          c = '.';
        }
      break;
    default:
      format.SetKind(fkText);
      break;
  }
  format.SetFormatStr(text);
}

// Zero for HideZeros: a number (or Boolean) equal to 0; text and null never are.
bool IsZeroValue(const Variant& value) { return value.isNumeric() && value.toDouble() == 0; }

}  // namespace

TfrxReport* TfrxCustomMemoView::Report() const { return dynamic_cast<TfrxReport*>(OwningReport()); }

int TfrxCustomMemoView::CodePage() const {
  return useDefaultCharset_ ? codepage::kSystemAnsi : codepage::CharsetCodePage(Font().Charset);
}

void TfrxCustomMemoView::FetchData() {
  TfrxStretcheable::FetchData();
  TfrxReport* report = Report();
  if (report) report->SetCurrentObjectName(Name());
  if (IsDataBound())
    FetchFieldData();
  else if (allowExpressions_ && report)
    ExpandExpressions();
  if (report) {
    report->SetScriptValue(value_);
    EvaluateHighlight(*report);
  }
  if (suppressRepeated_) SuppressRepeatedText();
  ApplyFlowTo();
}

void TfrxCustomMemoView::FetchFieldData() {
  auto* dataSet = dynamic_cast<TfrxDataSet*>(DataSet());
  if (!dataSet) return;
  const std::string& field = DataField();
  if (dataSet->IsBlobField(field)) {
    // Large texts are not Value: they are copied into the lines as they are stored.
    TMemoryStream blob;
    dataSet->CopyBlobTo(field, blob);
    SetText(codepage::ToWide(blob.DataString(), CodePage()));
    return;
  }
  value_ = dataSet->Value(field);
  if (displayFormat_.Kind() != fkText)
    SetText(FormatValue(value_, displayFormat_));
  else
    SetText(dataSet->DisplayText(field));
  if (hideZeros_ && !value_.isText() && IsZeroValue(value_)) SetText(u"");
}

namespace {

// Walks the bracketed parts of a text in order. `visit` gets the part's start and the
// part and returns where the search for the next part goes on (it may change the text).
template <class Visit>
void ForEachBracketedPart(std::u16string& text, const std::u16string& open, const std::u16string& close,
                          Visit visit) {
  size_t from = 0;
  for (;;) {
    // An opening delimiter on the text's last character opens nothing.
    const size_t start = text.find(open, from);
    if (start == std::u16string::npos || start + 1 >= text.size()) break;
    from = visit(start, frx_brackets::FindBracketEnd<char16_t>(text, open, close, start));
  }
}

}  // namespace

void TfrxCustomMemoView::ExpandExpressions() {
  const auto [open8, close8] = SplitDelimiters(expressionDelimiters_);
  if (open8.empty()) return;
  const std::u16string open = codepage::ToWide(open8, CodePage());
  const std::u16string close = codepage::ToWide(close8, CodePage());
  std::u16string text = Text();
  if (text.find(open) == std::u16string::npos) return;
  ForEachBracketedPart(text, open, close, [&](size_t start, const frx_brackets::TBracketPart<char16_t>& part) {
    const std::u16string value = EvaluateBracket(part.Expression);
    text.replace(start, part.End - start + 1, value);
    // Inserted text is never expanded again.
    return start + value.size();
  });
  SetText(text);
}

std::vector<std::string> TfrxCustomMemoView::BracketedExpressions() const {
  std::vector<std::string> expressions;
  const auto [open8, close8] = SplitDelimiters(expressionDelimiters_);
  if (!allowExpressions_ || open8.empty()) return expressions;
  const std::u16string open = codepage::ToWide(open8, CodePage());
  const std::u16string close = codepage::ToWide(close8, CodePage());
  std::u16string text = Text();
  ForEachBracketedPart(text, open, close, [&](size_t, const frx_brackets::TBracketPart<char16_t>& part) {
    expressions.push_back(codepage::FromWide(part.Expression, CodePage()));
    return part.End + 1;
  });
  return expressions;
}

std::u16string TfrxCustomMemoView::EvaluateBracket(std::u16string_view expression) {
  TfrxFormat suffixFormat;
  const TfrxFormat* format = &displayFormat_;
  // " #" starts a format unless what follows it has a ")": then it belongs to the
  // expression, as in IIF(x, ' #', '').
  if (size_t mark = expression.find(u" #"); mark != std::u16string_view::npos) {
    const std::u16string_view suffix = expression.substr(mark + 2);
    if (suffix.find(u')') == std::u16string_view::npos) {
      ReadFormatSuffix(codepage::FromWide(suffix, CodePage()), suffixFormat);
      format = &suffixFormat;
      expression = expression.substr(0, mark);
    }
  }

  if (SameTextNoCase(expression, "TOTALPAGES#")) {
    value_ = Variant(std::string("[TotalPages#]"));
  } else if (SameTextNoCase(expression, "COPYNAME#")) {
    value_ = Variant(std::string("[CopyName#]"));
  } else {
    TfrxReport* report = Report();
    const std::string text = codepage::FromWide(expression, CodePage());
    if (!report) throw EfrxReportError(Name() + ": '" + text + "' cannot be evaluated outside a report");
    value_ = report->Calc(text);
  }
  if (hideZeros_ && !value_.isText() && IsZeroValue(value_)) return {};
  return FormatValue(value_, *format);
}

void TfrxCustomMemoView::EvaluateHighlight(TfrxReport& report) {
  highlight_.SetActive(false);
  if (!highlight_.HasCondition()) return;
  const Variant condition = report.Calc(highlight_.Condition());
  try {
    highlight_.SetActive(condition.toBool());
  } catch (const EVariantError& e) {
    // Said with the memo's name, like every error of its expressions.
    const std::string message = Name() + ": " + e.what();
    report.AddError(message);
    throw EfrxReportError(message);
  }
}

void TfrxCustomMemoView::SuppressRepeatedText() {
  const std::u16string text = Text();
  if (lastValue_.isText() && lastValue_.toWide() == text)
    SetText(u"");
  else
    lastValue_ = Variant(text);
}
