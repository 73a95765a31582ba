#include "grid/win32/accessible_slot.h"

#include "grid/win32/oleacc_library.h"

namespace grid::win32 {

std::optional<LRESULT> AccessibleSlot::Answer(WPARAM wParam, LPARAM lParam,
                                              const std::function<WindowAccessible*()>& make) {
  // The object's number arrives as a DWORD, which a 64-bit LPARAM does not sign-extend.
  if (closed_ || static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return std::nullopt;
  const OleaccLibrary* oleacc = Oleacc();
  if (!oleacc) return std::nullopt;
  if (!object_) object_ = make();
  const LRESULT answer = oleacc->LresultFromObject(__uuidof(IAccessible), wParam, object_);
  if (FAILED(static_cast<HRESULT>(answer))) return std::nullopt;
  return answer;
}

// The marshalled references of clients, and of answers nobody collected, go with
// CoDisconnectObject; a client in this apartment that kept the object gets
// RPC_E_DISCONNECTED from it until it lets go.
void AccessibleSlot::Close() noexcept {
  closed_ = true;
  if (!object_) return;
  object_->Disconnect();
  CoDisconnectObject(static_cast<IAccessible*>(object_), 0);
  object_->Release();
  object_ = nullptr;
}

}  // namespace grid::win32
