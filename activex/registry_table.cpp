// Writing and removing registry tables, and the table of an ActiveX control.
#include "activex/registry_table.h"

#include <cwchar>

#include "common/error.h"

namespace activex {

void WriteRegistryEntries(HKEY root, std::span<const RegistryEntry> entries) {
  for (const RegistryEntry& entry : entries) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(root, entry.key.c_str(), 0, nullptr, 0,
                                  KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
      const wchar_t* name = entry.valueName.empty() ? nullptr : entry.valueName.c_str();
      DWORD bytes = static_cast<DWORD>((entry.value.size() + 1) * sizeof(wchar_t));
      status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.value.c_str()), bytes);
      RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS)
      throw common::Error(L"Error creating system registry entry", HRESULT_FROM_WIN32(status));
  }
}

void RemoveRegistryEntries(HKEY root, std::span<const RegistryEntry> entries) {
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (entry->valueName.empty()) RegDeleteKeyW(root, entry->key.c_str());
  }
}

std::wstring RegistryForm(const GUID& guid) {
  wchar_t text[40];
  std::swprintf(text, 40, L"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return text;
}

std::wstring ClassKey(const CLSID& clsid) { return L"CLSID\\" + RegistryForm(clsid); }

std::wstring InprocServerPath(const std::wstring& path) {
  if (path.find(L' ') == std::wstring::npos) return path;
  DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return path;
  std::wstring shortPath(length, L'\0');
  length = GetShortPathNameW(path.c_str(), shortPath.data(), length);
  if (length == 0) return path;
  shortPath.resize(length);
  return shortPath;
}

std::vector<RegistryEntry> ControlRegistryEntries(const ControlRegistration& control) {
  const std::wstring classKey = ClassKey(control.clsid);
  std::vector<RegistryEntry> entries{
      {classKey, {}, control.description},
      {classKey + L"\\InprocServer32", {},
       control.inprocServerPath.empty() ? InprocServerPath(control.modulePath) : control.inprocServerPath},
      {classKey + L"\\InprocServer32", L"ThreadingModel", control.threadingModel},
  };
  if (!control.progId.empty()) {
    entries.push_back({control.progId, {}, control.description});
    entries.push_back({control.progId + L"\\Clsid", {}, RegistryForm(control.clsid)});
    entries.push_back({classKey + L"\\ProgID", {}, control.progId});
  }
  if (!control.version.empty()) entries.push_back({classKey + L"\\Version", {}, control.version});
  if (!control.typeLibrary.empty()) entries.push_back({classKey + L"\\TypeLib", {}, control.typeLibrary});
  entries.push_back({classKey + L"\\MiscStatus", {}, L"0"});
  entries.push_back({classKey + L"\\MiscStatus\\1", {}, std::to_wstring(control.miscStatus)});
  if (!control.toolboxBitmap.empty())
    entries.push_back({classKey + L"\\ToolboxBitmap32", {}, control.modulePath + L"," + control.toolboxBitmap});
  entries.push_back({classKey + L"\\Control", {}, L""});
  if (!control.verbs.empty()) {
    entries.push_back({classKey + L"\\Verb", {}, L""});
    for (std::size_t i = 0; i < control.verbs.size(); ++i)
      entries.push_back({classKey + L"\\Verb\\" + std::to_wstring(i), {}, control.verbs[i]});
  }
  return entries;
}

std::wstring ReadRegistryText(HKEY root, const std::wstring& key, const std::wstring& valueName) {
  DWORD bytes = 0;
  const wchar_t* name = valueName.empty() ? nullptr : valueName.c_str();
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
    return {};
  std::wstring text(bytes / sizeof(wchar_t), L'\0');
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) != ERROR_SUCCESS)
    return {};
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

}  // namespace activex
