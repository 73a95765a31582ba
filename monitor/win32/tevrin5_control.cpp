#include "monitor/win32/tevrin5_control.h"

#include "activex/bstr.h"
#include "common/error.h"
#include "tray/win32/callback_guard.h"

namespace monitor::win32 {

// {EEA18052-171F-4293-8598-AB6E1D7257B2}
const CLSID CLSID_Tevrin5 = {0xEEA18052, 0x171F, 0x4293, {0x85, 0x98, 0xAB, 0x6E, 0x1D, 0x72, 0x57, 0xB2}};
// {0A16189E-10E9-4A76-8D2D-0A8F1AD4729A}
const IID IID_ITevrin5 = {0x0A16189E, 0x10E9, 0x4A76, {0x8D, 0x2D, 0x0A, 0x8F, 0x1A, 0xD4, 0x72, 0x9A}};
// {B6A36C9A-2DC9-4CEF-AF6E-D6DDD2F91CC4}
const IID DIID_Tevrin5Events = {0xB6A36C9A, 0x2DC9, 0x4CEF, {0xAF, 0x6E, 0xD6, 0xDD, 0xD2, 0xF9, 0x1C, 0xC4}};

namespace {

// Positions in ITevrin5's function table, QueryInterface being the first.
constexpr int StartSlot = 47 - 1;
constexpr int CommandSlot = 50 - 1;

using StartFunction = HRESULT(STDMETHODCALLTYPE*)(IUnknown* self);
using CommandFunction = HRESULT(STDMETHODCALLTYPE*)(IUnknown* self, BSTR text, BSTR* result);

template <class Function>
Function Slot(IUnknown* object, int slot) {
  void** table = *reinterpret_cast<void***>(object);
  return reinterpret_cast<Function>(table[slot]);
}

RECT TopOfForm() { return RECT{0, 0, 26, 26}; }

// The device delivers fewer texts than declared only if it is broken; those read as empty.
std::wstring Argument(const activex::EventArguments& arguments, std::size_t index) {
  return index < arguments.size() ? arguments[index] : std::wstring();
}

}  // namespace

Tevrin5Control::Tevrin5Control(HWND form, const CLSID& clsid)
    : site_(form, clsid, TopOfForm(),
            [](const std::exception_ptr& failure) { tray::ReportFailure(failure); }),
      tevrin5_(site_.As<IUnknown>(IID_ITevrin5)) {
  if (!tevrin5_) throw common::Error(L"The device control has no ITevrin5 interface.", E_NOINTERFACE);
  if (HWND window = site_.Window()) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_HIDE);
  }
  site_.ConnectEvents(DIID_Tevrin5Events);
}

void Tevrin5Control::Start() {
  activex::ThrowIfFailed(Slot<StartFunction>(tevrin5_.Get(), StartSlot)(tevrin5_.Get()), tevrin5_.Get(),
                         IID_ITevrin5);
}

std::wstring Tevrin5Control::Command(const std::wstring& text) {
  activex::Bstr command(text);
  activex::Bstr result;
  activex::ThrowIfFailed(Slot<CommandFunction>(tevrin5_.Get(), CommandSlot)(tevrin5_.Get(), command.Get(), result.Put()),
                         tevrin5_.Get(), IID_ITevrin5);
  return result.Text();
}

void Tevrin5Control::SetOnSignalA(SignalHandler handler) {
  site_.OnEvent(DispidOnSignalA, [this, handler = std::move(handler)](const activex::EventArguments& arguments) {
    SignalArgs levels;
    for (std::size_t line = 0; line < std::size(levels.Level); ++line) levels.Level[line] = Argument(arguments, line);
    handler(*this, levels);
  });
}

void Tevrin5Control::SetOnCallerID(CallerIdHandler handler) {
  site_.OnEvent(DispidOnCallerID, [this, handler = std::move(handler)](const activex::EventArguments& arguments) {
    handler(*this, CallerIdArgs{Argument(arguments, 0), Argument(arguments, 1), Argument(arguments, 2),
                                Argument(arguments, 3), Argument(arguments, 4)});
  });
}

}  // namespace monitor::win32
