// The relay's line source: the device control created by its class identifier on a thread
// of its own (a single-threaded apartment with a message loop, as the control needs),
// unlocked and started as the line monitor does, its model polled every second with
// "devicemodel", and every OnCallerID handed on, on that thread, in the order raised. A
// control that cannot be created, or fails, is tried again every ten seconds; one whose
// model names this relay's own instance is a client of this relay and is refused.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "device/simulated_device.h"

namespace relay::win32 {

class DeviceSource {
 public:
  using CallHandler = std::function<void(const device::CallerId& call)>;
  using NoteHandler = std::function<void(const std::wstring& text)>;

  // `ownMark` is a text that only this relay's greeting carries.
  DeviceSource(const CLSID& clsid, std::wstring ownMark, CallHandler onCall, NoteHandler note);
  ~DeviceSource();
  DeviceSource(const DeviceSource&) = delete;
  DeviceSource& operator=(const DeviceSource&) = delete;

  // The device's model, or why there is none.
  std::wstring State() const;

 private:
  void Run() noexcept;
  void SetState(std::wstring state);

  const CLSID clsid_;
  const std::wstring ownMark_;
  CallHandler onCall_;
  NoteHandler note_;
  mutable std::mutex lock_;
  std::wstring state_ = L"starting";
  DWORD threadId_ = 0;
  HANDLE ready_;
  std::thread thread_;
};

// "{...}" as a class identifier; throws common::Error naming the text otherwise.
CLSID ClassIdOf(const std::wstring& text);

}  // namespace relay::win32
