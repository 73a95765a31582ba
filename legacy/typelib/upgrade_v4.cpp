// Every name, identifier, flag and the member order here is a contract with existing hosts.
#include "legacy/typelib/upgrade_v4.h"

#include <olectl.h>

#include "legacy/kallora_plus_interface.h"

namespace legacy::typelib {
namespace {

constexpr USHORT kIn = PARAMFLAG_FIN;
constexpr USHORT kOut = PARAMFLAG_FOUT;
constexpr USHORT kRetval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
constexpr VARTYPE kBoolOut = VT_BOOL | VT_BYREF;
constexpr VARTYPE kBstrOut = VT_BSTR | VT_BYREF;

std::vector<MemberDescription> KalloraPlusMembers() {
  using namespace dispid;
  const WORD hidden = FUNCFLAG_FHIDDEN;
  return {
      {L"Visible", kVisible, INVOKE_PROPERTYGET, hidden, VT_HRESULT, {{L"Value", kBoolOut, kRetval}}},
      {L"Visible", kVisible, INVOKE_PROPERTYPUT, hidden, VT_HRESULT, {{nullptr, VT_BOOL, kIn}}},
      {L"Active", kActive, INVOKE_PROPERTYGET, hidden, VT_HRESULT, {{L"Value", kBoolOut, kRetval}}},
      {L"AboutBox", kAboutBox, INVOKE_FUNC, 0, VT_HRESULT, {}},
      {L"Config", kConfig, INVOKE_PROPERTYPUT, 0, VT_HRESULT, {{nullptr, VT_BSTR, kIn}}},
      {L"DialThisNumber", kDialThisNumber, INVOKE_FUNC, 0, VT_HRESULT, {{L"PhoneNumber", kBstrOut, kOut}}},
      {L"About", kAbout, INVOKE_PROPERTYGET, 0, VT_HRESULT, {{L"Value", kBstrOut, kRetval}}},
      {L"About", kAbout, INVOKE_PROPERTYPUT, 0, VT_HRESULT, {{nullptr, VT_BSTR, kIn}}},
      {L"ServiceRunning", kServiceRunning, INVOKE_PROPERTYGET, 0, VT_HRESULT, {{L"Value", kBoolOut, kRetval}}},
      {L"DeviceModel", kDeviceModel, INVOKE_PROPERTYGET, 0, VT_HRESULT, {{L"Value", kBstrOut, kRetval}}},
      {L"LineStatus", kLineStatus, INVOKE_PROPERTYGET, 0, VT_HRESULT,
       {{L"LineNum", VT_I4, kIn}, {L"Value", kBstrOut, kRetval}}},
      {L"Start", kStart, INVOKE_FUNC, 0, VT_HRESULT, {}},
  };
}

std::vector<ParamDescription> Levels() {
  std::vector<ParamDescription> levels;
  static const wchar_t* const names[] = {L"Level1", L"Level2", L"Level3", L"Level4",
                                         L"Level5", L"Level6", L"Level7", L"Level8"};
  for (const wchar_t* name : names) levels.push_back({name, VT_BSTR, kIn});
  return levels;
}

std::vector<MemberDescription> KalloraPlusEventsMembers() {
  using namespace dispid;
  return {
      {L"OnActivate", kOnActivate, INVOKE_FUNC, 0, VT_VOID, {}},
      {L"OnCreate", kOnCreate, INVOKE_FUNC, 0, VT_VOID, {}},
      {L"OnDestroy", kOnDestroy, INVOKE_FUNC, 0, VT_VOID, {}},
      {L"OnDeactivate", kOnDeactivate, INVOKE_FUNC, 0, VT_VOID, {}},
      {L"OnCallerID", kOnCallerID, INVOKE_FUNC, FUNCFLAG_FUIDEFAULT, VT_HRESULT,
       {{L"ReceivedFromLine", VT_BSTR, kIn}, {L"PhoneNumber", VT_BSTR, kIn}, {L"DateTime", VT_BSTR, kIn}}},
      {L"OnDebug", kOnDebug, INVOKE_FUNC, 0, VT_HRESULT, {{L"SystemMsg", VT_BSTR, kIn}}},
      {L"OnSignalA", kOnSignalA, INVOKE_FUNC, 0, VT_HRESULT, Levels()},
      {L"OnSignalD", kOnSignalD, INVOKE_FUNC, 0, VT_HRESULT, Levels()},
      {L"OnBusy", kOnBusy, INVOKE_FUNC, 0, VT_HRESULT, {{L"LineNum", VT_BSTR, kIn}}},
      {L"OnReady", kOnReady, INVOKE_FUNC, 0, VT_HRESULT, {{L"LineNum", VT_BSTR, kIn}}},
  };
}

LibraryDescription MakeUpgradeV4() {
  return {
      L"Upgrade_v4", &LIBID_Upgrade_v4, L"Upgrade_v4 Library", kTypeLibMajor, kTypeLibMinor,
      0, LIBFLAG_FCONTROL,
      {
          {L"IKalloraPlus", TKIND_INTERFACE, &IID_IKalloraPlus, L"Dispatch interface for KalloraPlus Control",
           TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE, KalloraPlusMembers(), {}},
          {L"IKalloraPlusEvents", TKIND_DISPATCH, &DIID_IKalloraPlusEvents,
           L"Events interface for KalloraPlus Control", TYPEFLAG_FDISPATCHABLE, KalloraPlusEventsMembers(), {}},
          {L"KalloraPlus", TKIND_COCLASS, &CLSID_KalloraPlus, L"KalloraPlus Control",
           TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL, {},
           {{&IID_IKalloraPlus, IMPLTYPEFLAG_FDEFAULT},
            {&DIID_IKalloraPlusEvents, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}}},
      },
  };
}

}  // namespace

const LibraryDescription& UpgradeV4() {
  static const LibraryDescription library = MakeUpgradeV4();
  return library;
}

}  // namespace legacy::typelib
