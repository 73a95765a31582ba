#include "legacy/control/device_host.h"

#include <utility>

#include "activex/bstr.h"
#include "activex/control_site.h"
#include "common/error.h"

namespace legacy::control {
namespace {

// {EEA18052-171F-4293-8598-AB6E1D7257B2}
constexpr CLSID kDeviceClass = {0xEEA18052, 0x171F, 0x4293, {0x85, 0x98, 0xAB, 0x6E, 0x1D, 0x72, 0x57, 0xB2}};
// {0A16189E-10E9-4A76-8D2D-0A8F1AD4729A}
constexpr IID kDeviceInterface = {0x0A16189E, 0x10E9, 0x4A76, {0x8D, 0x2D, 0x0A, 0x8F, 0x1A, 0xD4, 0x72, 0x9A}};
// {B6A36C9A-2DC9-4CEF-AF6E-D6DDD2F91CC4}
constexpr IID kDeviceEvents = {0xB6A36C9A, 0x2DC9, 0x4CEF, {0xAF, 0x6E, 0xD6, 0xDD, 0xD2, 0xF9, 0x1C, 0xC4}};

constexpr DISPID kOnClick = 202;
constexpr DISPID kOnCallerID = 209;
constexpr DISPID kOnSignalA = 210;
constexpr RECT kDevicePlace{38, 8, 38 + 26, 8 + 26};

// The device control's members by their place in its function table, QueryInterface being
// the 1st: that place, not a name, is what the device control promises.
constexpr int kStartFunction = 47;
constexpr int kCommandFunction = 50;
using StartFunction = HRESULT(STDMETHODCALLTYPE*)(IDispatch*);
using CommandFunction = HRESULT(STDMETHODCALLTYPE*)(IDispatch*, BSTR, BSTR*);

template <class Function>
Function FunctionAt(IDispatch* object, int place) {
  void** table = *reinterpret_cast<void***>(object);
  return reinterpret_cast<Function>(table[place - 1]);
}

// What the device control says about a failure, as a failure of ours.
void Check(HRESULT hr, IDispatch* device) { activex::ThrowIfFailed(hr, device, kDeviceInterface); }

}  // namespace

struct DeviceHost::Site {
  explicit Site(HWND form) : control(form, kDeviceClass, kDevicePlace) {
    device = control.As<IDispatch>(kDeviceInterface);
    if (!device) throw common::Error(L"Interface not supported", E_NOINTERFACE);
  }
  activex::ControlSite control;
  activex::ComPtr<IDispatch> device;
};

DeviceHost::DeviceHost(HWND form) : site_(std::make_unique<Site>(form)) {}

DeviceHost::~DeviceHost() = default;

// A failing handler (a level the conversion rejects) ends at the site, never in the device.
void DeviceHost::Bind(TKalloraPlus& form) {
  activex::ControlSite& control = site_->control;
  control.OnEvent(kOnCallerID, [&form](const activex::EventArguments& a) {
    if (a.size() == 5) form.Tevrin51CallerID(a[0], a[1], a[2], a[3], a[4]);
  });
  control.OnEvent(kOnSignalA, [&form](const activex::EventArguments& a) {
    if (a.size() == 8) form.Tevrin51SignalA({a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]});
  });
  control.OnEvent(kOnClick, [&form](const activex::EventArguments&) { form.Tevrin51Click(); });
  control.ConnectEvents(kDeviceEvents);
}

HWND DeviceHost::Window() const noexcept { return site_->control.Window(); }

void DeviceHost::Start() {
  IDispatch* device = site_->device.Get();
  Check(FunctionAt<StartFunction>(device, kStartFunction)(device), device);
}

std::wstring DeviceHost::Command(const std::wstring& command) {
  IDispatch* device = site_->device.Get();
  activex::Bstr text(command);
  activex::Bstr result;
  Check(FunctionAt<CommandFunction>(device, kCommandFunction)(device, text.Get(), result.Put()), device);
  return result.Text();
}

}  // namespace legacy::control
