#include "tray/win32/window_subclass.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace tray {
namespace {

struct Subclass {
  SubclassProcedure procedure;
  UINT_PTR id;
  DWORD_PTR data;
  bool removed = false;
};

// Oldest first. While messages are being handed down, removed entries are only marked, and
// `next` counts down through the entries still to hear the current message.
struct Chain {
  WNDPROC original = nullptr;
  std::vector<Subclass> subclasses;
  std::size_t next = 0;
  int running = 0;
  bool windowGone = false;  // WM_NCDESTROY came, perhaps while an older message was running
};

// Windows belong to threads, and so do their chains.
std::unordered_map<HWND, Chain>& Chains() {
  thread_local std::unordered_map<HWND, Chain> chains;
  return chains;
}

Chain* Find(HWND window) {
  auto found = Chains().find(window);
  return found == Chains().end() ? nullptr : &found->second;
}

LRESULT CALLBACK Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Drops what was removed and, when nothing is left, gives the window its procedure back.
void Tidy(HWND window, Chain& chain) {
  if (chain.running) return;
  const bool windowGoes = chain.windowGone;
  std::erase_if(chain.subclasses, [](const Subclass& subclass) { return subclass.removed; });
  if (!chain.subclasses.empty() && !windowGoes) return;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == Dispatch)
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain.original));
  else if (!windowGoes)
    return;  // another procedure sits above ours: the chain stays to serve it
  Chains().erase(window);
}

LRESULT CALLBACK Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Chain* chain = Find(window);
  if (!chain) return DefWindowProcW(window, message, wParam, lParam);
  const std::size_t saved = chain->next;
  chain->next = chain->subclasses.size();
  ++chain->running;
  const LRESULT result = CallNextSubclass(window, message, wParam, lParam);
  chain = Find(window);  // the map may have changed meanwhile
  if (!chain) return result;
  chain->next = saved;
  --chain->running;
  if (message == WM_NCDESTROY) chain->windowGone = true;
  Tidy(window, *chain);
  return result;
}

}  // namespace

bool AddSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data) {
  if (!IsWindow(window)) return false;
  Chain* chain = Find(window);
  if (!chain) {
    Chain created;
    created.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Dispatch)));
    if (!created.original) return false;
    chain = &Chains().emplace(window, std::move(created)).first->second;
  }
  for (Subclass& subclass : chain->subclasses) {
    if (subclass.procedure == procedure && subclass.id == id && !subclass.removed) {
      subclass.data = data;
      return true;
    }
  }
  chain->subclasses.push_back({procedure, id, data});
  return true;
}

void RemoveSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id) {
  Chain* chain = Find(window);
  if (!chain) return;
  for (Subclass& subclass : chain->subclasses)
    if (subclass.procedure == procedure && subclass.id == id) subclass.removed = true;
  Tidy(window, *chain);
}

LRESULT CallNextSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Chain* chain = Find(window);
  if (!chain) return DefWindowProcW(window, message, wParam, lParam);
  while (chain->next > 0 && chain->subclasses[chain->next - 1].removed) --chain->next;
  if (chain->next == 0) return CallWindowProcW(chain->original, window, message, wParam, lParam);
  const Subclass subclass = chain->subclasses[--chain->next];
  return subclass.procedure(window, message, wParam, lParam, subclass.id, subclass.data);
}

}  // namespace tray
