#pragma once
// Text objects: TfrxCustomMemoView holds every memo setting; TfrxMemoView and
// TfrxSysMemoView publish different subsets of them. With them the memo's sub-objects
// TfrxHighlight (a conditional font and colour) and TfrxFormat (the display format).
//
// Contract
// - Text: the memo's lines as wide text, each line followed by CR LF (Text); setting it
//   splits at CR LF, CR, LF and U+2028, and a final line break makes no empty last line.
//   AnsiText converts with the code page of the memo font's character set.
// - Layout: measuring (CalcHeight, CalcWidth), splitting (StartParts, SplitPart) and
//   drawing go through the shared text layout engine (TfrxDrawText) under its lock.
// - Printing: BeforePrint saves the text (unless the memo is data-bound) and AfterPrint
//   puts it back, so every record expands the template's own text again.
// - Filling (FetchData, once per output, between BeforePrint and AfterPrint): a
//   data-bound memo takes its field; any other memo with AllowExpressions expands its
//   bracketed expressions through the report's Calc, each value formatted by a " #"
//   format of its own or by DisplayFormat. Then the script's "Value", the highlight,
//   SuppressRepeated and FlowTo. A failing expression raises out of FetchData after Calc
//   has put "<memo name>: <error>" into the report's errors; formatting never fails (a
//   value that does not fit its format prints as plain text).
// - Code page: 8-bit text (field display text, expressions, formatted values) is
//   converted with the code page of the font's character set, or the system code page
//   when UseDefaultCharset is set.
// - Difference form: WriteDifferences writes the paragraph flags of a split memo and
//   then hands FirstParaBreak the value of LastParaBreak (clearing LastParaBreak), so
//   the next page's continuation starts in the right paragraph state.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Variant.h"
#include "report/frxClassView.h"
#include "text/frxGraphicUtils.h"
#include "text/frxUnicodeUtils.h"

class TfrxReport;
class TfrxStyleItem;

// TfrxHAlign and TfrxVAlign come with the text layout (frxGraphicUtils.h).
enum TfrxFormatKind : uint8_t { fkText, fkNumeric, fkDateTime, fkBoolean };

const TfrxEnumType& frxHAlignType();      // "TfrxHAlign"
const TfrxEnumType& frxVAlignType();      // "TfrxVAlign"
const TfrxEnumType& frxFormatKindType();  // "TfrxFormatKind"

// The font and colour a memo takes while its Condition holds (Active is set at run time).
class TfrxHighlight final : public TPersistent {
 public:
  TfrxHighlight();
  TfrxHighlight(const TfrxHighlight&) = delete;
  TfrxHighlight& operator=(const TfrxHighlight&) = delete;
  TFRX_PERSISTENT_CLASS

  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_ = font; }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  const std::string& Condition() const { return condition_; }
  void SetCondition(const std::string& v) { condition_ = v; }
  // Whether the condition holds any text besides spaces and control characters.
  bool HasCondition() const;

 private:
  TfrxFontProps* FontProps() { return &fontProps_; }

  bool active_ = false;
  TFont font_;
  TfrxFontProps fontProps_;
  TColor color_ = clTransparent;
  std::string condition_;
};

class TfrxFormat final : public TPersistent {
 public:
  TFRX_PERSISTENT_CLASS

  const std::string& DecimalSeparator() const { return decimalSeparator_; }
  void SetDecimalSeparator(const std::string& v) { decimalSeparator_ = v; }
  const std::string& ThousandSeparator() const { return thousandSeparator_; }
  void SetThousandSeparator(const std::string& v) { thousandSeparator_ = v; }
  const std::string& FormatStr() const { return formatStr_; }
  void SetFormatStr(const std::string& v) { formatStr_ = v; }
  TfrxFormatKind Kind() const { return kind_; }
  void SetKind(TfrxFormatKind v) { kind_ = v; }

 private:
  std::string decimalSeparator_, thousandSeparator_, formatStr_;
  TfrxFormatKind kind_ = fkText;
};

class TfrxCustomMemoView : public TfrxStretcheable {
 public:
  explicit TfrxCustomMemoView(TfrxComponent* owner);
  ~TfrxCustomMemoView() override;
  TFRX_PERSISTENT_CLASS

  // --- text ---
  std::u16string Text() const { return lines_.Text(); }
  void SetText(std::u16string_view text) { lines_.SetText(text); }
  TWideStrings& Lines() { return lines_; }
  const TWideStrings& Lines() const { return lines_; }
  std::string AnsiText() const;
  void SetAnsiText(std::string_view text);
  bool IsMemoView() const override { return true; }
  std::u16string MemoText() const override { return Text(); }
  void SetMemoText(const std::u16string& text) override { SetText(text); }

  // --- settings ---
  bool AutoWidth() const { return autoWidth_; }
  void SetAutoWidth(bool v) { autoWidth_ = v; }
  bool AllowExpressions() const { return allowExpressions_; }
  void SetAllowExpressions(bool v) { allowExpressions_ = v; }
  bool AllowHTMLTags() const { return allowHTMLTags_; }
  void SetAllowHTMLTags(bool v) { allowHTMLTags_ = v; }
  double CharSpacing() const { return charSpacing_; }
  void SetCharSpacing(double v) { charSpacing_ = v; }
  bool Clipped() const { return clipped_; }
  void SetClipped(bool v) { clipped_ = v; }
  TfrxFormat& DisplayFormat() { return displayFormat_; }
  const TfrxFormat& DisplayFormat() const { return displayFormat_; }
  const std::string& ExpressionDelimiters() const { return expressionDelimiters_; }
  void SetExpressionDelimiters(const std::string& v) { expressionDelimiters_ = v; }
  // The memo that takes the text this one cannot hold.
  TfrxCustomMemoView* FlowTo() const { return flowTo_; }
  void SetFlowTo(TfrxCustomMemoView* memo);
  double GapX() const { return gapX_; }
  void SetGapX(double v) { gapX_ = v; }
  double GapY() const { return gapY_; }
  void SetGapY(double v) { gapY_ = v; }
  TfrxHAlign HAlign() const { return hAlign_; }
  void SetHAlign(TfrxHAlign v) { hAlign_ = v; }
  bool HideZeros() const { return hideZeros_; }
  void SetHideZeros(bool v) { hideZeros_ = v; }
  TfrxHighlight& Highlight() { return highlight_; }
  const TfrxHighlight& Highlight() const { return highlight_; }
  double LineSpacing() const { return lineSpacing_; }
  void SetLineSpacing(double v) { lineSpacing_ = v; }
  double ParagraphGap() const { return paragraphGap_; }
  void SetParagraphGap(double v) { paragraphGap_ = v; }
  int Rotation() const { return rotation_; }
  // Stored modulo 360, keeping the sign (370 gives 10, -30 stays -30).
  void SetRotation(int degrees) { rotation_ = degrees % 360; }
  bool RTLReading() const { return rtlReading_; }
  void SetRTLReading(bool v) { rtlReading_ = v; }
  const std::string& Style() const { return style_; }
  // Stores the name and, on a report, takes the style of that name when there is one.
  void SetStyle(const std::string& name);
  bool SuppressRepeated() const { return suppressRepeated_; }
  void SetSuppressRepeated(bool v) { suppressRepeated_ = v; }
  bool Underlines() const { return underlines_; }
  void SetUnderlines(bool v) { underlines_ = v; }
  bool UseDefaultCharset() const { return useDefaultCharset_; }
  void SetUseDefaultCharset(bool v) { useDefaultCharset_ = v; }
  bool WordBreak() const { return wordBreak_; }
  void SetWordBreak(bool v) { wordBreak_ = v; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { wordWrap_ = v; }
  bool Wysiwyg() const { return wysiwyg_; }
  void SetWysiwyg(bool v) { wysiwyg_ = v; }
  TfrxVAlign VAlign() const { return vAlign_; }
  void SetVAlign(TfrxVAlign v) { vAlign_ = v; }
  bool FirstParaBreak() const { return firstParaBreak_; }
  void SetFirstParaBreak(bool v) { firstParaBreak_ = v; }
  bool LastParaBreak() const { return lastParaBreak_; }
  void SetLastParaBreak(bool v) { lastParaBreak_ = v; }

  // The style item's colour, font (which clears ParentFont) and a copy of its frame.
  void TakeStyle(const TfrxStyleItem& item);

  // --- run-time fields (report preparation) ---
  const Variant& Value() const { return value_; }
  void SetValue(const Variant& v) { value_ = v; }
  // The text last printed, for SuppressRepeated (null until then).
  const Variant& LastValue() const { return lastValue_; }
  void SetLastValue(const Variant& v) { lastValue_ = v; }
  // Forgets the text last printed, so that the next one prints even when it repeats
  // (a data band's first record, a new group).
  void ResetSuppress() { lastValue_ = Variant::Null(); }
  const TRect& TextArea() const { return textArea_; }
  const std::u16string& PartText() const { return partText_; }
  void SetPartText(std::u16string v) { partText_ = std::move(v); }
  const TWideStrings& SavedText() const { return savedText_; }
  int TotalPagesValue() const { return totalPagesValue_; }
  void SetTotalPagesValue(int v) { totalPagesValue_ = v; }
  int CopyNumber() const { return copyNumber_; }
  void SetCopyNumber(int v) { copyNumber_ = v; }
  double PrintScale() const { return printScale_; }
  void SetPrintScale(double v) { printScale_ = v; }

  // --- filling from data and expressions ---
  void FetchData() override;
  // One bracketed expression with its optional " #" format: its value (also kept as
  // Value) formatted; "TotalPages#" and "CopyName#" stay for SubstituteSecondPass.
  std::u16string EvaluateBracket(std::u16string_view expression);
  // The bracketed expressions of the text as FetchData evaluates them (8-bit, with the
  // memo's code page, format suffix included), in order; none without AllowExpressions.
  std::vector<std::string> BracketedExpressions() const;
  // The value as text by the format's kind; null gives the empty text, and a value that
  // does not fit the format gives its plain text.
  std::u16string FormatValue(const Variant& value, const TfrxFormat& format) const;

  // --- measuring, splitting and drawing, through the shared text layout engine ---
  // Whole pixels: the text block's height (width) and the gaps and lines around it.
  double CalcHeight() override;
  double CalcWidth();
  // The memo text becomes PartText; the paragraph flags are cleared.
  void StartParts() override;
  // Called with Height set to the space available: the lines that fit stay as the
  // memo's text, the rest becomes PartText. Returns the height left free below the
  // last whole line, or Height when no whole line fits.
  double SplitPart() override;
  // Once the text has been filled: the text that does not fit becomes the whole text
  // of FlowTo, which does not expand it again.
  void ApplyFlowTo();
  // The values known only once the report is prepared, with expressions allowed: the
  // first "[TOTALPAGES#]" becomes TotalPagesValue, the first "[COPYNAME#]" the global
  // variable "CopyName" + CopyNumber (empty without one); both ignore case.
  void SubstituteSecondPass();
  void Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;

  // For outputs that place the lines themselves (the PDF export): the layout engine
  // Draw uses, and the text laid out in it as Draw lays it out at 100%. The caller holds
  // the engine's lock (TfrxDrawTextLock) from before LayOutAt100 until it has read the
  // layout.
  TfrxDrawText& LayoutEngine() const;
  void LayOutAt100(TfrxDrawText& engine) const;

  // --- geometry of the text ---
  // The device rectangle of the text inside gaps and frame lines, from the last
  // PrepareDrawGeometry (also kept as TextArea).
  TRect CalcTextArea();
  // Gaps, frame lines and shadow around the text, in object units.
  double VerticalExtra() const;
  double HorizontalExtra() const;

  // --- printing ---
  void BeforePrint() override;
  void AfterPrint() override;
  // The text as 8-bit text; with expressions allowed, the first "[TOTALPAGES]" (any
  // case) becomes TotalPagesValue.
  std::string ComponentText() const override;
  std::string WriteDifferences(const TfrxComponent* reference) const override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  bool DifferencesWriteWidth() const override { return !autoWidth_; }

 private:
  TfrxFormat* DisplayFormatPtr() { return &displayFormat_; }
  TfrxHighlight* HighlightPtr() { return &highlight_; }
  TfrxComponent* FlowToComponent() const { return flowTo_; }
  void SetFlowToComponent(TfrxComponent* c);
  // The "Memo.Text" attribute: 8-bit text in the system code page.
  void SetSystemText(const std::string& text);
  bool IsHighlightStored() const { return highlight_.HasCondition(); }
  bool IsExpressionDelimitersStored() const { return expressionDelimiters_ != "[,]"; }
  bool IsDataBound() const { return DataSet() != nullptr && !DataField().empty(); }
  // FetchData's steps.
  TfrxReport* Report() const;
  int CodePage() const;
  void FetchFieldData();
  void ExpandExpressions();
  void EvaluateHighlight(TfrxReport& report);
  void SuppressRepeatedText();
  std::string PlainText(const Variant& value) const;
  void WriteMemoDifferences(const TfrxCustomMemoView& reference, std::string& out) const;
  TRect TextAreaOf(const TfrxDeviceRect& device, double scaleX, double scaleY) const;
  TRect TextAreaAt100() const;
  void PrepareLayout(TfrxDrawText& engine, const TRect& layoutArea, const TRect& targetArea, double printScale,
                     double scaleX, double scaleY, const TWideStrings& text) const;
  void FitWidthToText(TfrxDrawText& engine);
  void DrawUnderlines(const TfrxDrawText& engine);

  TWideStrings lines_;
  bool autoWidth_ = false;
  bool allowExpressions_ = true;
  bool allowHTMLTags_ = false;
  double charSpacing_ = 0;
  bool clipped_ = true;
  TfrxFormat displayFormat_;
  std::string expressionDelimiters_ = "[,]";
  TfrxCustomMemoView* flowTo_ = nullptr;
  double gapX_ = 2, gapY_ = 1;
  TfrxHAlign hAlign_ = haLeft;
  bool hideZeros_ = false;
  TfrxHighlight highlight_;
  double lineSpacing_ = 2;
  double paragraphGap_ = 0;
  int rotation_ = 0;
  bool rtlReading_ = false;
  std::string style_;
  bool suppressRepeated_ = false;
  bool underlines_ = false;
  bool useDefaultCharset_ = false;
  bool wordBreak_ = false;
  bool wordWrap_ = true;
  bool wysiwyg_ = true;
  TfrxVAlign vAlign_ = vaTop;
  // Handed on by WriteDifferences (see the contract), hence mutable.
  mutable bool firstParaBreak_ = false;
  mutable bool lastParaBreak_ = false;

  Variant value_;
  Variant lastValue_ = Variant::Null();
  TRect textArea_;
  std::u16string partText_;
  TWideStrings savedText_;
  int totalPagesValue_ = 0;
  int copyNumber_ = 0;
  double printScale_ = 1;
};

class TfrxMemoView : public TfrxCustomMemoView {
 public:
  explicit TfrxMemoView(TfrxComponent* owner) : TfrxCustomMemoView(owner) {}
  TFRX_PERSISTENT_CLASS
};

// The designer's object for system values and aggregates.
class TfrxSysMemoView : public TfrxCustomMemoView {
 public:
  explicit TfrxSysMemoView(TfrxComponent* owner) : TfrxCustomMemoView(owner) {}
  TFRX_PERSISTENT_CLASS
};
