// A library without DllInstall, for the console tool to meet where it expects the simulated
// device: another file may stand there.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_OK; }
