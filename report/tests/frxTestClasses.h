#pragma once
// Small component classes for tests: a report, pages, a band-like container, a view that
// publishes the common view properties and one property of every kind.

#include <string>
#include <vector>

#include "report/frxClassView.h"

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

  std::vector<TfrxComponent*> dataSets;
  TfrxComponent* scriptSelf = nullptr;
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

// A view publishing the common view properties.
class TfrxTestMemoView : public TfrxStretcheable {
 public:
  explicit TfrxTestMemoView(TfrxComponent* owner) : TfrxStretcheable(owner) {}
  TFRX_PERSISTENT_CLASS
};

inline const TfrxClassInfo& TfrxTestReport::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestReport", &TfrxComponent::StaticClassInfo(), nullptr, [](TfrxClassInfo&) {});
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
inline const TfrxClassInfo& TfrxTestDataSet::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxTestDataSet", &TfrxReportComponent::StaticClassInfo(),
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
                                  });
  return info;
}

TFRX_REGISTER_CLASS(TfrxTestPage);
TFRX_REGISTER_CLASS(TfrxTestDialogPage);
TFRX_REGISTER_CLASS(TfrxTestBand);
TFRX_REGISTER_CLASS(TfrxTestDataSet);
TFRX_REGISTER_CLASS(TfrxTestMemoView);
