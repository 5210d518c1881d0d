// The graphics module.
#include "script/fs_igraphicsrtti.h"

#include <fstream>

#include "fs_isysrtti_args.h"
#include "platform/Canvas.h"
#include "platform/FileSystem.h"
#include "platform/PictureHolder.h"
#include "platform/Recording.h"
#include "script/fs_iexpression.h"
#include "script/fs_ihostclasses.h"

using fs_sysrtti::IntArg;
using fs_sysrtti::TextArg;

namespace {

using H = TfsHostObject;
using C = const TfsHostClass;
using A = TfsMethodHelper;

TfsPropertyBag* NewFont() {
  return new TfsPropertyBag(fsHostClass("TFont"), {{"Name", Variant("Arial")},
                                                   {"Size", Variant(int32_t{10})},
                                                   {"Height", Variant(int32_t{-13})},
                                                   {"Color", Variant(int32_t{0})},
                                                   {"Style", Variant(int32_t{0})},
                                                   {"Charset", Variant(int32_t{1})},
                                                   {"Pitch", Variant(int32_t{0})}});
}
TfsPropertyBag* NewPen() {
  return new TfsPropertyBag(fsHostClass("TPen"), {{"Color", Variant(int32_t{0})},
                                                  {"Width", Variant(int32_t{1})},
                                                  {"Style", Variant(int32_t{0})},
                                                  {"Mode", Variant(int32_t{4})}});
}
TfsPropertyBag* NewBrush() {
  return new TfsPropertyBag(fsHostClass("TBrush"),
                            {{"Color", Variant(int32_t{clWhite})}, {"Style", Variant(int32_t{0})}});
}

int IntProperty(TfsPropertyObject& o, const char* name) {
  const Variant v = o.GetProperty(name);
  return v.isOrdinal() ? v.toInt32() : 0;
}

// A picture a script loads, measures and saves; a bitmap also has a canvas.
class TfsGraphicObject;

// A canvas drawing onto a recording, with its own font, pen and brush objects.
class TfsCanvasObject final : public TfsScriptObject {
 public:
  TfsCanvasObject(int width, int height) : TfsScriptObject(fsHostClass("TCanvas")), canvas_(TSize{width, height}) {
    for (TfsPropertyBag* part : {font_.get(), pen_.get(), brush_.get()}) part->OwnedByScript = false;
  }
  TfsPropertyBag& Font() { return *font_; }
  TfsPropertyBag& Pen() { return *pen_; }
  TfsPropertyBag& Brush() { return *brush_; }
  // The canvas with the current font, pen and brush selected.
  TCanvas& Prepared() {
    TCanvasFont font;
    font.Name = fsVarToTextOr(font_->GetProperty("NAME"), "Arial");
    font.Height = IntProperty(*font_, "HEIGHT");
    font.Style = static_cast<TFontStyles>(IntProperty(*font_, "STYLE") & 15);
    font.Color = IntProperty(*font_, "COLOR");
    font.Charset = IntProperty(*font_, "CHARSET");
    canvas_.SetFont(font);
    TPen pen;
    pen.Color = IntProperty(*pen_, "COLOR");
    pen.Width = IntProperty(*pen_, "WIDTH");
    pen.Style = static_cast<TPenStyle>(std::clamp(IntProperty(*pen_, "STYLE"), 0, 5));
    canvas_.SetPen(pen);
    TBrush brush;
    brush.Color = IntProperty(*brush_, "COLOR");
    brush.Style = static_cast<TBrushStyle>(std::clamp(IntProperty(*brush_, "STYLE"), 0, 7));
    canvas_.SetBrush(brush);
    return canvas_;
  }

 private:
  static std::string fsVarToTextOr(const Variant& v, const char* fallback) {
    return v.isText() ? v.toString8() : std::string(fallback);
  }
  TRecordingCanvas canvas_;
  std::unique_ptr<TfsPropertyBag> font_{NewFont()}, pen_{NewPen()}, brush_{NewBrush()};
};

class TfsGraphicObject final : public TfsScriptObject, public TfsPictureAccess {
 public:
  explicit TfsGraphicObject(const TfsHostClass& cls) : TfsScriptObject(cls) {}
  const TPicture& Picture() const override { return picture_; }
  void LoadPicture(const std::string& fileName) override { picture_.LoadFromFile(fileName); }
  // A size set by the script for a picture that has none of its own (a new bitmap).
  int Width = 0, Height = 0;
  int PictureWidth() const { return picture_.Empty() ? Width : picture_.Width(); }
  int PictureHeight() const { return picture_.Empty() ? Height : picture_.Height(); }
  TfsCanvasObject& Canvas() {
    if (!canvas_) {
      canvas_ = std::make_unique<TfsCanvasObject>(PictureWidth(), PictureHeight());
      canvas_->OwnedByScript = false;
    }
    return *canvas_;
  }

 private:
  TPicture picture_;
  std::unique_ptr<TfsCanvasObject> canvas_;
};

TfsPictureAccess& PictureOf(H* i, const std::string& m) { return fsInstanceOf<TfsPictureAccess>(i, m, "TGraphic"); }

TfsGraphicObject& Graphic(H* i, const std::string& m) { return fsInstanceOf<TfsGraphicObject>(i, m, "TGraphic"); }
TfsCanvasObject& Canvas(H* i, const std::string& m) { return fsInstanceOf<TfsCanvasObject>(i, m, "TCanvas"); }
TRect RectArg(const A& a, int first) { return TRect{IntArg(a, first), IntArg(a, first + 1), IntArg(a, first + 2), IntArg(a, first + 3)}; }

void SavePicture(const TPicture& picture, const std::string& path) {
  if (picture.Empty()) throw EfsScriptError("The picture is empty: nothing to save to " + path);
  std::ofstream out(fsys::NativePath(path), std::ios::binary | std::ios::trunc);
  const auto& data = picture.Data();
  if (!out || !out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size())))
    throw EfsScriptError("Cannot write the picture to " + path);
}

void DeclareEnums(TfsScript& s) {
  s.DeclareEnumSet("TFontStyles", "fsBold, fsItalic, fsUnderline, fsStrikeout");
  s.DeclareEnum("TFontPitch", "fpDefault, fpVariable, fpFixed");
  s.DeclareEnum("TPenStyle", "psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame");
  s.DeclareEnum("TPenMode",
                "pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen, "
                "pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor");
  s.DeclareEnum("TBrushStyle", "bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross");
  fsDeclareIntConstants(s, {{"clBlack", 0x000000},   {"clMaroon", 0x000080}, {"clGreen", 0x008000},
                            {"clOlive", 0x008080},   {"clNavy", 0x800000},   {"clPurple", 0x800080},
                            {"clTeal", 0x808000},    {"clGray", 0x808080},   {"clSilver", 0xC0C0C0},
                            {"clRed", 0x0000FF},     {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
                            {"clBlue", 0xFF0000},    {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
                            {"clWhite", 0xFFFFFF},   {"clLtGray", 0xC0C0C0}, {"clDkGray", 0x808080},
                            {"clNone", 0x1FFFFFFF}});
}

void DeclareParts(TfsScript& s) {
  TfsClassVariable& font = fsDeclareClass(s, "TFont", "TPersistent", [] { return NewFont(); });
  for (const auto& [name, type] : std::initializer_list<std::pair<const char*, const char*>>{
           {"Charset", "Integer"}, {"Color", "TColor"}, {"Height", "Integer"}, {"Name", "String"},
           {"Pitch", "TFontPitch"}, {"Size", "Integer"}, {"Style", "TFontStyles"}})
    fsDeclareObjectProperty(font, name, type);
  TfsClassVariable& pen = fsDeclareClass(s, "TPen", "TPersistent", [] { return NewPen(); });
  for (const auto& [name, type] : std::initializer_list<std::pair<const char*, const char*>>{
           {"Color", "TColor"}, {"Mode", "TPenMode"}, {"Style", "TPenStyle"}, {"Width", "Integer"}})
    fsDeclareObjectProperty(pen, name, type);
  TfsClassVariable& brush = fsDeclareClass(s, "TBrush", "TPersistent", [] { return NewBrush(); });
  fsDeclareObjectProperty(brush, "Color", "TColor");
  fsDeclareObjectProperty(brush, "Style", "TBrushStyle");
}

template <class Draw>
TfsCallMethodEx CanvasCall(Draw draw) {
  return [draw](H* i, C*, const std::string& m, A& a) -> Variant { return draw(Canvas(i, m).Prepared(), a, m); };
}

void DeclareCanvas(TfsScript& s) {
  TfsClassVariable& canvas = fsDeclareClass(s, "TCanvas", "TPersistent", [] { return new TfsCanvasObject(0, 0); });
  canvas.DeclareMethod("procedure Draw(X, Y: Integer; Graphic: TGraphic)", CanvasCall([](TCanvas& c, A& a, const std::string& m) {
    const TPicture& p = PictureOf(fsVariantToObject(a.GetParam(2)), m).Picture();
    p.Draw(c, TRect{IntArg(a, 0), IntArg(a, 1), IntArg(a, 0) + p.Width(), IntArg(a, 1) + p.Height()});
    return Variant();
  }));
  canvas.DeclareMethod("procedure StretchDraw(X1, Y1, X2, Y2: Integer; Graphic: TGraphic)",
                       CanvasCall([](TCanvas& c, A& a, const std::string& m) {
                         PictureOf(fsVariantToObject(a.GetParam(4)), m).Picture().Draw(c, RectArg(a, 0));
                         return Variant();
                       }));
  canvas.DeclareMethod("procedure Ellipse(X1, Y1, X2, Y2: Integer)", CanvasCall([](TCanvas& c, A& a, const std::string&) {
    c.Ellipse(RectArg(a, 0));
    return Variant();
  }));
  canvas.DeclareMethod("procedure Rectangle(X1, Y1, X2, Y2: Integer)", CanvasCall([](TCanvas& c, A& a, const std::string&) {
    c.Rectangle(RectArg(a, 0));
    return Variant();
  }));
  canvas.DeclareMethod("procedure RoundRect(X1, Y1, X2, Y2, X3, Y3: Integer)",
                       CanvasCall([](TCanvas& c, A& a, const std::string&) {
                         c.RoundRect(RectArg(a, 0), IntArg(a, 4), IntArg(a, 5));
                         return Variant();
                       }));
  canvas.DeclareMethod("procedure MoveTo(X, Y: Integer)", CanvasCall([](TCanvas& c, A& a, const std::string&) {
    c.MoveTo(IntArg(a, 0), IntArg(a, 1));
    return Variant();
  }));
  canvas.DeclareMethod("procedure LineTo(X, Y: Integer)", CanvasCall([](TCanvas& c, A& a, const std::string&) {
    c.LineTo(IntArg(a, 0), IntArg(a, 1));
    return Variant();
  }));
  canvas.DeclareMethod("procedure TextOut(X, Y: Integer; const Text: String)", CanvasCall([](TCanvas& c, A& a, const std::string&) {
    c.ExtTextOut(IntArg(a, 0), IntArg(a, 1), 0, nullptr, TextArg(a, 2));
    return Variant();
  }));
  canvas.DeclareMethod("function TextWidth(const Text: String): Integer", CanvasCall([](TCanvas& c, A& a, const std::string&) {
    return Variant(int32_t{c.TextExtent(TextArg(a, 0)).Width});
  }));
  canvas.DeclareMethod("function TextHeight(const Text: String): Integer", CanvasCall([](TCanvas& c, A& a, const std::string&) {
    return Variant(int32_t{c.TextExtent(TextArg(a, 0)).Height});
  }));
  canvas.DeclareIndexProperty("Pixels", "Integer, Integer", "TColor", [](H* i, C*, const std::string& m, A& a) -> Variant {
    if (m != "PIXELS.SET") throw EfsScriptError("Reading pixels is not available on this platform");
    Canvas(i, m).Prepared().SetPixel(IntArg(a, 0), IntArg(a, 1), IntArg(a, 2));
    return Variant();
  });
  canvas.DeclareProperty("Font", "TFont", [](H* i, C*, const std::string& m) { return fsObjectToVariant(&Canvas(i, m).Font()); });
  canvas.DeclareProperty("Pen", "TPen", [](H* i, C*, const std::string& m) { return fsObjectToVariant(&Canvas(i, m).Pen()); });
  canvas.DeclareProperty("Brush", "TBrush", [](H* i, C*, const std::string& m) { return fsObjectToVariant(&Canvas(i, m).Brush()); });
}

void DeclareFileMembers(TfsClassVariable& cls) {
  cls.DeclareMethod("procedure LoadFromFile(const Filename: string)", [](H* i, C*, const std::string& m, A& a) {
    PictureOf(i, m).LoadPicture(TextArg(a, 0));
    return Variant();
  });
  cls.DeclareMethod("procedure SaveToFile(const Filename: string)", [](H* i, C*, const std::string& m, A& a) {
    SavePicture(PictureOf(i, m).Picture(), TextArg(a, 0));
    return Variant();
  });
}

void DeclareGraphics(TfsScript& s) {
  auto graphicClass = [&s](const char* name, const char* ancestor) -> TfsClassVariable& {
    return fsDeclareClass(s, name, ancestor, [name] { return fsNewGraphic(name); });
  };
  TfsClassVariable& graphic = graphicClass("TGraphic", "TPersistent");
  DeclareFileMembers(graphic);
  graphic.DeclareProperty(
      "Height", "Integer", [](H* i, C*, const std::string& m) { return Variant(int32_t{Graphic(i, m).PictureHeight()}); },
      [](H* i, C*, const Variant& v, const std::string& m) { Graphic(i, m).Height = fsVarToInteger(v); });
  graphic.DeclareProperty(
      "Width", "Integer", [](H* i, C*, const std::string& m) { return Variant(int32_t{Graphic(i, m).PictureWidth()}); },
      [](H* i, C*, const Variant& v, const std::string& m) { Graphic(i, m).Width = fsVarToInteger(v); });
  TfsClassVariable& picture = graphicClass("TPicture", "TPersistent");
  DeclareFileMembers(picture);
  picture.DeclareProperty("Height", "Integer",
                          [](H* i, C*, const std::string& m) { return Variant(int32_t{PictureOf(i, m).Picture().Height()}); });
  picture.DeclareProperty("Width", "Integer",
                          [](H* i, C*, const std::string& m) { return Variant(int32_t{PictureOf(i, m).Picture().Width()}); });
  graphicClass("TMetafile", "TGraphic");
  TfsClassVariable& bitmap = graphicClass("TBitmap", "TGraphic");
  bitmap.DeclareProperty("Canvas", "TCanvas", [](H* i, C*, const std::string& m) { return fsObjectToVariant(&Graphic(i, m).Canvas()); });
  TfsClassVariable& metafileCanvas = fsDeclareClass(s, "TMetafileCanvas", "TCanvas");
  metafileCanvas.DeclareConstructor("constructor Create(AMetafile: TMetafile; ReferenceDevice: Integer)",
                                    [](H*, C*, const std::string& m, A& a) {
                                      TfsGraphicObject& metafile = Graphic(fsVariantToObject(a.GetParam(0)), m);
                                      auto* made = new TfsCanvasObject(metafile.PictureWidth(), metafile.PictureHeight());
                                      return fsObjectToVariant(made);
                                    });
}

class TfsGraphicsRTTI final : public TfsRTTIModule {
 public:
  explicit TfsGraphicsRTTI(TfsScript& script) : TfsRTTIModule(script) {
    DeclareEnums(script);
    DeclareParts(script);
    DeclareCanvas(script);
    DeclareGraphics(script);
  }
};

}  // namespace

TfsHostObject* fsNewGraphic(const std::string& className) { return new TfsGraphicObject(fsHostClass(className)); }

std::unique_ptr<TfsRTTIModule> fsCreateGraphicsRTTI(TfsScript& script) { return std::make_unique<TfsGraphicsRTTI>(script); }
