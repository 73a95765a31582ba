// Recording fakes of everything TForm1's handlers touch. Every call lands in one journal, in
// order, so a test can check what the window, the grid, the tray and the device saw.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/error.h"
#include "common/utf16.h"
#include "monitor/call_list.h"
#include "monitor/form1_handlers.h"
#include "monitor/tray_balloon.h"

namespace monitor::testing {

using Journal = std::vector<std::string>;

inline std::string U8(const std::wstring& text) { return common::ToUtf8(text); }

class FakeLabel : public ITextLabel {
 public:
  FakeLabel(Journal& journal, std::string name, std::wstring caption)
      : journal_(journal), name_(std::move(name)), caption_(std::move(caption)) {}
  std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override {
    caption_ = caption;
    journal_.push_back(name_ + "=" + U8(caption));
  }

 private:
  Journal& journal_;
  std::string name_;
  std::wstring caption_;
};

class FakeMeter : public IMeter {
 public:
  FakeMeter(Journal& journal, std::string name) : journal_(journal), name_(std::move(name)) {}
  void SetPosition(std::int32_t position) override {
    Position = position;
    journal_.push_back(name_ + ".Position=" + std::to_string(position));
  }
  void SetSmooth() override {
    Smooth = true;
    journal_.push_back(name_ + ".Smooth");
  }
  std::int32_t Position = 0;
  bool Smooth = false;

 private:
  Journal& journal_;
  std::string name_;
};

class FakeTimer : public ITimerSwitch {
 public:
  FakeTimer(Journal& journal, std::string name) : journal_(journal), name_(std::move(name)) {}
  void SetEnabled(bool enabled) override {
    Enabled = enabled;
    journal_.push_back(name_ + (enabled ? ".Enabled" : ".Disabled"));
  }
  bool Enabled = true;

 private:
  Journal& journal_;
  std::string name_;
};

class FakeWindow : public IFormWindow {
 public:
  explicit FakeWindow(Journal& journal) : journal_(journal) {}
  void PrepareForShow() override { journal_.push_back("Form.PrepareForShow"); }
  void ProcessMessages() override { journal_.push_back("Form.ProcessMessages"); }
  void BringApplicationToFront() override { journal_.push_back("Form.BringToFront"); }
  void Close() override { journal_.push_back("Form.Close"); }

 private:
  Journal& journal_;
};

// A grid of six columns that behaves as the call list does: rows appended and deleted,
// cells blanked with the rows kept.
class FakeGrid : public ICallList {
 public:
  using Row = std::array<std::wstring, 6>;
  explicit FakeGrid(Journal& journal) : journal_(journal) {}
  std::int32_t RowCount() const override { return static_cast<std::int32_t>(Rows.size()); }
  std::int32_t AddRow() override {
    Rows.emplace_back();
    journal_.push_back("Grid.AddRow");
    return RowCount() - 1;
  }
  void DeleteRow(std::int32_t row) override {
    if (row >= 0 && row < RowCount()) Rows.erase(Rows.begin() + row);
    journal_.push_back("Grid.DeleteRow " + std::to_string(row));
  }
  void SetCell(std::int32_t col, std::int32_t row, const std::wstring& text) override {
    if (col < 0 || col >= 6 || row < 0 || row >= RowCount())
      throw common::Error(L"Cell Index out of bound.");
    Rows[row][col] = text;
    journal_.push_back("Grid.Cell " + std::to_string(col) + "," + std::to_string(row) + "=" + U8(text));
  }
  void BeginUpdate() override { journal_.push_back("Grid.BeginUpdate"); }
  void EndUpdate() override { journal_.push_back("Grid.EndUpdate"); }
  void ClearCells() override {
    for (auto& row : Rows) row = Row{};
    journal_.push_back("Grid.ClearCells");
  }
  std::deque<Row> Rows;

 private:
  Journal& journal_;
};

class FakeTray : public ITrayBalloon {
 public:
  explicit FakeTray(Journal& journal) : journal_(journal) {}
  bool ShowBalloonHint(const std::wstring& title, const std::wstring& text, BalloonIcon icon,
                       std::uint8_t timeoutSeconds) override {
    journal_.push_back("Balloon " + U8(title) + "|" + U8(text) + "|" +
                       std::to_string(static_cast<int>(icon)) + "|" + std::to_string(timeoutSeconds));
    return true;
  }

 private:
  Journal& journal_;
};

// The device as a test drives it: what it answers, which calls fail, what it was sent.
struct DeviceState {
  std::wstring Model;
  std::wstring Serial;
  std::wstring Reason;  // what "reason" answers
  int FailingCommands = 0;  // the next N commands raise
  std::wstring FailingCommand;  // this command always raises
  bool StartFails = false;
  std::vector<std::string> Received;
  IDeviceControl::CallerIdHandler OnCallerID;
  IDeviceControl::SignalHandler OnSignalA;
  bool Alive = false;
};

class FakeDevice : public IDeviceControl {
 public:
  explicit FakeDevice(DeviceState& state) : state_(state) { state_.Alive = true; }
  ~FakeDevice() override { state_.Alive = false; }
  void Start() override {
    state_.Received.push_back("Start");
    if (state_.StartFails) throw common::Error(L"Start failed", -2147467259);
  }
  std::wstring Command(const std::wstring& text) override {
    state_.Received.push_back(U8(text));
    if (text == state_.FailingCommand || state_.FailingCommands > 0) {
      if (state_.FailingCommands > 0) --state_.FailingCommands;
      throw common::Error(L"Command failed", -2147467259);
    }
    if (text == L"devicemodel") return state_.Model;
    if (text == L"serial") return state_.Serial;
    if (text == L"reason") return state_.Reason;
    return L"";
  }
  void SetOnSignalA(SignalHandler handler) override {
    state_.Received.push_back("bind OnSignalA");
    state_.OnSignalA = std::move(handler);
  }
  void SetOnCallerID(CallerIdHandler handler) override {
    state_.Received.push_back("bind OnCallerID");
    state_.OnCallerID = std::move(handler);
  }

 private:
  DeviceState& state_;
};

class FakeDeviceFactory : public IDeviceControlFactory {
 public:
  std::unique_ptr<IDeviceControl> Create() override {
    if (WhileCreating) WhileCreating();
    if (!Installed) throw common::Error(L"Class not registered", -2147221164);
    return std::make_unique<FakeDevice>(State);
  }
  bool Installed = true;
  // Runs inside Create, as COM may hand out waiting messages while it makes the control.
  std::function<void()> WhileCreating;
  DeviceState State;
};

// Hands a window the scripted factory that a test keeps (the window owns what it is given).
class ForwardingDeviceFactory : public IDeviceControlFactory {
 public:
  explicit ForwardingDeviceFactory(FakeDeviceFactory& target) : target_(target) {}
  std::unique_ptr<IDeviceControl> Create() override { return target_.Create(); }

 private:
  FakeDeviceFactory& target_;
};

// Mutexes that record their waits; threads that run when the test says so.
class FakeBeepMutex : public IBeepMutex {
 public:
  WaitResult Wait(std::uint32_t milliseconds) override {
    Waits.push_back(milliseconds);
    return Answer;
  }
  void Release() override { ++Releases; }
  WaitResult Answer = WaitResult::Acquired;
  std::vector<std::uint32_t> Waits;
  int Releases = 0;
};

class FakeBeepSystem : public IBeepSystem {
 public:
  std::uint32_t CurrentProcessId() override { return ProcessId; }
  std::shared_ptr<IBeepMutex> OpenOrCreateMutex(const std::wstring& name) override {
    MutexNames.push_back(U8(name));
    return Mutex;
  }
  void RunAside(std::function<void()> body) override { Pending.push_back(std::move(body)); }
  std::uint64_t Milliseconds() override { return Now; }
  void Beep(std::uint32_t frequencyHz, std::uint32_t durationMs) override {
    Beeps.push_back({frequencyHz, durationMs});
  }
  void RunPending() {
    for (auto& body : Pending) body();
    Pending.clear();
  }
  std::uint32_t ProcessId = 1234;
  std::uint64_t Now = 5000;
  std::shared_ptr<FakeBeepMutex> Mutex = std::make_shared<FakeBeepMutex>();
  std::vector<std::string> MutexNames;
  std::vector<std::function<void()>> Pending;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Beeps;
};

// TForm1 with every control a fake, as the window description creates it.
struct FakeForm {
  Journal journal;
  FakeWindow Form{journal};
  FakeLabel Label1{journal, "Label1", L"-"}, Label2{journal, "Label2", L"-"},
      Label3{journal, "Label3", L"-"}, Label4{journal, "Label4", L"-"};
  FakeLabel Label5{journal, "Label5", L"0"}, Label9{journal, "Label9", L"--"},
      Label22{journal, "Label22", L"Çağrı sayısı : "}, Label24{journal, "Label24", L"--"},
      Label25{journal, "Label25", L"--"};
  FakeMeter ProgressBar1{journal, "ProgressBar1"}, ProgressBar2{journal, "ProgressBar2"},
      ProgressBar3{journal, "ProgressBar3"}, ProgressBar4{journal, "ProgressBar4"};
  FakeTimer Timer1{journal, "Timer1"}, Timer2{journal, "Timer2"};
  FakeGrid TextGrid1{journal};
  FakeTray TrayIcon1{journal};
  FakeDeviceFactory devices;
  FakeBeepSystem beeps;
  TForm1Handlers handlers{Form1Controls{Form, Label1, Label2, Label3, Label4, Label5, Label9,
                                        Label22, Label24, Label25, ProgressBar1, ProgressBar2,
                                        ProgressBar3, ProgressBar4, Timer1, Timer2, TextGrid1,
                                        TrayIcon1},
                          devices, beeps};

  DeviceState& device() { return devices.State; }

  // Started, with the journal and the device's log emptied.
  void Start() {
    handlers.FormCreate();
    journal.clear();
    device().Received.clear();
  }

  void Call(const std::wstring& number, const std::wstring& line = L"1") {
    device().OnCallerID(*handlers.Tevrin51(), {L"DEV-7", line, number, L"08.12.2026 01:02", L"ek"});
  }

  void Levels(std::array<std::wstring, 4> first4) {
    SignalArgs args;
    for (int i = 0; i < 4; ++i) args.Level[i] = first4[i];
    for (int i = 4; i < 8; ++i) args.Level[i] = L"0";
    device().OnSignalA(*handlers.Tevrin51(), args);
  }

  std::vector<std::wstring> Column(int col) const {
    std::vector<std::wstring> texts;
    for (const auto& row : TextGrid1.Rows) texts.push_back(row[col]);
    return texts;
  }
};

}  // namespace monitor::testing
