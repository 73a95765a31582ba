#include "legacy/kallora_plus_class.h"

#include <cstdio>

#include "activex/bstr.h"
#include "activex/com_ptr.h"
#include "activex/server_module.h"
#include "common/error.h"
#include "legacy/kallora_plus_interface.h"

namespace legacy {
namespace {

void Check(HRESULT hr) {
  if (FAILED(hr)) throw common::Error(L"Cannot read the type library", hr);
}

std::wstring NameOf(ITypeLib* library) {
  activex::Bstr name;
  Check(library->GetDocumentation(-1, name.Put(), nullptr, nullptr, nullptr));
  return name.Text();
}

std::wstring VersionOf(ITypeLib* library) {
  TLIBATTR* attributes = nullptr;
  Check(library->GetLibAttr(&attributes));
  wchar_t version[16];
  std::swprintf(version, 16, L"%d.%d", attributes->wMajorVerNum, attributes->wMinorVerNum);
  library->ReleaseTLibAttr(attributes);
  return version;
}

}  // namespace

activex::ControlRegistration KalloraPlusRegistration() {
  return KalloraPlusRegistration(activex::ModuleTypeLibrary(), activex::ModulePath());
}

activex::ControlRegistration KalloraPlusRegistration(ITypeLib* library, const std::wstring& modulePath) {
  activex::ComPtr<ITypeInfo> classInfo;
  Check(library->GetTypeInfoOfGuid(CLSID_KalloraPlus, classInfo.Put()));
  activex::Bstr className, description;
  Check(classInfo->GetDocumentation(-1, className.Put(), description.Put(), nullptr, nullptr));
  return {
      .clsid = CLSID_KalloraPlus,
      .description = description.Text(),
      .modulePath = modulePath,
      .threadingModel = L"Both",
      .progId = NameOf(library) + L"." + className.Text(),
      .version = VersionOf(library),
      .typeLibrary = activex::RegistryForm(LIBID_Upgrade_v4),
      .miscStatus = kKalloraPlusMiscStatus,
      .toolboxBitmap = L"1",
      .verbs = {L"Properties,0,2"},
      .inprocServerPath = {},
  };
}

}  // namespace legacy
