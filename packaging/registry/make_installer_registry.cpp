// Build step: writes the registry entries of one COM server as WiX RegistryValue elements, for
// the Windows Installer package to write instead of calling the server's self-registration.
// The entries come from the same tables the servers write for regsvr32, with the installed
// file named as the installer names it ([#FILE] its path, [!FILE] its short path); a type
// library's entries are what the system's RegisterTypeLib writes, caught under a scratch key.
// A 64-bit writer writes the 32-bit servers' entries too, as it writes their type libraries.
#include <windows.h>
#include <oleauto.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "activex/com_ptr.h"
#include "activex/registry_table.h"
#include "common/error.h"
#include "common/utf16.h"
#include "device/win32/registration.h"
#include "legacy/kallora_plus_class.h"
#include "opencid/win32/source_settings.h"

namespace {

using Entries = std::vector<activex::RegistryEntry>;

void Check(HRESULT hr, const wchar_t* what) {
  if (FAILED(hr)) throw common::Error(what, hr);
}

activex::ComPtr<ITypeLib> LoadLibraryFile(const std::wstring& path) {
  activex::ComPtr<ITypeLib> library;
  Check(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put()), L"Cannot load the type library");
  return library;
}

void CollectKey(HKEY key, const std::wstring& path, Entries& entries) {
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 256, type = 0, bytes = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) break;
    if (type != REG_SZ) throw common::Error(L"A type library entry that is not a text: " + path);
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    nameLength = 256;
    RegEnumValueW(key, i, name, &nameLength, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &bytes);
    value.resize(wcsnlen(value.c_str(), value.size()));
    entries.push_back({path, name, value});
  }
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY child = nullptr;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
    CollectKey(child, path.empty() ? name : path + L"\\" + name, entries);
    RegCloseKey(child);
  }
}

// What RegisterTypeLib writes for the library at filePath with help folder helpFolder: the
// classes root of this process points at a scratch key meanwhile.
Entries TypeLibraryEntries(const std::wstring& tlbPath, const std::wstring& filePath, const std::wstring& helpFolder) {
  activex::ComPtr<ITypeLib> library = LoadLibraryFile(tlbPath);
  const std::wstring scratchName = L"Software\\CallerIdInstallerScratch" + std::to_wstring(GetCurrentProcessId());
  HKEY scratch = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, scratchName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch,
                      nullptr) != ERROR_SUCCESS)
    throw common::Error(L"Cannot make the scratch key");
  RegOverridePredefKey(HKEY_CLASSES_ROOT, scratch);
  std::wstring path = filePath, folder = helpFolder;
  const HRESULT hr = RegisterTypeLib(library.Get(), path.data(), folder.data());
  RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  Entries entries;
  if (SUCCEEDED(hr)) CollectKey(scratch, L"", entries);
  RegCloseKey(scratch);
  RegDeleteTreeW(HKEY_CURRENT_USER, scratchName.c_str());
  Check(hr, L"Cannot register the type library");
  return entries;
}

std::wstring XmlText(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// Installer texts are formatted: the markers stay, any other bracket is a literal.
std::wstring FormattedText(const std::wstring& text, const std::vector<std::wstring>& markers) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    bool marker = false;
    for (const std::wstring& known : markers) {
      if (text.compare(i, known.size(), known) != 0) continue;
      out += known;
      i += known.size() - 1;
      marker = true;
      break;
    }
    if (marker) continue;
    if (text[i] == L'[' || text[i] == L']') {
      out += L"[\\";
      out += text[i];
      out += L"]";
    } else {
      out += text[i];
    }
  }
  return out;
}

// The rows' ids come from the output's name, so that each include's rows are its own.
void WriteInclude(const std::wstring& outputPath, const Entries& entries, const std::vector<std::wstring>& markers) {
  std::wstring stem = outputPath.substr(outputPath.find_last_of(L"\\/:") + 1);
  stem = stem.substr(0, stem.find(L'.'));
  std::wstring xml = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- Written by make_installer_registry. -->\n<Include>\n";
  int number = 0;
  for (const activex::RegistryEntry& entry : entries) {
    xml += L"  <RegistryValue Id=\"reg_" + stem + L"_" + std::to_wstring(++number) + L"\" Root=\"HKCR\" Key=\"" +
           XmlText(FormattedText(entry.key, markers)) + L"\"";
    if (!entry.valueName.empty()) xml += L" Name=\"" + XmlText(FormattedText(entry.valueName, markers)) + L"\"";
    xml += L" Type=\"string\" Value=\"" + XmlText(FormattedText(entry.value, markers)) + L"\"/>\n";
  }
  xml += L"</Include>\n";
  const std::string utf8 = common::ToUtf8(xml);
  FILE* file = _wfopen(outputPath.c_str(), L"wb");
  const bool written = file && std::fwrite(utf8.data(), 1, utf8.size(), file) == utf8.size();
  if (file) std::fclose(file);
  if (!written) throw common::Error(L"Cannot write " + outputPath);
}

// The entries of one server: KIND FILE-ID FOLDER-ID [TYPE-LIBRARY].
Entries ServerEntries(const std::wstring& kind, const std::wstring& fileId, const std::wstring& folderId,
                      const std::wstring& tlbPath) {
  const std::wstring file = L"[#" + fileId + L"]", shortFile = L"[!" + fileId + L"]";
  const std::wstring folder = L"[" + folderId + L"]";
  Entries entries;
  if (kind == L"tevrin4") {
    entries = TypeLibraryEntries(tlbPath, file, folder);
    activex::ControlRegistration control = legacy::KalloraPlusRegistration(LoadLibraryFile(tlbPath).Get(), file);
    control.inprocServerPath = shortFile;
    const Entries own = activex::ControlRegistryEntries(control);
    entries.insert(entries.end(), own.begin(), own.end());
  } else if (kind == L"devsim") {
    entries = TypeLibraryEntries(tlbPath, file, folder);
    const Entries own = device::DeviceRegistryEntries(file, shortFile);
    entries.insert(entries.end(), own.begin(), own.end());
  } else if (kind == L"opencid") {
    entries = opencid::ControlRegistryEntries(file, shortFile);
  } else if (kind == L"opencid-as-device") {
    entries = opencid::AsDeviceRegistryEntries(file, shortFile);
  } else {
    throw common::Error(L"Unknown server kind " + kind);
  }
  return entries;
}

}  // namespace

// A 32-bit server beside its 64-bit twin leaves out the keys that both widths share on 64-bit
// Windows (a ProgID), which the twin writes: only the class, interface and type library keys
// have a 32-bit view of their own.
Entries WithoutSharedKeys(Entries entries) {
  std::erase_if(entries, [](const activex::RegistryEntry& entry) {
    for (const wchar_t* own : {L"CLSID\\", L"Interface\\", L"TypeLib\\"})
      if (CompareStringOrdinal(entry.key.c_str(), static_cast<int>(wcslen(own)), own, -1, TRUE) == CSTR_EQUAL)
        return false;
    return true;
  });
  return entries;
}

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args(argv, argv + (argv ? argc : 0));
  if (argv) LocalFree(argv);
  const bool withoutShared = args.size() > 1 && args[1] == L"--without-shared-keys";
  if (withoutShared) args.erase(args.begin() + 1);
  if (args.size() < 5 || args.size() > 6) {
    std::fputs("usage: make_installer_registry [--without-shared-keys] OUTPUT.wxi "
               "tevrin4|devsim|opencid|opencid-as-device FILE-ID FOLDER-ID [TYPE-LIBRARY]\n",
               stderr);
    return 2;
  }
  int status = 0;
  CoInitialize(nullptr);
  try {
    const std::vector<std::wstring> markers{L"[#" + args[3] + L"]", L"[!" + args[3] + L"]", L"[" + args[4] + L"]"};
    Entries entries = ServerEntries(args[2], args[3], args[4], args.size() == 6 ? args[5] : L"");
    WriteInclude(args[1], withoutShared ? WithoutSharedKeys(std::move(entries)) : entries, markers);
  } catch (const common::Error& e) {
    std::fprintf(stderr, "%s (0x%08lX)\n", e.what(), static_cast<unsigned long>(e.SystemCode()));
    status = 1;
  }
  CoUninitialize();
  return status;
}
