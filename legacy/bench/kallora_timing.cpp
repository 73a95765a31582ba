// Timing of the control's hot paths under the real COM runtime: one signal report (two events
// of eight texts to a connected sink, as each tick raises them) against the timer's period,
// and the same member called late-bound through IDispatch against early-bound through the
// function table. Prints two rows of the benchmark table.
// The control's code and type library are built into this program; the simulated device and
// tevrin4.dll it hosts are registered in the prefix first.
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "activex/com_ptr.h"
#include "common/bench/bench_row.h"
#include "legacy/control/kallora_plus_control.h"
#include "legacy/dispids.h"
#include "legacy/tests/com_host.h"
#include "legacy/tests/event_recorder.h"

namespace {

constexpr int kBatches = 25;

// The median over kBatches batches of the mean cost of one call: a batch the machine slowed
// down moves the figure no more than a fast one.
double NanosecondsPerCall(int calls, const std::function<void()>& call) {
  for (int i = 0; i < calls / 10; ++i) call();  // warm up
  const int perBatch = std::max(1, calls / kBatches);
  std::vector<double> batches;
  for (int batch = 0; batch < kBatches; ++batch) {
    const double start = common::bench::Microseconds();
    for (int i = 0; i < perBatch; ++i) call();
    batches.push_back(1000 * (common::bench::Microseconds() - start) / perBatch);
  }
  return common::bench::Median(batches);
}

// A sink that only counts: the figure is the control's cost, not the host's.
class CountingSink final : public test::EventRecorder {
 public:
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    ++calls;
    return S_OK;
  }
  long calls = 0;
};

}  // namespace

int main() {
  OleInitialize(nullptr);
  test::RegisterServers();
  {
    // The control is made in this program so that its form can be ticked directly.
    activex::ComPtr<IUnknown> object = activex::ComPtr<IUnknown>::Attach(legacy::control::KalloraPlusControl::Create());
    auto* control = static_cast<legacy::control::KalloraPlusControl*>(static_cast<legacy::IKalloraPlus*>(
        object.As<legacy::IKalloraPlus>(legacy::IID_IKalloraPlus).Get()));
    CountingSink sink;
    activex::ComPtr<IConnectionPoint> point = test::EventPoint(object.Get());
    DWORD cookie = 0;
    point->Advise(static_cast<IDispatch*>(&sink), &cookie);

    constexpr int kReports = 20000;
    // A quick report leaves the timer alone: the figure is the two events' cost.
    const double report = NanosecondsPerCall(kReports, [&] { control->Form().Oku_timerTimer(); });
    common::bench::PrintRatio("legacy control: one signal report", report / 1000, "timer period", 50000, "us", 0.001,
                              common::bench::Format("median of %d batches", kBatches));
    legacy::IKalloraPlus* early = control;
    activex::ComPtr<IDispatch> late = object.As<IDispatch>(IID_IDispatch);
    constexpr int kCalls = 100000;
    const double earlyBound = NanosecondsPerCall(kCalls, [&] {
      BSTR status = nullptr;
      early->get_LineStatus(5, &status);
      SysFreeString(status);
    });
    const double lateBound = NanosecondsPerCall(kCalls, [&] {
      VARIANTARG line;
      VariantInit(&line);
      V_VT(&line) = VT_I4;
      V_I4(&line) = 5;
      DISPPARAMS parameters{&line, nullptr, 1, 0};
      VARIANT result;
      VariantInit(&result);
      late->Invoke(legacy::dispid::kLineStatus, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &parameters,
                   &result, nullptr, nullptr);
      VariantClear(&result);
    });
    // Late binding costs what IDispatch costs; it must stay where it was (8.1 times).
    common::bench::PrintRatio("legacy control: LineStatus late-bound vs early-bound", lateBound, "early-bound",
                              earlyBound, "ns", 8.9, common::bench::Format("medians of %d batches", kBatches));
    point->Unadvise(cookie);
  }
  OleUninitialize();
  return 0;
}
