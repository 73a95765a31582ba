#include "legacy/control/kallora_plus_form.h"

#include <vector>

#include "common/error.h"
#include "legacy/control/stored_levels.h"
#include "legacy/dispids.h"

namespace legacy::control {
namespace {

constexpr int kFormMargin = 5;
constexpr wchar_t kBanner[] = L"KALLORA v.4.x.x.x";

}  // namespace

TKalloraPlus::TKalloraPlus(FormPlatform& platform, DeviceControl& device, EventSink& sink)
    : platform_(platform), device_(device), sink_(sink) {}

TKalloraPlus::~TKalloraPlus() { FocusForget(*this); }

// Only the image stays visible; the form wraps it.
void TKalloraPlus::LayOut() {
  platform_.HideDevice();
  const Size image = platform_.ImageSize();
  platform_.SetFormSize({image.width + kFormMargin, image.height + kFormMargin});
  platform_.SetAutoSize(true);
}

void TKalloraPlus::ActiveFormCreate() { LayOut(); }
void TKalloraPlus::Image1MouseDown() { LayOut(); }
void TKalloraPlus::Tevrin51Click() { LayOut(); }

void TKalloraPlus::About1Click() {
  try {
    AboutBox();
  } catch (const common::Error& failure) {
    platform_.ShowErrorBox(failure.Message());
  }
}

void TKalloraPlus::Tevrin51CallerID(const std::wstring&, const std::wstring& line, const std::wstring& phoneNumber,
                                    const std::wstring& dateTime, const std::wstring&) {
  if (sink_.Connected()) sink_.Raise(dispid::kOnCallerID, {line, phoneNumber, dateTime});
}

// Nothing is raised here: the next tick reports the new levels.
void TKalloraPlus::Tevrin51SignalA(const std::array<std::wstring, 8>& levels) { StoreLevels(levels); }

// A report takes microseconds: the timer then runs on untouched, and its next tick, a period
// after this one began, cannot be told from one a period after this report ended. A report
// that outlasts the timer's resolution (a host's handler that waited, or handed out messages)
// stops the timer and starts it again, so that the next report comes a full period after this
// one ends and no expiry that fell due meanwhile survives; a tick handed out meanwhile is
// dropped, so two never run at once. A failed report stops the timer until the next Start.
void TKalloraPlus::Oku_timerTimer() {
  if (reporting_) return;
  reporting_ = true;
  const std::int64_t start = platform_.Milliseconds();
  try {
    RaiseSignalReport();
  } catch (...) {
    reporting_ = false;
    platform_.SetTimerEnabled(false);
    throw;
  }
  reporting_ = false;
  if (platform_.Milliseconds() - start >= kTimerResolutionMs) {
    platform_.SetTimerEnabled(false);
    platform_.SetTimerEnabled(true);
  }
}

void TKalloraPlus::RaiseSignalReport() {
  if (!sink_.Connected()) return;
  sink_.Raise(dispid::kOnSignalA, LevelTexts(StoredLevels()));
  sink_.Raise(dispid::kOnSignalD, std::vector<std::wstring>(8, L"255"));
}

void TKalloraPlus::WindowActivation(bool active) { active_ = active; }

void TKalloraPlus::FocusEnteredForm() { FocusEntered(*this); }

void TKalloraPlus::FocusGained() { RaiseForwarded(dispid::kOnActivate); }
void TKalloraPlus::FocusLost() { RaiseForwarded(dispid::kOnDeactivate); }

void TKalloraPlus::RaiseForwarded(long id) {
  if (forwarding_ && sink_.Connected()) sink_.Raise(id, {});
}

void TKalloraPlus::Initialize() { forwarding_ = true; }
void TKalloraPlus::CreationNotification() { RaiseForwarded(dispid::kOnCreate); }
void TKalloraPlus::DestructionNotification() { RaiseForwarded(dispid::kOnDestroy); }

// The host's first connection sees the creation it missed; later ones do not.
void TKalloraPlus::EventSinkChanged() {
  if (++sinkChanges_ == 1 && sink_.Connected()) CreationNotification();
}

bool TKalloraPlus::Visible() const { return platform_.FormVisible(); }
void TKalloraPlus::SetVisible(bool visible) { platform_.SetFormVisible(visible); }
void TKalloraPlus::AboutBox() { platform_.ShowAbout(); }
void TKalloraPlus::SetConfig(const std::wstring&) {}
std::wstring TKalloraPlus::About() const { return kBanner; }
void TKalloraPlus::SetAbout(const std::wstring&) {}

// The device's text as it came: a round trip through the ANSI code page would turn every
// letter that code page lacks into a question mark.
std::wstring TKalloraPlus::DeviceModel() { return device_.Command(L"devicemodel"); }

std::wstring TKalloraPlus::LineStatus(long) const { return L"-"; }

// No command reaches the device before its Start; a failing device start leaves the timer on.
void TKalloraPlus::Start() {
  StoredLevels().fill(0);
  RaiseSignalReport();
  platform_.SetTimerEnabled(true);
  device_.Start();
}

}  // namespace legacy::control
