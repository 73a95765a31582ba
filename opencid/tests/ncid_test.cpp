// A network caller-ID server's lines and sessions: what is a call, what is history, what
// arrives after a reconnection, and what bad input leaves intact.
#include <gtest/gtest.h>

#include "opencid/ncid_session.h"

namespace opencid {
namespace {

const LocalTime kNow{2026, 12, 8, 9, 5};

TEST(NcidLine, TellsTheProtocolsLineTypesApart) {
  NcidLine greeting = ParseNcidLine("200 NCID Server: ncidd (NCID) 1.13");
  EXPECT_EQ(NcidKind::Greeting, greeting.kind);
  EXPECT_EQ("ncidd (NCID) 1.13", greeting.server);
  EXPECT_EQ("Network CallerID Server Version 0.60", ParseNcidLine("200 Network CallerID Server Version 0.60").server);
  EXPECT_EQ("NCID", ParseNcidLine("200").server);

  NcidLine call = ParseNcidLine("CID: *DATE*05112002*TIME*1525*LINE*POTS*NMBR*4075555000*MESG*NONE*NAME*JOHN DOE*");
  EXPECT_EQ(NcidKind::Call, call.kind);
  EXPECT_EQ((CallFields{"05112002", "1525", "POTS", "4075555000", "JOHN DOE"}), call.call);
  NcidLine logged = ParseNcidLine("CIDLOG: *DATE*05112002*TIME*1525*LINE*-*NMBR*PRIVATE*MESG*NONE*NAME*NO NAME*");
  EXPECT_EQ(NcidKind::LoggedCall, logged.kind);
  EXPECT_EQ("PRIVATE", logged.call.number);
  for (const char* incoming : {"WID: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*5551234*MESG*NONE*NAME*WAITING*",
                               "PID: *DATE*12082026*TIME*0905*LINE*CELL*NMBR*5551234*MESG*NONE*NAME*MOBILE*"})
    EXPECT_EQ(NcidKind::Call, ParseNcidLine(incoming).kind) << incoming;
  EXPECT_EQ(NcidKind::LoggedCall, ParseNcidLine("WIDLOG: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*1*NAME*W*").kind);
  EXPECT_EQ(NcidKind::LoggedCall, ParseNcidLine("PIDLOG: *DATE*12082026*TIME*0905*LINE*CELL*NMBR*1*NAME*P*").kind);

  for (const char* end : {"300 End of call log", "250 End of call log", "251 Call log not sent", "252 Call log empty",
                          "253 No Call log", "300 End of connection startup"})
    EXPECT_EQ(NcidKind::EndOfLog, ParseNcidLine(end).kind) << end;

  for (const char* other : {"CIDINFO: *LINE*POTS*RING*1*TIME*09:05:00*", "CIDINFO: *LINE*POTS*RING*-1*TIME*09:06:00*",
                            "MSG: Hello there ***DATE*12082026*TIME*0905*NAME*-*NMBR*-*LINE*-*MTYPE*USER*",
                            "MSGLOG: Too many clients connected",
                            "BLK: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*8005551212*MESG*NONE*NAME*SPAM*",
                            "OUT: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*5551234*MESG*NONE*NAME*-*",
                            "HUP: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*8005551212*MESG*NONE*NAME*SPAM*",
                            "BLKLOG: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*1*MESG*NONE*NAME*X*", "OPT: hangup-1",
                            "RID: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*5551234*MESG*NONE*NAME*RINGBACK*",
                            "PUT: *DATE*12082026*TIME*0905*LINE*CELL*NMBR*5551234*MESG*NONE*NAME*-*",
                            "NOT: Meeting at 10###DATE*12082026*TIME*0905*NAME*-*NMBR*5551234*LINE*CELL*MTYPE*IN*",
                            "MWI: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*-*MESG*NONE*NAME*-*", "ACK: REQ YO",
                            "210 API: 1.0 Feature Set 1 2 3 4", "WIDX: *NMBR*1*",
                            "2000 not a greeting", "CID: *DATE*12082026*TIME*0905*NAME*NO NUMBER*", "CID:", "", "*"})
    EXPECT_EQ(NcidKind::Other, ParseNcidLine(other).kind) << other;
}

TEST(NcidLine, KeepsTheFirstOfADoubledFieldAndToleratesAMissingOrTornOne) {
  EXPECT_EQ((CallFields{"12082026", "", "", "111", ""}),
            ParseNcidLine("CID: *DATE*12082026*NMBR*111*NMBR*222*DATE*01012000").call);
  EXPECT_EQ("5551234", ParseNcidLine("CID:*NMBR*5551234").call.number);
}

class NcidSessionTest : public ::testing::Test {
 protected:
  NcidSession session{L"ncid:127.0.0.1:3333"};
  std::vector<std::wstring> numbers;

  void Feed(std::initializer_list<std::string> lines) {
    for (const std::string& line : lines)
      for (const auto& call : session.Line(line, kNow)) numbers.push_back(call.phoneNumber);
  }
  static std::string Call(const char* type, const char* number, const char* line = "POTS") {
    return std::string(type) + ": *DATE*12082026*TIME*0900*LINE*" + line + "*NMBR*" + number + "*MESG*NONE*NAME*N*";
  }
};

TEST_F(NcidSessionTest, TheFirstLogIsHistoryAndAReconnectionBringsWhatWasLoggedMeanwhileOnce) {
  session.Connected();
  EXPECT_FALSE(session.Greeted());
  Feed({"200 NCID Server: ncidd (NCID) 1.13", Call("CIDLOG", "1"), Call("CIDLOG", "2"), "300 End of call log"});
  EXPECT_TRUE(session.Greeted());
  EXPECT_EQ(L"ncidd (NCID) 1.13", session.ServerName());
  EXPECT_TRUE(numbers.empty());
  Feed({Call("CID", "3"), "CIDINFO: *LINE*POTS*RING*2*TIME*09:00:10*", Call("BLK", "9"), Call("OUT", "8")});
  EXPECT_EQ(std::vector<std::wstring>{L"3"}, numbers);

  session.Disconnected();
  EXPECT_FALSE(session.Greeted());
  session.Connected();
  Feed({"200 NCID Server: ncidd (NCID) 1.13", Call("CIDLOG", "1"), Call("CIDLOG", "2"), Call("CIDLOG", "3"),
        Call("CIDLOG", "4"), Call("CIDLOG", "5"), "300 End of call log", Call("CID", "6")});
  EXPECT_EQ((std::vector<std::wstring>{L"3", L"4", L"5", L"6"}), numbers);

  session.Connected();  // again, with nothing new: nothing twice
  Feed({"200 x", Call("CIDLOG", "4"), Call("CIDLOG", "5"), Call("CIDLOG", "6"), "250 End of call log"});
  EXPECT_EQ(4u, numbers.size());

  session.Connected();  // a log cleared meanwhile: its contents are not taken for new calls
  Feed({"200 x", Call("CIDLOG", "70"), "300 End of call log"});
  EXPECT_EQ(4u, numbers.size());
  session.Connected();
  Feed({"200 x", Call("CIDLOG", "70"), Call("CIDLOG", "71"), "300 End of call log"});
  EXPECT_EQ(L"71", numbers.back());

  Feed({Call("CID", "72")});
  session.Connected();  // the same number again in the same minute while away: it arrives, once
  Feed({"200 x", Call("CIDLOG", "70"), Call("CIDLOG", "71"), Call("CIDLOG", "72"), Call("CIDLOG", "72"),
        "300 End of call log"});
  EXPECT_EQ((std::vector<std::wstring>{L"71", L"72", L"72"}), std::vector<std::wstring>(numbers.end() - 3, numbers.end()));
  const std::size_t before = numbers.size();
  session.Connected();  // a log longer than the bound: its latest calls count
  Feed({"200 x", Call("CIDLOG", "72")});
  for (std::size_t call = 0; call < NcidSession::kMostLoggedCalls + 5; ++call) Feed({Call("CIDLOG", "80")});
  Feed({"300 End of call log"});
  EXPECT_EQ(before + NcidSession::kMostLoggedCalls, numbers.size());
}

TEST_F(NcidSessionTest, AServerWithoutALogOrItsEndStillDeliversLiveCalls) {
  session.Connected();
  Feed({"200 x", Call("CID", "1")});
  session.Connected();
  Feed({"200 x", "252 Call log empty", Call("CID", "2")});
  EXPECT_EQ((std::vector<std::wstring>{L"1", L"2"}), numbers);
}

TEST_F(NcidSessionTest, CallsCarryTheMappedLineTheTimeAndTheTextsAsSent) {
  session.Connected();
  Feed({"200 x", "300 End of call log"});
  std::vector<device::CallerId> calls;
  for (const char* line : {"CID: *NMBR*1*LINE*2*",
                           "CID: *DATE*12082026*TIME*0900*LINE*VOIP*NMBR*OUT-OF-AREA*MESG*NONE*NAME*\xC5\x9E\x69\xC5\x9F\x6C\x69*",
                           "CID: *DATE*13402026*TIME*2575*LINE*POTS*NMBR*05321234567*NAME*A\xFF\xC3*",
                           "CID: *DATE*01022027*TIME*2359*LINE*VOIP*NMBR*-*"})
    for (auto& call : session.Line(line, kNow)) calls.push_back(call);
  ASSERT_EQ(4u, calls.size());
  EXPECT_EQ(L"2", calls[0].line);  // a line number keeps it; names take the lowest free
  EXPECT_EQ((device::CallerId{L"ncid:127.0.0.1:3333", L"1", L"OUT-OF-AREA", L"08.12.26 09:00", L"Şişli"}), calls[1]);
  EXPECT_EQ(L"3", calls[2].line);
  EXPECT_EQ(L"08.12.26 09:05", calls[2].dateTime);  // no such date: the clock's
  EXPECT_EQ(L"A\uFFFD\uFFFD", calls[2].otherText);
  EXPECT_EQ(L"1", calls[3].line);
  EXPECT_EQ(L"02.01.27 23:59", calls[3].dateTime);
  EXPECT_EQ(L"", calls[3].otherText);

  NcidSession restarted(L"ncid:127.0.0.1:3333", session.SavedLines());  // the program started again
  restarted.Connected();
  std::vector<std::wstring> lines;
  for (const char* line : {"200 x", "CID: *NMBR*1*LINE*POTS*", "CID: *NMBR*1*LINE*FAX*", "CID: *NMBR*1*LINE*VOIP*"})
    for (auto& call : restarted.Line(line, kNow)) lines.push_back(call.line);
  EXPECT_EQ((std::vector<std::wstring>{L"3", L"4", L"1"}), lines);
}

}  // namespace
}  // namespace opencid
