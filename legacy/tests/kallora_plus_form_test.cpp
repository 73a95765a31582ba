// TKalloraPlus against recording fakes: what the host receives, and in which order the form
// drives its timer and its device control.
#include <cstdint>
#include <functional>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/error.h"
#include "legacy/control/kallora_plus_form.h"
#include "legacy/control/stored_levels.h"
#include "legacy/dispids.h"

namespace legacy::control {
namespace {

using Texts = std::vector<std::wstring>;

// One log for every fake, so the order across them shows.
struct Log {
  std::vector<std::wstring> entries;
  void Add(std::wstring entry) { entries.push_back(std::move(entry)); }
};

class FakePlatform : public FormPlatform {
 public:
  explicit FakePlatform(Log& log) : log_(log) {}
  Size ImageSize() const override { return {24, 24}; }
  void SetFormSize(Size size) override { formSize = size; }
  void SetAutoSize(bool on) override { autoSize = on; }
  void HideDevice() override { deviceHidden = true; }
  bool FormVisible() const override { return visible; }
  void SetFormVisible(bool v) override { visible = v; }
  void SetTimerEnabled(bool enabled) override {
    timerEnabled = enabled;
    log_.Add(enabled ? L"timer on" : L"timer off");
  }
  std::int64_t Milliseconds() const override { return now; }
  void ShowAbout() override {
    log_.Add(L"about");
    if (aboutFails) throw common::Error(L"no window");
  }
  void ShowErrorBox(const std::wstring& message) override { log_.Add(L"error box: " + message); }

  Size formSize{0, 0};
  bool autoSize = false;
  bool deviceHidden = false;
  bool visible = true;
  bool timerEnabled = false;
  bool aboutFails = false;
  std::int64_t now = 0;

 private:
  Log& log_;
};

class FakeDevice : public DeviceControl {
 public:
  explicit FakeDevice(Log& log) : log_(log) {}
  void Start() override {
    log_.Add(L"device start");
    if (startFails) throw common::Error(L"device link failed", static_cast<std::int32_t>(0x80004005));
  }
  std::wstring Command(const std::wstring& command) override {
    log_.Add(L"command " + command);
    if (commandFails) throw common::Error(L"query failed");
    return model;
  }
  bool startFails = false;
  bool commandFails = false;
  std::wstring model;

 private:
  Log& log_;
};

class FakeSink : public EventSink {
 public:
  explicit FakeSink(Log& log) : log_(log) {}
  bool Connected() const override { return connected; }
  void Raise(long dispid, const Texts& arguments) override {
    if (fails) throw common::Error(L"out of memory");
    events.push_back({dispid, arguments});
    log_.Add(L"raise " + std::to_wstring(dispid));
    if (whileRaising) whileRaising();
  }
  std::function<void()> whileRaising;  // what a host's handler does, e.g. hand out messages
  struct Event {
    long dispid;
    Texts arguments;
  };
  bool connected = true;
  bool fails = false;
  std::vector<Event> events;

 private:
  Log& log_;
};

const Texts kEightZeros(8, L"0");
const Texts kEight255(8, L"255");

class KalloraPlusFormTest : public testing::Test {
 protected:
  void SetUp() override { StoredLevels().fill(0); }

  Log log;
  FakePlatform platform{log};
  FakeDevice device{log};
  FakeSink sink{log};
  TKalloraPlus form{platform, device, sink};
};

TEST_F(KalloraPlusFormTest, CreationLeavesOnlyTheImageInAFormAroundIt) {
  form.ActiveFormCreate();
  EXPECT_TRUE(platform.deviceHidden);
  EXPECT_EQ(platform.formSize.width, 29);
  EXPECT_EQ(platform.formSize.height, 29);
  EXPECT_TRUE(platform.autoSize);
  EXPECT_TRUE(sink.events.empty());

  // A mouse press on the image and a click on the device control lay out the same way.
  for (void (TKalloraPlus::*handler)() : {&TKalloraPlus::Image1MouseDown, &TKalloraPlus::Tevrin51Click}) {
    platform.deviceHidden = false;
    platform.formSize = {0, 0};
    platform.autoSize = false;
    (form.*handler)();
    EXPECT_TRUE(platform.deviceHidden);
    EXPECT_EQ(platform.formSize.width, 29);
    EXPECT_EQ(platform.formSize.height, 29);
    EXPECT_TRUE(platform.autoSize);
  }
}

TEST_F(KalloraPlusFormTest, StartReportsEightZerosAtOnceThenStartsTimerAndDevice) {
  form.Tevrin51SignalA({L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"});
  form.Start();
  ASSERT_EQ(sink.events.size(), 2u);
  EXPECT_EQ(sink.events[0].dispid, dispid::kOnSignalA);
  EXPECT_EQ(sink.events[0].arguments, kEightZeros);
  EXPECT_EQ(sink.events[1].dispid, dispid::kOnSignalD);
  EXPECT_EQ(sink.events[1].arguments, kEight255);
  EXPECT_EQ(log.entries, (Texts{L"raise 229", L"raise 239", L"timer on", L"device start"}));
}

TEST_F(KalloraPlusFormTest, AFailingDeviceStartFailsStartButLeavesTheTimerRunning) {
  device.startFails = true;
  try {
    form.Start();
    FAIL() << "Start succeeded";
  } catch (const common::Error& failure) {
    EXPECT_EQ(failure.Message(), L"device link failed");
    EXPECT_EQ(static_cast<std::uint32_t>(failure.SystemCode()), 0x80004005u);
  }
  EXPECT_TRUE(platform.timerEnabled);
}

TEST_F(KalloraPlusFormTest, EachTickReportsTheStoredLevels) {
  form.Start();
  sink.events.clear();
  form.Tevrin51SignalA({L"0", L"10", L"20", L"30", L"40", L"50", L"60", L"255"});
  EXPECT_TRUE(sink.events.empty()) << "a signal event raises nothing itself";
  log.entries.clear();
  form.Oku_timerTimer();
  ASSERT_EQ(sink.events.size(), 2u);
  EXPECT_EQ(sink.events[0].arguments, (Texts{L"0", L"10", L"20", L"30", L"40", L"50", L"60", L"255"}));
  EXPECT_EQ(sink.events[1].arguments, kEight255);
  // A quick report leaves the timer running as it is.
  EXPECT_EQ(log.entries, (Texts{L"raise 229", L"raise 239"}));
  // Unchanged levels are reported again.
  form.Oku_timerTimer();
  EXPECT_EQ(sink.events.size(), 4u);
  EXPECT_EQ(sink.events[2].arguments, sink.events[0].arguments);
}

// A host's handler that hands out messages for a while: the tick it lets through is dropped,
// and the timer is stopped and started once the report ends, a full period before the next.
TEST_F(KalloraPlusFormTest, ASlowReportDropsTheTickHandedOutMeanwhileAndRestartsTheTimer) {
  form.Start();
  sink.events.clear();
  log.entries.clear();
  sink.whileRaising = [&] {
    form.Oku_timerTimer();
    platform.now += 12;
  };
  form.Oku_timerTimer();
  EXPECT_EQ(log.entries, (Texts{L"raise 229", L"raise 239", L"timer off", L"timer on"}));
  sink.whileRaising = nullptr;
  form.Oku_timerTimer();  // and the next tick reports again
  EXPECT_EQ(sink.events.size(), 4u);
}

TEST_F(KalloraPlusFormTest, LevelsKeepTheirLowEightBits) {
  form.Tevrin51SignalA({L"256", L"300", L"-1", L"$FF", L" +7", L"0x101", L"-256", L"2147483647"});
  form.Oku_timerTimer();
  ASSERT_FALSE(sink.events.empty());
  EXPECT_EQ(sink.events[0].arguments, (Texts{L"0", L"44", L"255", L"255", L"7", L"1", L"0", L"255"}));
}

TEST_F(KalloraPlusFormTest, ABadLevelStopsAtItsLineAndKeepsTheLinesBefore) {
  form.Tevrin51SignalA({L"9", L"9", L"9", L"9", L"9", L"9", L"9", L"9"});
  EXPECT_THROW(form.Tevrin51SignalA({L"1", L"2", L"3a", L"4", L"5", L"6", L"7", L"8"}), common::ConvertError);
  EXPECT_EQ(LevelTexts(StoredLevels()), (Texts{L"1", L"2", L"9", L"9", L"9", L"9", L"9", L"9"}));
  EXPECT_THROW(form.Tevrin51SignalA({L"", L"2", L"3", L"4", L"5", L"6", L"7", L"8"}), common::ConvertError);
  EXPECT_THROW(form.Tevrin51SignalA({L"4294967296", L"2", L"3", L"4", L"5", L"6", L"7", L"8"}), common::ConvertError);
}

TEST_F(KalloraPlusFormTest, AFailingReportStopsTheTimerUntilTheNextStart) {
  form.Start();
  sink.fails = true;
  EXPECT_THROW(form.Oku_timerTimer(), common::Error);
  EXPECT_FALSE(platform.timerEnabled);
  sink.fails = false;
  form.Start();
  EXPECT_TRUE(platform.timerEnabled);
}

TEST_F(KalloraPlusFormTest, WithoutASinkCallsAreDroppedAndStartStillSucceeds) {
  sink.connected = false;
  form.Tevrin51CallerID(L"id", L"1", L"5551234", L"08.12.2026 10:00", L"other");
  EXPECT_NO_THROW(form.Start());
  form.Oku_timerTimer();
  EXPECT_TRUE(sink.events.empty());
  EXPECT_TRUE(platform.timerEnabled);
}

TEST_F(KalloraPlusFormTest, ACallIsRaisedAtOnceWithLineNumberAndTime) {
  form.Tevrin51CallerID(L"SN-1", L"3", L"05321234567", L"08.12.2026 10:00:00", L"Çağrı ğüşiöç");
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].dispid, dispid::kOnCallerID);
  EXPECT_EQ(sink.events[0].arguments, (Texts{L"3", L"05321234567", L"08.12.2026 10:00:00"}));
}

TEST_F(KalloraPlusFormTest, OnCreateReachesTheFirstSinkOnly) {
  form.Initialize();
  form.EventSinkChanged();
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].dispid, dispid::kOnCreate);
  sink.connected = false;
  form.EventSinkChanged();
  sink.connected = true;
  form.EventSinkChanged();
  EXPECT_EQ(sink.events.size(), 1u);
}

TEST_F(KalloraPlusFormTest, AFirstChangeThatDisconnectsRaisesNothingLater) {
  form.Initialize();
  sink.connected = false;
  form.EventSinkChanged();
  sink.connected = true;
  form.EventSinkChanged();
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(KalloraPlusFormTest, FormEventsAreForwardedOnlyOnceInitialized) {
  form.CreationNotification();
  form.FocusEnteredForm();
  form.DestructionNotification();
  EXPECT_TRUE(sink.events.empty());
  form.Initialize();
  form.DestructionNotification();
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].dispid, dispid::kOnDestroy);
}

TEST_F(KalloraPlusFormTest, FocusMovingBetweenFormsActivatesAndDeactivates) {
  Log otherLog;
  FakePlatform otherPlatform{otherLog};
  FakeDevice otherDevice{otherLog};
  FakeSink otherSink{otherLog};
  TKalloraPlus other{otherPlatform, otherDevice, otherSink};
  form.Initialize();
  other.Initialize();

  form.FocusEnteredForm();
  form.FocusEnteredForm();  // still the same form: nothing new
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].dispid, dispid::kOnActivate);

  other.FocusEnteredForm();
  ASSERT_EQ(sink.events.size(), 2u);
  EXPECT_EQ(sink.events[1].dispid, dispid::kOnDeactivate);
  ASSERT_EQ(otherSink.events.size(), 1u);
  EXPECT_EQ(otherSink.events[0].dispid, dispid::kOnActivate);

  form.FocusEnteredForm();
  EXPECT_EQ(otherSink.events.back().dispid, dispid::kOnDeactivate);
  EXPECT_EQ(sink.events.back().dispid, dispid::kOnActivate);
}

TEST_F(KalloraPlusFormTest, MembersWithFixedAnswers) {
  for (long line : {0L, 1L, 1000L, -5L}) EXPECT_EQ(form.LineStatus(line), L"-");
  EXPECT_TRUE(form.ServiceRunning());
  form.Start();
  EXPECT_TRUE(form.ServiceRunning());
  EXPECT_EQ(form.About(), L"KALLORA v.4.x.x.x");
  form.SetAbout(L"anything");
  form.SetConfig(L"anything");
  EXPECT_EQ(form.About(), L"KALLORA v.4.x.x.x");
}

TEST_F(KalloraPlusFormTest, VisibleAndActiveFollowTheWindow) {
  EXPECT_TRUE(form.Visible());
  form.SetVisible(false);
  EXPECT_FALSE(platform.visible);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.Active());
  form.WindowActivation(true);
  EXPECT_TRUE(form.Active());
  form.WindowActivation(false);
  EXPECT_FALSE(form.Active());
}

TEST_F(KalloraPlusFormTest, DeviceModelIsTheDevicesTextUnchanged) {
  device.model = L"KLR-8 Çağrı Ğİ\u20AC\u4E2D";
  EXPECT_EQ(form.DeviceModel(), L"KLR-8 Çağrı Ğİ\u20AC\u4E2D");
  EXPECT_EQ(log.entries, (Texts{L"command devicemodel"}));
  device.model.clear();
  EXPECT_EQ(form.DeviceModel(), L"");
  device.commandFails = true;
  EXPECT_THROW(form.DeviceModel(), common::Error);
}

TEST_F(KalloraPlusFormTest, TheAboutItemReportsAFailureInAMessageBox) {
  form.About1Click();
  platform.aboutFails = true;
  form.About1Click();
  EXPECT_EQ(log.entries, (Texts{L"about", L"about", L"error box: no window"}));
}

TEST_F(KalloraPlusFormTest, TwoFormsReportTheSameLevels) {
  Log otherLog;
  FakePlatform otherPlatform{otherLog};
  FakeDevice otherDevice{otherLog};
  FakeSink otherSink{otherLog};
  TKalloraPlus other{otherPlatform, otherDevice, otherSink};
  other.Tevrin51SignalA({L"11", L"12", L"13", L"14", L"15", L"16", L"17", L"18"});
  form.Oku_timerTimer();
  other.Oku_timerTimer();
  ASSERT_EQ(sink.events.size(), 2u);
  ASSERT_EQ(otherSink.events.size(), 2u);
  EXPECT_EQ(sink.events[0].arguments, (Texts{L"11", L"12", L"13", L"14", L"15", L"16", L"17", L"18"}));
  EXPECT_EQ(otherSink.events[0].arguments, sink.events[0].arguments);
}

}  // namespace
}  // namespace legacy::control
