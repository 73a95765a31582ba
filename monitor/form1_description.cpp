#include "monitor/form1_description.h"

#include <array>
#include <cwchar>
#include <iterator>

namespace monitor {
namespace {

constexpr FontDescription FormFont{L"MS Sans Serif", 11, false, DefaultCharset};
constexpr FontDescription FrameFont{L"Arial", 11, false, DefaultCharset};
constexpr FontDescription GridFont{L"MS Sans Serif", 15, false, TurkishCharset};
constexpr FontDescription AreaFont{L"Arial", 13, false, TurkishCharset};
constexpr FontDescription CounterFont{L"Arial Narrow", 19, true, TurkishCharset};
constexpr FontDescription DeviceFont{L"Arial Narrow", 16, true, TurkishCharset};
constexpr FontDescription MeterFont{L"Arial", 13, false, DefaultCharset};

constexpr ControlDescription Label(const wchar_t* name, const wchar_t* parent, std::int32_t left,
                                   std::int32_t top, const wchar_t* caption,
                                   FontDescription font) {
  return {name, ControlKind::Label, parent, Alignment::None, left, top, 0, 0, caption, font, true};
}

// Rows of the signal meters: the bars' tops, the captions and values beside them.
constexpr std::array<std::int32_t, 4> MeterTops{39, 66, 94, 122};
constexpr std::int32_t MeterLabelDrop = 2;

constexpr ControlDescription MeterLabel(const wchar_t* name, std::size_t row,
                                        const wchar_t* caption) {
  return Label(name, L"tek", 18, MeterTops[row] + MeterLabelDrop, caption, MeterFont);
}
constexpr ControlDescription Meter(const wchar_t* name, std::size_t row) {
  return {name, ControlKind::ProgressBar, L"tek", Alignment::None, 86, MeterTops[row], 91, 20,
          L"", MeterFont, false};
}
constexpr ControlDescription MeterValue(const wchar_t* name, std::size_t row) {
  return {name, ControlKind::Label, L"tek", Alignment::None, 182, MeterTops[row] + MeterLabelDrop,
          25, 16, L"-", MeterFont, false};
}

constexpr ControlDescription Controls[] = {
    {L"TForm1", ControlKind::Form, nullptr, Alignment::None, 0, 0, 575, 463, L"TEST", FormFont, false},
    {L"GroupBox4", ControlKind::GroupBox, L"TForm1", Alignment::Client, 0, 0, 0, 0, L"", FrameFont,
     false},
    {L"TextGrid1", ControlKind::TextGrid, L"GroupBox4", Alignment::Top, 0, 0, 553, 226, L"", GridFont,
     false},
    {L"GroupBox2", ControlKind::GroupBox, L"GroupBox4", Alignment::Left, 0, 0, 335, 0,
     L"  Bağlantı     ", AreaFont, false},
    Label(L"Label22", L"GroupBox2", 14, 19, L"Çağrı sayısı : ", CounterFont),
    Label(L"Label5", L"GroupBox2", 153, 20, L"0", CounterFont),
    Label(L"Label9", L"GroupBox2", 14, 53, L"--", CounterFont),
    Label(L"Label24", L"GroupBox2", 14, 83, L"--", DeviceFont),
    Label(L"Label25", L"GroupBox2", 14, 105, L"--", DeviceFont),
    Label(L"Label10", L"GroupBox2", 21, 133, L"Mobil çağrılar, aynı anda bir tane uygulamaya iletilir",
          AreaFont),
    Label(L"Label11", L"GroupBox2", 21, 149, L"Bağlantı durumu Android uygulamasında gösterilir",
          AreaFont),
    {L"tek", ControlKind::GroupBox, L"GroupBox4", Alignment::Right, 0, 0, 208, 0, L"  Sinyaller   ",
     MeterFont, false},
    MeterLabel(L"Label6", 0, L"Telefon 1"),
    MeterLabel(L"Label7", 1, L"Telefon 2"),
    MeterLabel(L"Label8", 2, L"Telefon 3"),
    MeterLabel(L"Label15", 3, L"Telefon 4"),
    Meter(L"ProgressBar1", 0),
    Meter(L"ProgressBar2", 1),
    Meter(L"ProgressBar3", 2),
    Meter(L"ProgressBar4", 3),
    MeterValue(L"Label1", 0),
    MeterValue(L"Label2", 1),
    MeterValue(L"Label3", 2),
    MeterValue(L"Label4", 3),
};

constexpr TimerDescription Timers[] = {
    {L"Timer1", 500, true},  // connection poll
    {L"Timer2", 50, true},   // raises the application once after start
};

constexpr MenuItemDescription MenuItems[] = {
    {L"Listeyisil1", L"Listeyi sil"},
    {L"ki1", L"Çıkış"},
};

constexpr const wchar_t* MenuOpeners[] = {L"Label9", L"Label24", L"Label25"};

}  // namespace

std::span<const ControlDescription> Form1Description() { return Controls; }
std::int32_t ControlId(const wchar_t* name) {
  constexpr std::int32_t FirstId = 100;
  for (std::size_t i = 1; i < std::size(Controls); ++i)
    if (std::wcscmp(Controls[i].Name, name) == 0) return FirstId + static_cast<std::int32_t>(i);
  return 0;
}

std::span<const TimerDescription> Form1Timers() { return Timers; }
std::span<const MenuItemDescription> PopupMenu1Items() { return MenuItems; }
std::span<const wchar_t* const> PopupMenu1Openers() { return MenuOpeners; }

}  // namespace monitor
