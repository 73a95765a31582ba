// Forwarding to an upstream server: the calls still to go, the upstream's acceptance, the
// gateway's line and the upstream setting.
#include <gtest/gtest.h>

#include "opencid/ncid_server_lines.h"
#include "relay/forwarding.h"

namespace relay {
namespace {

using opencid::CallFields;

const CallFields kFirst{"12082026", "0905", "1", "05321234567", "AYŞE"};
const CallFields kSecond{"12082026", "0906", "2", "02125550000", ""};
const CallFields kThird{"12082026", "0907", "1", "05321234567", "AYŞE"};

TEST(ForwardingTest, WhatTheLogHoldsAfterTheLastAcceptedCallGoesAndTheUpstreamsCallLineAcceptsIt) {
  const std::vector<CallFields> log{kFirst, kSecond, kThird};
  EXPECT_EQ(CallsToForward(log, kSecond), std::vector<CallFields>{kThird});
  EXPECT_TRUE(CallsToForward(log, kThird).empty());
  EXPECT_EQ(CallsToForward(log, std::nullopt), log);
  EXPECT_EQ(CallsToForward({kThird}, kFirst), std::vector<CallFields>{kThird});  // rotated away: all

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
