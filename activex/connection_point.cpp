// Advise and Unadvise with the control's limits and cookies.
#include "activex/connection_point.h"

#include <olectl.h>

#include <algorithm>
#include <new>

#include "activex/enumerator.h"

namespace activex {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, const IID& iid, std::size_t maxSinks,
                                 std::function<void()> changed)
    : container_(container), iid_(iid), maxSinks_(maxSinks), changed_(std::move(changed)) {}

std::vector<ComPtr<IUnknown>> ConnectionPoint::Sinks() const {
  std::vector<ComPtr<IUnknown>> sinks;
  for (const auto& slot : slots_)
    if (slot) sinks.push_back(slot);
  return sinks;
}

void ConnectionPoint::DisconnectAll() noexcept { slots_.clear(); }

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG ConnectionPoint::AddRef() { return container_.AddRef(); }
ULONG ConnectionPoint::Release() { return container_.Release(); }

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = &container_;
  container_.AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  const auto connected = [](const ComPtr<IUnknown>& slot) { return static_cast<bool>(slot); };
  if (maxSinks_ && static_cast<std::size_t>(std::count_if(slots_.begin(), slots_.end(), connected)) >= maxSinks_)
    return CONNECT_E_CANNOTCONNECT;
  ComPtr<IUnknown> typed;
  if (FAILED(sink->QueryInterface(iid_, typed.PutVoid())) || !typed) return CONNECT_E_CANNOTCONNECT;
  auto free = std::find_if_not(slots_.begin(), slots_.end(), connected);
  if (free == slots_.end()) {
    try {
      free = slots_.insert(slots_.end(), ComPtr<IUnknown>());
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }
  *free = std::move(typed);
  *cookie = static_cast<DWORD>(free - slots_.begin()) + 1;
  if (changed_) changed_();
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  if (cookie == 0 || cookie > slots_.size() || !slots_[cookie - 1]) return CONNECT_E_NOCONNECTION;
  ComPtr<IUnknown> leaving = std::move(slots_[cookie - 1]);
  slots_[cookie - 1].Reset();
  while (!slots_.empty() && !slots_.back()) slots_.pop_back();
  if (changed_) changed_();
  return S_OK;  // the sink is released here, after the point's state is consistent
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  try {
    std::vector<Connection> connections;
    for (std::size_t i = 0; i < slots_.size(); ++i)
      if (slots_[i]) connections.push_back({slots_[i], static_cast<DWORD>(i) + 1});
    *out = MakeConnectionEnumerator(std::move(connections)).Detach();
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace activex
