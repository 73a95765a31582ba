#include "legacy/about/about_window.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "common/error.h"
#include "legacy/control/library_focus.h"
#include "legacy/resource_ids.h"
#include "legacy/this_module.h"

namespace legacy {
namespace {

constexpr wchar_t kClassName[] = L"TKalloraXAbout";
constexpr int kClientWidth = 485;
constexpr int kClientHeight = 533;
constexpr int kMemoId = 100;
constexpr COLORREF kLinkColour = RGB(0, 0, 255);

constexpr wchar_t kMemoText[] =
    L" \r\nThis file, not recommended for new projects.\r\n\r\nKallora Elektronik, www.kallora.com\r\n\r\n";

// The About window is one of the library's forms: taking the focus, it deactivates the
// control that had it.
class AboutFocus final : public control::FocusParticipant {
 public:
  void FocusGained() override {}
  void FocusLost() override {}
};

AboutFocus& TheAboutFocus() {
  static AboutFocus focus;
  return focus;
}

struct Fonts {
  HFONT form = nullptr;
  HFONT title = nullptr;
  HFONT link = nullptr;
  HFONT memo = nullptr;
  HBITMAP picture = nullptr;
  HWND link_label = nullptr;
};

HFONT MakeFont(const wchar_t* face, int height, int weight = FW_NORMAL, bool underline = false) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

HWND AddChild(HWND dialog, const wchar_t* cls, const wchar_t* text, DWORD style, RECT box, int id, HFONT font,
              DWORD exStyle = 0) {
  HWND child = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, box.left, box.top, box.right,
                               box.bottom, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(),
                               nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

// Sizes the client area and centres the window on the screen.
void PlaceWindow(HWND dialog) {
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Children in creation order, which is also the tab order: OkBtn before Memo1.
void BuildContent(HWND dialog, Fonts& fonts) {
  fonts.form = MakeFont(L"MS Sans Serif", -13);
  fonts.title = MakeFont(L"Default", -16, FW_BOLD);
  fonts.link = MakeFont(L"MS Sans Serif", -14, FW_NORMAL, true);
  fonts.memo = MakeFont(L"MS Sans Serif", -14);
  AddChild(dialog, L"BUTTON", L"", BS_GROUPBOX, {0, 0, kClientWidth, kClientHeight}, -1, fonts.form);
  HWND image = AddChild(dialog, L"STATIC", nullptr, SS_BITMAP, {218, 17, 48, 48}, -1, fonts.form);
  fonts.picture = static_cast<HBITMAP>(
      LoadImageW(ThisModule(), MAKEINTRESOURCEW(IDB_KALLORA_48), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
  SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(fonts.picture));
  AddChild(dialog, L"STATIC", L"KALLORA", SS_LEFT, {199, 90, 86, 20}, -1, fonts.title);
  AddChild(dialog, L"STATIC", L"v.4.x.x.x", SS_LEFT, {205, 114, 63, 20}, -1, fonts.title);
  fonts.link_label = AddChild(dialog, L"STATIC", L"www.kallora.com", SS_LEFT, {186, 146, 113, 16}, -1, fonts.link);
  AddChild(dialog, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, {196, 184, 92, 31}, IDOK, fonts.form);
  AddChild(dialog, L"EDIT", kMemoText, ES_MULTILINE | ES_READONLY | ES_CENTER | WS_TABSTOP, {2, 266, 481, 265},
           kMemoId, fonts.memo, WS_EX_STATICEDGE);
}

void ReleaseContent(Fonts& fonts) {
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(fonts.form), static_cast<HGDIOBJ>(fonts.title),
                         static_cast<HGDIOBJ>(fonts.link), static_cast<HGDIOBJ>(fonts.memo),
                         static_cast<HGDIOBJ>(fonts.picture)})
    if (object) DeleteObject(object);
  fonts = {};
}

// The web address in blue; the read-only memo black on white.
INT_PTR ControlColour(const Fonts& fonts, HDC dc, HWND control) {
  if (control == fonts.link_label) {
    SetTextColor(dc, kLinkColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
  }
  if (GetDlgCtrlID(control) == kMemoId) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
  }
  return 0;
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* fonts = reinterpret_cast<Fonts*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      BuildContent(dialog, *reinterpret_cast<Fonts*>(lParam));
      PlaceWindow(dialog);
      SetFocus(GetDlgItem(dialog, IDOK));
      return FALSE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        try {
          control::FocusEntered(TheAboutFocus());
        } catch (...) {
        }
      }
      return FALSE;
    case WM_CTLCOLORSTATIC:
      return fonts ? ControlColour(*fonts, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)) : 0;
    case WM_COMMAND:
      // OK is both the default and the cancel button: Enter, Esc and the system menu's close
      // all end the window with the result OK.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void RegisterAboutClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(ThisModule(), kClassName, &existing)) return;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = DefDlgProcW;
  cls.cbWndExtra = DLGWINDOWEXTRA;
  cls.hInstance = ThisModule();
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kClassName;
  if (!RegisterClassExW(&cls)) throw common::Error(L"Cannot register the About window", HRESULT_FROM_WIN32(GetLastError()));
}

void Append(std::vector<WORD>& out, const wchar_t* text) {
  for (; *text; ++text) out.push_back(static_cast<WORD>(*text));
  out.push_back(0);
}

void AppendDword(std::vector<WORD>& out, DWORD value) {
  out.push_back(LOWORD(value));
  out.push_back(HIWORD(value));
}

// An extended dialog template without controls: the window class and caption only; the
// content is built in pixels when the window opens.
std::vector<WORD> AboutTemplate() {
  std::vector<WORD> t;
  t.push_back(1);       // dlgVer
  t.push_back(0xFFFF);  // signature
  AppendDword(t, 0);    // helpID
  AppendDword(t, WS_EX_DLGMODALFRAME);
  AppendDword(t, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
  t.push_back(0);  // no items
  for (int i = 0; i < 4; ++i) t.push_back(0);  // position and size: set in pixels later
  t.push_back(0);  // no menu
  Append(t, kClassName);
  Append(t, L"About");
  return t;
}

}  // namespace

void ShowAboutWindow(HWND owner) {
  RegisterAboutClass();
  const std::vector<WORD> dialogTemplate = AboutTemplate();
  Fonts fonts;
  const INT_PTR result = DialogBoxIndirectParamW(
      ThisModule(), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), owner, AboutProc,
      reinterpret_cast<LPARAM>(&fonts));
  const DWORD error = GetLastError();
  ReleaseContent(fonts);
  control::FocusForget(TheAboutFocus());
  if (result == -1 || result == 0) throw common::Error(L"Cannot show the About window", HRESULT_FROM_WIN32(error));
}

}  // namespace legacy
