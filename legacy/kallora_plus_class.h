// How the KalloraPlus class presents itself to COM, to control containers and in the registry.
#pragma once

#include <windows.h>
#include <oleidl.h>

#include <string>

#include "activex/registry_table.h"

namespace legacy {

// The control's own settings (simple frame, acts like a label) and what every control of
// this kind adds: 0x32191, 205201 in the registry.
inline constexpr DWORD kKalloraPlusMiscStatus = OLEMISC_SIMPLEFRAME | OLEMISC_ACTSLIKELABEL |
                                                OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                                                OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                                                OLEMISC_SETCLIENTSITEFIRST;
static_assert(kKalloraPlusMiscStatus == 0x32191);

// The class's registration. Its name, description, ProgID and version come from the module's
// type library, so they always agree with what hosts compiled against.
activex::ControlRegistration KalloraPlusRegistration();
// The same for a server at modulePath whose type library is library (for the installer's tables).
activex::ControlRegistration KalloraPlusRegistration(ITypeLib* library, const std::wstring& modulePath);

}  // namespace legacy
