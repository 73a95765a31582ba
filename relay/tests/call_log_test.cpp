// The call log: its line format, reading back (torn and odd lines), durable appending,
// rotation and a refusing disk, over an in-memory store.
#include <gtest/gtest.h>

#include "common/error.h"
#include "relay/call_log.h"
#include "relay/call_log_text.h"

namespace relay {
namespace {

using opencid::CallFields;

const CallFields kAyse{"12082026", "0905", "POTS", "05321234567", "AYŞE YILMAZ"};
const CallFields kPrivate{"12082026", "0906", "2", "PRIVATE", ""};

struct MemoryStore final : LogStore {
  std::string current, older;
  int failingWrites = 0;  // the next writes fail; an append after writing half its bytes
  bool readFails = false;
  int rotations = 0;

  std::string Read(Which file) override {
    if (readFails) throw common::Error(L"access denied");
    return file == Which::Current ? current : older;
  }
  void Append(std::string_view bytes) override {
    if (failingWrites > 0) {
      --failingWrites;
      current.append(bytes.substr(0, bytes.size() / 2));
      throw common::Error(L"disk full");
    }
    current.append(bytes);
  }
  void Truncate(std::uint64_t size) override {
    if (failingWrites > 0 && failingWrites--) throw common::Error(L"disk full");
    current.resize(size);
  }
  void Rotate() override {
    older = std::move(current);
    current.clear();
    ++rotations;
  }
};

TEST(CallLogTextTest, WritesNcidLinesAndReadsOnlyWholeWellFormedCallLines) {
  EXPECT_EQ(LogLine(kAyse), "CID: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*05321234567*MESG*NONE*NAME*AYŞE YILMAZ*\n");
  const std::string text = "HUP: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*1*MESG*NONE*NAME*X*\n" + LogLine(kAyse) +
                           "garbage \x01\xFF\n\r\n" +
                           "CID: *DATE*12082026*TIME*0906*LINE*2*NMBR*PRIVATE*MESG*NONE*NAME**\r\n" +
                           "CID: *DATE*12082026*TIME*0907*LINE*1*NMBR*0532";  // torn
  EXPECT_EQ(ReadCallLog(text), (std::vector<CallFields>{kAyse, kPrivate}));
  EXPECT_EQ(WholeLinesLength(text), text.rfind('\n') + 1);
  EXPECT_TRUE(ReadCallLog("CID: *DATE*12082026*TIME*0907*LINE*1*NMBR*0532").empty());
}

TEST(CallLogTest, ReopeningCutsATornLineAndKeepsTheNewestCallsAsHistory) {
  MemoryStore store;
  store.older = LogLine(kAyse);
  store.current = LogLine(kPrivate) + "CID: *DATE*12082026*TIME*0907*LINE*1*NM";
  std::vector<std::wstring> reports;
  CallLog log(store, kDefaultLogLimit, 2, [&](const std::wstring& text) { reports.push_back(text); });
  log.Open(0);
  EXPECT_EQ(store.current, LogLine(kPrivate));
  EXPECT_EQ(log.History(), (std::vector<CallFields>{kAyse, kPrivate}));

  CallFields third = kAyse;
  third.time = "0910";
  EXPECT_TRUE(log.Append(third, 1));
  EXPECT_EQ(store.current, LogLine(kPrivate) + LogLine(third));
  EXPECT_EQ(log.History(), (std::vector<CallFields>{kPrivate, third}));
  EXPECT_TRUE(reports.empty());
}

TEST(CallLogTest, RotatesBeforeALineWouldPassTheLimitKeepingOneOlderFile) {
  MemoryStore store;
  const std::size_t lineSize = LogLine(kAyse).size();
  CallLog log(store, lineSize * 2, 10, [](const std::wstring&) {});
  log.Open(0);
  for (int call = 0; call < 5; ++call) EXPECT_TRUE(log.Append(kAyse, 0));
  EXPECT_EQ(store.rotations, 2);
  EXPECT_EQ(store.older, LogLine(kAyse) + LogLine(kAyse));
  EXPECT_EQ(store.current, LogLine(kAyse));
}

TEST(CallLogTest, ARefusingDiskIsReportedOnceAMinuteAndWritingResumesWithoutAHalfLine) {
  MemoryStore store;
  std::vector<std::wstring> reports;
  CallLog log(store, kDefaultLogLimit, 10, [&](const std::wstring& text) { reports.push_back(text); });
  log.Open(0);
  store.failingWrites = 3;
  EXPECT_FALSE(log.Append(kAyse, 100));
  EXPECT_FALSE(log.Append(kAyse, 130));
  EXPECT_FALSE(log.Append(kAyse, 161));
  EXPECT_EQ(reports, (std::vector<std::wstring>{L"The call log cannot be written: disk full",
                                                L"The call log cannot be written: disk full"}));
  EXPECT_TRUE(log.Append(kPrivate, 170));
  EXPECT_EQ(store.current, LogLine(kPrivate));
  EXPECT_EQ(reports.back(), L"The call log is written again.");
  // Calls that could not be written still reach clients that connect later.
  EXPECT_EQ(log.History().size(), 4u);

  MemoryStore unreadable;
  unreadable.readFails = true;
  unreadable.current = LogLine(kAyse);
  CallLog other(unreadable, kDefaultLogLimit, 10, [&](const std::wstring& text) { reports.push_back(text); });
  other.Open(0);
  EXPECT_EQ(reports.back(), L"The call log cannot be read: access denied");
  EXPECT_EQ(unreadable.current, LogLine(kAyse));
}

}  // namespace
}  // namespace relay
