#include "grid/win32/window_accessible.h"

#include <new>

#include "grid/win32/oleacc_library.h"

namespace grid::win32 {
namespace {

// A call a client got wrong: it ends with this result and nothing else happens.
struct Refused {
  HRESULT result;
};

HRESULT Text(const std::optional<std::wstring>& text, BSTR* out) {
  if (!text) return S_FALSE;
  *out = SysAllocStringLen(text->data(), static_cast<UINT>(text->size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

VARIANT NumberVariant(long value) {
  VARIANT variant;
  VariantInit(&variant);
  variant.vt = VT_I4;
  variant.lVal = value;
  return variant;
}

WindowAccessible::~WindowAccessible() {
  if (standard_) standard_->Release();
}

std::wstring WindowAccessible::WindowText() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void WindowAccessible::Disconnect() noexcept {
  window_ = nullptr;
  if (standard_) standard_->Release();
  standard_ = nullptr;
}

template <class Work>
HRESULT WindowAccessible::Guarded(Work&& work) noexcept {
  if (!window_) return RPC_E_DISCONNECTED;
  try {
    return work();
  } catch (const Refused& refused) {
    return refused.result;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

std::int32_t WindowAccessible::ChildOf(const VARIANT& child) const {
  if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > ChildCount()) throw Refused{E_INVALIDARG};
  return child.lVal;
}

VARIANT WindowAccessible::ChildVariant(std::int32_t child) const {
  HWND window = child > 0 ? ChildWindow(child) : nullptr;
  const OleaccLibrary* oleacc = Oleacc();
  IDispatch* object = nullptr;
  if (window && oleacc &&
      SUCCEEDED(oleacc->AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                                                   reinterpret_cast<void**>(&object))) &&
      object) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_DISPATCH;
    variant.pdispVal = object;
    return variant;
  }
  return NumberVariant(child);
}

std::optional<RECT> WindowAccessible::ScreenPlace(std::int32_t child) const {
  std::optional<RECT> place = Place(child);
  if (place) MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&*place), 2);
  return place;
}

// ---- IUnknown ----

HRESULT WindowAccessible::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG WindowAccessible::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG WindowAccessible::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

// ---- IDispatch ----

HRESULT WindowAccessible::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT WindowAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT WindowAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT WindowAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

// ---- IAccessible ----

HRESULT WindowAccessible::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  return Guarded([&] {
    const OleaccLibrary* oleacc = Oleacc();
    if (!standard_ && oleacc)
      oleacc->CreateStdAccessibleObject(window_, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&standard_));
    return standard_ ? standard_->get_accParent(parent) : S_FALSE;
  });
}

HRESULT WindowAccessible::get_accChildCount(long* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return Guarded([&] {
    *count = ChildCount();
    return S_OK;
  });
}

HRESULT WindowAccessible::get_accChild(VARIANT child, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return Guarded([&] {
    const std::int32_t number = ChildOf(child);
    if (number == CHILDID_SELF) return E_INVALIDARG;
    VARIANT found = ChildVariant(number);
    if (found.vt != VT_DISPATCH) return S_FALSE;  // a simple element: its parent answers for it
    *object = found.pdispVal;
    return S_OK;
  });
}

HRESULT WindowAccessible::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  return Guarded([&] { return Text(Name(ChildOf(child)), name); });
}

HRESULT WindowAccessible::get_accValue(VARIANT child, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return Guarded([&] { return Text(Value(ChildOf(child)), value); });
}

HRESULT WindowAccessible::get_accDescription(VARIANT child, BSTR* description) {
  if (!description) return E_POINTER;
  *description = nullptr;
  return Guarded([&] { return Text(Description(ChildOf(child)), description); });
}

HRESULT WindowAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  VariantInit(role);
  return Guarded([&] {
    *role = NumberVariant(Role(ChildOf(child)));
    return S_OK;
  });
}

HRESULT WindowAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  VariantInit(state);
  return Guarded([&] {
    const std::int32_t number = ChildOf(child);
    long flags = State(number);
    if (number == CHILDID_SELF) {
      if (!IsWindowVisible(window_)) flags |= STATE_SYSTEM_INVISIBLE;
      if (GetFocus() == window_) flags |= STATE_SYSTEM_FOCUSED;
    }
    *state = NumberVariant(flags);
    return S_OK;
  });
}

HRESULT WindowAccessible::get_accHelp(VARIANT child, BSTR* help) {
  if (!help) return E_POINTER;
  *help = nullptr;
  return Guarded([&] {
    ChildOf(child);
    return S_FALSE;
  });
}

HRESULT WindowAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
  if (!file || !topic) return E_POINTER;
  *file = nullptr;
  *topic = 0;
  return Guarded([&] {
    ChildOf(child);
    return S_FALSE;
  });
}

HRESULT WindowAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (!shortcut) return E_POINTER;
  *shortcut = nullptr;
  return Guarded([&] {
    ChildOf(child);
    return S_FALSE;
  });
}

HRESULT WindowAccessible::get_accFocus(VARIANT* focused) {
  if (!focused) return E_POINTER;
  VariantInit(focused);
  return Guarded([&] {
    if (GetFocus() != window_) return S_FALSE;
    *focused = NumberVariant(CHILDID_SELF);
    return S_OK;
  });
}

HRESULT WindowAccessible::get_accSelection(VARIANT* selected) {
  if (!selected) return E_POINTER;
  VariantInit(selected);
  return Guarded([] { return S_FALSE; });
}

HRESULT WindowAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (!action) return E_POINTER;
  *action = nullptr;
  return Guarded([&] {
    ChildOf(child);
    return S_FALSE;
  });
}

HRESULT WindowAccessible::accSelect(long, VARIANT child) {
  return Guarded([&] {
    ChildOf(child);
    return DISP_E_MEMBERNOTFOUND;
  });
}

HRESULT WindowAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  return Guarded([&] {
    const std::optional<RECT> place = ScreenPlace(ChildOf(child));
    if (!place) return S_FALSE;
    *left = place->left;
    *top = place->top;
    *width = place->right - place->left;
    *height = place->bottom - place->top;
    return S_OK;
  });
}

// Between the object's own children only; leaving the object is its parent's business.
HRESULT WindowAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  VariantInit(end);
  return Guarded([&] {
    const std::int32_t from = ChildOf(start);
    const std::int32_t count = ChildCount();
    std::int32_t to = 0;
    if (from == CHILDID_SELF && direction == NAVDIR_FIRSTCHILD) to = count > 0 ? 1 : 0;
    else if (from == CHILDID_SELF && direction == NAVDIR_LASTCHILD) to = count;
    else if (from != CHILDID_SELF && direction == NAVDIR_NEXT) to = from < count ? from + 1 : 0;
    else if (from != CHILDID_SELF && direction == NAVDIR_PREVIOUS) to = from - 1;
    if (to <= 0) return S_FALSE;
    *end = ChildVariant(to);
    return S_OK;
  });
}

// Later children lie on earlier ones (labels on their group boxes): the last one hit wins.
HRESULT WindowAccessible::accHitTest(long left, long top, VARIANT* child) {
  if (!child) return E_POINTER;
  VariantInit(child);
  return Guarded([&] {
    const POINT at{left, top};
    const std::optional<RECT> whole = ScreenPlace(CHILDID_SELF);
    if (!whole || !PtInRect(&*whole, at)) return S_FALSE;
    for (std::int32_t number = ChildCount(); number > 0; --number) {
      const std::optional<RECT> place = ScreenPlace(number);
      if (place && PtInRect(&*place, at)) {
        *child = ChildVariant(number);
        return S_OK;
      }
    }
    *child = NumberVariant(CHILDID_SELF);
    return S_OK;
  });
}

HRESULT WindowAccessible::accDoDefaultAction(VARIANT child) {
  return Guarded([&] {
    ChildOf(child);
    return DISP_E_MEMBERNOTFOUND;
  });
}

HRESULT WindowAccessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT WindowAccessible::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace grid::win32
