#include "opencid/source_choice.h"

#include <cwctype>

#include "common/error.h"

namespace opencid {
namespace {

std::wstring Trimmed(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// A host name or address as typed; a bare IPv6 address gets the brackets the stored text needs.
std::wstring CheckedHost(const std::wstring& typed) {
  std::wstring host = Trimmed(typed);
  if (host.empty()) throw common::Error(L"Sunucunun adını ya da adresini yazın.");
  for (wchar_t c : host)
    if (std::iswspace(c) || c == L',' || c == L'=' || c < 0x20 || c > 0x7e)
      throw common::Error(L"Sunucu adında kullanılamayan bir karakter var: " + std::wstring(1, c));
  if (host.find(L':') != std::wstring::npos && host.front() != L'[') host = L"[" + host + L"]";
  return host;
}

std::wstring CheckedPort(const std::wstring& typed) {
  const std::wstring port = Trimmed(typed);
  bool digits = !port.empty() && port.size() <= 5;
  for (wchar_t c : port) digits = digits && c >= L'0' && c <= L'9';
  if (!digits || std::stoul(port) < 1 || std::stoul(port) > 65535)
    throw common::Error(L"Bağlantı noktası 1 ile 65535 arasında bir sayı olmalı.");
  return std::to_wstring(std::stoul(port));
}

SourceSetting ParsedOrExplained(const std::wstring& text) {
  try {
    return ParseSource(text);
  } catch (const common::Error& failure) {
    throw common::Error(L"Bu kaynak kaydedilemez: " + failure.Message());
  }
}

}  // namespace

bool ChangesRegistration(SourceChoice choice) {
  return choice == SourceChoice::VendorDevice || choice == SourceChoice::SimulatedDevice;
}

SavePlan PlanSave(const SourceForm& form, bool elevated) {
  if (ChangesRegistration(form.choice) && !elevated)
    throw common::Error(L"Bu seçim için programı yönetici olarak çalıştırın.");
  SavePlan plan;
  plan.machineWide = elevated;
  switch (form.choice) {
    case SourceChoice::VendorDevice: plan.owner = DeviceOwner::Vendor; return plan;
    case SourceChoice::SimulatedDevice: plan.owner = DeviceOwner::Simulated; return plan;
    case SourceChoice::NcidServer:
      plan.source = ParsedOrExplained(L"ncid=" + CheckedHost(form.host) + L":" + CheckedPort(form.port));
      break;
    case SourceChoice::Modem: {
      const std::wstring portName = Trimmed(form.portName);
      if (portName.empty()) throw common::Error(L"Modemin takılı olduğu seri bağlantı noktasını seçin.");
      plan.source = ParsedOrExplained(L"modem=" + portName);
      break;
    }
  }
  // Only an elevated run may put this control in the device control's place; a user's own
  // source applies wherever it already is.
  plan.owner = elevated ? DeviceOwner::OpenCallerId : DeviceOwner::Unchanged;
  return plan;
}

SourceForm FormFor(const SourceSetting& source) {
  SourceForm form;
  form.choice = source.kind == SourceSetting::Kind::Modem ? SourceChoice::Modem : SourceChoice::NcidServer;
  const SourceSetting defaults;
  form.host = source.kind == SourceSetting::Kind::Ncid ? source.host : defaults.host;
  form.port = std::to_wstring(source.kind == SourceSetting::Kind::Ncid ? source.port : defaults.port);
  form.portName = source.portName;
  return form;
}

std::wstring ScopeSentence(bool elevated) {
  return elevated ? L"Bu bilgisayarın tüm kullanıcıları için kaydedilir." : L"Yalnızca sizin için kaydedilir.";
}

}  // namespace opencid
