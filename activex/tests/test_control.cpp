// The test control: a red window and a few members over the control object.
#include "test_control.h"

#include "activex/bstr.h"
#include "common/error.h"

namespace activex::test {
namespace {

const ControlDescription kDescription{CLSID_TestControl, IID_ITestControl, DIID_ITestControlEvents,
                                      L"ActiveXTestLib.TestControl", kTestMiscStatus};

std::optional<LRESULT> PaintRed(UINT message, WPARAM wParam) {
  if (message != WM_PRINTCLIENT && message != WM_ERASEBKGND) return std::nullopt;
  HDC dc = reinterpret_cast<HDC>(wParam);
  RECT client{0, 0, 1000, 1000};
  HBRUSH brush = CreateSolidBrush(kTestControlColour);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  return 1;
}

}  // namespace

TestControl* TestControl::Create() { return new TestControl(); }

TestControl::TestControl() : Control(kDescription) {
  window_ = std::make_unique<MessageWindow>(L"ActiveXTestControl", WS_CHILD | WS_CLIPCHILDREN, ParkingWindow(),
                                            RECT{0, 0, 40, 30},
                                            [](UINT message, WPARAM wParam, LPARAM) { return PaintRed(message, wParam); });
}

HRESULT TestControl::get_Caption(BSTR* value) {
  if (!value) return E_POINTER;
  return Guard([&] { *value = Bstr(caption_).Detach(); });
}

HRESULT TestControl::put_Caption(BSTR value) {
  return Guard([&] {
    caption_ = TextOf(value);
    NotifyPropertyChanged(1);
  });
}

HRESULT TestControl::Say(BSTR text, BSTR more) {
  return Guard([&] { FireEvent(10, {TextOf(text), TextOf(more)}); });
}

HRESULT TestControl::Fail(BSTR message) {
  return Guard([&] {
    if (SysStringLen(message) == 0) throw std::runtime_error("plain failure");
    throw common::Error(TextOf(message), static_cast<std::int32_t>(E_ACCESSDENIED));
  });
}

HRESULT TestControl::get_Count(LONG index, LONG* value) {
  if (!value) return E_POINTER;
  *value = index * 2;
  return S_OK;
}

}  // namespace activex::test
