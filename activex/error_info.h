// Failures at the COM boundary: a caught exception becomes an HRESULT and an error-information
// object, so no exception ever crosses a COM method.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace activex {

// The HRESULT for a failure: its system code when it carries one, E_OUTOFMEMORY for exhausted
// memory, E_UNEXPECTED for anything else. Posts error information (SetErrorInfo) with the
// failure's message, the interface's GUID and the source given.
HRESULT ReportFailure(const std::exception_ptr& failure, const GUID& interfaceId, const std::wstring& source) noexcept;

// The message of a failure, empty when it has none.
std::wstring FailureMessage(const std::exception_ptr& failure);

// Runs body; any failure becomes ReportFailure's answer. For COM members:
//   return Guard(IID_IThing, L"Lib.Thing", [&] { ... });
template <class Body>
HRESULT Guard(const GUID& interfaceId, const std::wstring& source, Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (...) {
    return ReportFailure(std::current_exception(), interfaceId, source);
  }
}

}  // namespace activex
