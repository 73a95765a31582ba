// The simulated device's commands, log, failures and reports, and the console tool's requests.
#include <gtest/gtest.h>

#include "common/error.h"
#include "device/control_request.h"
#include "device/simulated_device.h"

namespace device {
namespace {

struct RecordingEvents : DeviceEvents {
  std::vector<CallerId> calls;
  std::vector<Levels> levels;
  void OnCallerId(const CallerId& call) override { calls.push_back(call); }
  void OnSignal(const Levels& reported) override { levels.push_back(reported); }
};

class DeviceTest : public ::testing::Test {
 protected:
  RecordingEvents events;
  SimulatedDevice device{events};
  Demo demo{7};
  std::wstring Run(std::vector<std::wstring> arguments) {
    return Apply(Decode(Encode(ParseRequest(arguments, L"08.12.2026 01:02:03"))), device, demo);
  }
};

TEST_F(DeviceTest, AnswersTheModelAndSerialOnlyWhilePluggedAndWhyNotWhileUnplugged) {
  EXPECT_EQ(L"", device.Command(L"+:~.-q"));
  EXPECT_EQ(L"", device.Command(L"devicemodel"));
  EXPECT_EQ(L"", device.Command(L"serial"));
  EXPECT_EQ(L"the simulated device is unplugged (devctl plug)", device.Command(L"reason"));
  EXPECT_EQ(L"plugged KX-8 A1234", Run({L"plug", L"KX-8", L"A1234"}));
  EXPECT_EQ(L"KX-8", device.Command(L"devicemodel"));
  EXPECT_EQ(L"A1234", device.Command(L"serial"));
  EXPECT_EQ(L"", device.Command(L"reason"));
  EXPECT_EQ(L"", device.Command(L"anything else"));
  EXPECT_EQ(L"unplugged", Run({L"unplug"}));
  EXPECT_EQ(L"", device.Command(L"devicemodel"));
  EXPECT_TRUE(device.Unlocked());
}

TEST_F(DeviceTest, LogsEveryCommandAndStartInOrderIncludingFailedOnes) {
  device.Command(L"+:~.-q");
  device.Start();
  EXPECT_EQ(L"the next 2 commands fail", Run({L"fail", L"2"}));
  EXPECT_THROW(device.Command(L"devicemodel"), common::Error);
  try {
    device.Command(L"serial");
    ADD_FAILURE();
  } catch (const common::Error& error) {
    EXPECT_EQ(static_cast<std::int32_t>(0x80004005), error.SystemCode());
  }
  EXPECT_EQ(L"", device.Command(L"test_stop"));
  EXPECT_EQ(L"+:~.-q\nStart()\ndevicemodel\nserial\ntest_stop\n", Run({L"log"}));

  // A host that polls for ever: the log keeps the latest thousand and tells how many went.
  for (int i = 0; i < 1000; ++i) device.Command(L"poll " + std::to_wstring(i));
  ASSERT_EQ(device.Log().size(), 1000u);
  EXPECT_EQ(device.Log().front(), L"poll 0");
  EXPECT_EQ(device.Log().back(), L"poll 999");
  EXPECT_TRUE(Run({L"log"}).starts_with(L"(5 earlier entries dropped)\npoll 0\npoll 1\n"));
}

TEST_F(DeviceTest, CallsAndLevelsReachTheEventsWithExactlyTheTextsSent) {
  Run({L"plug", L"M", L"S-77"});
  Run({L"call", L"3", L"0532 111 22 33", L"07.12.2026 23:59", L"DEV9", L"Şirket: Çağrı Öğün"});
  Run({L"call", L"1", L"555"});
  ASSERT_EQ(2u, events.calls.size());
  EXPECT_EQ(L"DEV9", events.calls[0].deviceId);
  EXPECT_EQ(L"3", events.calls[0].line);
  EXPECT_EQ(L"0532 111 22 33", events.calls[0].phoneNumber);
  EXPECT_EQ(L"07.12.2026 23:59", events.calls[0].dateTime);
  EXPECT_EQ(L"Şirket: Çağrı Öğün", events.calls[0].otherText);
  EXPECT_EQ(L"S-77", events.calls[1].deviceId);  // the serial when none is given
  EXPECT_EQ(L"08.12.2026 01:02:03", events.calls[1].dateTime);
  EXPECT_EQ(L"", events.calls[1].otherText);

  Run({L"levels", L"0", L"10", L"x", L"-1", L"", L"300", L"$1F", L"30"});
  ASSERT_EQ(1u, events.levels.size());
  EXPECT_EQ((Levels{L"0", L"10", L"x", L"-1", L"", L"300", L"$1F", L"30"}), events.levels[0]);
}

TEST_F(DeviceTest, StatusTellsThePlugStateStartCommandsAndPendingFailures) {
  EXPECT_EQ(L"unplugged, not started, demo off, 0 commands, 0 failures pending", Run({L"status"}));
  Run({L"plug", L"M", L"S"});
  device.Start();
  device.Command(L"devicemodel");
  Run({L"fail", L"3"});
  EXPECT_EQ(L"plugged M S, started, demo off, 1 commands, 3 failures pending", Run({L"status"}));
}

TEST_F(DeviceTest, DemoPlugsTheDeviceAndProducesLevelsAndCalls) {
  EXPECT_EQ(L"demo on", Run({L"demo", L"on"}));
  EXPECT_TRUE(device.Plugged());
  for (int i = 0; i < 40; ++i) demo.Step(device, L"now");
  EXPECT_EQ(40u, events.levels.size());
  for (const auto& levels : events.levels)
    for (const auto& level : levels) {
      int value = std::stoi(level);
      EXPECT_TRUE(value >= 0 && value <= 30) << value;
    }
  EXPECT_GE(events.calls.size(), 4u);
  for (const auto& call : events.calls) {
    int line = std::stoi(call.line);
    EXPECT_TRUE(line >= 1 && line <= 8);
    EXPECT_EQ(14u, call.phoneNumber.size());
  }
  EXPECT_EQ(L"demo off", Run({L"demo", L"off"}));
  EXPECT_FALSE(demo.On());
}

std::wstring UsageError(std::vector<std::wstring> arguments) {
  try {
    ParseRequest(arguments, L"now");
  } catch (const common::Error& error) {
    return error.Message().substr(0, error.Message().find(L'\n'));
  }
  return L"accepted";
}

TEST(ParseRequest, RejectsMalformedCommandLinesWithAClearReason) {
  EXPECT_EQ(L"no command given", UsageError({}));
  EXPECT_EQ(L"unknown command 'dial'", UsageError({L"dial"}));
  EXPECT_EQ(L"wrong number of arguments; usage: devctl plug MODEL SERIAL", UsageError({L"plug", L"M"}));
  EXPECT_EQ(L"wrong number of arguments; usage: devctl levels L1 L2 L3 L4 L5 L6 L7 L8", UsageError({L"levels", L"1"}));
  EXPECT_EQ(L"wrong number of arguments; usage: devctl call LINE NUMBER [DATETIME [DEVICEID [OTHER]]]",
            UsageError({L"call", L"1", L"2", L"3", L"4", L"5", L"6"}));
  EXPECT_EQ(L"fail: N must be a count, not '-1'", UsageError({L"fail", L"-1"}));
  EXPECT_EQ(L"demo: say on or off, not 'maybe'", UsageError({L"demo", L"maybe"}));
  EXPECT_EQ(L"an argument holds the character U+001F, which cannot be sent", UsageError({L"plug", L"M\x1F" L"X", L"S"}));
  EXPECT_EQ(L"accepted", UsageError({L"call", L"1", L"2", L"", L"", L""}));
}

TEST(Encode, CarriesEmptyAndNonAsciiFieldsUnchanged) {
  ControlRequest request{L"call", {L"1", L"", L"Ğ ı", L"", L""}};
  ControlRequest back = Decode(Encode(request));
  EXPECT_EQ(request.verb, back.verb);
  EXPECT_EQ(request.fields, back.fields);
}

}  // namespace
}  // namespace device
