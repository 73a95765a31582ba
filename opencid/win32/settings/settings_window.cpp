#include "opencid/win32/settings/settings_window.h"

#include <commctrl.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "common/error.h"
#include "opencid/source_choice.h"
#include "opencid/win32/settings/device_owner.h"
#include "opencid/win32/settings/source_probe.h"
#include "opencid/win32/source_settings.h"

namespace opencid::settings {
namespace {

constexpr wchar_t kClassName[] = L"OpenCallerIdSourceSettings";
constexpr UINT kProbeAnswer = WM_APP + 1;  // lParam: a std::wstring* the window takes over
constexpr int kDesignDpi = 96;

// Where each control goes at 96 ppi; scaled to the window's own resolution.
struct Placement {
  int id;
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
  RECT at;  // left, top, right, bottom
};

const std::vector<Placement>& Layout() {
  static const std::vector<Placement> layout = {
      {kScopeText, WC_STATICW, L"", SS_LEFT, {12, 10, 408, 28}},
      {kVendorChoice, WC_BUTTONW, L"Cihazın kendi denetimi", BS_RADIOBUTTON | WS_GROUP | WS_TABSTOP, {12, 34, 408, 54}},
      {kServerChoice, WC_BUTTONW, L"NCID sunucusu", BS_RADIOBUTTON | WS_TABSTOP, {12, 58, 408, 78}},
      {0, WC_STATICW, L"Sunucu:", SS_LEFT, {34, 85, 160, 103}},
      {kHostEdit, WC_EDITW, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, {164, 82, 320, 104}},
      {0, WC_STATICW, L"Bağlantı noktası:", SS_LEFT, {34, 113, 160, 131}},
      {kPortEdit, WC_EDITW, L"", ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | WS_TABSTOP, {164, 110, 234, 132}},
      {kServerTest, WC_BUTTONW, L"Sına", BS_PUSHBUTTON | WS_TABSTOP, {328, 82, 408, 106}},
      {kModemChoice, WC_BUTTONW, L"Arayan numara modemi", BS_RADIOBUTTON | WS_TABSTOP | WS_GROUP, {12, 142, 408, 162}},
      {0, WC_STATICW, L"Seri bağlantı noktası:", SS_LEFT, {34, 172, 160, 190}},
      {kSerialPortBox, WC_COMBOBOXW, L"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
       {164, 168, 320, 300}},
      {kModemTest, WC_BUTTONW, L"Sına", BS_PUSHBUTTON | WS_TABSTOP, {328, 167, 408, 191}},
      {kSimulatedChoice, WC_BUTTONW, L"Benzetilmiş cihaz", BS_RADIOBUTTON | WS_TABSTOP | WS_GROUP, {12, 200, 408, 220}},
      {kResultText, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, {12, 228, 408, 290}},
      {kSaveButton, WC_BUTTONW, L"Kaydet", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, {236, 298, 316, 322}},
      {kCloseButton, WC_BUTTONW, L"Kapat", BS_PUSHBUTTON | WS_TABSTOP, {328, 298, 408, 322}},
  };
  return layout;
}
constexpr SIZE kClientSize = {420, 334};

struct WindowState {
  SettingsPlace place;
  HFONT font = nullptr;
  std::vector<HWND> controls;  // in the order of Layout()
  std::shared_ptr<std::atomic<bool>> stopping = std::make_shared<std::atomic<bool>>(false);
  ~WindowState() {
    stopping->store(true);
    if (font) DeleteObject(font);
  }
};

WindowState* State(HWND window) { return reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

UINT WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi) {
    if (UINT dpi = getDpi(window)) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

int Scaled(int length, UINT dpi) { return MulDiv(length, static_cast<int>(dpi), kDesignDpi); }

HFONT MakeFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW font{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) font = metrics.lfMessageFont;
  else lstrcpyW(font.lfFaceName, L"Tahoma");
  font.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
  font.lfWidth = 0;
  font.lfCharSet = DEFAULT_CHARSET;
  return CreateFontIndirectW(&font);
}

// Places every control for the window's resolution, with a font of that resolution.
void Arrange(HWND window, UINT dpi) {
  WindowState* state = State(window);
  HFONT font = MakeFont(dpi);
  for (std::size_t index = 0; index < state->controls.size(); ++index) {
    const RECT& at = Layout()[index].at;
    SetWindowPos(state->controls[index], nullptr, Scaled(at.left, dpi), Scaled(at.top, dpi),
                 Scaled(at.right - at.left, dpi), Scaled(at.bottom - at.top, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(state->controls[index], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  if (state->font) DeleteObject(state->font);
  state->font = font;
  InvalidateRect(window, nullptr, TRUE);
}

std::wstring Text(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

void ShowResult(HWND window, const std::wstring& text) { SetDlgItemTextW(window, kResultText, text.c_str()); }

SourceChoice CheckedChoice(HWND window) {
  if (IsDlgButtonChecked(window, kVendorChoice) == BST_CHECKED) return SourceChoice::VendorDevice;
  if (IsDlgButtonChecked(window, kModemChoice) == BST_CHECKED) return SourceChoice::Modem;
  if (IsDlgButtonChecked(window, kSimulatedChoice) == BST_CHECKED) return SourceChoice::SimulatedDevice;
  return SourceChoice::NcidServer;
}

SourceForm Form(HWND window, SourceChoice choice) {
  return {choice, Text(window, kHostEdit), Text(window, kPortEdit), Text(window, kSerialPortBox)};
}

// The PC's serial ports as Windows lists them.
std::vector<std::wstring> SerialPorts() {
  std::vector<std::wstring> ports;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return ports;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256], data[64];
    DWORD nameLength = 256, dataSize = sizeof data - sizeof(wchar_t), type = 0;
    const LONG result =
        RegEnumValueW(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS || type != REG_SZ) continue;
    data[dataSize / sizeof(wchar_t)] = L'\0';
    ports.emplace_back(data);
  }
  RegCloseKey(key);
  return ports;
}

void Fill(HWND window, const SettingsPlace& place) {
  SetDlgItemTextW(window, kScopeText, ScopeSentence(place.elevated).c_str());
  const EffectiveSource current = ReadSource();
  const SourceForm form = FormFor(current.source);
  SetDlgItemTextW(window, kHostEdit, form.host.c_str());
  SetDlgItemTextW(window, kPortEdit, form.port.c_str());
  HWND ports = GetDlgItem(window, kSerialPortBox);
  for (const std::wstring& port : SerialPorts())
    SendMessageW(ports, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(port.c_str()));
  if (!form.portName.empty()) SetWindowTextW(ports, form.portName.c_str());
  else SendMessageW(ports, CB_SETCURSEL, 0, 0);

  int checked = form.choice == SourceChoice::Modem ? kModemChoice : kServerChoice;
  const DeviceOwner owner = CurrentDeviceOwner();
  if (owner == DeviceOwner::Simulated) checked = kSimulatedChoice;
  if (owner == DeviceOwner::Vendor) checked = kVendorChoice;
  CheckRadioButton(window, kVendorChoice, kSimulatedChoice, checked);
  if (!place.elevated) {
    // Only an elevated run may change who answers as the device control.
    EnableWindow(GetDlgItem(window, kVendorChoice), FALSE);
    EnableWindow(GetDlgItem(window, kSimulatedChoice), FALSE);
    ShowResult(window, L"Cihazın kendi denetimini ya da benzetilmiş cihazı seçmek için bu programı yönetici "
                       L"olarak çalıştırın.");
  } else if (checked != kSimulatedChoice && GetFileAttributesW(place.devsimPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
    // Installed without the simulated device: there is none to choose.
    EnableWindow(GetDlgItem(window, kSimulatedChoice), FALSE);
  }
}

void Save(HWND window) {
  const SettingsPlace& place = State(window)->place;
  try {
    const SavePlan plan = PlanSave(Form(window, CheckedChoice(window)), place.elevated);
    if (plan.source) StoreSource(plan.machineWide ? SourceScope::Machine : SourceScope::User, *plan.source);
    try {
      ChangeDeviceOwner(plan.owner, plan.source ? &*plan.source : nullptr, place.opencidPath, place.devsimPath);
    } catch (const common::Error& failure) {
      // The source is kept: say so, not that nothing was saved.
      if (!plan.source) throw;
      return ShowResult(window, L"Kaynak kaydedildi, ama cihaz denetiminin yerine geçilemedi: " + failure.Message());
    }
    ShowResult(window, L"Kaydedildi. Açık olan programlar yeni kaynağı yeniden başlatıldıklarında kullanır.");
  } catch (const common::Error& failure) {
    ShowResult(window, L"Kaydedilmedi: " + failure.Message());
  }
}

// Asks the source on a thread of its own, so the window answers while the source is silent.
void Probe(HWND window, SourceChoice choice) {
  SourceSetting source;
  try {
    source = *PlanSave(Form(window, choice), true).source;
  } catch (const common::Error& failure) {
    return ShowResult(window, failure.Message());
  }
  ShowResult(window, L"Sınanıyor…");
  std::thread([window, source, stopping = State(window)->stopping] {
    auto answer = std::make_unique<std::wstring>(ProbeSource(source, *stopping));
    if (!*stopping && PostMessageW(window, kProbeAnswer, 0, reinterpret_cast<LPARAM>(answer.get()))) answer.release();
  }).detach();
}

void OnCommand(HWND window, int id) {
  switch (id) {
    case kSaveButton: return Save(window);
    case kCloseButton:
    case IDCANCEL: DestroyWindow(window); return;
    case kServerTest: return Probe(window, SourceChoice::NcidServer);
    case kModemTest: return Probe(window, SourceChoice::Modem);
    // The choices are apart, with their fields between them: they are kept one by their identifiers.
    case kVendorChoice:
    case kServerChoice:
    case kModemChoice:
    case kSimulatedChoice: CheckRadioButton(window, kVendorChoice, kSimulatedChoice, id); return;
    default: return;
  }
}

void CreateControls(HWND window) {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  for (const Placement& placement : Layout())
    State(window)->controls.push_back(CreateWindowExW(0, placement.className, placement.text,
                                                      WS_CHILD | WS_VISIBLE | placement.style, 0, 0, 0, 0, window,
                                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(placement.id)),
                                                      instance, nullptr));
}

LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      auto state = std::make_unique<WindowState>();
      state->place = *static_cast<SettingsPlace*>(create->lpCreateParams);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
      CreateControls(window);
      Arrange(window, WindowDpi(window));
      Fill(window, State(window)->place);
      return 0;
    }
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      Arrange(window, HIWORD(wParam));
      return 0;
    }
    case WM_COMMAND: OnCommand(window, LOWORD(wParam)); return 0;
    case kProbeAnswer: {
      std::unique_ptr<std::wstring> answer(reinterpret_cast<std::wstring*>(lParam));
      ShowResult(window, *answer);
      return 0;
    }
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_NCDESTROY: delete State(window); SetWindowLongPtrW(window, GWLP_USERDATA, 0); break;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return Handle(window, message, wParam, lParam);
  } catch (const std::exception&) {
    return message == WM_CREATE ? -1 : 0;
  }
}

void RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered
}

}  // namespace

bool CanWriteMachineSetting() {
  // Opening the key with the right to add to it asks exactly what saving needs, and changes nothing.
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_CREATE_SUB_KEY | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

HWND CreateSettingsWindow(HINSTANCE instance, const SettingsPlace& place) {
  RegisterWindowClass(instance);
  SettingsPlace copy = place;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"Arayan numara kaynağı", style, CW_USEDEFAULT,
                                CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, &copy);
  if (!window) return nullptr;
  const UINT dpi = WindowDpi(window);
  RECT frame = {0, 0, Scaled(kClientSize.cx, dpi), Scaled(kClientSize.cy, dpi)};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
  ShowWindow(window, SW_SHOW);
  return window;
}

}  // namespace opencid::settings
