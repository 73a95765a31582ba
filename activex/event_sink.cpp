// Event sink: automation calls to C++ handlers.
#include "activex/event_sink.h"

#include <new>

#include "activex/bstr.h"
#include "common/error.h"

namespace activex {

EventArguments ArgumentTexts(const DISPPARAMS& parameters) {
  EventArguments texts;
  for (UINT i = parameters.cArgs; i-- > 0;) {
    VARIANT text;
    VariantInit(&text);
    // By-reference and non-text arguments are read through a copy converted to text.
    HRESULT hr = VariantChangeType(&text, &parameters.rgvarg[i], 0, VT_BSTR);
    if (FAILED(hr)) throw common::Error(L"Cannot read an event argument", hr);
    texts.push_back(TextOf(V_BSTR(&text)));
    VariantClear(&text);
  }
  return texts;
}

HRESULT EventSink::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      (!IsEqualIID(events_, IID_NULL) && IsEqualIID(iid, events_))) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG EventSink::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT EventSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT* result, EXCEPINFO*, UINT*) {
  if (result) VariantInit(result);
  auto found = handlers_.find(id);
  if (found == handlers_.end() || !found->second) return S_OK;
  try {
    const EventHandler handler = found->second;  // the handler may replace itself
    Run(handler, parameters);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;  // the copy failed: the handler did not run
  }
  return S_OK;
}

void EventSink::Run(const EventHandler& handler, const DISPPARAMS* parameters) noexcept {
  try {
    handler(parameters ? ArgumentTexts(*parameters) : EventArguments{});
  } catch (...) {
    if (onFailure_) {
      try {
        onFailure_(std::current_exception());
      } catch (...) {
      }
    }
  }
}

}  // namespace activex
