#pragma once
// Small report classes and an engine stand-in for the store's tests: a sheet (a page
// with paper and margins), a strip that holds views, a text view that writes its own
// differences and a box view stored in full.

#include <cmath>
#include <string>

#include "platform/CodePage.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassView.h"
#include "report/frxXMLSerializer.h"

class TfrxStoreSheet : public TfrxComponent {
 public:
  explicit TfrxStoreSheet(TfrxComponent* owner) : TfrxComponent(owner) { Resize(); }
  TFRX_PERSISTENT_CLASS
  bool IsPageObject() const override { return true; }

  double PaperWidth() const { return paperWidth_; }
  void SetPaperWidth(double v) { paperWidth_ = v; Resize(); }
  double PaperHeight() const { return paperHeight_; }
  void SetPaperHeight(double v) { paperHeight_ = v; Resize(); }
  int32_t PaperSize() const { return paperSize_; }
  void SetPaperSize(int32_t v) { paperSize_ = v; }
  double LeftMargin() const { return left_; }
  void SetLeftMargin(double v) { left_ = v; }
  double TopMargin() const { return top_; }
  void SetTopMargin(double v) { top_ = v; }
  double RightMargin() const { return right_; }
  void SetRightMargin(double v) { right_ = v; }
  double BottomMargin() const { return bottom_; }
  void SetBottomMargin(double v) { bottom_ = v; }
  bool MirrorMargins() const { return mirror_; }
  void SetMirrorMargins(bool v) { mirror_ = v; }

 private:
  void Resize() {
    SetWidth(std::nearbyint(paperWidth_ * fr01cm));
    SetHeight(std::nearbyint(paperHeight_ * fr01cm));
  }
  double paperWidth_ = 210, paperHeight_ = 297;
  int32_t paperSize_ = 9;
  double left_ = 10, top_ = 10, right_ = 10, bottom_ = 10;
  bool mirror_ = false;
};

inline const TfrxClassInfo& TfrxStoreSheet::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxStoreSheet", &TfrxComponent::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxStoreSheet(owner); }, [](TfrxClassInfo& c) {
        using S = TfrxStoreSheet;
        TfrxPublish<S> p(c);
        p.Float("PaperWidth", &S::PaperWidth, &S::SetPaperWidth);
        p.Float("PaperHeight", &S::PaperHeight, &S::SetPaperHeight);
        p.Integer("PaperSize", &S::PaperSize, &S::SetPaperSize);
        p.Float("LeftMargin", &S::LeftMargin, &S::SetLeftMargin);
        p.Float("TopMargin", &S::TopMargin, &S::SetTopMargin);
        p.Float("RightMargin", &S::RightMargin, &S::SetRightMargin);
        p.Float("BottomMargin", &S::BottomMargin, &S::SetBottomMargin);
        p.Boolean("MirrorMargins", &S::MirrorMargins, &S::SetMirrorMargins).Default(0);
      });
  return info;
}

// A container of views, placed on a sheet like a band.
class TfrxStoreStrip : public TfrxReportComponent {
 public:
  explicit TfrxStoreStrip(TfrxComponent* owner) : TfrxReportComponent(owner) {}
  TFRX_PERSISTENT_CLASS
  void Draw(TCanvas&, double, double, double, double) override {}
};

inline const TfrxClassInfo& TfrxStoreStrip::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxStoreStrip", &TfrxReportComponent::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxStoreStrip(owner); }, [](TfrxClassInfo& c) {
        TfrxPublish<TfrxStoreStrip> p(c);
        p.Publish("Left").Publish("Top").Publish("Width").Publish("Height").Publish("Visible");
      });
  return info;
}

// A text view: its own differences (the view's and its text as "u").
class TfrxStoreText : public TfrxView {
 public:
  explicit TfrxStoreText(TfrxComponent* owner) : TfrxView(owner) {
    SetStyleFlags(static_cast<TfrxComponentStyle>(StyleFlags() & ~csoStoredInFull));
  }
  TFRX_PERSISTENT_CLASS
  bool IsMemoView() const override { return true; }
  std::u16string MemoText() const override { return text; }
  void SetMemoText(const std::u16string& t) override { text = t; }
  // UTF-8, as the tests are written.
  void SetText(const std::string& t) { text = codepage::Utf8ToWide(t); }
  std::string Text() const { return codepage::WideToUtf8(text); }
  std::string WriteDifferences(const TfrxComponent* reference) const override {
    std::string out = TfrxView::WriteDifferences(reference);
    out += " u=\"" + EscapeXMLText(codepage::WideToUtf8(text)) + "\"";
    return out;
  }
  std::u16string text;
};

inline const TfrxClassInfo& TfrxStoreText::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxStoreText", &TfrxView::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxStoreText(owner); }, [](TfrxClassInfo& c) {
        TfrxPublish<TfrxStoreText> p(c);
        p.Publish("Left").Publish("Top").Publish("Width").Publish("Height").Publish("Visible");
        p.Publish("Color").Publish("Frame").Publish("DataField").Publish("DataSetName").Publish("TagStr");
      });
  return info;
}

// A filled box: a view stored in full.
class TfrxStoreBox : public TfrxView {
 public:
  explicit TfrxStoreBox(TfrxComponent* owner) : TfrxView(owner) {}
  TFRX_PERSISTENT_CLASS
};

inline const TfrxClassInfo& TfrxStoreBox::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxStoreBox", &TfrxView::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxStoreBox(owner); }, [](TfrxClassInfo& c) {
        TfrxPublish<TfrxStoreBox> p(c);
        p.Publish("Left").Publish("Top").Publish("Width").Publish("Height").Publish("Visible");
        p.Publish("Color").Publish("Frame");
      });
  return info;
}

TFRX_REGISTER_CLASS(TfrxStoreSheet);
TFRX_REGISTER_CLASS(TfrxStoreStrip);
TFRX_REGISTER_CLASS(TfrxStoreText);
TFRX_REGISTER_CLASS(TfrxStoreBox);

// The engine as the store sees it, driven by the test.
class TfrxStoreTestEngine : public TfrxReportEngine {
 public:
  bool RunReport() override { return true; }
  bool Running() const override { return running; }
  bool FinalPass() const override { return finalPass; }
  double CurY() const override { return curY; }
  void ClearNotifyList() override {}
  double StartDate() const override { return 0; }
  double StartTime() const override { return 0; }
  int TotalPages() const override { return totalPages; }
  int RowNo() const override { return 0; }
  int RowNoThrough() const override { return 0; }
  Variant FetchAggregateValue(const std::string&, const std::string&, int, const Variant&) override { return {}; }

  bool running = false;
  bool finalPass = true;
  double curY = 0;
  int totalPages = 0;
};
