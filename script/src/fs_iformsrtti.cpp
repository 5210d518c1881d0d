// The forms module: constants, enumerations, controls and forms without windows, and
// the application object.
#include "script/fs_iformsrtti.h"

#include <filesystem>

#include "fs_isysrtti_args.h"
#include "script/fs_ihostclasses.h"

using fs_sysrtti::IntArg;

namespace {

using H = TfsHostObject;
using C = const TfsHostClass;
using A = TfsMethodHelper;

std::function<void()>& ProcessMessagesHandler() {
  static std::function<void()> handler;
  return handler;
}

void DeclareConstants(TfsScript& s) {
  fsDeclareIntConstants(s, {{"mrNone", 0}, {"mrOk", 1}, {"mrCancel", 2}, {"mrAbort", 3}, {"mrRetry", 4},
                            {"mrIgnore", 5}, {"mrYes", 6}, {"mrNo", 7}, {"mrAll", 8}, {"mrNoToAll", 9},
                            {"mrYesToAll", 10}});
  fsDeclareIntConstants(s, {{"crDefault", 0},    {"crNone", -1},      {"crArrow", -2},     {"crCross", -3},
                            {"crIBeam", -4},     {"crSize", -22},     {"crSizeNESW", -6},  {"crSizeNS", -7},
                            {"crSizeNWSE", -8},  {"crSizeWE", -9},    {"crUpArrow", -10},  {"crHourGlass", -11},
                            {"crDrag", -12},     {"crNoDrop", -13},   {"crHSplit", -14},   {"crVSplit", -15},
                            {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18},       {"crAppStart", -19},
                            {"crHelp", -20},     {"crHandPoint", -21}, {"crSizeAll", -22}});
  fsDeclareIntConstants(s, {{"bsNone", 0}, {"bsSingle", 1}, {"bsSizeable", 2}, {"bsDialog", 3}, {"bsToolWindow", 4},
                            {"bsSizeToolWin", 5}});
  fsDeclareIntConstants(
      s, {{"VK_RBUTTON", 2},   {"VK_CANCEL", 3},    {"VK_MBUTTON", 4},   {"VK_BACK", 8},       {"VK_TAB", 9},
          {"VK_CLEAR", 12},    {"VK_RETURN", 13},   {"VK_SHIFT", 16},    {"VK_CONTROL", 17},   {"VK_MENU", 18},
          {"VK_PAUSE", 19},    {"VK_CAPITAL", 20},  {"VK_ESCAPE", 27},   {"VK_SPACE", 32},     {"VK_PRIOR", 33},
          {"VK_NEXT", 34},     {"VK_END", 35},      {"VK_HOME", 36},     {"VK_LEFT", 37},      {"VK_UP", 38},
          {"VK_RIGHT", 39},    {"VK_DOWN", 40},     {"VK_SELECT", 41},   {"VK_PRINT", 42},     {"VK_EXECUTE", 43},
          {"VK_SNAPSHOT", 44}, {"VK_INSERT", 45},   {"VK_DELETE", 46},   {"VK_HELP", 47},      {"VK_LWIN", 91},
          {"VK_RWIN", 92},     {"VK_APPS", 93},     {"VK_NUMPAD0", 96},  {"VK_NUMPAD1", 97},   {"VK_NUMPAD2", 98},
          {"VK_NUMPAD3", 99},  {"VK_NUMPAD4", 100}, {"VK_NUMPAD5", 101}, {"VK_NUMPAD6", 102},  {"VK_NUMPAD7", 103},
          {"VK_NUMPAD8", 104}, {"VK_NUMPAD9", 105}, {"VK_MULTIPLY", 106}, {"VK_ADD", 107},     {"VK_SEPARATOR", 108},
          {"VK_SUBTRACT", 109}, {"VK_DECIMAL", 110}, {"VK_DIVIDE", 111}, {"VK_F1", 112},       {"VK_F2", 113},
          {"VK_F3", 114},      {"VK_F4", 115},      {"VK_F5", 116},      {"VK_F6", 117},       {"VK_F7", 118},
          {"VK_F8", 119},      {"VK_F9", 120},      {"VK_F10", 121},     {"VK_F11", 122},      {"VK_F12", 123},
          {"VK_F13", 124},     {"VK_F14", 125},     {"VK_F15", 126},     {"VK_F16", 127},      {"VK_F17", 128},
          {"VK_F18", 129},     {"VK_F19", 130},     {"VK_F20", 131},     {"VK_F21", 132},      {"VK_F22", 133},
          {"VK_F23", 134},     {"VK_F24", 135},     {"VK_NUMLOCK", 144}, {"VK_SCROLL", 145}});
  fsDeclareIntConstants(s, {{"taLeftJustify", 0}, {"taRightJustify", 1}, {"taCenter", 2}});
}

void DeclareEnums(TfsScript& s) {
  s.DeclareEnumSet("TShiftState", "ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble");
  s.DeclareEnum("TAlign", "alNone, alTop, alBottom, alLeft, alRight, alClient");
  s.DeclareEnum("TMouseButton", "mbLeft, mbRight, mbMiddle");
  s.DeclareEnumSet("TAnchors", "akLeft, akTop, akRight, akBottom");
  s.DeclareEnum("TBevelCut", "bvNone, bvLowered, bvRaised, bvSpace");
  s.DeclareEnum("TTextLayout", "tlTop, tlCenter, tlBottom");
  s.DeclareEnum("TEditCharCase", "ecNormal, ecUpperCase, ecLowerCase");
  s.DeclareEnum("TScrollStyle", "ssNone, ssHorizontal, ssVertical, ssBoth");
  s.DeclareEnum("TComboBoxStyle", "csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable");
  s.DeclareEnum("TCheckBoxState", "cbUnchecked, cbChecked, cbGrayed");
  s.DeclareEnum("TListBoxStyle", "lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable");
  s.DeclareEnum("TWindowState", "wsNormal, wsMinimized, wsMaximized");
  s.DeclareEnum("TFormStyle", "fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop");
  s.DeclareEnumSet("TBorderIcons", "biSystemMenu, biMinimize, biMaximize, biHelp");
  s.DeclareEnum("TPosition",
                "poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, "
                "poMainFormCenter, poOwnerFormCenter");
  s.DeclareEnum("TCloseAction", "caNone, caHide, caFree, caMinimize");
}

TfsPropertyObject& Control(H* i, const std::string& m) { return fsInstanceOf<TfsPropertyBag>(i, m, "TControl"); }

// Events of windowless controls never fire: assigning one is accepted and kept nowhere.
void DeclareEvents(TfsClassVariable& cls, std::initializer_list<const char*> names) {
  for (const char* name : names)
    cls.DeclareEvent(
        name, [](H* instance, TfsProcVariable& handler) { return std::make_unique<TfsCustomEvent>(instance, handler); },
        [](H*, const std::string&, TfsCustomEvent*) {});
}

// A class whose objects a script may create, with its settings kept on the object.
TfsClassVariable& ControlClass(TfsScript& s, const char* name, const char* ancestor,
                               std::vector<std::pair<std::string, Variant>> defaults = {}) {
  return fsDeclareClass(s, name, ancestor, [name, defaults] { return new TfsPropertyBag(fsHostClass(name), defaults); });
}

void DeclareControls(TfsScript& s) {
  TfsClassVariable& control = ControlClass(s, "TControl", "TComponent");
  for (const auto& [name, type] : std::initializer_list<std::pair<const char*, const char*>>{
           {"Parent", "TWinControl"}, {"Left", "Integer"},   {"Top", "Integer"},   {"Width", "Integer"},
           {"Height", "Integer"},     {"Caption", "String"}, {"Text", "String"},   {"Hint", "String"},
           {"Visible", "Boolean"},    {"Enabled", "Boolean"}, {"Color", "TColor"}, {"Align", "TAlign"}})
    fsDeclareObjectProperty(control, name, type);
  control.DeclareMethod("procedure Hide", [](H* i, C*, const std::string& m, A&) {
    Control(i, m).SetProperty("VISIBLE", Variant(false));
    return Variant();
  });
  control.DeclareMethod("procedure Show", [](H* i, C*, const std::string& m, A&) {
    Control(i, m).SetProperty("VISIBLE", Variant(true));
    return Variant();
  });
  control.DeclareMethod("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Integer)", [](H* i, C*, const std::string& m, A& a) {
    TfsPropertyObject& c = Control(i, m);
    const char* names[] = {"LEFT", "TOP", "WIDTH", "HEIGHT"};
    for (int k = 0; k < 4; ++k) c.SetProperty(names[k], Variant(int32_t{IntArg(a, k)}));
    return Variant();
  });
  DeclareEvents(control, {"OnCanResize", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize"});

  TfsClassVariable& win = ControlClass(s, "TWinControl", "TControl");
  win.DeclareMethod("procedure SetFocus", [](H*, C*, const std::string&, A&) { return Variant(); });
  DeclareEvents(win, {"OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
  ControlClass(s, "TCustomControl", "TWinControl");
  ControlClass(s, "TGraphicControl", "TControl");
  ControlClass(s, "TGroupBox", "TCustomControl");
  ControlClass(s, "TLabel", "TGraphicControl");
  ControlClass(s, "TEdit", "TWinControl");
  ControlClass(s, "TMemo", "TWinControl");
  TfsClassVariable& combo = ControlClass(s, "TCustomComboBox", "TWinControl", {{"ItemIndex", Variant(int32_t{-1})}});
  fsDeclareObjectProperty(combo, "DroppedDown", "Boolean");
  fsDeclareObjectProperty(combo, "ItemIndex", "Integer");
  DeclareEvents(combo, {"OnChange", "OnDropDown", "OnCloseUp"});
  ControlClass(s, "TComboBox", "TCustomComboBox", {{"ItemIndex", Variant(int32_t{-1})}});
  ControlClass(s, "TButton", "TWinControl");
  ControlClass(s, "TCheckBox", "TWinControl");
  ControlClass(s, "TRadioButton", "TWinControl");
  TfsClassVariable& list = ControlClass(s, "TCustomListBox", "TWinControl", {{"SelCount", Variant(int32_t{0})}});
  fsDeclareObjectProperty(list, "SelCount", "Integer", false);
  // Nothing is selected in a list nobody sees.
  list.DeclareIndexProperty(
      "Selected", "Integer", "Boolean", [](H*, C*, const std::string&, A&) { return Variant(false); }, true);
  ControlClass(s, "TListBox", "TCustomListBox", {{"SelCount", Variant(int32_t{0})}});
  fsDeclareClass(s, "TControlScrollBar", "TPersistent");
  ControlClass(s, "TScrollingWinControl", "TWinControl");
  ControlClass(s, "TScrollBox", "TScrollingWinControl");
}

void DeclareForms(TfsScript& s) {
  const std::vector<std::pair<std::string, Variant>> defaults = {{"ModalResult", Variant(int32_t{0})}};
  TfsClassVariable& form = ControlClass(s, "TCustomForm", "TScrollingWinControl", defaults);
  form.DeclareMethod("procedure Close", [](H* i, C*, const std::string& m, A&) {
    Control(i, m).SetProperty("VISIBLE", Variant(false));
    return Variant();
  });
  form.DeclareMethod("function ShowModal: Integer", [](H* i, C*, const std::string& m, A&) {
    Variant result = Control(i, m).GetProperty("MODALRESULT");
    const int answer = result.isOrdinal() && result.toInt32() != 0 ? result.toInt32() : 2;  // mrCancel
    return Variant(int32_t{answer});
  });
  fsDeclareObjectProperty(form, "ModalResult", "Integer");
  form.DeclareProperty("Canvas", "TCanvas", [](H*, C*, const std::string&) { return Variant(int32_t{0}); });
  DeclareEvents(form, {"OnActivate", "OnClose", "OnCloseQuery", "OnCreate", "OnDestroy", "OnDeactivate", "OnHide",
                       "OnPaint", "OnShow"});
  ControlClass(s, "TForm", "TCustomForm", defaults);
  ControlClass(s, "TDataModule", "TComponent");
}

// The running program as scripts see it.
class TfsApplication final : public TfsHostObject {
 public:
  const TfsHostClass& HostClass() const override { return fsHostClass("TApplication"); }
};

std::string ExeName() {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

void DeclareApplication(TfsScript& s) {
  TfsClassVariable& app = fsDeclareClass(s, "TApplication", "TComponent");
  // A program without windows of its own for scripts: minimising and restoring change nothing.
  app.DeclareMethod("procedure Minimize", [](H*, C*, const std::string&, A&) { return Variant(); });
  app.DeclareMethod("procedure Restore", [](H*, C*, const std::string&, A&) { return Variant(); });
  app.DeclareMethod("procedure ProcessMessages", [](H*, C*, const std::string&, A&) {
    if (ProcessMessagesHandler()) ProcessMessagesHandler()();
    return Variant();
  });
  app.DeclareProperty("ExeName", "String", [](H*, C*, const std::string&) { return Variant(ExeName()); });
  static TfsApplication* application = new TfsApplication();  // one for the process, like the program
  s.DeclareObject("Application", *application);
}

class TfsFormsRTTI final : public TfsRTTIModule {
 public:
  explicit TfsFormsRTTI(TfsScript& script) : TfsRTTIModule(script) {
    DeclareConstants(script);
    DeclareEnums(script);
    DeclareControls(script);
    DeclareForms(script);
    DeclareApplication(script);
  }
};

}  // namespace

std::function<void()> fsSetProcessMessagesHandler(std::function<void()> handler) {
  std::function<void()> previous = std::move(ProcessMessagesHandler());
  ProcessMessagesHandler() = std::move(handler);
  return previous;
}

std::unique_ptr<TfsRTTIModule> fsCreateFormsRTTI(TfsScript& script) { return std::make_unique<TfsFormsRTTI>(script); }
