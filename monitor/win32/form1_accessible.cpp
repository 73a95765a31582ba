#include "monitor/win32/form1_accessible.h"

#include "monitor/form1_accessible_tree.h"

namespace monitor::win32 {
namespace {

const AccessibleChild& ChildAt(std::int32_t child) {
  return Form1AccessibleChildren()[static_cast<std::size_t>(child - 1)];
}

}  // namespace

std::int32_t Form1Accessible::ChildCount() const {
  return static_cast<std::int32_t>(Form1AccessibleChildren().size());
}

std::wstring Form1Accessible::Name(std::int32_t child) const {
  if (child == CHILDID_SELF) return WindowText();
  return Form1AccessibleName(ChildAt(child), [this](const wchar_t* label) { return form_.LabelCaption(label); });
}

std::optional<std::wstring> Form1Accessible::Value(std::int32_t child) const {
  if (child == CHILDID_SELF) return std::nullopt;
  return Form1AccessibleValue(ChildAt(child), [this](const wchar_t* label) { return form_.LabelCaption(label); });
}

// As the platform's own controls of each kind answer.
long Form1Accessible::Role(std::int32_t child) const {
  if (child == CHILDID_SELF) return ROLE_SYSTEM_CLIENT;
  switch (ChildAt(child).Role) {
    case AccessibleRole::GroupBox: return ROLE_SYSTEM_GROUPING;
    case AccessibleRole::Label: return ROLE_SYSTEM_STATICTEXT;
    case AccessibleRole::Meter: return ROLE_SYSTEM_PROGRESSBAR;
    case AccessibleRole::CallList: return ROLE_SYSTEM_TABLE;
  }
  return ROLE_SYSTEM_CLIENT;
}

long Form1Accessible::State(std::int32_t child) const {
  if (child == CHILDID_SELF) return 0;
  return ChildAt(child).Role == AccessibleRole::GroupBox ? 0 : STATE_SYSTEM_READONLY;
}

std::optional<RECT> Form1Accessible::Place(std::int32_t child) const {
  if (child == CHILDID_SELF) {
    RECT client{};
    GetClientRect(Window(), &client);
    return client;
  }
  return form_.PlaceOf(ChildAt(child).Control);
}

HWND Form1Accessible::ChildWindow(std::int32_t child) const {
  if (child == CHILDID_SELF || ChildAt(child).Role != AccessibleRole::CallList) return nullptr;
  return form_.WindowOf(ChildAt(child).Control);
}

}  // namespace monitor::win32
