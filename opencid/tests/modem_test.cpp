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
std::vector<std::string> Play(ModemDialogue& dialogue, std::initializer_list<const char*> lines, std::string extra = {}) {
  std::vector<std::string> sent{dialogue.Begin(std::move(extra))};
  for (const char* line : lines) {
    std::string send;
    dialogue.Answer(line, send);
    if (!send.empty()) sent.push_back(send);
  }
  return sent;
}

TEST(ModemDialogue, ResetsSetsUpSwitchesCallerIdOnFallsBackAddsTheUsersInitialisationAndReadsTheIdentification) {
  ModemDialogue plain;
  EXPECT_EQ((std::vector<std::string>{"ATZ", "ATS0=0E1V1Q0", "AT+VCID=1", "ATI"}),
            Play(plain, {"ATZ", "", "OK", "ATS0=0E1V1Q0", "OK", "AT+VCID=1", "OK", "RING", "", "CX93001-EIS_V0.2013-V92",
                         "OK"}));
  EXPECT_EQ(State::Ready, plain.Current());
  EXPECT_EQ("CX93001-EIS_V0.2013-V92", plain.Identification());

  ModemDialogue numeric;  // a stored profile with numeric result codes; the user's extra string
  EXPECT_EQ((std::vector<std::string>{"ATZ", "ATS0=0E1V1Q0", "AT+VCID=1", "AT#CID=1", "AT+GCI=B5", "ATI"}),
            Play(numeric, {"0", "OK", "ERROR", "OK", "OK", "OK"}, "AT+GCI=B5"));
  EXPECT_EQ(State::Ready, numeric.Current());
  EXPECT_EQ("modem", numeric.Identification());

  ModemDialogue quiet;  // quiet result codes: ATZ answers nothing
  quiet.Begin();
  std::string send;
  EXPECT_EQ(State::Talking, quiet.Silent(send));
  EXPECT_EQ("ATS0=0E1V1Q0", send);
  EXPECT_EQ(State::Failed, quiet.Silent(send));
  EXPECT_EQ(L"the modem does not answer ATS0=0E1V1Q0", quiet.Reason());

  ModemDialogue refusing;
  Play(refusing, {"OK", "OK", "ERROR", "ERROR"});
  EXPECT_EQ(State::Failed, refusing.Current());
  EXPECT_NE(std::wstring::npos, refusing.Reason().find(L"ERROR to both AT+VCID=1 and AT#CID=1"));
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

  calls = Blocks({"RING", "DATE=1208", "TIME=0905", "NMBR=P", "RING",              // no name
                  "DATE = 1208", "TIME = 09", "RING",                               // cut before its number
                  "DATE = 1209", "NAME = A", "NMBR = O",                           // name first
                  "DATE = 1210", "TIME = 1111", "NMBR = 1", "NMBR = O", "MESG = 080130", "OK",  // masked
                  "NAME = B", "DDN_NMBR = 2125550000", "DATE = 1211", "TIME = 1212", "RING",  // date last
                  "NMBR =", "NAME = C", "OK"});
  ASSERT_EQ(5u, calls.size());
  EXPECT_EQ("PRIVATE", calls[0].number);
  EXPECT_EQ("", calls[0].name);
  EXPECT_EQ("OUT-OF-AREA", calls[1].number);
  EXPECT_EQ("A", calls[1].name);
  EXPECT_EQ("1", calls[2].number);
  EXPECT_EQ("1210", calls[2].date);
  EXPECT_EQ("2125550000", calls[3].number);
  EXPECT_EQ("1211", calls[3].date);
  EXPECT_EQ("1212", calls[3].time);
  EXPECT_EQ("B", calls[3].name);
  EXPECT_EQ("NO-NUMBER", calls[4].number);
}

TEST(ModemBlock, ACallWithoutCallerIdDataIsRaisedAtItsSecondRingOnce) {
  ModemBlock block;
  std::vector<std::string> numbers;
  auto feed = [&](unsigned long long ms, const char* line) {
    if (auto call = block.Line(line, ms)) numbers.push_back(call->number);
  };
  feed(0, "RING");
  feed(6000, "RING");  // no data: a call
  feed(12000, "RING");
  feed(40000, "DATE = 1208");  // the block before the first ring
  feed(40001, "TIME = 0905");
  feed(40002, "NMBR = 5551234");
  feed(40500, "RING");
  feed(46500, "RING");
  feed(80000, "RING");
  feed(80500, "NMB");  // a garbled block: still a call
  feed(86000, "RING");
  EXPECT_EQ((std::vector<std::string>{"NO-NUMBER", "5551234", "NO-NUMBER"}), numbers);
}

TEST(CallTime, ModemTimesTakeTheYearThatPutsThemInThePastAndBrokenFieldsTheClock) {
  const LocalTime now{2027, 1, 2, 3, 4};
  EXPECT_EQ(L"08.12.26 09:05", ModemCallTime("1208", "0905", now));
  EXPECT_EQ(L"02.01.27 09:05", ModemCallTime("0102", "0905", now));  // later today: a clock a little behind
  EXPECT_EQ(L"03.01.27 00:01", ModemCallTime("0103", "0001", now));
  EXPECT_EQ(L"02.01.27 03:04", ModemCallTime("1232", "0905", now));
  EXPECT_EQ(L"02.01.27 03:04", ModemCallTime("12", "0905", now));
  EXPECT_EQ(L"02.01.27 03:04", ModemCallTime("1208", "2460", now));
  EXPECT_EQ(L"31.12.99 00:00", NcidCallTime("12311999", "0000", now));
  EXPECT_EQ(L"02.01.27 03:04", NcidCallTime("1231199x", "0000", now));
  EXPECT_EQ(L"02.01.27 03:04", NcidCallTime("12311999", "00:00", now));
}

}  // namespace
}  // namespace opencid
