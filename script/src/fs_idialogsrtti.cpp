// The dialogs module.
#include "script/fs_idialogsrtti.h"

#include <iostream>

#include "fs_isysrtti_args.h"
#include "script/fs_ihostclasses.h"

using fs_sysrtti::TextArg;

namespace {

TfsDialogHandlers& Handlers() {
  static TfsDialogHandlers handlers;
  return handlers;
}

// TMsgDlgButtons bits (1, 2, 4 ... in declaration order) and the modal results they give.
enum : int { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32, mbIgnore = 64, mbAll = 128,
             mbNoToAll = 256, mbYesToAll = 512 };

// A set written in a script ([mbYes, mbNo]) arrives as an array of its members.
int SetBits(const Variant& value) {
  if (!value.isArray()) return value.isOrdinal() ? value.toInt32() : 0;
  int bits = 0;
  for (const Variant& item : value.array().items)
    if (item.isOrdinal()) bits |= item.toInt32();
  return bits;
}

Variant MessageDlg(const std::string& text, int type, int buttons) {
  if (Handlers().MessageDlg) return Variant(int32_t{Handlers().MessageDlg(text, type, buttons)});
  std::cerr << text << std::endl;
  return Variant(int32_t{fsDefaultDialogAnswer(buttons)});
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  return Handlers().InputQuery && Handlers().InputQuery(caption, prompt, value);
}

void DeclareTypes(TfsScript& s) {
  s.DeclareEnumSet("TOpenOptions",
                   "ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, "
                   "ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, "
                   "ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, "
                   "ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing");
  s.DeclareEnum("TFileEditStyle", "fsEdit, fsComboBox");
  s.DeclareEnumSet("TColorDialogOptions", "cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor");
  s.DeclareEnumSet("TFontDialogOptions",
                   "fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, "
                   "fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, "
                   "fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton");
  s.DeclareEnum("TFontDialogDevice", "fdScreen, fdPrinter, fdBoth");
  s.DeclareEnum("TPrintRange", "prAllPages, prSelection, prPageNums");
  s.DeclareEnumSet("TPrintDialogOptions",
                   "poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile");
  s.DeclareEnum("TMsgDlgType", "mtWarning, mtError, mtInformation, mtConfirmation, mtCustom");
  s.DeclareEnumSet("TMsgDlgButtons",
                   "mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp");
}

// A dialog's settings are kept on it; with no dialog to show, Execute answers False.
void DeclareDialog(TfsScript& s, const char* name, const char* ancestor,
                   std::vector<std::pair<const char*, const char*>> properties) {
  TfsClassVariable& cls = fsDeclareClass(s, name, ancestor, [name] { return new TfsPropertyBag(fsHostClass(name)); });
  for (const auto& [property, type] : properties) fsDeclareObjectProperty(cls, property, type);
}

void DeclareClasses(TfsScript& s) {
  TfsClassVariable& common = fsDeclareClass(s, "TCommonDialog", "TComponent");
  common.DeclareMethod("function Execute: Boolean",
                       [](TfsHostObject*, const TfsHostClass*, const std::string&, TfsMethodHelper&) { return Variant(false); });
  const std::vector<std::pair<const char*, const char*>> fileDialog = {
      {"DefaultExt", "String"}, {"FileName", "String"}, {"Filter", "String"}, {"FilterIndex", "Integer"},
      {"InitialDir", "String"}, {"Options", "TOpenOptions"}, {"Title", "String"}};
  DeclareDialog(s, "TOpenDialog", "TCommonDialog", fileDialog);
  DeclareDialog(s, "TSaveDialog", "TOpenDialog", {});
  DeclareDialog(s, "TColorDialog", "TCommonDialog", {{"Color", "TColor"}, {"Options", "TColorDialogOptions"}});
  DeclareDialog(s, "TFontDialog", "TCommonDialog", {{"Options", "TFontDialogOptions"}});
  DeclareDialog(s, "TPrintDialog", "TCommonDialog",
                {{"Copies", "Integer"}, {"FromPage", "Integer"}, {"ToPage", "Integer"}, {"PrintRange", "TPrintRange"},
                 {"Options", "TPrintDialogOptions"}});
  DeclareDialog(s, "TPrinterSetupDialog", "TCommonDialog", {});
}

void DeclareFunctions(TfsScript& s) {
  using A = TfsMethodHelper;
  s.DeclareFunctionEx(
      "function MessageDlg(Msg: string; DlgType: TMsgDlgType; Buttons: TMsgDlgButtons; HelpCtx: Longint): Integer",
      [](TfsHostObject*, const TfsHostClass*, const std::string&, A& a) {
        return MessageDlg(TextArg(a, 0), fs_sysrtti::IntArg(a, 1), SetBits(a.GetParam(2)));
      },
      "ctOther");
  s.DeclareFunctionEx(
      "function InputBox(ACaption, APrompt, ADefault: string): string",
      [](TfsHostObject*, const TfsHostClass*, const std::string&, A& a) {
        std::string value = TextArg(a, 2);
        return Variant(InputQuery(TextArg(a, 0), TextArg(a, 1), value) ? value : TextArg(a, 2));
      },
      "ctOther");
  s.DeclareFunctionEx(
      "function InputQuery(ACaption, APrompt: string; var Value: string): Boolean",
      [](TfsHostObject*, const TfsHostClass*, const std::string&, A& a) {
        std::string value = TextArg(a, 2);
        if (!InputQuery(TextArg(a, 0), TextArg(a, 1), value)) return Variant(false);
        a.SetParam(2, Variant(value));
        return Variant(true);
      },
      "ctOther");
}

class TfsDialogsRTTI final : public TfsRTTIModule {
 public:
  explicit TfsDialogsRTTI(TfsScript& script) : TfsRTTIModule(script) {
    DeclareTypes(script);
    DeclareClasses(script);
    DeclareFunctions(script);
  }
};

}  // namespace

TfsDialogHandlers fsSetDialogHandlers(TfsDialogHandlers handlers) {
  TfsDialogHandlers previous = std::move(Handlers());
  Handlers() = std::move(handlers);
  return previous;
}

int fsDefaultDialogAnswer(int buttons) {
  const std::pair<int, int> order[] = {{mbOK, 1},       {mbYes, 6},     {mbIgnore, 5}, {mbRetry, 4},
                                       {mbAll, 8},      {mbYesToAll, 10}, {mbNo, 7},   {mbNoToAll, 9},
                                       {mbCancel, 2},   {mbAbort, 3}};
  for (const auto& [button, result] : order)
    if (buttons & button) return result;
  return 1;
}

std::unique_ptr<TfsRTTIModule> fsCreateDialogsRTTI(TfsScript& script) { return std::make_unique<TfsDialogsRTTI>(script); }
