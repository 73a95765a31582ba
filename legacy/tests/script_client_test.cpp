// A script client: the system's script host creates KalloraPlus by its ProgID and calls its
// members late-bound.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "legacy/tests/com_host.h"
#include "legacy/tests/wine_paths.h"

namespace {

constexpr char kScript[] =
    "Set k = CreateObject(\"Upgrade_v4.KalloraPlus\")\r\n"
    "WScript.Echo \"LineStatus=\" & k.LineStatus(3)\r\n"
    "WScript.Echo \"ServiceRunning=\" & CInt(k.ServiceRunning)\r\n"
    "WScript.Echo \"About=\" & k.About\r\n"
    "k.Config = \"ayar\"\r\n"
    "k.Visible = False\r\n"
    "WScript.Echo \"Visible=\" & CInt(k.Visible)\r\n"
    "WScript.Echo \"Active=\" & CInt(k.Active)\r\n"
    "WScript.Echo \"DeviceModel=\" & k.DeviceModel\r\n"  // a fresh device is unplugged
    "n = \"123\"\r\n"
    "k.DialThisNumber n\r\n"
    "WScript.Echo \"Dialled=[\" & n & \"]\"\r\n"
    "k.Start\r\n"
    "WScript.Echo \"Started\"\r\n"
    "Set k = Nothing\r\n";

TEST(ScriptClient, CreatesTheControlByItsProgIdAndCallsItsMembers) {
  OleInitialize(nullptr);
  test::RegisterServers();

  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring script = std::wstring(folder) + L"kallora_client.vbs";
  {
    std::ofstream out(script.c_str(), std::ios::binary);
    out << kScript;
  }
  const test::ChildResult run = test::RunChild(L"cscript.exe //Nologo \"" + script + L"\"");
  DeleteFileW(script.c_str());
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  for (const char* line : {"LineStatus=-", "ServiceRunning=-1", "About=KALLORA v.4.x.x.x", "Visible=0",
                           "Active=0", "DeviceModel=\r\n", "Dialled=[]", "Started"})
    EXPECT_NE(run.output.find(line), std::string::npos) << line << "\n" << run.output;
  OleUninitialize();
}

}  // namespace
