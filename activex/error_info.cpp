// Turning a caught failure into an HRESULT with error information.
#include "activex/error_info.h"

#include <oleauto.h>

#include <new>

#include "activex/com_ptr.h"
#include "common/error.h"
#include "common/utf16.h"

namespace activex {

std::wstring FailureMessage(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const common::Error& error) {
    return error.Message();
  } catch (const std::exception& error) {
    return common::FromUtf8(error.what());
  } catch (...) {
    return {};
  }
}

namespace {

HRESULT ResultOf(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const common::Error& error) {
    if (error.SystemCode() != 0 && FAILED(error.SystemCode())) return error.SystemCode();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
  }
  return E_UNEXPECTED;
}

}  // namespace

HRESULT ReportFailure(const std::exception_ptr& failure, const GUID& interfaceId, const std::wstring& source) noexcept {
  HRESULT result = ResultOf(failure);
  try {
    ComPtr<ICreateErrorInfo> created;
    if (FAILED(CreateErrorInfo(created.Put()))) return result;
    std::wstring message = FailureMessage(failure);
    created->SetGUID(interfaceId);
    created->SetSource(const_cast<wchar_t*>(source.c_str()));
    created->SetDescription(const_cast<wchar_t*>(message.c_str()));
    ComPtr<IErrorInfo> info = created.As<IErrorInfo>(IID_IErrorInfo);
    SetErrorInfo(0, info.Get());
  } catch (...) {
  }
  return result;
}

}  // namespace activex
