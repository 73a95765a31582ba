#include "legacy/tests/event_recorder.h"

#include "legacy/kallora_plus_interface.h"

namespace test {

HRESULT EventRecorder::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      (answerEvents_ && IsEqualIID(iid, legacy::DIID_IKalloraPlusEvents))) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

HRESULT EventRecorder::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT EventRecorder::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                              EXCEPINFO*, UINT*) {
  RecordedEvent event{id, {}};
  if (!IsEqualIID(iid, IID_NULL) || flags != DISPATCH_METHOD || result || !parameters || parameters->cNamedArgs != 0)
    wellFormed = false;
  if (parameters) {
    // The first declared argument comes last.
    for (UINT i = parameters->cArgs; i-- > 0;) {
      const VARIANTARG& argument = parameters->rgvarg[i];
      if (V_VT(&argument) != VT_BSTR) {
        wellFormed = false;
        event.arguments.push_back(L"<not a BSTR>");
        continue;
      }
      BSTR text = V_BSTR(&argument);
      event.arguments.push_back(text ? std::wstring(text, SysStringLen(text)) : std::wstring());
    }
  }
  events.push_back(std::move(event));
  if (onEvent) onEvent(id);
  return answer;
}

std::vector<RecordedEvent> EventRecorder::Of(DISPID id) const {
  std::vector<RecordedEvent> matching;
  for (const RecordedEvent& event : events)
    if (event.dispid == id) matching.push_back(event);
  return matching;
}

}  // namespace test
