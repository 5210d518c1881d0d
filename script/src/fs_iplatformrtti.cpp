// The order in which the class modules join every script.
#include "script/fs_iplatformrtti.h"

#include <mutex>

#include "script/fs_iclassesrtti.h"
#include "script/fs_idialogsrtti.h"
#include "script/fs_iformsrtti.h"
#include "script/fs_igraphicsrtti.h"
#include "script/fs_iinirtti.h"

void fsRegisterPlatformModules(TfsRTTIModuleClass reportModule) {
  static std::once_flag once;
  std::call_once(once, [&reportModule] {
    fsRegisterRTTIModule(fsCreateClassesRTTI);
    fsRegisterRTTIModule(fsCreateGraphicsRTTI);
    fsRegisterRTTIModule(fsCreateFormsRTTI);
    if (reportModule) fsRegisterRTTIModule(std::move(reportModule));
    fsRegisterRTTIModule(fsCreateDialogsRTTI);
    fsRegisterRTTIModule(fsCreateIniRTTI);
  });
}
