#include "legacy/tests/com_host.h"

#include <gtest/gtest.h>

#include "legacy/dispids.h"
#include "legacy/tests/wine_paths.h"

namespace test {

void RegisterServer(const std::wstring& path) {
  HMODULE module = LoadLibraryW(path.c_str());
  ASSERT_NE(module, nullptr) << "cannot load " << testing::PrintToString(path);
  using Register = HRESULT(STDAPICALLTYPE*)();
  auto registerServer = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
  ASSERT_NE(registerServer, nullptr);
  EXPECT_EQ(registerServer(), S_OK) << testing::PrintToString(path);
  FreeLibrary(module);
}

void RegisterDevice() {
  HMODULE module = LoadLibraryW(DevicePath().c_str());
  ASSERT_NE(module, nullptr) << "cannot load " << testing::PrintToString(DevicePath());
  using Install = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);
  auto install = reinterpret_cast<Install>(reinterpret_cast<void*>(GetProcAddress(module, "DllInstall")));
  ASSERT_NE(install, nullptr);
  EXPECT_EQ(install(TRUE, L"force"), S_OK);
  FreeLibrary(module);
}

void RegisterServers() {
  RegisterDevice();
  RegisterServer(Tevrin4Path());
}

ComPtr<legacy::IKalloraPlus> CreateControl() {
  ComPtr<legacy::IKalloraPlus> control;
  const HRESULT hr = CoCreateInstance(legacy::CLSID_KalloraPlus, nullptr, CLSCTX_INPROC_SERVER, legacy::IID_IKalloraPlus,
                                      control.PutVoid());
  EXPECT_EQ(hr, S_OK);
  return control;
}

ComPtr<IConnectionPoint> EventPoint(IUnknown* control) {
  ComPtr<IConnectionPointContainer> container;
  EXPECT_EQ(control->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()), S_OK);
  ComPtr<IConnectionPoint> point;
  if (container) {
    EXPECT_EQ(container->FindConnectionPoint(legacy::DIID_IKalloraPlusEvents, point.Put()), S_OK);
  }
  return point;
}

Connection::Connection(IUnknown* control, EventRecorder& recorder) : point_(EventPoint(control)) {
  if (point_) {
    EXPECT_EQ(point_->Advise(static_cast<IDispatch*>(&recorder), &cookie_), S_OK);
  }
}

Connection::~Connection() {
  if (point_ && cookie_) point_->Unadvise(cookie_);
}

ChildResult Devctl(const std::wstring& arguments) { return RunChild(L"\"" + DevctlPath() + L"\" " + arguments); }

bool WaitForEvents(const EventRecorder& recorder, DISPID id, std::size_t count, DWORD milliseconds) {
  return PumpUntil([&] { return recorder.Of(id).size() >= count; }, milliseconds);
}

std::vector<std::wstring> LastLevels(const EventRecorder& recorder) {
  const std::vector<RecordedEvent> reports = recorder.Of(legacy::dispid::kOnSignalA);
  return reports.empty() ? std::vector<std::wstring>() : reports.back().arguments;
}

}  // namespace test
