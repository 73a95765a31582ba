// Test.exe as a screen reader finds it, under Wine: another process walks the window's
// accessible tree as a client does (AccessibleObjectFromWindow, AccessibleChildren, the names,
// values and roles) and prints it; the counter's text follows the calls, the newest row is
// there with its number, the meters carry their lines' names and levels, and a changed
// counter is announced by its child.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/utf16.h"
#include "monitor/win32/tests/accessible_tree.h"
#include "monitor/win32/tests/end_to_end_support.h"
#include "tray/win32/tests/message_pump.h"

namespace monitor::win32::testing {
namespace {

using tray::testing::PumpUntil;

const std::wstring Connected = L"Bağlantı tamam  Hemen arayın";
const std::wstring CounterTitle = L"Çağrı sayısı : ";

using Node = AccessibleNode;

struct Apartment {
  Apartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~Apartment() { CoUninitialize(); }
};

std::wstring RoleText(long role) {
  wchar_t text[64] = {};
  GetRoleTextW(static_cast<DWORD>(role), text, 64);
  return text;
}

void Print(const std::vector<Node>& tree) {
  for (const Node& node : tree) {
    std::wstring line(static_cast<std::size_t>(node.depth) * 2, L' ');
    line += RoleText(node.role) + L" \"" + node.name + L"\"";
    if (!node.value.empty()) line += L" = " + node.value;
    std::printf("%s\n", common::ToUtf8(line).c_str());
  }
}

// The text of the label after the counter's title: the counter.
std::wstring Counter(const std::vector<Node>& tree) {
  for (std::size_t i = 0; i + 1 < tree.size(); ++i)
    if (tree[i].role == ROLE_SYSTEM_STATICTEXT && tree[i].name == CounterTitle) return tree[i + 1].name;
  return L"(no counter)";
}

const Node* Find(const std::vector<Node>& tree, long role, const std::wstring& name) {
  for (const Node& node : tree)
    if (node.role == role && node.name == name) return &node;
  return nullptr;
}

std::vector<std::wstring> Rows(const std::vector<Node>& tree) {
  std::vector<std::wstring> rows;
  for (const Node& node : tree)
    if (node.role == ROLE_SYSTEM_ROW) rows.push_back(node.name);
  return rows;
}

// What a screen reader hears: every name change of Test.exe's objects, read back at once
// through the object the event names, as a reader does.
struct Announcement {
  HWND window;
  long object, child;
  std::wstring name;
};
std::vector<Announcement> announcements;

void CALLBACK Announced(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  IAccessible* accessible = nullptr;
  VARIANT which;
  VariantInit(&which);
  Announcement heard{window, object, child, L"(unreadable)"};
  if (SUCCEEDED(AccessibleObjectFromEvent(window, static_cast<DWORD>(object), static_cast<DWORD>(child),
                                          &accessible, &which)) &&
      accessible) {
    BSTR name = nullptr;
    if (accessible->get_accName(which, &name) == S_OK && name) heard.name = name;
    SysFreeString(name);
    accessible->Release();
  }
  VariantClear(&which);
  announcements.push_back(heard);
}

TEST(AccessibilityClient, TheTreeShowsTheCounterTheNewestRowAndTheMetersAndAChangedCounterIsAnnounced) {
  RegisteredDevice device;
  Apartment apartment;
  MonitorProcess monitor;
  ASSERT_NE(monitor.Window(), nullptr);
  // The form's window comes before its device control's: plug once the device is there.
  ASSERT_TRUE(PumpUntil([] { return Devctl(L"plug KX-4 TR-0042").exitCode == 0; }, 5000));
  std::vector<Node> tree;
  ASSERT_TRUE(PumpUntil(
      [&] { return Find(tree = AccessibleTreeOf(monitor.Window()), ROLE_SYSTEM_STATICTEXT, Connected); }, 5000));
  std::printf("Before the calls:\n");
  Print(tree);
  ASSERT_FALSE(tree.empty());
  EXPECT_EQ(tree.front().role, ROLE_SYSTEM_CLIENT);
  EXPECT_EQ(tree.front().name, L"TEST");
  EXPECT_EQ(Counter(tree), L"0");
  EXPECT_NE(Find(tree, ROLE_SYSTEM_STATICTEXT, L"Cihaz modeli: KX-4"), nullptr);
  EXPECT_NE(Find(tree, ROLE_SYSTEM_GROUPING, L"Sinyaller"), nullptr);
  EXPECT_NE(Find(tree, ROLE_SYSTEM_TABLE, L""), nullptr);
  EXPECT_TRUE(Rows(tree).empty());

  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, Announced,
                                       monitor.Id(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  ASSERT_EQ(Devctl(L"call 2 05321234567 \"08.12.2026 01:11\" KP-7 \"Şişli\"").exitCode, 0);
  ASSERT_EQ(Devctl(L"call 3 05329876543 \"08.12.2026 01:12\" KP-7 \"\"").exitCode, 0);
  ASSERT_EQ(Devctl(L"levels 0 15 30 7 0 0 0 0").exitCode, 0);
  const auto counterHeard = [] {
    for (const Announcement& heard : announcements)
      if (heard.name == L"2") return true;
    return false;
  };
  EXPECT_TRUE(PumpUntil(counterHeard, 5000));
  UnhookWinEvent(hook);
  for (const Announcement& heard : announcements)
    if (heard.name == L"2") {
      EXPECT_EQ(heard.window, monitor.Window());
      EXPECT_EQ(heard.object, OBJID_CLIENT);
      EXPECT_GT(heard.child, 0);
    }

  tree = AccessibleTreeOf(monitor.Window());
  std::printf("After two calls and a level report:\n");
  Print(tree);
  EXPECT_EQ(Counter(tree), L"2");
  const std::vector<std::wstring> rows = Rows(tree);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows.back(), L"2, 3, 05329876543, 08.12.2026 01:12, KP-7, ");
  EXPECT_EQ(rows.front(), L"1, 2, 05321234567, 08.12.2026 01:11, KP-7, Şişli");
  const Node* line2 = Find(tree, ROLE_SYSTEM_PROGRESSBAR, L"Telefon 2");
  ASSERT_NE(line2, nullptr);
  EXPECT_EQ(line2->value, L"15");

  EXPECT_TRUE(monitor.Close());
  EXPECT_EQ(monitor.ExitCode(), 0u);
}

}  // namespace
}  // namespace monitor::win32::testing
