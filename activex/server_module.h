// The in-process server's process-wide state: the live-object and factory-reference counts
// that COM asks about (from any thread, so they change only with interlocked operations), the
// module that holds this code, and its type library (resource 1 of that module).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "activex/com_ptr.h"

namespace activex {

void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
void FactoryReferenced() noexcept;
void FactoryReleased() noexcept;
long LiveObjects() noexcept;
long FactoryReferences() noexcept;
// What DllCanUnloadNow answers: S_OK when no object, factory reference or lock remains.
HRESULT CanUnloadNow() noexcept;

// The DLL (or program) this code is linked into, and its full path.
HMODULE CurrentModule() noexcept;
std::wstring ModulePath();
std::wstring ModuleFolder();

// The module's own type library, loaded from its file once and kept; throws common::Error.
ITypeLib* ModuleTypeLibrary();
// The type description of the given interface or class in the module's type library.
ComPtr<ITypeInfo> ModuleTypeInfo(REFGUID guid);  // throws common::Error

// RegisterTypeLib / UnRegisterTypeLib of the module's type library; throw common::Error.
void RegisterModuleTypeLibrary();
void UnregisterModuleTypeLibrary();

}  // namespace activex
