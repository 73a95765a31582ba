// A C++ host of KalloraPlus through COM, with the simulated device driven by its console tool:
// every member early- and late-bound, the event connection, the signal reports and the calls.
#include <windows.h>
#include <objsafe.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "activex/bstr.h"
#include "legacy/dispids.h"
#include "legacy/resource_ids.h"
#include "legacy/tests/com_host.h"
#include "legacy/tests/modal_window_watch.h"
#include "legacy/tests/process_usage.h"
#include "legacy/tests/wine_paths.h"

namespace {

using activex::Bstr;
using test::ComPtr;
using test::EventRecorder;
using Texts = std::vector<std::wstring>;
namespace dispid = legacy::dispid;

const Texts kEight255(8, L"255");

class HostTest : public test::RegisteredServersTest {
 protected:
  // A new control whose device control has a device plugged in.
  ComPtr<legacy::IKalloraPlus> Create() {
    ComPtr<legacy::IKalloraPlus> control = test::CreateControl();
    EXPECT_EQ(test::Devctl(L"plug KLR-8 SN0001").exitCode, 0u);
    return control;
  }
};

HRESULT Invoke(IDispatch* dispatch, DISPID id, WORD flags, std::vector<VARIANTARG> arguments, VARIANT* result) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{arguments.empty() ? nullptr : arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    parameters.rgdispidNamedArgs = &named;
    parameters.cNamedArgs = 1;
  }
  return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result, nullptr, nullptr);
}

VARIANTARG Long(LONG value) {
  VARIANTARG v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}

VARIANTARG Boolean(bool value) {
  VARIANTARG v;
  VariantInit(&v);
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

TEST_F(HostTest, EveryMemberEarlyBound) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  ASSERT_TRUE(control);
  VARIANT_BOOL flag = 1;
  EXPECT_EQ(control->get_Active(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_FALSE);
  EXPECT_EQ(control->put_Visible(VARIANT_FALSE), S_OK);
  EXPECT_EQ(control->get_Visible(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_FALSE);
  EXPECT_EQ(control->put_Visible(7), S_OK);
  EXPECT_EQ(control->get_Visible(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_TRUE);
  EXPECT_EQ(control->get_ServiceRunning(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_TRUE);

  Bstr config(L"anything");
  EXPECT_EQ(control->put_Config(config.Get()), S_OK);
  BSTR number = SysAllocString(L"held by the caller");
  BSTR held = number;
  EXPECT_EQ(control->DialThisNumber(&number), S_OK);
  EXPECT_EQ(number, nullptr);
  SysFreeString(held);  // still the caller's: the control did not free it
  EXPECT_EQ(control->DialThisNumber(nullptr), S_OK);

  Bstr text;
  EXPECT_EQ(control->get_About(text.Put()), S_OK);
  EXPECT_EQ(text.Text(), L"KALLORA v.4.x.x.x");
  EXPECT_EQ(control->put_About(config.Get()), S_OK);
  for (LONG line : {0, 1, 1000}) {
    EXPECT_EQ(control->get_LineStatus(line, text.Put()), S_OK);
    EXPECT_EQ(text.Text(), L"-");
  }
  EXPECT_EQ(control->get_DeviceModel(text.Put()), S_OK);
  EXPECT_EQ(text.Text(), L"KLR-8");
  EXPECT_EQ(control->Start(), S_OK);
  EXPECT_EQ(control->get_ServiceRunning(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_TRUE);
}

TEST_F(HostTest, DeviceModelIsTheDevicesTextUnchangedAndEmptyWhenUnplugged) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  // "ő" and "€"-less Greek are not in the Turkish code page; they still arrive as sent.
  ASSERT_EQ(test::Devctl(L"plug \"KLR-8 Ağ ő\u03A9\" SN0002").exitCode, 0u);
  Bstr model;
  EXPECT_EQ(control->get_DeviceModel(model.Put()), S_OK);
  EXPECT_EQ(model.Text(), L"KLR-8 Ağ ő\u03A9");
  ASSERT_EQ(test::Devctl(L"unplug").exitCode, 0u);
  EXPECT_EQ(control->get_DeviceModel(model.Put()), S_OK);
  EXPECT_EQ(model.Text(), L"");
}

TEST_F(HostTest, AFailingDeviceQueryCarriesErrorInformation) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  ASSERT_EQ(test::Devctl(L"fail 1").exitCode, 0u);
  BSTR model = SysAllocString(L"x");
  const HRESULT hr = control->get_DeviceModel(&model);
  EXPECT_TRUE(FAILED(hr));
  EXPECT_EQ(model, nullptr);
  ComPtr<ISupportErrorInfo> support = control.As<ISupportErrorInfo>(IID_ISupportErrorInfo);
  ASSERT_TRUE(support);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(legacy::IID_IKalloraPlus), S_OK);
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
  ASSERT_TRUE(info);
  Bstr description, source;
  GUID guid{};
  info->GetDescription(description.Put());
  info->GetSource(source.Put());
  info->GetGUID(&guid);
  EXPECT_FALSE(description.Text().empty());
  EXPECT_EQ(source.Text(), L"Upgrade_v4.KalloraPlus");
  EXPECT_TRUE(IsEqualGUID(guid, legacy::IID_IKalloraPlus));
  // The next query works again.
  EXPECT_EQ(control->get_DeviceModel(&model), S_OK);
  SysFreeString(model);
}

TEST_F(HostTest, EveryMemberLateBound) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  ComPtr<IDispatch> dispatch = control.As<IDispatch>(IID_IDispatch);
  ASSERT_TRUE(dispatch);
  UINT count = 0;
  EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);

  LPOLESTR names[] = {const_cast<LPOLESTR>(L"LineStatus"), const_cast<LPOLESTR>(L"LineNum")};
  DISPID ids[2] = {};
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids), S_OK);
  EXPECT_EQ(ids[0], 202);
  EXPECT_EQ(ids[1], 0);

  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(Invoke(dispatch.Get(), dispid::kLineStatus, DISPATCH_PROPERTYGET, {Long(1000)}, &result), S_OK);
  ASSERT_EQ(V_VT(&result), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&result), L"-");
  VariantClear(&result);

  ASSERT_EQ(Invoke(dispatch.Get(), dispid::kServiceRunning, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(V_VT(&result), VT_BOOL);
  EXPECT_EQ(V_BOOL(&result), VARIANT_TRUE);

  // A by-reference put is taken as a put.
  EXPECT_EQ(Invoke(dispatch.Get(), dispid::kVisible, DISPATCH_PROPERTYPUTREF, {Boolean(false)}, nullptr), S_OK);
  ASSERT_EQ(Invoke(dispatch.Get(), dispid::kVisible, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(V_BOOL(&result), VARIANT_FALSE);
  EXPECT_EQ(Invoke(dispatch.Get(), dispid::kVisible, DISPATCH_PROPERTYPUT, {Boolean(true)}, nullptr), S_OK);
  ASSERT_EQ(Invoke(dispatch.Get(), dispid::kVisible, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(V_BOOL(&result), VARIANT_TRUE);
  ASSERT_EQ(Invoke(dispatch.Get(), dispid::kActive, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(V_BOOL(&result), VARIANT_FALSE);

  VARIANTARG text;
  VariantInit(&text);
  V_VT(&text) = VT_BSTR;
  V_BSTR(&text) = SysAllocString(L"anything");
  EXPECT_EQ(Invoke(dispatch.Get(), dispid::kConfig, DISPATCH_PROPERTYPUT, {text}, nullptr), S_OK);
  EXPECT_EQ(Invoke(dispatch.Get(), dispid::kAbout, DISPATCH_PROPERTYPUT, {text}, nullptr), S_OK);
  VariantClear(&text);
  ASSERT_EQ(Invoke(dispatch.Get(), dispid::kAbout, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_STREQ(V_BSTR(&result), L"KALLORA v.4.x.x.x");
  VariantClear(&result);
  ASSERT_EQ(Invoke(dispatch.Get(), dispid::kDeviceModel, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_STREQ(V_BSTR(&result), L"KLR-8");
  VariantClear(&result);

  // DialThisNumber: a method with one by-reference string, returning nothing. A late-bound
  // caller cannot know that it is out-only: the string it passed is freed.
  BSTR number = SysAllocString(L"05321234567");
  VARIANTARG byRef;
  VariantInit(&byRef);
  V_VT(&byRef) = VT_BSTR | VT_BYREF;
  V_BSTRREF(&byRef) = &number;
  ASSERT_EQ(Invoke(dispatch.Get(), dispid::kDialThisNumber, DISPATCH_METHOD, {byRef}, &result), S_OK);
  EXPECT_EQ(V_VT(&result), VT_EMPTY);
  EXPECT_EQ(number, nullptr);

  EXPECT_EQ(Invoke(dispatch.Get(), dispid::kStart, DISPATCH_METHOD, {}, nullptr), S_OK);
  {
    test::ModalWindowWatch watch(L"TKalloraXAbout", [](HWND) {},
                                 [](HWND about) { PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(Invoke(dispatch.Get(), DISPID_ABOUTBOX, DISPATCH_METHOD, {}, nullptr), S_OK);
    EXPECT_TRUE(watch.Found());
  }
}

// Late-bound calls of every odd shape a careless host or script engine may send: each answers
// an HRESULT, and thousands of them leave the heap as it was. DialThisNumber frees the string
// it replaces, whether a script passes its variable or a compiled program its string.
TEST_F(HostTest, OddInvokeShapesAnswerAnHResultAndLeakNothing) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  ComPtr<IDispatch> dispatch = control.As<IDispatch>(IID_IDispatch);
  ASSERT_TRUE(dispatch);
  const auto call = [&](DISPID id, WORD flags, std::vector<VARIANTARG> arguments, std::vector<DISPID> named = {}) {
    DISPPARAMS parameters{arguments.data(), named.data(), static_cast<UINT>(arguments.size()),
                          static_cast<UINT>(named.size())};
    VARIANT result;
    VariantInit(&result);
    UINT argumentError = 0;
    const HRESULT hr =
        dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, &result, nullptr, &argumentError);
    VariantClear(&result);
    return hr;
  };
  const auto byReference = [](VARTYPE vt, void* to) {
    VARIANTARG v;
    VariantInit(&v);
    V_VT(&v) = static_cast<VARTYPE>(vt | VT_BYREF);
    V_BYREF(&v) = to;
    return v;
  };
  const std::wstring number(2000, L'5');
  VARIANT variable, nested, record;
  VariantInit(&variable);
  VariantInit(&nested);
  VariantInit(&record);
  V_VT(&record) = VT_RECORD;  // no record and no description: nothing to read through
  LONG integer = 7;
  const auto shapes = [&] {
    VariantClear(&variable);
    V_VT(&variable) = VT_BSTR;
    V_BSTR(&variable) = SysAllocString(number.c_str());
    EXPECT_EQ(call(dispid::kDialThisNumber, DISPATCH_METHOD, {byReference(VT_VARIANT, &variable)}), S_OK);
    EXPECT_EQ(V_VT(&variable), VT_BSTR);
    EXPECT_EQ(V_BSTR(&variable), nullptr) << "the variable holds the member's answer";
    V_BSTR(&variable) = SysAllocString(number.c_str());
    EXPECT_EQ(call(dispid::kDialThisNumber, DISPATCH_METHOD, {byReference(VT_VARIANT, &variable)}, {0}), S_OK)
        << "named";
    EXPECT_EQ(V_BSTR(&variable), nullptr);
    BSTR text = SysAllocString(number.c_str());
    EXPECT_EQ(call(dispid::kDialThisNumber, DISPATCH_METHOD, {byReference(VT_BSTR, &text)}), S_OK);
    EXPECT_EQ(text, nullptr) << "the string holds the member's answer";
    EXPECT_EQ(call(dispid::kDialThisNumber, DISPATCH_METHOD, {byReference(VT_BSTR, nullptr)}), S_OK);

    EXPECT_TRUE(FAILED(call(dispid::kDialThisNumber, DISPATCH_METHOD, {byReference(VT_VARIANT, nullptr)})));
    EXPECT_TRUE(FAILED(call(dispid::kDialThisNumber, DISPATCH_METHOD, {byReference(VT_I4, &integer)})));
    V_VT(&nested) = VT_I4;
    V_I4(&nested) = 7;
    EXPECT_TRUE(FAILED(call(dispid::kDialThisNumber, DISPATCH_METHOD, {byReference(VT_VARIANT, &nested)})));
    VARIANTARG recordReference = byReference(VT_VARIANT, &record);
    V_RECORDINFO(&recordReference) = reinterpret_cast<IRecordInfo*>(1);  // not the record's
    EXPECT_TRUE(FAILED(call(dispid::kDialThisNumber, DISPATCH_METHOD, {recordReference})));
    V_VT(&nested) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&nested) = &variable;
    EXPECT_TRUE(FAILED(call(dispid::kDialThisNumber, DISPATCH_METHOD, {byReference(VT_VARIANT, &nested)})));

    EXPECT_EQ(call(dispid::kDialThisNumber, DISPATCH_METHOD, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(call(dispid::kLineStatus, DISPATCH_PROPERTYGET, {}), DISP_E_BADPARAMCOUNT);
    // Surplus and unknown arguments get the system's own answer (Wine passes over a surplus
    // argument of a member without parameters).
    const HRESULT surplus = call(dispid::kStart, DISPATCH_METHOD, {Long(1)});
    EXPECT_TRUE(surplus == S_OK || surplus == DISP_E_BADPARAMCOUNT) << surplus;
    EXPECT_TRUE(FAILED(
        call(dispid::kLineStatus, DISPATCH_PROPERTYGET, {Long(1), Long(2), byReference(VT_VARIANT, &variable)})));
    EXPECT_TRUE(FAILED(call(dispid::kDialThisNumber, DISPATCH_METHOD, {byReference(VT_VARIANT, &variable)}, {5})));
    EXPECT_EQ(call(dispid::kStart, DISPATCH_PROPERTYPUT, {Long(1)}, {DISPID_PROPERTYPUT}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(call(dispid::kDialThisNumber, DISPATCH_PROPERTYPUT, {byReference(VT_VARIANT, &variable)},
                   {DISPID_PROPERTYPUT}),
              DISP_E_MEMBERNOTFOUND);
    DISPPARAMS broken{nullptr, nullptr, 1, 0};
    EXPECT_EQ(dispatch->Invoke(dispid::kStart, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &broken, nullptr,
                               nullptr, nullptr),
              E_INVALIDARG);
  };
  for (int i = 0; i < 20; ++i) shapes();  // what stays loaded, loads
  const SIZE_T before = test::HeapBytesInUse();
  for (int i = 0; i < 1000 && !HasFailure(); ++i) shapes();
  const SIZE_T after = test::HeapBytesInUse();
  // One lost number a round would be 4 MB.
  EXPECT_LT(after, before + 64 * 1024) << before << " -> " << after;
  VariantClear(&variable);
}

TEST_F(HostTest, AboutBoxReturnsWhenTheWindowCloses) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
    test::ModalWindowWatch watch(L"TKalloraXAbout", [](HWND) {}, [key](HWND about) {
      HWND ok = GetDlgItem(about, IDOK);
      PostMessageW(ok, WM_KEYDOWN, key, 0);
    });
    EXPECT_EQ(control->AboutBox(), S_OK);
    EXPECT_TRUE(watch.Found());
  }
}

TEST_F(HostTest, OneEventSinkAtATimeAndOnCreateOnlyForTheFirst) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  ComPtr<IConnectionPoint> point = test::EventPoint(control.Get());
  EventRecorder refusing(false);
  DWORD cookie = 0;
  EXPECT_NE(point->Advise(static_cast<IDispatch*>(&refusing), &cookie), S_OK);

  EventRecorder first, second;
  ASSERT_EQ(point->Advise(static_cast<IDispatch*>(&first), &cookie), S_OK);
  EXPECT_EQ(cookie, 1u);
  ASSERT_EQ(first.Of(dispid::kOnCreate).size(), 1u);
  DWORD secondCookie = 0;
  EXPECT_EQ(point->Advise(static_cast<IDispatch*>(&second), &secondCookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(point->Unadvise(7), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(first.References(), 0u);
  ASSERT_EQ(point->Advise(static_cast<IDispatch*>(&second), &secondCookie), S_OK);
  EXPECT_TRUE(second.Of(dispid::kOnCreate).empty()) << "OnCreate only on the first connection";
  EXPECT_EQ(point->Unadvise(secondCookie), S_OK);
}

TEST_F(HostTest, StartReportsEightZerosAtOnceThenTheDevicesLevelsEveryTick) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  EventRecorder events;
  test::Connection eventsConnection(control.Get(), events);
  ASSERT_EQ(test::Devctl(L"levels 9 9 9 9 9 9 9 9").exitCode, 0u);
  events.events.clear();
  ASSERT_EQ(control->Start(), S_OK);
  // At once, before any message is served.
  ASSERT_EQ(events.events.size(), 2u);
  EXPECT_EQ(events.events[0].dispid, dispid::kOnSignalA);
  EXPECT_EQ(events.events[0].arguments, Texts(8, L"0"));
  EXPECT_EQ(events.events[1].dispid, dispid::kOnSignalD);
  EXPECT_EQ(events.events[1].arguments, kEight255);

  ASSERT_EQ(test::Devctl(L"levels 0 10 20 30 40 50 60 255").exitCode, 0u);
  const Texts sent{L"0", L"10", L"20", L"30", L"40", L"50", L"60", L"255"};
  EXPECT_TRUE(test::PumpUntil([&] { return test::LastLevels(events) == sent; }, 1000));
  EXPECT_EQ(events.Of(dispid::kOnSignalD).back().arguments, kEight255);
  EXPECT_TRUE(events.wellFormed);

  ASSERT_EQ(test::Devctl(L"levels 256 -1 300 $10 0 0 0 0").exitCode, 0u);
  const Texts wrapped{L"0", L"255", L"44", L"16", L"0", L"0", L"0", L"0"};
  EXPECT_TRUE(test::PumpUntil([&] { return test::LastLevels(events) == wrapped; }, 1000));

  // Reports keep coming, 20 a second, whether or not anything changed.
  const std::size_t before = events.Of(dispid::kOnSignalA).size();
  test::PumpFor(500);
  const std::size_t reports = events.Of(dispid::kOnSignalA).size() - before;
  EXPECT_GE(reports, 5u);
  EXPECT_LE(reports, 12u);
}

TEST_F(HostTest, ABadLevelNeverReachesTheHost) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  EventRecorder events;
  test::Connection eventsConnection(control.Get(), events);
  ASSERT_EQ(control->Start(), S_OK);
  ASSERT_EQ(test::Devctl(L"levels 1 2 3 4 5 6 7 8").exitCode, 0u);
  ASSERT_TRUE(test::PumpUntil([&] { return test::LastLevels(events) == Texts{L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"}; }, 1000));
  // The third text is no number: lines 1 and 2 take their new values, the rest keep theirs.
  ASSERT_EQ(test::Devctl(L"levels 11 12 abc 14 15 16 17 18").exitCode, 0u);
  const Texts expected{L"11", L"12", L"3", L"4", L"5", L"6", L"7", L"8"};
  EXPECT_TRUE(test::PumpUntil([&] { return test::LastLevels(events) == expected; }, 1000));
  test::PumpFor(200);
  EXPECT_EQ(test::LastLevels(events), expected);
}

TEST_F(HostTest, TwoControlsReportTheSameLevels) {
  ComPtr<legacy::IKalloraPlus> one = Create();
  ComPtr<legacy::IKalloraPlus> two = Create();
  EventRecorder first, second;
  test::Connection firstConnection(one.Get(), first);
  test::Connection secondConnection(two.Get(), second);
  ASSERT_EQ(one->Start(), S_OK);
  ASSERT_EQ(two->Start(), S_OK);
  ASSERT_EQ(test::Devctl(L"levels 5 6 7 8 9 10 11 12").exitCode, 0u);
  const Texts sent{L"5", L"6", L"7", L"8", L"9", L"10", L"11", L"12"};
  EXPECT_TRUE(test::PumpUntil([&] { return test::LastLevels(first) == sent && test::LastLevels(second) == sent; }, 1000));
}

TEST_F(HostTest, ACallArrivesAtOnceAsOnCallerID) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  EventRecorder events;
  test::Connection eventsConnection(control.Get(), events);
  ASSERT_EQ(test::Devctl(L"call 3 05321234567 \"08.12.2026 10:15:00\" SN0001 \"Çağrı şöğüı\"").exitCode, 0u);
  ASSERT_TRUE(test::WaitForEvents(events, dispid::kOnCallerID, 1));
  const test::RecordedEvent call = events.Of(dispid::kOnCallerID).front();
  EXPECT_EQ(call.arguments, (Texts{L"3", L"05321234567", L"08.12.2026 10:15:00"}));
}

TEST_F(HostTest, ASinkThatFailsDoesNotDisturbTheControl) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  EventRecorder events;
  events.answer = E_FAIL;
  test::Connection eventsConnection(control.Get(), events);
  EXPECT_EQ(control->Start(), S_OK);
  ASSERT_EQ(test::Devctl(L"call 1 111 now").exitCode, 0u);
  EXPECT_TRUE(test::WaitForEvents(events, dispid::kOnCallerID, 1));
  EXPECT_TRUE(test::WaitForEvents(events, dispid::kOnSignalA, 3)) << "ticks go on";
}

// The host drops its last reference from inside an event: raised from a tick, from a call
// the tool sends, and from a call of the device's own demo timer. The event's work ends, the
// control goes with OnDestroy as its last word, and nothing runs on freed memory.
TEST_F(HostTest, AHostMayReleaseTheControlInsideAnEvent) {
  struct Trigger {
    DISPID event;
    const wchar_t* devctl;
  };
  for (const Trigger& trigger : {Trigger{dispid::kOnSignalA, nullptr}, Trigger{dispid::kOnCallerID, L"call 1 111"},
                                 Trigger{dispid::kOnCallerID, L"demo on"}}) {
    SCOPED_TRACE(trigger.devctl ? trigger.devctl : L"tick");
    ComPtr<legacy::IKalloraPlus> control = Create();
    EventRecorder events;
    DWORD cookie = 0;
    ASSERT_EQ(test::EventPoint(control.Get())->Advise(static_cast<IDispatch*>(&events), &cookie), S_OK);
    ASSERT_EQ(control->Start(), S_OK);
    events.onEvent = [&](DISPID id) {
      if (id == trigger.event) control.Reset();
    };
    if (trigger.devctl) {
      ASSERT_EQ(test::Devctl(trigger.devctl).exitCode, 0u);
    }
    ASSERT_TRUE(test::PumpUntil([&] { return events.References() == 0; }, 8000)) << "the control let its sink go";
    const std::size_t count = events.events.size();
    test::PumpFor(200);
    ASSERT_EQ(events.events.size(), count) << "nothing after the end";
    EXPECT_EQ(events.events.back().dispid, dispid::kOnDestroy);
    if (trigger.event == dispid::kOnSignalA) {
      EXPECT_EQ(events.events[count - 2].dispid, dispid::kOnSignalD) << "the report was finished";
    }
  }
}

// A host's view draws Image1 where the host asks, as the window shows it.
TEST_F(HostTest, TheViewDrawsTheControlsFace) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  ComPtr<IViewObject> view = control.As<IViewObject>(IID_IViewObject);
  ASSERT_TRUE(view);
  HMODULE module = LoadLibraryW(test::Tevrin4Path().c_str());
  HBITMAP picture = static_cast<HBITMAP>(
      LoadImageW(module, MAKEINTRESOURCEW(IDB_KALLORA_24), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
  ASSERT_NE(picture, nullptr);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = 40;
  format.bmiHeader.biHeight = -40;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  HDC screen = GetDC(nullptr);
  HBITMAP canvas = CreateDIBSection(screen, &format, DIB_RGB_COLORS, nullptr, nullptr, 0);
  HBITMAP expected = CreateDIBSection(screen, &format, DIB_RGB_COLORS, nullptr, nullptr, 0);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ oldSource = SelectObject(source, picture);

  HGDIOBJ old = SelectObject(dc, expected);
  BitBlt(dc, 5, 7, 24, 24, source, 0, 0, SRCCOPY);
  std::vector<COLORREF> want;
  for (int y = 7; y < 31; ++y)
    for (int x = 5; x < 29; ++x) want.push_back(GetPixel(dc, x, y));
  SelectObject(dc, canvas);
  const RECTL bounds{5, 7, 35, 37};
  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
  std::vector<COLORREF> drawn;
  for (int y = 7; y < 31; ++y)
    for (int x = 5; x < 29; ++x) drawn.push_back(GetPixel(dc, x, y));
  EXPECT_EQ(drawn, want);

  SelectObject(dc, old);
  SelectObject(source, oldSource);
  DeleteDC(source);
  DeleteDC(dc);
  DeleteObject(expected);
  DeleteObject(canvas);
  DeleteObject(picture);
  FreeLibrary(module);
}

TEST_F(HostTest, ObjectSafetyRules) {
  ComPtr<legacy::IKalloraPlus> control = Create();
  ComPtr<IObjectSafety> safety = control.As<IObjectSafety>(IID_IObjectSafety);
  ASSERT_TRUE(safety);
  DWORD supported = 9, enabled = 9;
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, nullptr, &enabled), E_POINTER);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, nullptr), E_POINTER);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled), S_OK);
  EXPECT_EQ(supported, static_cast<DWORD>(INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA));
  EXPECT_EQ(enabled, 0u);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, 0xFF, INTERFACESAFE_FOR_UNTRUSTED_CALLER | 0x40), S_OK);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(legacy::IID_IKalloraPlus, &supported, &enabled), S_OK);
  EXPECT_EQ(enabled, static_cast<DWORD>(INTERFACESAFE_FOR_UNTRUSTED_CALLER));
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_DATA, 3), S_OK);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled), S_OK);
  EXPECT_EQ(enabled, static_cast<DWORD>(INTERFACESAFE_FOR_UNTRUSTED_DATA));
  supported = enabled = 9;
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IPersistFile, &supported, &enabled), E_NOINTERFACE);
  EXPECT_EQ(supported, 0u);
  EXPECT_EQ(enabled, 0u);
}

TEST_F(HostTest, CanUnloadOnlyWhenNoControlFactoryOrLockRemains) {
  using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();
  HMODULE module = LoadLibraryW(test::Tevrin4Path().c_str());
  ASSERT_NE(module, nullptr);
  auto canUnloadNow =
      reinterpret_cast<CanUnloadNowFunction>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(legacy::CLSID_KalloraPlus, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             factory.PutVoid()),
            S_OK);
  ComPtr<legacy::IKalloraPlus> control;
  ASSERT_EQ(factory->CreateInstance(nullptr, legacy::IID_IKalloraPlus, control.PutVoid()), S_OK);
  factory.Reset();
  EXPECT_EQ(canUnloadNow(), S_FALSE) << "a control is alive";
  EXPECT_EQ(control.Detach()->Release(), 0u);
  EXPECT_EQ(canUnloadNow(), S_OK);

  ASSERT_EQ(CoGetClassObject(legacy::CLSID_KalloraPlus, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             factory.PutVoid()),
            S_OK);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory.Reset();
  EXPECT_EQ(canUnloadNow(), S_FALSE) << "locked";
  ASSERT_EQ(CoGetClassObject(legacy::CLSID_KalloraPlus, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             factory.PutVoid()),
            S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  ComPtr<IUnknown> aggregated;
  EXPECT_EQ(factory->CreateInstance(factory.Get(), IID_IDispatch, aggregated.PutVoid()), CLASS_E_NOAGGREGATION);
  factory.Reset();
  EXPECT_EQ(canUnloadNow(), S_OK);
  FreeLibrary(module);
}

}  // namespace
