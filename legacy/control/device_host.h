// The hosted device control Tevrin51: a hidden child of the form at 38, 8, 26 x 26, created by
// its class identifier. Its Start and Command go through its dual interface's function table;
// its call, signal and click events reach the form's handlers, and a failing handler never
// passes back into the device control.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "legacy/control/form_platform.h"
#include "legacy/control/kallora_plus_form.h"

namespace legacy::control {

class DeviceHost final : public DeviceControl {
 public:
  // Raises common::Error when the device control cannot be created (not installed).
  explicit DeviceHost(HWND form);
  ~DeviceHost() override;
  DeviceHost(const DeviceHost&) = delete;
  DeviceHost& operator=(const DeviceHost&) = delete;

  // From now on the device's events reach `form`.
  void Bind(TKalloraPlus& form);
  HWND Window() const noexcept;

  void Start() override;
  std::wstring Command(const std::wstring& command) override;

 private:
  struct Site;
  std::unique_ptr<Site> site_;
};

}  // namespace legacy::control
