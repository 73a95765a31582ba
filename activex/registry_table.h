// Registration as a table of registry entries: written in table order, removed in reverse
// order (children before parents), so one table serves both directions.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace activex {

// A string value; an empty value name is the key's default value. An entry with a value name
// adds a value to a key that an earlier entry creates.
struct RegistryEntry {
  std::wstring key;
  std::wstring valueName;
  std::wstring value;
};

// Creates each key and sets its value. Throws common::Error "Error creating system registry
// entry" at the first failure; entries already written stay.
void WriteRegistryEntries(HKEY root, std::span<const RegistryEntry> entries);
// Deletes the keys of the table, last first; a key that cannot be deleted is passed over.
void RemoveRegistryEntries(HKEY root, std::span<const RegistryEntry> entries);

// What a control's registration says about it; empty texts leave their entries out.
struct ControlRegistration {
  CLSID clsid;
  std::wstring description;     // "KalloraPlus Control"
  std::wstring modulePath;      // full path of the server
  std::wstring threadingModel;  // "Both", "Apartment"
  std::wstring progId;
  std::wstring version;         // "1.0"
  std::wstring typeLibrary;     // LIBID in registry form
  unsigned long miscStatus = 0;
  std::wstring toolboxBitmap;   // resource identifier, e.g. L"1"
  std::vector<std::wstring> verbs;  // "Properties,0,2" for verb 0, ...
  // InprocServer32's text; empty: InprocServerPath(modulePath). An installer's table names
  // the file it installs here.
  std::wstring inprocServerPath;
};

// The entries of an ActiveX control's class key, ProgID key and their subkeys, in the order
// they are written.
std::vector<RegistryEntry> ControlRegistryEntries(const ControlRegistration& control);

// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, upper-case digits.
std::wstring RegistryForm(const GUID& guid);
// The class key "CLSID\{...}".
std::wstring ClassKey(const CLSID& clsid);
// The path for InprocServer32: its short (8.3) form when it contains a blank.
std::wstring InprocServerPath(const std::wstring& path);
// The default value of a key, or an empty text when the key or the value is missing.
std::wstring ReadRegistryText(HKEY root, const std::wstring& key, const std::wstring& valueName = {});

}  // namespace activex
