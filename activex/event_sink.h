// The sink a control site connects to its control's event interface: each Invoke becomes a
// call of the handler registered for the DISPID, with the arguments as texts in declared
// order. Unknown DISPIDs are ignored; a failing handler goes to the failure handler.
#pragma once

#include <oaidl.h>

#include <map>

#include "activex/control_site.h"

namespace activex {

class EventSink final : public IDispatch {
 public:
  explicit EventSink(FailureHandler onFailure) : onFailure_(std::move(onFailure)) {}

  void SetEventInterface(const IID& events) { events_ = events; }
  void SetHandler(DISPID id, EventHandler handler) { handlers_[id] = std::move(handler); }
  // Drops the handlers (and what they hold) when the site goes, even if the control still
  // holds the sink.
  void Clear() { handlers_.clear(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argumentError) override;

 private:
  ~EventSink() = default;
  // Calls the handler; its failure goes to the failure handler.
  void Run(const EventHandler& handler, const DISPPARAMS* parameters) noexcept;

  IID events_ = IID_NULL;
  std::map<DISPID, EventHandler> handlers_;
  FailureHandler onFailure_;
  volatile LONG references_ = 1;
};

// The arguments of an automation call as texts, first declared first.
EventArguments ArgumentTexts(const DISPPARAMS& parameters);

}  // namespace activex
