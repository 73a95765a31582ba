// The open-source device control's members, reports and console link.
#include "opencid/win32/source_control.h"

#include "activex/bstr.h"
#include "common/utf16.h"
#include "device/control_request.h"
#include "device/win32/device_link.h"
#include "opencid/win32/source_settings.h"

namespace opencid {

namespace {

const activex::ControlDescription kDescription{
    CLSID_OpenCallerIdDevice, IID_ITevrin5, DIID_ITevrin5Events, L"OpenCallerId.Device",
    OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT | OLEMISC_RECOMPOSEONRESIZE |
        OLEMISC_CANTLINKINSIDE};

constexpr UINT kReportsWaiting = WM_APP + 1;

LocalTime Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}

}  // namespace

IUnknown* SourceControl::Create() { return static_cast<IOleObject*>(new SourceControl(ReadSource())); }

SourceControl::SourceControl(EffectiveSource source)
    : Tevrin5Base(kDescription, L"OpenCallerIdDevice"),
      source_(std::move(source.source)),
      scope_(source.scope),
      savedLines_(StoredLineNumbers(source_.DeviceId())),
      session_(source_.DeviceId(), savedLines_) {
  reason_ = L"not started";
  link_ = std::make_unique<activex::MessageWindow>(
      device::kDeviceWindowClass, WS_POPUP, nullptr, RECT{0, 0, 0, 0},
      [this](UINT message, WPARAM wParam, LPARAM lParam) { return LinkMessage(message, wParam, lParam); });
}

// A server's line labels keep their numbers from one run of the program to the next.
void SourceControl::SaveLineNumbers() {
  std::string saved = session_.SavedLines();
  if (saved == savedLines_) return;
  StoreLineNumbers(source_.DeviceId(), saved);
  savedLines_ = std::move(saved);
}

SourceControl::~SourceControl() {
  worker_.reset();
  link_.reset();
}

std::optional<LRESULT> SourceControl::LinkMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kReportsWaiting) {
    TakeReports();
    return 0;
  }
  std::wstring text;
  if (message != WM_COPYDATA || !device::ReceiveText(lParam, device::kRequestTag, text)) return std::nullopt;
  const device::ControlRequest request = device::Decode(text);
  const std::wstring reply = request.verb == L"status" ? Status()
                                                       : source_.DeviceId() + L": reads its calls from the source; only status applies";
  device::SendText(reinterpret_cast<HWND>(wParam), link_->Handle(), device::kReplyTag, reply, 5000);
  return TRUE;
}

std::wstring SourceControl::Status() const {
  const std::wstring scope = L" (" + ScopeName(scope_) + L" source)";
  if (connected_) return source_.DeviceId() + L" connected, " + model_ + scope;
  return source_.DeviceId() + L" not connected: " + reason_ + scope;
}

void SourceControl::TakeReports() {
  if (!worker_) return;
  // Stable across the events raised here: a host may release us from a handler.
  activex::ComPtr<IUnknown> keepAlive(static_cast<IOleObject*>(this));
  const unsigned run = run_;
  for (const SourceReport& report : worker_->Take()) {
    if (run_ != run) return;  // a handler stopped the control: the rest is not raised
    Take(report);
  }
}

void SourceControl::Take(const SourceReport& report) {
  const bool modem = source_.kind == SourceSetting::Kind::Modem;
  switch (report.kind) {
    case SourceReport::Kind::Ready:
      // A server is connected once it has greeted; a modem once it is initialised.
      if (!modem) return session_.Connected();
      model_ = common::FromUtf8(report.text);
      block_.Reset();
      return SetConnected(true);
    case SourceReport::Kind::Lost:
      reason_ = report.reason;
      session_.Disconnected();
      SetConnected(false);
      return;
    case SourceReport::Kind::Line:
      break;
  }
  if (modem) {
    if (auto call = block_.Line(report.text, GetTickCount64()))
      RaiseCall({source_.DeviceId(), L"1", common::FromUtf8(call->number), ModemCallTime(call->date, call->time, Now()),
                 common::FromUtf8(call->name)});
    return;
  }
  const bool greeted = session_.Greeted();
  const unsigned run = run_;
  for (const auto& call : session_.Line(report.text, Now())) {
    if (run_ != run) return;
    RaiseCall(call);
  }
  SaveLineNumbers();
  if (!greeted && session_.Greeted()) {
    model_ = session_.ServerName();
    SetConnected(true);
  }
}

void SourceControl::SetConnected(bool connected) {
  if (connected == connected_) return;
  connected_ = connected;
  ShowState();
  if (connected) RaiseLevels({L"0", L"0", L"0", L"0", L"0", L"0", L"0", L"0"});
}

HRESULT SourceControl::get_Plugged(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = Bool(connected_);
  return S_OK;
}

HRESULT SourceControl::get_Model(BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return Guard([&] { *value = activex::Bstr(Model()).Detach(); });
}

HRESULT SourceControl::get_Serial(BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return Guard([&] { *value = activex::Bstr(source_.Serial()).Detach(); });
}

HRESULT SourceControl::get_CommandCount(LONG* value) {
  if (!value) return E_POINTER;
  *value = commandCount_;
  return S_OK;
}

HRESULT SourceControl::Start() {
  return Guard([&] {
    if (worker_) return;
    reason_ = L"connecting";
    worker_ = std::make_unique<SourceWorker>(source_, link_->Handle(), kReportsWaiting);
  });
}

HRESULT SourceControl::get_Started(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = Bool(worker_ != nullptr);
  return S_OK;
}

HRESULT SourceControl::Stop() {
  ++run_;
  worker_.reset();
  session_.Disconnected();
  reason_ = L"not started";
  SetConnected(false);
  return S_OK;
}

HRESULT SourceControl::Command(BSTR text, BSTR* result) {
  if (!result) return E_POINTER;
  *result = nullptr;
  return Guard([&] {
    ++commandCount_;
    const std::wstring command = activex::TextOf(text);
    activex::Bstr answer(command == L"devicemodel" ? Model()
                         : command == L"serial"    ? source_.Serial()
                         : command == L"reason"    ? (connected_ ? std::wstring() : Status())
                                                   : std::wstring());
    if (!answer.Get()) throw std::bad_alloc();
    *result = answer.Detach();
  });
}

}  // namespace opencid
