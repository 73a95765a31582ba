// The line monitor's own texts, shown exactly as written.
#pragma once

namespace monitor::texts {

inline constexpr const wchar_t* AccessCode = L"+:~.-q";
inline constexpr const wchar_t* DeviceModelCommand = L"devicemodel";
inline constexpr const wchar_t* SerialCommand = L"serial";
inline constexpr const wchar_t* StopCommand = L"test_stop";
// Why the control is not connected; a control that does not know the command answers nothing.
inline constexpr const wchar_t* ReasonCommand = L"reason";

inline constexpr const wchar_t* FilesMissing = L"Dosyalar eksik.";
inline constexpr const wchar_t* CompleteInstallation = L"Kurulumu tamamlayınız.";
// Two spaces between "tamam" and "Hemen".
inline constexpr const wchar_t* Connected = L"Bağlantı tamam  Hemen arayın";
inline constexpr const wchar_t* NotConnected = L"Cihaz bağlantısı sağlanamadı";
inline constexpr const wchar_t* ModelPrefix = L"Cihaz modeli: ";
inline constexpr const wchar_t* SerialPrefix = L"Seri no: ";
inline constexpr const wchar_t* BalloonTitlePrefix = L"Çağrı: ";

}  // namespace monitor::texts
