// A caller-ID modem: its initialisation with and without the fallback command, and its call
// blocks, whole, without a name, cut, or garbled.
#include <gtest/gtest.h>

#include "opencid/call_time.h"
#include "opencid/modem_block.h"
#include "opencid/modem_dialogue.h"

namespace opencid {
namespace {

using State = ModemDialogue::State;

// Plays the modem's lines; answers the commands the dialogue sent, in order.
std::vector<std::string> Play(ModemDialogue& dialogue, std::initializer_list<const char*> lines) {
  std::vector<std::string> sent{dialogue.Begin()};
  for (const char* line : lines) {
    std::string send;
    dialogue.Answer(line, send);
    if (!send.empty()) sent.push_back(send);
  }
  return sent;
}

TEST(ModemDialogue, ResetsSwitchesCallerIdOnFallsBackTurnsEchoOffAndReadsTheIdentification) {
  ModemDialogue plain;
  EXPECT_EQ((std::vector<std::string>{"ATZ", "AT+VCID=1", "ATE0", "ATI"}),
            Play(plain, {"ATZ", "", "OK", "AT+VCID=1", "OK", "ATE0", "OK", "RING", "", "CX93001-EIS_V0.2013-V92", "OK"}));
  EXPECT_EQ(State::Ready, plain.Current());
  EXPECT_EQ("CX93001-EIS_V0.2013-V92", plain.Identification());

  ModemDialogue fallback;
  EXPECT_EQ((std::vector<std::string>{"ATZ", "AT+VCID=1", "AT#CID=1", "ATE0", "ATI"}),
            Play(fallback, {"OK", "ERROR", "OK", "OK", "OK"}));
  EXPECT_EQ(State::Ready, fallback.Current());
  EXPECT_EQ("modem", fallback.Identification());

  ModemDialogue refusing;
  Play(refusing, {"OK", "ERROR", "ERROR"});
  EXPECT_EQ(State::Failed, refusing.Current());
  EXPECT_NE(std::wstring::npos, refusing.Reason().find(L"ERROR to both AT+VCID=1 and AT#CID=1"));
  std::string send;
  EXPECT_EQ(State::Failed, refusing.Answer("OK", send));
  EXPECT_TRUE(send.empty());
}

std::vector<ModemCall> Blocks(std::initializer_list<const char*> lines) {
  ModemBlock block;
  std::vector<ModemCall> calls;
  for (const char* line : lines)
    if (auto call = block.Line(line)) calls.push_back(*call);
  return calls;
}

TEST(ModemBlock, ACallIsTheBlockBetweenRingsWhateverItsShape) {
  auto calls = Blocks({"RING", "", "DATE = 1208", "TIME = 0905", "NMBR = 05321234567", "NAME = ISIL CAGLAR", "", "RING"});
  ASSERT_EQ(1u, calls.size());
  EXPECT_EQ("1208", calls[0].date);
  EXPECT_EQ("0905", calls[0].time);
  EXPECT_EQ("05321234567", calls[0].number);
  EXPECT_EQ("ISIL CAGLAR", calls[0].name);

  calls = Blocks({"RING", "DATE=1208", "TIME=0905", "NMBR=P", "RING",           // no name
                  "DATE = 1208", "TIME = 09", "RING",                            // cut before its number
                  "DATE = 1209", "NAME = A", "NMBR = O",                        // name first
                  "DATE = 1210", "TIME = 1111", "NMBR = 1", "NMBR = 2", "MESG = 080130", "OK"});  // doubled
  ASSERT_EQ(4u, calls.size());
  EXPECT_EQ("P", calls[0].number);
  EXPECT_EQ("", calls[0].name);
  EXPECT_EQ("O", calls[1].number);
  EXPECT_EQ("A", calls[1].name);
  EXPECT_EQ("1", calls[2].number);
  EXPECT_EQ("2", calls[3].number);
  EXPECT_EQ("", calls[3].date);

  EXPECT_TRUE(Blocks({"DATE = 1208", "NMB", "RING", "NAME = X", "RING"}).empty());
}

TEST(CallTime, ModemTimesTakeTheClocksYearAndBrokenFieldsTheClock) {
  const LocalTime now{2027, 1, 2, 3, 4};
  EXPECT_EQ(L"08.12.27 09:05", ModemCallTime("1208", "0905", now));
  EXPECT_EQ(L"02.01.27 03:04", ModemCallTime("1232", "0905", now));
  EXPECT_EQ(L"02.01.27 03:04", ModemCallTime("12", "0905", now));
  EXPECT_EQ(L"02.01.27 03:04", ModemCallTime("1208", "2460", now));
  EXPECT_EQ(L"31.12.99 00:00", NcidCallTime("12311999", "0000", now));
  EXPECT_EQ(L"02.01.27 03:04", NcidCallTime("1231199x", "0000", now));
  EXPECT_EQ(L"02.01.27 03:04", NcidCallTime("12311999", "00:00", now));
}

}  // namespace
}  // namespace opencid
