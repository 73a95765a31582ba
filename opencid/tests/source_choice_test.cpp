// The settings window's choices: the source text each stores, the scope, who answers as the
// device control, and the fields it refuses with a reason.
#include <gtest/gtest.h>

#include "common/error.h"
#include "opencid/source_choice.h"

namespace opencid {
namespace {

std::wstring Refusal(const SourceForm& form, bool elevated) {
  try {
    PlanSave(form, elevated);
  } catch (const common::Error& failure) {
    return failure.Message();
  }
  return L"(accepted)";
}

TEST(SourceChoice, MapsEachChoiceToItsSourceScopeAndOwner) {
  const SavePlan server = PlanSave({SourceChoice::NcidServer, L" ncid.example ", L"03334", L""}, true);
  EXPECT_EQ(L"ncid=ncid.example:3334", server.source->Text());
  EXPECT_TRUE(server.machineWide);
  EXPECT_EQ(DeviceOwner::OpenCallerId, server.owner);
  const SavePlan v6 = PlanSave({SourceChoice::NcidServer, L"::1", L"3333", L""}, false);
  EXPECT_EQ(L"ncid=[::1]:3333", v6.source->Text());
  EXPECT_FALSE(v6.machineWide);
  EXPECT_EQ(DeviceOwner::Unchanged, v6.owner);
  const SavePlan modem = PlanSave({SourceChoice::Modem, L"", L"", L"COM3"}, false);
  EXPECT_EQ(L"modem=COM3", modem.source->Text());
  EXPECT_EQ(DeviceOwner::Unchanged, modem.owner);
  for (auto [choice, owner] : {std::pair{SourceChoice::VendorDevice, DeviceOwner::Vendor},
                               std::pair{SourceChoice::SimulatedDevice, DeviceOwner::Simulated}}) {
    const SavePlan device = PlanSave({choice, L"", L"", L""}, true);
    EXPECT_FALSE(device.source);
    EXPECT_EQ(owner, device.owner);
    EXPECT_TRUE(ChangesRegistration(choice));
    EXPECT_EQ(L"Bu seçim için programı yönetici olarak çalıştırın.", Refusal({choice, L"", L"", L""}, false));
  }
  EXPECT_EQ(L"Yalnızca sizin için kaydedilir.", ScopeSentence(false));
  EXPECT_EQ(L"Bu bilgisayarın tüm kullanıcıları için kaydedilir.", ScopeSentence(true));
}

TEST(SourceChoice, RefusesWrongFieldsWithAReason) {
  const std::wstring badPort = L"Bağlantı noktası 1 ile 65535 arasında bir sayı olmalı.";
  for (const wchar_t* port : {L"", L"0", L"65536", L"12a", L"-1", L"999999999999"})
    EXPECT_EQ(badPort, Refusal({SourceChoice::NcidServer, L"host", port, L""}, true)) << port;
  EXPECT_EQ(L"Sunucunun adını ya da adresini yazın.", Refusal({SourceChoice::NcidServer, L"  ", L"3333", L""}, true));
  for (const wchar_t* host : {L"a b", L"a,keepalive=1", L"ş"})
    EXPECT_NE(std::wstring::npos, Refusal({SourceChoice::NcidServer, host, L"3333", L""}, true).find(L"karakter"))
        << host;
  EXPECT_EQ(L"Modemin takılı olduğu seri bağlantı noktasını seçin.",
            Refusal({SourceChoice::Modem, L"", L"", L""}, true));
  EXPECT_NE(std::wstring::npos, Refusal({SourceChoice::Modem, L"", L"", L"LPT1"}, true).find(L"kaydedilemez"));
}

TEST(SourceChoice, FillsTheFormFromTheStoredSource) {
  const SourceForm server = FormFor(ParseSource(L"ncid=[fe80::1]:4000"));
  EXPECT_EQ(SourceChoice::NcidServer, server.choice);
  EXPECT_EQ(L"fe80::1", server.host);
  EXPECT_EQ(L"4000", server.port);
  const SourceForm modem = FormFor(ParseSource(L"modem=COM7"));
  EXPECT_EQ(SourceChoice::Modem, modem.choice);
  EXPECT_EQ(L"COM7", modem.portName);
  EXPECT_EQ(L"3333", modem.port);
}

}  // namespace
}  // namespace opencid
