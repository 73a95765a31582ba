// Forwarding to an upstream server: the calls still to go, the upstream's acceptance, the
// gateway's line and the upstream setting.
#include <gtest/gtest.h>

#include "opencid/ncid_server_lines.h"
#include "relay/call_log_text.h"
#include "relay/forwarding.h"

namespace relay {
namespace {

using opencid::CallFields;

const CallFields kFirst{"12082026", "0905", "1", "05321234567", "AYŞE"};
const CallFields kSecond{"12082026", "0906", "2", "02125550000", ""};
const CallFields kThird{"12082026", "0907", "1", "05321234567", "AYŞE"};

std::vector<CallFields> Calls(const std::vector<DueCall>& due) {
  std::vector<CallFields> calls;
  for (const auto& each : due) calls.push_back(each.call);
  return calls;
}

// The kept place as a restarted relay reads it back.
ForwardPoint Restarted(const ForwardPoint& accepted) { return ReadForwardPoint(ForwardPointText(accepted)); }

TEST(ForwardingTest, WhatTheLogHoldsAfterTheLastAcceptedCallGoesAndTheUpstreamsCallLineAcceptsIt) {
  // The same number twice in a minute: two calls, each forwarded once across restarts.
  const std::string text = LogLine(kFirst) + LogLine(kFirst) + LogLine(kSecond);
  const LogFile none{"", ""}, current{"7-42", text};
  std::vector<DueCall> due = CallsToForward(none, current, Restarted(EndOf({"7-42", ""})));
  ASSERT_EQ(Calls(due), (std::vector<CallFields>{kFirst, kFirst, kSecond}));
  due = CallsToForward(none, current, Restarted(due[0].after));
  ASSERT_EQ(Calls(due), (std::vector<CallFields>{kFirst, kSecond}));
  due = CallsToForward(none, current, Restarted(due[0].after));
  ASSERT_EQ(Calls(due), std::vector<CallFields>{kSecond});
  EXPECT_TRUE(CallsToForward(none, current, Restarted(EndOf(current))).empty());

  const ForwardPoint afterFirst = CallsToForward(none, current, {})[0].after;
  // Rotated: the place is found in the older file, and the new file follows.
  const std::string newer = LogLine(kThird);
  EXPECT_EQ(Calls(CallsToForward(current, {"7-43", newer}, Restarted(due[0].after))),
            (std::vector<CallFields>{kThird}));
  EXPECT_EQ(Calls(CallsToForward(current, {"7-43", newer}, Restarted(afterFirst))),
            (std::vector<CallFields>{kFirst, kSecond, kThird}));
  // Rotated away, or a file that is not the one kept (its line there is another call): all.
  EXPECT_EQ(Calls(CallsToForward({"7-43", newer}, {"7-44", ""}, due[0].after)), std::vector<CallFields>{kThird});
  EXPECT_EQ(CallsToForward(none, {"7-42", LogLine(kThird) + LogLine(kFirst)}, afterFirst).size(), 2u);
  // Read from the kept call's line on: the same calls at the same places; read from after
  // that line, or from within it, the place is not confirmed.
  const ForwardPoint afterSecond = CallsToForward(none, current, {})[1].after;
  const std::uint64_t from = ReadFrom(Restarted(afterSecond));
  const LogFile tail{"7-42", std::string_view(text).substr(from), from};
  EXPECT_TRUE(Holds(tail, afterSecond));
  EXPECT_EQ(CallsToForward(none, tail, Restarted(afterSecond)), CallsToForward(none, current, afterSecond));
  EXPECT_FALSE(Holds({"7-42", std::string_view(text).substr(afterSecond.end), afterSecond.end}, afterSecond));
  EXPECT_FALSE(Holds({"7-42", std::string_view(text).substr(from + 1), from + 1}, afterSecond));
  // Rotated between the reads of the two files: the file is read once.
  EXPECT_EQ(CallsToForward(current, current, {}).size(), 3u);
  // A place kept by an older relay: the call line alone, or nothing.
  EXPECT_EQ(Calls(CallsToForward(none, current, ReadForwardPoint(LogLine(kFirst)))), std::vector<CallFields>{kSecond});
  EXPECT_EQ(CallsToForward(none, current, ReadForwardPoint("")).size(), 3u);
  EXPECT_EQ(ReadForwardPoint(LogLine(kFirst) + "AT 7-42 99999999999999999999\n").file, "");

  EXPECT_EQ(opencid::GatewayCallLine(kFirst), "CALL: ###DATE12080905...LINE1...NMBR05321234567...NAMEAYŞE+++");
  EXPECT_TRUE(AcceptedBy("CID: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*05321234567*MESG*NONE*NAME*AYSE*", kFirst));
  EXPECT_FALSE(AcceptedBy("CIDLOG: *DATE*12082026*TIME*0905*LINE*1*NMBR*05321234567*MESG*NONE*NAME*AYŞE*", kFirst));
  EXPECT_FALSE(AcceptedBy("CID: *DATE*12082026*TIME*0906*LINE*1*NMBR*05321234567*MESG*NONE*NAME*AYŞE*", kFirst));
}

// A server's start-up: greeting, options, its call log's lines (its own year, line and name
// aliases, the old form without a line, other types), the end of the log and of start-up.
std::vector<std::string> StartUp(const std::vector<std::string>& logLines) {
  std::vector<std::string> lines{"200 NCID Server: ncidd (NCID) 1.11", "OPT: hangup-1"};
  lines.insert(lines.end(), logLines.begin(), logLines.end());
  lines.push_back(logLines.empty() ? "252 Call log empty" : "250 End of call log");
  lines.push_back("300 End of server startup");
  return lines;
}

const std::string kFirstLogged = "CIDLOG: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*05321234567*MESG*NONE*NAME*AYSE*";
const std::string kSecondLogged = "CIDLOG: *DATE*12082026*TIME*0906*NMBR*02125550000*MESG*NONE*NAME*NO NAME*";
const std::string kThirdLogged = "CIDLOG: *DATE*12082026*TIME*0907*LINE*1*NMBR*05321234567*MESG*NONE*NAME*AYŞE*";

TEST(ForwardingTest, ACallTheUpstreamsHistoryShowsAfterTheLastAcceptedOneIsNotSentAgain) {
  const LogFile none{"", ""};
  const auto taken = [&](const std::string& log, const ForwardPoint& lastAccepted, std::vector<std::string> startUp) {
    return TakenAlready(none, {"7-42", log}, Restarted(lastAccepted), startUp);
  };
  const std::string text = LogLine(kFirst) + LogLine(kSecond) + LogLine(kThird);
  const std::vector<DueCall> all = CallsToForward(none, {"7-42", text}, {});
  // Taken, its report lost: the next call is the one after it.
  const std::string hangUp = "HUPLOG: *DATE*12082026*TIME*0906*LINE*1*NMBR*02125550000*MESG*NONE*NAME*X*";
  const std::string message = "MSGLOG: Too many clients connected";
  EXPECT_EQ(taken(text, all[0].after, StartUp({kFirstLogged, hangUp, kSecondLogged, message})), all[1].after);
  // Not taken, or a server that sends no history: sent again.
  EXPECT_EQ(taken(text, all[0].after, StartUp({kFirstLogged})), std::nullopt);
  EXPECT_EQ(taken(text, all[0].after, {"200 NCID Server: ncidd (NCID) 1.11", "251 Call log not sent", "300 End"}),
            std::nullopt);
  // Two in doubt (the kept place could not be written): both taken.
  EXPECT_EQ(taken(text, all[0].after, StartUp({kFirstLogged, kSecondLogged, kThirdLogged})), all[2].after);
  // The history's call of that number and minute before the last accepted one is another call.
  const std::string again = text + LogLine(kSecond);
  const std::vector<DueCall> withAgain = CallsToForward(none, {"7-42", again}, {});
  EXPECT_EQ(taken(again, withAgain[2].after, StartUp({kSecondLogged, kThirdLogged})), std::nullopt);
  EXPECT_EQ(taken(again, withAgain[2].after, StartUp({kSecondLogged, kThirdLogged, kSecondLogged})),
            withAgain[3].after);
  // A history that no longer reaches the last accepted call.
  EXPECT_EQ(taken(text, all[1].after, StartUp({kThirdLogged})), all[2].after);

  // The same number twice in a minute: the history must show it as often.
  const std::string twice = LogLine(kSecond) + LogLine(kFirst) + LogLine(kFirst);
  const std::vector<DueCall> both = CallsToForward(none, {"7-42", twice}, {});
  EXPECT_EQ(taken(twice, both[0].after, StartUp({kSecondLogged, kFirstLogged})), both[1].after);
  EXPECT_EQ(taken(twice, both[1].after, StartUp({kSecondLogged, kFirstLogged})), std::nullopt);
  EXPECT_EQ(taken(twice, both[1].after, StartUp({kSecondLogged, kFirstLogged, kFirstLogged})), both[2].after);
}

TEST(ForwardingTest, ReadsTheUpstreamSetting) {
  std::string host;
  unsigned port = 0;
  EXPECT_TRUE(ParseUpstream("ncid.example:3334", host, port));
  EXPECT_EQ(host, "ncid.example");
  EXPECT_EQ(port, 3334u);
  EXPECT_TRUE(ParseUpstream("[fd00::1]:3335", host, port));
  EXPECT_EQ(host, "fd00::1");
  EXPECT_TRUE(ParseUpstream("192.168.1.10", host, port));
  EXPECT_EQ(port, 3333u);
  for (const char* bad : {"", ":3333", "host:", "host:0", "host:70000", "fd00::1", "[fd00::1", "host:33a"})
    EXPECT_FALSE(ParseUpstream(bad, host, port)) << bad;
}

}  // namespace
}  // namespace relay
