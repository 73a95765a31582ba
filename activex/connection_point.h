// A connection point of a control: its identity is its own, its lifetime the container's.
// Cookies are a sink's position plus 1; a freed position is taken by the next sink.
#pragma once

#include <ocidl.h>

#include <functional>
#include <vector>

#include "activex/com_ptr.h"

namespace activex {

class ConnectionPoint final : public IConnectionPoint {
 public:
  // maxSinks 0: any number. changed runs after every successful Advise and Unadvise; it must
  // not throw.
  ConnectionPoint(IConnectionPointContainer& container, const IID& iid, std::size_t maxSinks,
                  std::function<void()> changed = nullptr);
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  // The connected sinks (as the point's interface), copied, so a sink that disconnects while
  // being called cannot disturb the caller's loop.
  std::vector<ComPtr<IUnknown>> Sinks() const;
  void DisconnectAll() noexcept;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

 private:
  IConnectionPointContainer& container_;
  const IID& iid_;
  std::size_t maxSinks_;
  std::function<void()> changed_;
  std::vector<ComPtr<IUnknown>> slots_;  // null: a free position
};

}  // namespace activex
