// TForm1's parts for window tests: a recording grid with a plain child window, a recording
// tray, the scripted device of the portable tests, the real beep with a counting speaker.
#pragma once

#include <windows.h>

#include <atomic>

#include "monitor/tests/fake_form.h"
#include "monitor/win32/beep_system_win32.h"
#include "monitor/win32/form1_window.h"
#include "tray/win32/application.h"
#include "tray/win32/tests/message_pump.h"

namespace monitor::win32::testing {

using monitor::testing::FakeDeviceFactory;
using monitor::testing::FakeGrid;
using monitor::testing::Journal;
using tray::testing::PumpFor;
using tray::testing::PumpUntil;

class RecordingGrid : public ICallListWindow {
 public:
  RecordingGrid(Journal& journal, HWND parent, const PlacedControl& place) : model(journal) {
    window_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE, place.Place.Left,
                              place.Place.Top, place.Place.Width, place.Place.Height, parent,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~RecordingGrid() override { DestroyWindow(window_); }
  HWND Handle() const override { return window_; }
  std::int32_t RowCount() const override { return model.RowCount(); }
  std::int32_t AddRow() override { return model.AddRow(); }
  void DeleteRow(std::int32_t row) override { model.DeleteRow(row); }
  void SetCell(std::int32_t col, std::int32_t row, const std::wstring& text) override {
    model.SetCell(col, row, text);
  }
  void BeginUpdate() override { model.BeginUpdate(); }
  void EndUpdate() override { model.EndUpdate(); }
  void ClearCells() override { model.ClearCells(); }
  FakeGrid model;

 private:
  HWND window_;
};

class TestParts : public IForm1Parts {
 public:
  tray::TApplication application{L"Test"};
  std::unique_ptr<ICallListWindow> CreateTextGrid(HWND form, const PlacedControl& place) override {
    auto grid = std::make_unique<RecordingGrid>(journal, form, place);
    Grid = grid.get();
    GridPlace = place.Place;
    return grid;
  }
  // Balloon titles as the tray icon hands them to the shell, which accepts every call.
  tray::ShellNotifier Shell() override {
    return [this](DWORD message, NOTIFYICONDATAW* data) {
      if (message == NIM_MODIFY && (data->uFlags & NIF_INFO) && data->szInfo[0])
        balloons.push_back(std::wstring(data->szInfoTitle) + L"|" + data->szInfo);
      return TRUE;
    };
  }
  std::unique_ptr<IDeviceControlFactory> CreateDeviceFactory(HWND) override {
    return std::make_unique<Forwarding>(devices);
  }
  IBeepSystem& Beeps() override { return beeps; }

  Journal journal;
  FakeDeviceFactory devices;
  RecordingGrid* Grid = nullptr;
  Bounds GridPlace{};
  std::vector<std::wstring> balloons;
  std::atomic<int> beepCount{0};
  Win32BeepSystem beeps{[this](std::uint32_t, std::uint32_t duration) {
    ++beepCount;
    Sleep(duration);
  }};

 private:
  // The window owns its factory; the test keeps the scripted one.
  struct Forwarding : IDeviceControlFactory {
    explicit Forwarding(FakeDeviceFactory& target) : target(target) {}
    std::unique_ptr<IDeviceControl> Create() override { return target.Create(); }
    FakeDeviceFactory& target;
  };
};

inline std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

}  // namespace monitor::win32::testing
