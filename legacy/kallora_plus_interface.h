// The binary contract of the KalloraPlus control with its hosts: the identifiers, the dual
// interface IKalloraPlus in function-table order (DISPIDs in dispids.h).
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <olectl.h>

#include "legacy/dispids.h"

namespace legacy {

// {4AAD3155-8546-42E7-A128-4402831C13C4}
inline constexpr GUID LIBID_Upgrade_v4 = {0x4AAD3155, 0x8546, 0x42E7, {0xA1, 0x28, 0x44, 0x02, 0x83, 0x1C, 0x13, 0xC4}};
// {9956A803-787B-4B43-8684-7B7A10BFB3AB}
inline constexpr GUID IID_IKalloraPlus = {0x9956A803, 0x787B, 0x4B43, {0x86, 0x84, 0x7B, 0x7A, 0x10, 0xBF, 0xB3, 0xAB}};
// {99D27981-4897-441B-BA0B-352B55413A63}
inline constexpr GUID DIID_IKalloraPlusEvents = {0x99D27981, 0x4897, 0x441B, {0xBA, 0x0B, 0x35, 0x2B, 0x55, 0x41, 0x3A, 0x63}};
// {999DD9D2-8906-4232-98EF-9EECB9B10DAD}
inline constexpr GUID CLSID_KalloraPlus = {0x999DD9D2, 0x8906, 0x4232, {0x98, 0xEF, 0x9E, 0xEC, 0xB9, 0xB1, 0x0D, 0xAD}};

inline constexpr WORD kTypeLibMajor = 1;
inline constexpr WORD kTypeLibMinor = 0;
inline constexpr wchar_t kProgId[] = L"Upgrade_v4.KalloraPlus";

// Members of IKalloraPlus, in function-table order after IUnknown and IDispatch.
struct IKalloraPlus : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Active(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE AboutBox() = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Config(BSTR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE DialThisNumber(BSTR* PhoneNumber) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_About(BSTR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_About(BSTR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ServiceRunning(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DeviceModel(BSTR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_LineStatus(LONG LineNum, BSTR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE Start() = 0;
};


}  // namespace legacy
