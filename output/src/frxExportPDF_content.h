#pragma once
// The content stream of one PDF page: report views as PDF drawing operators.

#include <string>

#include "output/frxExportPDF_document.h"
#include "platform/Graphics.h"

class TfrxFrameLine;

class TfrxPDFDocument::TPageContent {
 public:
  // Page size in points, margins in millimetres.
  TPageContent(double widthPt, double heightPt, double leftMarginMm, double topMarginMm, TfrxPDFFonts& fonts,
               const TfrxPDFSettings& settings);

  void Line(const TfrxCustomLineView& view);
  void Shape(const TfrxShapeView& view);
  // A memo drawn as vectors and text.
  void Memo(TfrxCustomMemoView& view);
  // Any view drawn by itself into a bitmap, embedded as a JPEG inline image, then its frame.
  void Image(TfrxView& view);
  // Whether a view goes out as a picture (hatched memos, tagged memos with HTMLTags,
  // every view that is not a line, shape or memo).
  bool DrawnAsImage(const TfrxView& view) const;

  const std::string& Content() const { return out_; }
  double WidthPt() const { return widthPt_; }
  double HeightPt() const { return heightPt_; }

  // Page coordinates of a paper position in pixels.
  double X(double x) const { return x * 0.75 + leftShift_; }
  double Y(double y) const { return heightPt_ - topShift_ - y * 0.75; }

 private:
  void Op(std::initializer_list<double> operands, std::string_view op);
  void StrokeColor(TColor color);
  void FillColor(TColor color);
  void Dash(int style, double width);
  void Frame(const TfrxView& view);
  void FrameSide(const TfrxFrameLine& side, double x1, double y1, double x2, double y2);
  void MemoText(TfrxCustomMemoView& view);

  TfrxPDFFonts& fonts_;
  const TfrxPDFSettings& settings_;
  double widthPt_, heightPt_, leftShift_, topShift_;
  std::string out_;
};
