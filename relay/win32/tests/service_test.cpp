// The relay service under Wine: installed, started (then serving NCID clients and answering
// "cidrelay status"), stopped and removed through the service manager; a service that cannot
// start says so and is stopped.
#include <gtest/gtest.h>

#include "device/win32/tests/child_process.h"
#include "monitor/win32/tests/end_to_end_support.h"
#include "relay/win32/tests/relay_process.h"

namespace relay::win32::testing {
namespace {

constexpr const wchar_t* kSettingsKey = L"SOFTWARE\\CallerIdRelay";

::test::ChildResult Cidrelay(const std::wstring& arguments) {
  return ::test::RunChild(L"\"" + monitor::win32::testing::BuiltPath(CIDRELAY_PATH) + L"\" " + arguments, 60000);
}

void SetSetting(const wchar_t* name, const std::wstring& value) {
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSettingsKey, name, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

class RelayServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    port_ = FreePort();
    SetSetting(L"Port", std::to_wstring(port_));
    SetSetting(L"LogPath", folder_.Path() + L"\\cidcall.log");
  }
  void TearDown() override {
    Cidrelay(L"remove");
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSettingsKey);
    WSACleanup();
  }
  unsigned port_ = 0;
  TempFolder folder_;
};

TEST_F(RelayServiceTest, InstalledStartedServingStoppedAndRemovedThroughTheServiceManager) {
  EXPECT_EQ(0u, Cidrelay(L"install").exitCode);
  const auto started = Cidrelay(L"start");
  ASSERT_EQ(0u, started.exitCode) << started.output;
  {
    NcidClient client(port_);
    EXPECT_TRUE(client.ReadUntil("300 ", 1, 10000));
    EXPECT_EQ(1u, client.Lines("200 NCID Server: cidrelay 1.0").size());
    const auto status = Cidrelay(L"status");
    EXPECT_NE(std::string::npos, status.output.find("Clients: 1")) << status.output;
    EXPECT_NE(std::string::npos, status.output.find("cidcall.log (0 bytes, limit 10485760)")) << status.output;
  }
  EXPECT_EQ(0u, Cidrelay(L"stop").exitCode);
  EXPECT_NE(0u, Cidrelay(L"status").exitCode);
  EXPECT_EQ(0u, Cidrelay(L"remove").exitCode);
  const auto gone = Cidrelay(L"start");
  EXPECT_NE(0u, gone.exitCode);
  EXPECT_NE(std::string::npos, gone.output.find("The relay service cannot be opened")) << gone.output;
}

TEST_F(RelayServiceTest, AServiceThatCannotStartSaysSoAndStops) {
  SetSetting(L"DeviceClass", L"not-a-class");
  EXPECT_EQ(0u, Cidrelay(L"install").exitCode);
  const auto started = Cidrelay(L"start");
  EXPECT_NE(0u, started.exitCode);
  EXPECT_NE(std::string::npos, started.output.find("The relay service did not start")) << started.output;
}

}  // namespace
}  // namespace relay::win32::testing
