// A host's event sink for IKalloraPlusEvents that records every event it receives, in order,
// with its arguments in declaration order. Counts its own references so a test can see that
// the control released it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

namespace test {

struct RecordedEvent {
  DISPID dispid;
  std::vector<std::wstring> arguments;
};

class EventRecorder : public IDispatch {
 public:
  // answerEvents false: the sink refuses the event interface, as a wrong sink would.
  explicit EventRecorder(bool answerEvents = true) : answerEvents_(answerEvents) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO*, UINT*) override;

  std::vector<RecordedEvent> events;
  // What Invoke answers; the control must not care.
  HRESULT answer = S_OK;
  // Runs after each event is recorded, as a host's handler would.
  std::function<void(DISPID)> onEvent;
  // Whether every call came as DISPATCH_METHOD with BSTRs by value and no result wanted.
  bool wellFormed = true;
  ULONG References() const { return references_; }
  std::vector<RecordedEvent> Of(DISPID id) const;

 private:
  bool answerEvents_;
  ULONG references_ = 0;
};

// Runs the thread's message loop for the given time, or until `done` answers true.
template <class Done>
bool PumpUntil(Done done, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= milliseconds) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

inline void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

}  // namespace test
