// The accessible object of a window that draws its own content: the COM object a screen
// reader walks. Its children are simple elements numbered from 1, or the objects of child
// windows; a subclass says what each child is called, what it is and where it lies. Every
// call comes on the window's thread; none lets an exception out, and once the window is gone
// every call answers that the object is disconnected.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <cstdint>
#include <optional>
#include <string>

namespace grid::win32 {

// A VT_I4 variant: how a child number, a role or a state travels through IAccessible.
VARIANT NumberVariant(long value);

class WindowAccessible : public IAccessible {
 public:
  explicit WindowAccessible(HWND window) : window_(window) {}
  WindowAccessible(const WindowAccessible&) = delete;
  WindowAccessible& operator=(const WindowAccessible&) = delete;

  // The window is going: nothing of it is read any more.
  void Disconnect() noexcept;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: clients call through the table; there is no type information to hand out.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focused) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selected) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 protected:
  virtual ~WindowAccessible();
  HWND Window() const noexcept { return window_; }
  // The window's own text, which names the object itself.
  std::wstring WindowText() const;

  // What the subclass says of its children, numbered 1..ChildCount(); 0 is the object itself.
  // Called only while the window lives; may throw.
  virtual std::int32_t ChildCount() const = 0;
  virtual std::wstring Name(std::int32_t child) const = 0;
  virtual std::optional<std::wstring> Value(std::int32_t) const { return std::nullopt; }
  virtual std::optional<std::wstring> Description(std::int32_t) const { return std::nullopt; }
  virtual long Role(std::int32_t child) const = 0;
  virtual long State(std::int32_t) const { return 0; }
  // In the window's client coordinates; nullopt for a child that is nowhere.
  virtual std::optional<RECT> Place(std::int32_t child) const = 0;
  // The child window whose own object is the child; nullptr for a simple element.
  virtual HWND ChildWindow(std::int32_t) const { return nullptr; }

 private:
  template <class Work>
  HRESULT Guarded(Work&& work) noexcept;
  // The child a VARIANT names; throws E_INVALIDARG for anything else.
  std::int32_t ChildOf(const VARIANT& child) const;
  // A child as a VARIANT: the object of its window, or its number.
  VARIANT ChildVariant(std::int32_t child) const;
  std::optional<RECT> ScreenPlace(std::int32_t child) const;

  LONG references_ = 1;
  HWND window_;
  IAccessible* standard_ = nullptr;  // the platform's object for the client area: its parent
};

}  // namespace grid::win32
