// What a screen reader finds on the window: the children in the window's order with their
// roles, names that follow the labels' texts, meters named after their lines with their
// levels, and which children a label's new text changes.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/utf16.h"
#include "monitor/form1_accessible_tree.h"

namespace monitor {
namespace {

struct Read {
  std::string control;
  AccessibleRole role;
  std::wstring name;
  std::optional<std::wstring> value;
  bool operator==(const Read&) const = default;
};

std::vector<Read> ReadAll(const std::map<std::wstring, std::wstring>& captions) {
  const CaptionOf caption = [&](const wchar_t* label) {
    const auto found = captions.find(label);
    return found == captions.end() ? std::wstring(L"?") : found->second;
  };
  std::vector<Read> all;
  for (const AccessibleChild& child : Form1AccessibleChildren())
    all.push_back({common::ToUtf8(child.Control), child.Role, Form1AccessibleName(child, caption),
                   Form1AccessibleValue(child, caption)});
  return all;
}

TEST(Form1AccessibleTree, EveryDrawnTextMeterAndTheCallListInTheWindowsOrder) {
  using enum AccessibleRole;
  const std::map<std::wstring, std::wstring> captions{
      {L"Label22", L"Çağrı sayısı : "}, {L"Label5", L"3"}, {L"Label9", L"Bağlantı tamam  Hemen arayın"},
      {L"Label24", L"Cihaz modeli: KX-4"}, {L"Label25", L""}, {L"Label10", L"Mobil"}, {L"Label11", L"Durum"},
      {L"Label6", L"Telefon 1"}, {L"Label7", L"Telefon 2"}, {L"Label8", L"Telefon 3"}, {L"Label15", L"Telefon 4"},
      {L"Label1", L"0"}, {L"Label2", L"15"}, {L"Label3", L"30"}, {L"Label4", L"-"}};
  const std::vector<Read> expected{
      {"TextGrid1", CallList, L"", std::nullopt},
      {"GroupBox2", GroupBox, L"Bağlantı", std::nullopt},
      {"Label22", Label, L"Çağrı sayısı : ", std::nullopt},
      {"Label5", Label, L"3", std::nullopt},
      {"Label9", Label, L"Bağlantı tamam  Hemen arayın", std::nullopt},
      {"Label24", Label, L"Cihaz modeli: KX-4", std::nullopt},
      {"Label25", Label, L"", std::nullopt},
      {"Label10", Label, L"Mobil", std::nullopt},
      {"Label11", Label, L"Durum", std::nullopt},
      {"tek", GroupBox, L"Sinyaller", std::nullopt},
      {"Label6", Label, L"Telefon 1", std::nullopt},
      {"Label7", Label, L"Telefon 2", std::nullopt},
      {"Label8", Label, L"Telefon 3", std::nullopt},
      {"Label15", Label, L"Telefon 4", std::nullopt},
      {"ProgressBar1", Meter, L"Telefon 1", L"0"},
      {"ProgressBar2", Meter, L"Telefon 2", L"15"},
      {"ProgressBar3", Meter, L"Telefon 3", L"30"},
      {"ProgressBar4", Meter, L"Telefon 4", L"-"},
      {"Label1", Label, L"0", std::nullopt},
      {"Label2", Label, L"15", std::nullopt},
      {"Label3", Label, L"30", std::nullopt},
      {"Label4", Label, L"-", std::nullopt},
  };
  EXPECT_EQ(ReadAll(captions), expected);
  EXPECT_EQ(Form1AccessibleChildNumber(L"TextGrid1"), 1);
  EXPECT_EQ(Form1AccessibleChildNumber(L"Label5"), 4);
  EXPECT_EQ(Form1AccessibleChildNumber(L"GroupBox4"), 0);  // no caption: nothing to say
  EXPECT_EQ(Form1AccessibleChildNumber(L"TForm1"), 0);
}

TEST(Form1AccessibleTree, ALabelsNewTextChangesItsNameAndALevelItsMetersValue) {
  const auto counter = Form1CaptionFollowers(L"Label5");
  EXPECT_EQ(counter.Named, Form1AccessibleChildNumber(L"Label5"));
  EXPECT_EQ(counter.Valued, 0);
  const auto level = Form1CaptionFollowers(L"Label3");
  EXPECT_EQ(level.Named, Form1AccessibleChildNumber(L"Label3"));
  EXPECT_EQ(level.Valued, Form1AccessibleChildNumber(L"ProgressBar3"));
  const auto unknown = Form1CaptionFollowers(L"Label99");
  EXPECT_EQ(unknown.Named, 0);
  EXPECT_EQ(unknown.Valued, 0);
}

}  // namespace
}  // namespace monitor
