#pragma once
// Registers the registration modules of the host-platform classes after the built-in
// functions, in the order scripts know them: classes, graphics, forms, then the report
// classes module when one is given, dialogs and INI files. Once per process; later calls
// do nothing.

#include "script/fs_iinterpreter.h"

void fsRegisterPlatformModules(TfsRTTIModuleClass reportModule = {});
