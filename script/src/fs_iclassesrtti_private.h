#pragma once
// Shared inside the classes module: argument helpers and the string-list declarations.

#include <string>

#include "script/fs_iclassesrtti.h"

namespace fs_classes {
TfsHostObject* ObjectArg(const TfsMethodHelper& args, int index);
void DeclareStrings(TfsScript& script);
}  // namespace fs_classes
