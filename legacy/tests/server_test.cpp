// The server's exports called directly, as COM calls them: the one class factory, its checks,
// and when the library may be unloaded.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include "legacy/kallora_plus_interface.h"
#include "legacy/tests/modal_window_watch.h"
#include "legacy/tests/wine_paths.h"

namespace {

// {EEA18052-171F-4293-8598-AB6E1D7257B2}
constexpr CLSID kDeviceClass = {0xEEA18052, 0x171F, 0x4293, {0x85, 0x98, 0xAB, 0x6E, 0x1D, 0x72, 0x57, 0xB2}};
// A class nobody registers.
constexpr CLSID kNowhere = {0x6B1D1E2A, 0x0C55, 0x4F3E, {0x9A, 0x41, 0x2D, 0x7C, 0x11, 0x90, 0x5E, 0x33}};

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();

class ServerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    module_ = LoadLibraryW(test::Tevrin4Path().c_str());
    ASSERT_NE(module_, nullptr);
    getClassObject_ = reinterpret_cast<GetClassObjectFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    canUnloadNow_ =
        reinterpret_cast<CanUnloadNowFunction>(reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
    ASSERT_TRUE(getClassObject_ && canUnloadNow_);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
    OleUninitialize();
  }

  IClassFactory* Factory() {
    IClassFactory* factory = nullptr;
    EXPECT_EQ(getClassObject_(legacy::CLSID_KalloraPlus, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    return factory;
  }

  HMODULE module_ = nullptr;
  GetClassObjectFunction getClassObject_ = nullptr;
  CanUnloadNowFunction canUnloadNow_ = nullptr;
};

TEST_F(ServerTest, ExportsByOrdinal) {
  EXPECT_EQ(GetProcAddress(module_, MAKEINTRESOURCEA(1)), GetProcAddress(module_, "DllUnregisterServer"));
  EXPECT_EQ(GetProcAddress(module_, MAKEINTRESOURCEA(2)), GetProcAddress(module_, "DllRegisterServer"));
  EXPECT_EQ(GetProcAddress(module_, MAKEINTRESOURCEA(3)), GetProcAddress(module_, "DllCanUnloadNow"));
  EXPECT_EQ(GetProcAddress(module_, MAKEINTRESOURCEA(4)), GetProcAddress(module_, "DllGetClassObject"));
  EXPECT_NE(GetProcAddress(module_, MAKEINTRESOURCEA(4)), nullptr);
}

TEST_F(ServerTest, ServesOnlyItsOneClass) {
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject_(IID_IDispatch, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject_(legacy::CLSID_KalloraPlus, IID_IDispatch, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  IClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  IClassFactory* again = Factory();
  EXPECT_EQ(factory, again) << "one factory";
  again->Release();
  factory->Release();
}

TEST_F(ServerTest, CanUnloadOnlyWithoutFactoryReferencesOrLocks) {
  EXPECT_EQ(canUnloadNow_(), S_OK);
  IClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory->Release();
  EXPECT_EQ(canUnloadNow_(), S_FALSE) << "locked";
  factory = Factory();
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  factory->Release();
  EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(ServerTest, CreateInstanceChecksItsArguments) {
  IClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
  void* out = reinterpret_cast<void*>(1);
  IUnknown* outer = factory;  // any object will do: it must be refused before anything is made
  EXPECT_EQ(factory->CreateInstance(outer, IID_IDispatch, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
  factory->Release();
  EXPECT_EQ(canUnloadNow_(), S_OK);
}

// Without its device control the control cannot be made: the user sees why, the host gets
// E_UNEXPECTED.
TEST_F(ServerTest, AControlThatCannotBeMadeIsReportedInTheDaxErrorBox) {
  const bool diverted = CoTreatAsClass(kDeviceClass, kNowhere) == S_OK;
  IClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  std::wstring text;
  HRESULT hr = S_OK;
  void* out = reinterpret_cast<void*>(1);
  {
    test::ModalWindowWatch watch(
        L"#32770",
        [&](HWND box) {
          for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t buffer[256] = {};
            SendMessageW(child, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
            wchar_t cls[32] = {};
            GetClassNameW(child, cls, 32);
            if (lstrcmpiW(cls, L"Static") == 0 && buffer[0]) text = buffer;
          }
        },
        [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); }, L"DAX Error");
    hr = factory->CreateInstance(nullptr, IID_IUnknown, &out);
    EXPECT_TRUE(watch.Found());
  }
  if (diverted) CoTreatAsClass(kDeviceClass, CLSID_NULL);
  EXPECT_EQ(hr, E_UNEXPECTED);
  EXPECT_EQ(out, nullptr);
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(text.back(), L'.');
  factory->Release();
  EXPECT_EQ(canUnloadNow_(), S_OK) << "the failed control left no object behind";
}

}  // namespace
