// A tray icon on the recording fakes, with helpers to find its timers and read its calls.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "tray/notify_icon.h"
#include "tray/tests/fake_timer_window.h"
#include "tray/tests/fake_tray.h"
#include "tray/tray_icon_handler.h"

namespace tray::testing {

class NotifyIconTest : public ::testing::Test {
 protected:
  NotifyIconTest() { CallLog().clear(); }

  TNotifyIcon& MakeIcon(TNotifyIcon::Loading loading = TNotifyIcon::Loading::No) {
    icon = std::make_unique<TNotifyIcon>(host, loading);
    host.shellCalls.clear();
    CallLog().clear();
    return *icon;
  }

  void Notify(ShellNotification notification) {
    TrayIconHandler()->Dispatch(icon->Identifier(), notification);
  }

  // The identifier of the running system timer of that interval, if one runs.
  static std::optional<std::uintptr_t> TimerRunningAt(std::uint32_t interval) {
    for (const auto& [identifier, running] : TimerWindows().running)
      if (running == interval) return identifier;
    return std::nullopt;
  }

  const NotifyIconRecord& LastRecord() const { return host.shellCalls.back().record; }

  FakeTrayHost host;
  std::unique_ptr<TNotifyIcon> icon;
};

}  // namespace tray::testing
