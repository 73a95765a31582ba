#include "opencid/win32/settings/device_owner.h"

#include <windows.h>

#include <cwctype>
#include <optional>

#include "common/error.h"
#include "device/win32/registration.h"

namespace opencid::settings {
namespace {

std::wstring SystemText(HRESULT code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring result = text ? text : L"";
  LocalFree(text);
  while (!result.empty() && std::iswspace(result.back())) result.pop_back();
  wchar_t number[16];
  wsprintfW(number, L"0x%08X", static_cast<unsigned>(code));
  return result.empty() ? number : result + L" (" + number + L")";
}

class Library {
 public:
  explicit Library(const std::wstring& path)
      : name_(path.substr(path.find_last_of(L"\\/") + 1)), module_(LoadLibraryW(path.c_str())) {
    if (!module_) throw common::Error(name_ + L" yüklenemedi: " + SystemText(HRESULT_FROM_WIN32(GetLastError())));
  }
  ~Library() { FreeLibrary(module_); }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  HRESULT Register() { return Call<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer")(); }
  HRESULT Unregister() { return Call<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer")(); }
  HRESULT Install(const std::wstring& commandLine) {
    return Call<HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR)>("DllInstall")(TRUE, commandLine.c_str());
  }
  void Check(HRESULT result) const {
    if (FAILED(result)) throw common::Error(name_ + L": " + SystemText(result), result);
  }

 private:
  template <typename Function>
  Function Call(const char* name) {
    auto address = GetProcAddress(module_, name);
    if (!address) throw common::Error(name_ + L" bu işlevi sunmuyor: " + std::wstring(name, name + strlen(name)));
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
  }

  std::wstring name_;
  HMODULE module_;
};

// Takes this control out of the device control's place, keeping its own class registered.
void ReleaseOpenCallerId(Library& opencid) {
  opencid.Unregister();
  opencid.Check(opencid.Register());
}

bool EndsWith(const std::wstring& path, const wchar_t* name) {
  const std::wstring suffix = std::wstring(L"\\") + name;
  return path.size() >= suffix.size() &&
         CompareStringOrdinal(path.c_str() + path.size() - suffix.size(), static_cast<int>(suffix.size()),
                              suffix.c_str(), static_cast<int>(suffix.size()), TRUE) == CSTR_EQUAL;
}

// The simulated device is a part an installation may leave out; where its file is not, it holds
// nothing to give up.
std::optional<Library> LibraryIfPresent(const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return std::optional<Library>(std::in_place, path);
}

}  // namespace

void ChangeDeviceOwner(DeviceOwner owner, const SourceSetting* source, const std::wstring& opencidPath,
                       const std::wstring& devsimPath) {
  if (owner == DeviceOwner::Unchanged) return;
  Library opencid(opencidPath);
  switch (owner) {
    case DeviceOwner::OpenCallerId:
      if (auto devsim = LibraryIfPresent(devsimPath)) devsim->Unregister();  // removes only its own registration
      opencid.Check(opencid.Install((source ? source->Text() + L"," : std::wstring()) + L"as-device"));
      break;
    case DeviceOwner::Simulated: {
      Library devsim(devsimPath);
      ReleaseOpenCallerId(opencid);
      devsim.Check(devsim.Register());
      break;
    }
    case DeviceOwner::Vendor:
      ReleaseOpenCallerId(opencid);
      if (auto devsim = LibraryIfPresent(devsimPath)) devsim->Unregister();
      break;
    case DeviceOwner::Unchanged: break;
  }
}

DeviceOwner CurrentDeviceOwner() {
  const std::wstring server = device::RegisteredServer();
  if (EndsWith(server, L"devsim.dll")) return DeviceOwner::Simulated;
  if (EndsWith(server, L"opencid.dll")) return DeviceOwner::OpenCallerId;
  return server.empty() ? DeviceOwner::Unchanged : DeviceOwner::Vendor;
}

}  // namespace opencid::settings
