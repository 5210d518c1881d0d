#pragma once
// Visible report objects: TfrxView (fill, frame, data binding, drawing of background and
// frame), TfrxStretcheable (a view that can grow and split) and the frame sub-objects
// TfrxFrame and TfrxFrameLine.
//
// Drawing contract: Draw(canvas, scaleX, scaleY, offsetX, offsetY) maps the object's
// absolute bounds to device pixels (PrepareDrawGeometry), fills the background and
// paints the frame and its shadow. Device rectangles follow the canvas's pixel rules:
// the fill covers left..right-1 and top..bottom-1, a frame side of width w is centred on
// its edge (offsets -(w div 2) .. as the canvas's pens), and sides are drawn in the
// order left, right, top, bottom.

#include <string>

#include "platform/Canvas.h"
#include "report/frxClassComponent.h"
#include "report/frxClassDataSetLink.h"

enum TfrxAlign : uint8_t { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient };
enum TfrxShiftMode : uint8_t { smDontShift, smAlways, smWhenOverlapped };
enum TfrxStretchMode : uint8_t { smDontStretch, smActualHeight, smMaxHeight };
enum TfrxFrameStyle : uint8_t { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot, fsSquare };
enum TfrxFrameType : uint8_t { ftLeft, ftRight, ftTop, ftBottom };
using TfrxFrameTypes = uint8_t;  // bit (1 << member): left 1, right 2, top 4, bottom 8

const TfrxEnumType& frxAlignType();        // "TfrxAlign"
const TfrxEnumType& frxBrushStyleType();   // "TBrushStyle"
const TfrxEnumType& frxShiftModeType();    // "TfrxShiftMode"
const TfrxEnumType& frxStretchModeType();  // "TfrxStretchMode"
const TfrxEnumType& frxFrameStyleType();   // "TfrxFrameStyle"
const TfrxEnumType& frxFrameTypesType();   // "TfrxFrameTypes"

class TfrxFrame;

// One side of a frame. Its properties are stored when they differ from the frame's own
// values, so that reading the frame's values (which set all four sides) first and the
// side's afterwards gives the side back.
class TfrxFrameLine final : public TPersistent {
 public:
  explicit TfrxFrameLine(TfrxFrame* frame) : frame_(frame) {}
  TFRX_PERSISTENT_CLASS

  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  TfrxFrameStyle Style() const { return style_; }
  void SetStyle(TfrxFrameStyle v) { style_ = v; }
  double Width() const { return width_; }
  void SetWidth(double v) { width_ = v; }
  TfrxFrame* Frame() const { return frame_; }

  void Assign(const TfrxFrameLine& source);
  // Same colour, style and width as the frame's own values.
  bool IsDefault() const;
  bool IsColorStored() const;
  bool IsStyleStored() const;
  bool IsWidthStored() const;

 private:
  TfrxFrame* frame_;
  TColor color_ = clBlack;
  TfrxFrameStyle style_ = fsSolid;
  double width_ = 1;
};

class TfrxFrame final : public TPersistent {
 public:
  TfrxFrame();
  TfrxFrame(const TfrxFrame&) = delete;
  TfrxFrame& operator=(const TfrxFrame&) = delete;
  TFRX_PERSISTENT_CLASS

  TfrxFrameLine& LeftLine() { return leftLine_; }
  TfrxFrameLine& TopLine() { return topLine_; }
  TfrxFrameLine& RightLine() { return rightLine_; }
  TfrxFrameLine& BottomLine() { return bottomLine_; }
  const TfrxFrameLine& LeftLine() const { return leftLine_; }
  const TfrxFrameLine& TopLine() const { return topLine_; }
  const TfrxFrameLine& RightLine() const { return rightLine_; }
  const TfrxFrameLine& BottomLine() const { return bottomLine_; }

  // Setting colour, style or width sets the same value on all four lines.
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TfrxFrameStyle Style() const { return style_; }
  void SetStyle(TfrxFrameStyle v);
  double Width() const { return width_; }
  void SetWidth(double v);
  bool DropShadow() const { return dropShadow_; }
  void SetDropShadow(bool v) { dropShadow_ = v; }
  double ShadowWidth() const { return shadowWidth_; }
  void SetShadowWidth(double v) { shadowWidth_ = v; }
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor v) { shadowColor_ = v; }
  TfrxFrameTypes Typ() const { return typ_; }
  void SetTyp(TfrxFrameTypes v) { typ_ = static_cast<TfrxFrameTypes>(v & 15); }
  bool Has(TfrxFrameType side) const { return (typ_ & (1 << side)) != 0; }

  void Assign(const TfrxFrame& source);
  // Appends the difference attributes " Frame.Color=" ... against `reference`.
  void WriteDifferences(const TfrxFrame& reference, std::string& out) const;

 private:
  TfrxFrameLine* LeftLinePtr() { return &leftLine_; }
  TfrxFrameLine* TopLinePtr() { return &topLine_; }
  TfrxFrameLine* RightLinePtr() { return &rightLine_; }
  TfrxFrameLine* BottomLinePtr() { return &bottomLine_; }
  bool IsLeftLineStored() const { return !leftLine_.IsDefault(); }
  bool IsTopLineStored() const { return !topLine_.IsDefault(); }
  bool IsRightLineStored() const { return !rightLine_.IsDefault(); }
  bool IsBottomLineStored() const { return !bottomLine_.IsDefault(); }

  TfrxFrameLine leftLine_, topLine_, rightLine_, bottomLine_;
  TColor color_ = clBlack;
  bool dropShadow_ = false;
  double shadowWidth_ = 4;
  TColor shadowColor_ = clBlack;
  TfrxFrameStyle style_ = fsSolid;
  TfrxFrameTypes typ_ = 0;
  double width_ = 1;
};

// The device rectangle of the last PrepareDrawGeometry.
struct TfrxDeviceRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0, Width = 0, Height = 0;
  bool operator==(const TfrxDeviceRect&) const = default;
};

class TfrxView : public TfrxReportComponent {
 public:
  explicit TfrxView(TfrxComponent* owner);
  ~TfrxView() override;
  TFRX_PERSISTENT_CLASS

  TfrxAlign Align() const { return align_; }
  void SetAlign(TfrxAlign v) { align_ = v; }
  TBrushStyle BrushStyle() const { return brushStyle_; }
  void SetBrushStyle(TBrushStyle v) { brushStyle_ = v; }
  TColor Color() const { return color_; }
  virtual void SetColor(TColor v) { color_ = v; }
  int16_t Cursor() const { return cursor_; }
  void SetCursor(int16_t v) { cursor_ = v; }
  const std::string& DataField() const { return dataField_; }
  void SetDataField(const std::string& v) { dataField_ = v; }
  // The dataset (a TfrxDataSet); setting it copies its user name into DataSetName.
  TfrxComponent* DataSet() const { return dataSetLink_.DataSet(); }
  void SetDataSet(TfrxComponent* dataSet) { dataSetLink_.SetDataSet(dataSet); }
  // The dataset's user name when a dataset is set, else the stored name; setting it
  // looks the dataset up through the report.
  std::string DataSetName() const { return dataSetLink_.Name(); }
  void SetDataSetName(const std::string& name) { dataSetLink_.SetName(name); }
  TfrxFrame& Frame() { return frame_; }
  const TfrxFrame& Frame() const { return frame_; }
  bool Printable() const { return printable_; }
  void SetPrintable(bool v) { printable_ = v; }
  TfrxShiftMode ShiftMode() const { return shiftMode_; }
  void SetShiftMode(TfrxShiftMode v) { shiftMode_ = v; }
  const std::string& TagStr() const { return tagStr_; }
  void SetTagStr(const std::string& v) { tagStr_ = v; }
  const std::string& URL() const { return url_; }
  void SetURL(const std::string& v) { url_ = v; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; }
  bool PlainText() const { return plainText_; }
  void SetPlainText(bool v) { plainText_ = v; }

  // Drawing.
  void Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;
  virtual void PrepareDrawGeometry(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY);
  virtual void PaintBackground();
  virtual void PaintFrame();
  const TfrxDeviceRect& DeviceRect() const { return device_; }
  int DeviceFrameWidth() const { return frameWidth_; }

  void BeforePrint() override;
  void FetchData() override;
  void AfterPrint() override;
  std::string WriteDifferences(const TfrxComponent* reference) const override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  TfrxFrame* FramePtr() { return &frame_; }
  TCanvas* canvas_ = nullptr;
  TfrxDeviceRect device_;
  int frameWidth_ = 0;
  double scaleX_ = 1, scaleY_ = 1, offsetX_ = 0, offsetY_ = 0;
  // The text with each bracketed expression replaced by its value (through the report).
  std::string ExpandBrackets(const std::string& text);

 private:

  TfrxAlign align_ = baNone;
  TBrushStyle brushStyle_ = bsSolid;
  TColor color_ = clTransparent;
  int16_t cursor_ = 0;
  std::string dataField_;
  TfrxDataSetLink dataSetLink_;
  TfrxFrame frame_;
  bool printable_ = true;
  TfrxShiftMode shiftMode_ = smAlways;
  std::string tagStr_, savedTagStr_, url_, savedURL_, hint_;
  bool showHint_ = false;
  bool plainText_ = false;
};

class TfrxStretcheable : public TfrxView {
 public:
  explicit TfrxStretcheable(TfrxComponent* owner) : TfrxView(owner) {}
  TFRX_PERSISTENT_CLASS

  TfrxStretchMode StretchMode() const { return stretchMode_; }
  void SetStretchMode(TfrxStretchMode v) { stretchMode_ = v; }

  virtual double CalcHeight() { return Height(); }
  virtual double SplitPart() { return 0; }
  virtual void StartParts() {}
  virtual bool HasMoreParts() const { return false; }

  // Height and top saved while splitting.
  double SavedHeight() const { return savedHeight_; }
  void SetSavedHeight(double v) { savedHeight_ = v; }
  double SavedTop() const { return savedTop_; }
  void SetSavedTop(double v) { savedTop_ = v; }

 private:
  TfrxStretchMode stretchMode_ = smDontStretch;
  double savedHeight_ = 0, savedTop_ = 0;
};
