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
