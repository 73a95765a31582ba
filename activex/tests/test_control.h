// The control the tests drive: Caption, Say (raises Said), Fail (throws), Count (indexed).
#pragma once

#include <memory>
#include <string>

#include "activex/control.h"
#include "activex_test_typelib.h"

namespace activex::test {

inline constexpr COLORREF kTestControlColour = RGB(200, 30, 40);
inline constexpr DWORD kTestMiscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE;

class TestControl final : public Control<ITestControl> {
 public:
  // A new control holding one reference.
  static TestControl* Create();

  HRESULT STDMETHODCALLTYPE get_Caption(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_Caption(BSTR value) override;
  HRESULT STDMETHODCALLTYPE Say(BSTR text, BSTR more) override;
  HRESULT STDMETHODCALLTYPE Fail(BSTR message) override;
  HRESULT STDMETHODCALLTYPE get_Count(LONG index, LONG* value) override;

  int sinkChanges = 0;
  using ControlObject::NotifyPropertyChanged;

 private:
  TestControl();
  ~TestControl() override = default;
  HWND Window() const noexcept override { return window_->Handle(); }
  void OnEventSinkChanged() noexcept override { ++sinkChanges; }

  std::unique_ptr<MessageWindow> window_;
  std::wstring caption_;
};

}  // namespace activex::test
