#include "monitor/form1_accessible_tree.h"

#include <cwchar>
#include <vector>

#include "monitor/form1_description.h"

namespace monitor {
namespace {

// Each meter's line: the label naming it and the label showing its level.
struct MeterLine {
  const wchar_t* Meter;
  const wchar_t* NameLabel;
  const wchar_t* LevelLabel;
};
constexpr MeterLine MeterLines[] = {{L"ProgressBar1", L"Label6", L"Label1"},
                                    {L"ProgressBar2", L"Label7", L"Label2"},
                                    {L"ProgressBar3", L"Label8", L"Label3"},
                                    {L"ProgressBar4", L"Label15", L"Label4"}};

bool Same(const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b) == 0; }

const MeterLine* LineOf(const wchar_t* meter) {
  for (const MeterLine& line : MeterLines)
    if (Same(line.Meter, meter)) return &line;
  return nullptr;
}

std::wstring Trimmed(const std::wstring& text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

// A group box without a caption only frames the others: a reader has nothing to say of it.
std::vector<AccessibleChild> BuildChildren() {
  std::vector<AccessibleChild> children;
  for (const ControlDescription& control : Form1Description().subspan(1)) {
    switch (control.Kind) {
      case ControlKind::GroupBox:
        if (!Trimmed(control.Caption).empty()) children.push_back({control.Name, AccessibleRole::GroupBox});
        break;
      case ControlKind::Label: children.push_back({control.Name, AccessibleRole::Label}); break;
      case ControlKind::ProgressBar: children.push_back({control.Name, AccessibleRole::Meter}); break;
      case ControlKind::TextGrid: children.push_back({control.Name, AccessibleRole::CallList}); break;
      case ControlKind::Form: break;
    }
  }
  return children;
}

const wchar_t* CaptionOfDescribed(const wchar_t* name) {
  for (const ControlDescription& control : Form1Description())
    if (Same(control.Name, name)) return control.Caption;
  return L"";
}

}  // namespace

std::span<const AccessibleChild> Form1AccessibleChildren() {
  static const std::vector<AccessibleChild> children = BuildChildren();
  return children;
}

std::int32_t Form1AccessibleChildNumber(const wchar_t* control) {
  const auto children = Form1AccessibleChildren();
  for (std::size_t i = 0; i < children.size(); ++i)
    if (Same(children[i].Control, control)) return static_cast<std::int32_t>(i + 1);
  return 0;
}

std::wstring Form1AccessibleName(const AccessibleChild& child, const CaptionOf& caption) {
  switch (child.Role) {
    case AccessibleRole::Label: return caption(child.Control);
    case AccessibleRole::GroupBox: return Trimmed(CaptionOfDescribed(child.Control));
    case AccessibleRole::Meter: {
      const MeterLine* line = LineOf(child.Control);
      return line ? caption(line->NameLabel) : std::wstring();
    }
    case AccessibleRole::CallList: break;
  }
  return {};
}

std::optional<std::wstring> Form1AccessibleValue(const AccessibleChild& child, const CaptionOf& caption) {
  if (child.Role != AccessibleRole::Meter) return std::nullopt;
  const MeterLine* line = LineOf(child.Control);
  if (!line) return std::nullopt;
  return caption(line->LevelLabel);
}

CaptionFollowers Form1CaptionFollowers(const wchar_t* label) {
  CaptionFollowers followers{Form1AccessibleChildNumber(label), 0};
  for (const MeterLine& line : MeterLines)
    if (Same(line.LevelLabel, label)) followers.Valued = Form1AccessibleChildNumber(line.Meter);
  return followers;
}

}  // namespace monitor
