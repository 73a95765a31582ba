// What a C++ host of KalloraPlus needs in the tests: the servers registered in the prefix, a
// control made through COM, its event point, and the device's console tool.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "activex/com_ptr.h"
#include "legacy/kallora_plus_interface.h"
#include "device/win32/tests/child_process.h"
#include "legacy/tests/event_recorder.h"

namespace test {

using activex::ComPtr;

// Calls the library's DllRegisterServer; raises a test failure when it does not succeed.
void RegisterServer(const std::wstring& path);

// Registers the simulated device in the prefix, replacing any other file's registration of its
// class; raises a test failure when it does not succeed.
void RegisterDevice();

// Registers the simulated device and tevrin4.dll.
void RegisterServers();

// Tests that share one apartment with both servers registered.
class RegisteredServersTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    OleInitialize(nullptr);
    RegisterServers();
  }
  static void TearDownTestSuite() { OleUninitialize(); }
};

// A new control through CoCreateInstance, without any site.
ComPtr<legacy::IKalloraPlus> CreateControl();

// The control's event connection point.
ComPtr<IConnectionPoint> EventPoint(IUnknown* control);

// A sink connected to a control's event point for the life of this object. Declare it after
// the recorder, so that the sink is disconnected before it goes away.
class Connection {
 public:
  Connection(IUnknown* control, EventRecorder& recorder);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

 private:
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

// Runs the device's console tool with the arguments, serving this thread's windows meanwhile.
ChildResult Devctl(const std::wstring& arguments);

// Pumps until `recorder` holds at least `count` events with the DISPID, or a second passes.
bool WaitForEvents(const EventRecorder& recorder, DISPID id, std::size_t count, DWORD milliseconds = 1000);

// The last OnSignalA's levels, or nothing when none came.
std::vector<std::wstring> LastLevels(const EventRecorder& recorder);

}  // namespace test
