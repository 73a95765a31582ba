// The relay's cores: the device's texts as NCID fields, a client's lines, the bounded queue,
// serving start-up and calls to clients, and the settings.
#include <gtest/gtest.h>

#include "common/error.h"
#include "opencid/ncid_server_lines.h"
#include "relay/call_fields.h"
#include "relay/call_log_text.h"
#include "relay/call_relay.h"
#include "relay/relay_settings.h"

namespace relay {
namespace {

using opencid::CallFields;

const opencid::LocalTime kNow{2026, 12, 8, 9, 5};

TEST(CallFieldsTest, DeviceTextsBecomeCleanBoundedFieldsAndTheirTimeNcidDateAndTime) {
  EXPECT_EQ(FieldsOfDeviceCall({L"TR-1", L"2", L"05321234567", L"07.03.26 14:30", L"AYŞE YILMAZ"}, kNow),
            (CallFields{"03072026", "1430", "2", "05321234567", "AYŞE YILMAZ"}));
  std::wstring broken = L"a*b\r\nc\x01";
  broken += static_cast<wchar_t>(0xD800);  // a lone surrogate
  const CallFields odd = FieldsOfDeviceCall({L"", L"", L"", L"32.13.26 25:00", broken}, kNow);
  EXPECT_EQ(odd, (CallFields{"12082026", "0905", "", "", "a\u2217b  c \uFFFD"}));
  const std::string line = opencid::CallLine("CID", odd);
  EXPECT_EQ(opencid::ParseNcidLine(line).call, odd);

  const CallFields huge = FieldsOfDeviceCall({L"", std::wstring(10000, L'1'), std::wstring(10000, L'2'),
                                              L"", std::wstring(10000, L'Ş')}, kNow);
  EXPECT_EQ(huge.line.size(), kMaxLineLabelBytes);
  EXPECT_EQ(huge.number.size(), kMaxNumberBytes);
  std::string twoByteLetters;
  for (std::size_t letter = 0; letter < kMaxNameBytes / 2; ++letter) twoByteLetters += "Ş";
  EXPECT_EQ(huge.name, twoByteLetters);
  EXPECT_LT(LogLine(huge).size(), 1024u);  // what a client reads whole
}

TEST(ClientInputTest, AnswersOnlyTheKeepAliveAndDropsALineThatNeverEnds) {
  ClientInput input;
  auto outcome = input.Feed("REQ: Y");
  EXPECT_TRUE(outcome.answers.empty());
  outcome = input.Feed("O\r\nCALL: ###DATE12081200...LINE1...NMBR1...NAMEX+++\nMSG: hi\nREQ: YO\n");
  EXPECT_EQ(outcome.answers, (std::vector<std::string>{"ACK: REQ YO", "ACK: REQ YO"}));
  EXPECT_FALSE(outcome.drop);

  EXPECT_FALSE(input.Feed(std::string(kMaxClientLineBytes, '\0')).drop);
  EXPECT_TRUE(input.Feed("x").drop);
}

TEST(OutputQueueTest, RefusesWhatDoesNotFitAndTakesAgainOnceSent) {
  OutputQueue queue(10);
  EXPECT_TRUE(queue.Push("abcdef"));
  EXPECT_FALSE(queue.Push("ghijk"));
  EXPECT_EQ(queue.Pending(), "abcdef");
  queue.Sent(4);
  EXPECT_TRUE(queue.Push("ghijk"));
  EXPECT_EQ(queue.Pending(), "efghijk");
  queue.Sent(7);
  EXPECT_TRUE(queue.Empty());
}

// A client's link: takes up to `room` bytes at a time, or is broken.
struct FakeSocket final : ClientSocket {
  std::string received;
  std::size_t room = SIZE_MAX;
  bool broken = false;
  std::optional<std::size_t> Send(std::string_view bytes) override {
    if (broken) return std::nullopt;
    const std::size_t taken = std::min(room, bytes.size());
    received.append(bytes.substr(0, taken));
    if (room != SIZE_MAX) room -= taken;
    return taken;
  }
};

struct NullStore final : LogStore {
  std::string current;
  std::string Read(Which which) override { return which == Which::Current ? current : std::string(); }
  void Append(std::string_view bytes) override { current.append(bytes); }
  void Truncate(std::uint64_t size) override { current.resize(size); }
  void Rotate() override { current.clear(); }
};

TEST(CallRelayTest, ClientsGetStartUpThenEachCallLoggedFirstAndASlowClientIsDroppedAlone) {
  NullStore store;
  const CallFields earlier{"12072026", "1800", "1", "02125550000", "ALI"};
  store.current = LogLine(earlier);
  CallLog log(store, kDefaultLogLimit, 100, [](const std::wstring&) {});
  log.Open(0);
  CallRelay relay(log, "cidrelay 1.0");

  FakeSocket reader, stalled, broken;
  stalled.room = 0;
  ASSERT_TRUE(relay.Connect(1, reader));
  ASSERT_TRUE(relay.Connect(2, stalled));
  ASSERT_TRUE(relay.Connect(3, broken));
  EXPECT_EQ(reader.received,
            "200 NCID Server: cidrelay 1.0\r\n210 API: 1.0 Feature Set 1 4\r\n"
            "CIDLOG: *DATE*12072026*TIME*1800*LINE*1*NMBR*02125550000*MESG*NONE*NAME*ALI*\r\n"
            "250 End of call log\r\n300 End of server startup\r\n");
  EXPECT_TRUE(relay.WantsWriting(2));
  broken.broken = true;

  const CallFields call{"12082026", "0905", "POTS", "05321234567", "AYŞE"};
  EXPECT_EQ(relay.Call(call, 0), std::vector<ClientId>{3});
  EXPECT_EQ(store.current, LogLine(earlier) + LogLine(call));
  reader.received.clear();
  std::vector<ClientId> dropped;
  for (int burst = 0; burst < 1000 && dropped.empty(); ++burst) dropped = relay.Call(call, 0);
  EXPECT_EQ(dropped, std::vector<ClientId>{2});
  EXPECT_EQ(relay.ClientCount(), 1u);
  EXPECT_EQ(reader.received.find(opencid::CallLine("CID", call) + "\r\n"), 0u);

  EXPECT_TRUE(relay.Received(1, "REQ: YO\r\n"));
  EXPECT_TRUE(reader.received.ends_with("ACK: REQ YO\r\n"));
  EXPECT_FALSE(relay.Received(1, std::string(2000, 'x')));
  EXPECT_EQ(relay.ClientCount(), 0u);

  FakeSocket fresh;
  ASSERT_TRUE(relay.Connect(4, fresh));
  EXPECT_LE(fresh.received.size(), kClientQueueBytes / 2 + 200);
  EXPECT_TRUE(fresh.received.ends_with("250 End of call log\r\n300 End of server startup\r\n"));
}

TEST(RelaySettingsTest, OptionsOverrideByTheRegistrysNamesAndBadValuesAreRefusedByName) {
  RelaySettings settings;
  SetSetting(settings, L"Port", L"3334");
  ApplyOptions(settings, {L"--port", L"0", L"--allowed-clients", L"local 10.0.0.0/8", L"--log-limit", L"100"});
  EXPECT_EQ(settings.port, 0u);
  EXPECT_EQ(settings.allowedClients, L"local 10.0.0.0/8");
  EXPECT_EQ(settings.logLimit, 4096u);
  EXPECT_EQ(settings.history, 100u);

  auto message = [&](std::vector<std::wstring> options) {
    try {
      ApplyOptions(settings, options);
    } catch (const common::Error& error) {
      return error.Message();
    }
    return std::wstring();
  };
  EXPECT_EQ(message({L"--port", L"70000"}), L"port: not a number from 0 to 65535: 70000");
  EXPECT_EQ(message({L"--colour", L"red"}), L"Unknown setting: colour");
  EXPECT_EQ(message({L"--history"}), L"The option --history needs a value.");
  EXPECT_EQ(message({L"--allowed-clients", L"10.0.0.300"}), L"Not an allowed-clients entry: 10.0.0.300");
}

}  // namespace
}  // namespace relay
