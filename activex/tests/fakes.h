// Fake COM partners of a control: a site that records the order of the container calls made
// on it, an event sink and a property-notification sink that record what reaches them.
#pragma once

#include <ocidl.h>
#include <oleidl.h>

#include <string>
#include <vector>

namespace activex::test {

// Reference counting shared by the fakes; they live on the test's stack, so the count is only
// watched, never used to delete.
class FakeCount {
 public:
  ULONG Up() { return ++count_; }
  ULONG Down() { return --count_; }
  ULONG Count() const { return count_; }

 private:
  ULONG count_ = 0;
};

class FakeSite final : public IOleClientSite, public IOleInPlaceSite {
 public:
  explicit FakeSite(HWND window, RECT position = {10, 20, 110, 70}) : window_(window), position_(position) {}

  std::vector<std::string> calls;
  bool allowInPlace = true;
  FakeCount references;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return references.Up(); }
  ULONG STDMETHODCALLTYPE Release() override { return references.Down(); }

  HRESULT STDMETHODCALLTYPE SaveObject() override { return Record("SaveObject", E_NOTIMPL); }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return Record("GetMoniker", E_NOTIMPL); }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return Record("GetContainer", E_NOINTERFACE); }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return Record("ShowObject", S_OK); }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return Record("OnShowWindow", S_OK); }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return Record("RequestNewObjectLayout", E_NOTIMPL); }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override {
    return Record("CanInPlaceActivate", allowInPlace ? S_OK : S_FALSE);
  }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return Record("OnInPlaceActivate", S_OK); }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return Record("OnUIActivate", S_OK); }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return Record("OnUIDeactivate", S_OK); }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return Record("OnInPlaceDeactivate", S_OK); }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return Record("OnPosRectChange", S_OK); }

 private:
  HRESULT Record(const char* call, HRESULT result) {
    calls.emplace_back(call);
    return result;
  }

  HWND window_;
  RECT position_;
};

struct FiredEvent {
  DISPID id;
  WORD flags;
  std::vector<std::wstring> arguments;  // in declared order
  bool resultRequested;
};

// Answers IDispatch and the event interface given; records every Invoke.
class FakeSink final : public IDispatch {
 public:
  explicit FakeSink(const IID& events, HRESULT answer = S_OK) : events_(events), answer_(answer) {}

  std::vector<FiredEvent> events;
  FakeCount references;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return references.Up(); }
  ULONG STDMETHODCALLTYPE Release() override { return references.Down(); }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO*, UINT*) override;

 private:
  const IID& events_;
  HRESULT answer_;
};

class FakePropertySink final : public IPropertyNotifySink {
 public:
  std::vector<DISPID> changed;
  FakeCount references;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return references.Up(); }
  ULONG STDMETHODCALLTYPE Release() override { return references.Down(); }
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override {
    changed.push_back(id);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }
};

// An object that answers nothing but IUnknown.
class PlainObject final : public IUnknown {
 public:
  FakeCount references;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return references.Up(); }
  ULONG STDMETHODCALLTYPE Release() override { return references.Down(); }
};

}  // namespace activex::test
