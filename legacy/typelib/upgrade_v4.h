// The Upgrade_v4 type library that old hosts of the KalloraPlus control are compiled against.
#pragma once

#include "legacy/typelib/type_description.h"

namespace legacy::typelib {

const LibraryDescription& UpgradeV4();

}  // namespace legacy::typelib
