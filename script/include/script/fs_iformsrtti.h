#pragma once
// The forms module: the modal results, cursors, border styles, virtual keys and alignment
// constants, the enumerations of controls and forms, the control and form classes and the
// object "Application".
//
// This system shows no script-built windows: a form or control a script creates keeps its
// settings (Caption, Left, Visible, ItemIndex...) without a window, Show and Hide set
// Visible, ShowModal answers its ModalResult without showing anything (mrCancel unless
// the script set another), and events assigned to them never fire. Application's
// ProcessMessages runs the host's hook (fsSetProcessMessagesHandler) when there is one.

#include <functional>
#include <memory>

#include "script/fs_iinterpreter.h"

std::function<void()> fsSetProcessMessagesHandler(std::function<void()> handler);

std::unique_ptr<TfsRTTIModule> fsCreateFormsRTTI(TfsScript& script);
