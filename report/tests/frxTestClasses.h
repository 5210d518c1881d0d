#pragma once
// Small component classes for tests: a report, pages, a band-like container, a view that
// publishes the common view properties and one property of every kind.

#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "report/frxClassView.h"
#include "report/frxXMLSerializer.h"

// A collection item of the test report: a dataset reference and its name.
class TfrxTestDataSetItem final : public TPersistent {
 public:
  TFRX_PERSISTENT_CLASS
  TfrxComponent* DataSet() const { return dataSet; }
  void SetDataSet(TfrxComponent* d) { dataSet = d; }
  const std::string& DataSetName() const { return name; }
  void SetDataSetName(const std::string& n) { name = n; }
  TfrxComponent* dataSet = nullptr;
  std::string name;
};

// A report root: answers the report seams with a plain list of datasets.
class TfrxTestReport : public TfrxComponent {
 public:
  TfrxTestReport() : TfrxComponent(nullptr) {}
  TFRX_PERSISTENT_CLASS
  bool IsReportObject() const override { return true; }
  TfrxComponent* FindDataSetByName(const std::string& name) const override {
    for (TfrxComponent* d : dataSets)
      if (frxSameText(d->UserName(), name)) return d;
    return nullptr;
  }
  void SetScriptSelf(TfrxComponent* view) override { scriptSelf = view; }
  std::string ExpressionText(const std::string& expression) override { return "<" + expression + ">"; }

  void AppendErrors(const std::vector<std::string>& errors) override {
    loadErrors.insert(loadErrors.end(), errors.begin(), errors.end());
  }

  // Design position and dataset items, stored as raw data the way real templates do:
  // "Left" and "Top" first, then "Datasets" as a list of items, each a list of one text.
  void DefineProperties(TfrxFiler& filer) override {
    filer.DefineProperty("Left", [this](TfrxPropReader& r) { designLeft = r.ReadInteger(); },
                         [this](TfrxPropWriter& w) { w.WriteInteger(*designLeft); }, designLeft.has_value());
    filer.DefineProperty("Top", [this](TfrxPropReader& r) { designTop = r.ReadInteger(); },
                         [this](TfrxPropWriter& w) { w.WriteInteger(*designTop); }, designTop.has_value());
    TfrxXMLSerializer& serializer = filer.Serializer();
    filer.DefineProperty(
        "Datasets",
        [this, &serializer](TfrxPropReader& r) {
          items.clear();
          r.ReadListBegin();
          while (!r.EndOfList()) {
            r.ReadListBegin();
            items.emplace_back();
            serializer.LoadPersistentFromText(this, items.back(), r.ReadString());
            r.ReadListEnd();
          }
          r.ReadListEnd();
        },
        [this, &serializer](TfrxPropWriter& w) {
          w.WriteListBegin();
          for (TfrxTestDataSetItem& item : items) {
            w.WriteListBegin();
            w.WriteLongString(serializer.PropertiesToAttributes(item));
            w.WriteListEnd();
          }
          w.WriteListEnd();
        },
        !items.empty());
  }

  std::vector<TfrxComponent*> dataSets;
  TfrxComponent* scriptSelf = nullptr;
  std::vector<std::string> loadErrors;
  std::optional<int64_t> designLeft, designTop;
  std::vector<TfrxTestDataSetItem> items;
};

class TfrxTestPage : public TfrxComponent {
 public:
  explicit TfrxTestPage(TfrxComponent* owner) : TfrxComponent(owner) {}
  TFRX_PERSISTENT_CLASS
  bool IsPageObject() const override { return true; }
};

class TfrxTestDialogPage : public TfrxTestPage {
 public:
  explicit TfrxTestDialogPage(TfrxComponent* owner) : TfrxTestPage(owner) {}
  TFRX_PERSISTENT_CLASS
  bool IsDialogPageObject() const override { return true; }
};

// A container placed on a page, like a band.
class TfrxTestBand : public TfrxReportComponent {
 public:
  explicit TfrxTestBand(TfrxComponent* owner) : TfrxReportComponent(owner) {}
  TFRX_PERSISTENT_CLASS
  void Draw(TCanvas&, double, double, double, double) override {}
};

// A dataset stand-in with a user name of its own.
class TfrxTestDataSet : public TfrxReportComponent {
 public:
  explicit TfrxTestDataSet(TfrxComponent* owner) : TfrxReportComponent(owner) {}
  TFRX_PERSISTENT_CLASS
  void Draw(TCanvas&, double, double, double, double) override {}
  std::string UserName() const override { return userName; }
  std::string userName;
};

// A memo-like view publishing the common view properties, with its text.
class TfrxTestMemoView : public TfrxStretcheable {
 public:
  explicit TfrxTestMemoView(TfrxComponent* owner) : TfrxStretcheable(owner) {}
  TFRX_PERSISTENT_CLASS
  bool IsMemoView() const override { return true; }
  std::u16string MemoText() const override { return text; }
  void SetMemoText(const std::u16string& t) override {
    // Lines each followed by CR LF, as a line list gives its text.
    text = t;
    if (!text.empty() && (text.size() < 2 || text.compare(text.size() - 2, 2, u"\r\n") != 0)) text += u"\r\n";
  }
  void SetMemoText8(const std::string& t) { SetMemoText(codepage::ToWide(t)); }
  std::u16string text;
  int loadedCalls = 0;
  void Loaded() override { ++loadedCalls; }
};

// One property of every kind, and raw data of its own.
class TfrxTestAllKinds : public TfrxReportComponent {
 public:
  explicit TfrxTestAllKinds(TfrxComponent* owner) : TfrxReportComponent(owner) {}
  TFRX_PERSISTENT_CLASS
  void Draw(TCanvas&, double, double, double, double) override {}
  int32_t Int() const { return intValue; }
  void SetInt(int32_t v) { intValue = v; }
  char Ch() const { return ch; }
  void SetCh(char v) { ch = v; }
  char16_t WCh() const { return wch; }
  void SetWCh(char16_t v) { wch = v; }
  TfrxAlign Mode() const { return mode; }
  void SetMode(TfrxAlign v) { mode = v; }
  TfrxFrameTypes Sides() const { return sides; }
  void SetSides(TfrxFrameTypes v) { sides = v; }
  double Ratio() const { return ratio; }
  void SetRatio(double v) { ratio = v; }
  double Gap() const { return gap; }
  void SetGap(double v) { gap = v; }
  const std::string& Caption() const { return caption; }
  void SetCaption(const std::string& v) { caption = v; }
  const std::u16string& WCaption() const { return wcaption; }
  void SetWCaption(const std::u16string& v) { wcaption = v; }
  const Variant& Value() const { return value; }
  void SetValue(const Variant& v) { value = v; }
  TfrxComponent* Target() const { return target; }
  void SetTarget(TfrxComponent* v) { target = v; }
  const std::string& LinesText() const { return lines; }
  void SetLinesText(const std::string& v) {
    lines = v;
    if (!lines.empty() && (lines.size() < 2 || lines.compare(lines.size() - 2, 2, "\r\n") != 0)) lines += "\r\n";
  }
  TfrxFrame* FramePtr() { return &frame; }

  void DefineProperties(TfrxFiler& filer) override {
    filer.DefineBinaryProperty(
        "Blob", [this](TStream& s) { blob.assign(static_cast<size_t>(s.Size()), '\0'); s.ReadBuffer(blob.data(), s.Size()); },
        [this](TStream& s) { s.WriteString(blob); }, !blob.empty());
  }

  int32_t intValue = 7;
  char ch = 'A';
  char16_t wch = u'A';
  TfrxAlign mode = baNone;
  TfrxFrameTypes sides = 0;
  double ratio = 1.5, gap = 2;
  std::string caption;
  std::u16string wcaption;
  Variant value;
  TfrxComponent* target = nullptr;
  std::string lines;
  TfrxFrame frame;
  std::string blob;
};

inline const TfrxClassInfo& TfrxTestReport::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestReport", &TfrxComponent::StaticClassInfo(),
                                  [](TfrxComponent*) -> TfrxComponent* { return new TfrxTestReport(); },
                                  [](TfrxClassInfo&) {});
  return info;
}
inline const TfrxClassInfo& TfrxTestDataSetItem::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestDataSetItem", nullptr, nullptr, [](TfrxClassInfo& c) {
    using I = TfrxTestDataSetItem;
    TfrxPublish<I> p(c);
    p.Reference("DataSet", "TfrxTestDataSet", &I::DataSet, &I::SetDataSet);
    p.String("DataSetName", &I::DataSetName, &I::SetDataSetName);
  });
  return info;
}
inline const TfrxClassInfo& TfrxTestAllKinds::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestAllKinds", &TfrxReportComponent::StaticClassInfo(),
                                  [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxTestAllKinds(owner); },
                                  [](TfrxClassInfo& c) {
                                    using A = TfrxTestAllKinds;
                                    TfrxPublish<A> p(c);
                                    p.Publish("Left");
                                    p.Publish("Top");
                                    p.Integer("Int", &A::Int, &A::SetInt).Default(7);
                                    p.Integer("Always", &A::Int, nullptr);
                                    p.Char("Ch", &A::Ch, &A::SetCh).Default('A');
                                    p.WideChar("WCh", &A::WCh, &A::SetWCh).Default(u'A');
                                    p.Enum("Mode", frxAlignType(), &A::Mode, &A::SetMode).Default(baNone);
                                    p.Set("Sides", frxFrameTypesType(), &A::Sides, &A::SetSides).Default(0);
                                    p.Float("Ratio", &A::Ratio, &A::SetRatio);
                                    p.Float("Gap", &A::Gap, &A::SetGap).DefaultFloat(2);
                                    p.String("Caption", &A::Caption, &A::SetCaption);
                                    p.WideString("WCaption", &A::WCaption, &A::SetWCaption);
                                    p.VariantValue("Value", &A::Value, &A::SetValue);
                                    p.Reference("Target", "TfrxComponent", &A::Target, &A::SetTarget);
                                    p.Strings("Lines", &A::LinesText, &A::SetLinesText);
                                    p.Publish("Font");
                                    p.Object("Frame", "TfrxFrame", &A::FramePtr);
                                    p.Publish("ParentFont");
                                  });
  return info;
}
inline const TfrxClassInfo& TfrxTestPage::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestPage", &TfrxComponent::StaticClassInfo(),
                                  [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxTestPage(owner); },
                                  [](TfrxClassInfo& c) {
                                    TfrxPublish<TfrxTestPage> p(c);
                                    p.Publish("Font");
                                    p.Publish("Visible");
                                  });
  return info;
}
inline const TfrxClassInfo& TfrxTestDialogPage::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestDialogPage", &TfrxTestPage::StaticClassInfo(),
                                  [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxTestDialogPage(owner); },
                                  [](TfrxClassInfo& c) {
                                    TfrxPublish<TfrxTestDialogPage> p(c);
                                    p.Publish("Left");
                                    p.Publish("Top");
                                  });
  return info;
}
inline const TfrxClassInfo& TfrxTestBand::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestBand", &TfrxReportComponent::StaticClassInfo(),
                                  [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxTestBand(owner); },
                                  [](TfrxClassInfo& c) {
                                    TfrxPublish<TfrxTestBand> p(c);
                                    for (const char* name : {"Font", "Height", "Left", "ParentFont", "Restrictions",
                                                             "Top", "Visible", "Width"})
                                      p.Publish(name);
                                  });
  return info;
}
// Stands for the dataset base class, so that dataset references accept the test dataset.
inline const TfrxClassInfo& TestDataSetBaseInfo() {
  static const TfrxClassInfo info("TfrxDataSet", &TfrxReportComponent::StaticClassInfo(), nullptr, nullptr);
  return info;
}
inline const TfrxClassInfo& TfrxTestDataSet::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestDataSet", &TestDataSetBaseInfo(),
                                  [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxTestDataSet(owner); },
                                  [](TfrxClassInfo&) {});
  return info;
}
inline const TfrxClassInfo& TfrxTestMemoView::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestMemoView", &TfrxStretcheable::StaticClassInfo(),
                                  [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxTestMemoView(owner); },
                                  [](TfrxClassInfo& c) {
                                    TfrxPublish<TfrxTestMemoView> p(c);
                                    for (const char* name : {"StretchMode", "BrushStyle", "Color", "Cursor", "DataField",
                                                             "DataSet", "DataSetName", "Font", "Frame", "ParentFont",
                                                             "TagStr", "URL"})
                                      p.Publish(name);
                                    p.WideStrings("Memo", &TfrxTestMemoView::MemoText,
                                                  &TfrxTestMemoView::SetMemoText8);
                                  });
  return info;
}

TFRX_REGISTER_CLASS(TfrxTestReport);
TFRX_REGISTER_CLASS(TfrxTestAllKinds);
TFRX_REGISTER_CLASS(TfrxTestPage);
TFRX_REGISTER_CLASS(TfrxTestDialogPage);
TFRX_REGISTER_CLASS(TfrxTestBand);
TFRX_REGISTER_CLASS(TfrxTestDataSet);
TFRX_REGISTER_CLASS(TfrxTestMemoView);
