// What lies around the parsers: lines out of a byte stream, the pauses between attempts, the
// keep-alive requests, and the source setting.
#include <gtest/gtest.h>

#include "common/error.h"
#include "opencid/backoff.h"
#include "opencid/keep_alive.h"
#include "opencid/line_splitter.h"
#include "opencid/source_setting.h"

namespace opencid {
namespace {

TEST(LineSplitter, LinesArriveWholeWhateverThePiecesAndOverLongOnesAreCut) {
  LineSplitter splitter;
  EXPECT_TRUE(splitter.Feed("200 NCID").empty());
  EXPECT_EQ((std::vector<std::string>{"200 NCID 1", "CID: x", ""}), splitter.Feed(" 1\r\nCID: x\n\r\nCI"));
  std::string longLine(kMaxLineBytes + 500, 'x');
  auto lines = splitter.Feed("D\n" + longLine + "\r\nafter\n");
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ("CID", lines[0]);
  EXPECT_EQ(std::string(kMaxLineBytes, 'x'), lines[1]);
  EXPECT_EQ("after", lines[2]);
  EXPECT_EQ(std::vector<std::string>{std::string(kMaxLineBytes, 'y')},
            splitter.Feed(std::string(kMaxLineBytes, 'y') + "\r\n"));  // exactly at the bound: whole
  splitter.Feed("half a li");
  splitter.Reset();
  EXPECT_EQ(std::vector<std::string>{"new"}, splitter.Feed("new\n"));
}

TEST(Backoff, DoublesFromOneSecondToThirtyAndStartsOverOnReset) {
  Backoff backoff;
  std::vector<unsigned> pauses;
  for (int i = 0; i < 8; ++i) pauses.push_back(backoff.NextPauseMs());
  EXPECT_EQ((std::vector<unsigned>{1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000}), pauses);
  backoff.Reset();
  EXPECT_EQ(1000u, backoff.NextPauseMs());
}

TEST(KeepAlive, AsksOnlyAServerThatUnderstandsAndNoticesOneThatStopsAnswering) {
  for (const char* greeting : {"200 Server: ncidd (NCID) 0.86", "210 API: 1.0 Feature Set 1 2 3"}) {
    KeepAlive older(30000, 15000);
    older.Connected(0);
    older.Heard(greeting, 10);
    EXPECT_FALSE(older.Due(100000)) << greeting;
    EXPECT_FALSE(older.Dead(100000)) << greeting;
  }

  KeepAlive alive(30000, 15000);
  alive.Connected(0);
  alive.Heard("200 Server: ncidd (NCID) 1.0", 10);
  alive.Heard("210 API: 1.0 Feature Set 1 2 3 4", 10);
  EXPECT_FALSE(alive.Due(30009));
  EXPECT_EQ("REQ: YO", alive.Due(30010).value_or(""));
  EXPECT_FALSE(alive.Due(30011));  // one request at a time
  alive.Heard("ACK: REQ: YO", 31000);  // as an NCID 1.0 server answers
  EXPECT_FALSE(alive.Dead(60000));
  EXPECT_EQ("REQ: YO", alive.Due(61000).value_or(""));
  alive.Heard("ACK: REQ YO", 61500);  // as the protocol's document writes it
  EXPECT_TRUE(alive.Due(91500));
  EXPECT_FALSE(alive.Dead(106500));
  EXPECT_TRUE(alive.Dead(106501));  // asked, and silent past the deadline

  KeepAlive mute(30000, 15000);  // accepts the connection and never says a word
  mute.Connected(1000);
  EXPECT_FALSE(mute.Dead(46000));
  EXPECT_TRUE(mute.Dead(46001));
}

TEST(SourceSetting, ReadsAndWritesTheSourcesAndRefusesWhatIsNotOne) {
  SourceSetting fallback;
  EXPECT_EQ(L"ncid=127.0.0.1:3333", fallback.Text());
  SourceSetting server = ParseSource(L"ncid=cid.example.net:4444");
  EXPECT_EQ(L"ncid:cid.example.net:4444", server.DeviceId());
  EXPECT_EQ(L"cid.example.net:4444", server.Serial());
  EXPECT_EQ(3333u, ParseSource(L"ncid=pbx").port);
  EXPECT_EQ(L"[::1]:3333", ParseSource(L"ncid=[::1]").Serial());
  SourceSetting modem = ParseSource(L"modem=com3");
  EXPECT_EQ(L"COM3", modem.DeviceId());
  EXPECT_EQ(L"modem=COM3", modem.Text());

  InstallCommand both = ParseInstallCommand(L"modem=COM12, as-device,init=AT+GCI=B5");
  EXPECT_TRUE(both.asDevice);
  ASSERT_TRUE(both.source);
  EXPECT_EQ(L"COM12", both.source->portName);
  EXPECT_EQ(L"modem=COM12,init=AT+GCI=B5", both.source->Text());
  EXPECT_EQ(L"ncid=pbx:3333,keepalive=5", ParseSource(L"ncid=pbx, keepalive=5").Text());
  EXPECT_EQ(30u, ParseSource(L"ncid=pbx").keepAliveSeconds);
  EXPECT_FALSE(ParseInstallCommand(L"").source);
  EXPECT_TRUE(ParseInstallCommand(L"as-device").asDevice);
  EXPECT_TRUE(ParseInstallCommand(L"ncid=pbx,per-user").perUser);

  for (const wchar_t* bad : {L"ncid=host:0", L"ncid=host:65536", L"ncid=host:", L"ncid=:3333", L"ncid=[::1",
                             L"modem=COM0", L"modem=LPT1", L"modem=COM", L"serial=COM1", L"as-devices",
                             L"modem=COM1,init=ATZ\u00e7", L"modem=COM1,init=X", L"modem=COM1,keepalive=5",
                             L"ncid=pbx,keepalive=1", L"ncid=pbx,init=ATZ", L"init=ATZ,modem=COM1"})
    EXPECT_THROW(ParseInstallCommand(bad), common::Error) << common::Error(bad).what();
}

}  // namespace
}  // namespace opencid
