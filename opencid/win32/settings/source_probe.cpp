#include "opencid/win32/settings/source_probe.h"

#include "common/error.h"
#include "common/utf16.h"
#include "opencid/win32/source_link.h"

namespace opencid::settings {
namespace {

// Each read waits about a quarter of a second.
constexpr int kReadsBeforeGivingUp = 20;

std::string ReadUntil(SourceLink& link, const std::atomic<bool>& stopping, bool (*complete)(const std::string&)) {
  std::string answer;
  char buffer[256];
  for (int read = 0; read < kReadsBeforeGivingUp && !stopping && !complete(answer); ++read)
    answer.append(buffer, link.Read(buffer, sizeof buffer));
  return answer;
}

bool HasLine(const std::string& text) { return text.find('\n') != std::string::npos; }

bool HasFinalResult(const std::string& text) {
  return text.find("OK\r") != std::string::npos || text.find("OK\n") != std::string::npos ||
         text.find("ERROR") != std::string::npos;
}

// Printable text only: what a peer sends is shown, never obeyed.
std::wstring Shown(const std::string& bytes) {
  std::wstring shown;
  for (char c : bytes) {
    if (c == '\n') {
      if (!shown.empty() && shown.back() != L' ') shown += L"  ";
    } else if (c >= 0x20 && c < 0x7f) {
      shown += static_cast<wchar_t>(c);
    }
  }
  const auto end = shown.find_last_not_of(L' ');
  return end == std::wstring::npos ? std::wstring() : shown.substr(0, end + 1);
}

}  // namespace

std::wstring ProbeSource(const SourceSetting& source, const std::atomic<bool>& stopping) {
  try {
    auto link = OpenLink(source, stopping);
    if (source.kind == SourceSetting::Kind::Ncid) {
      const std::wstring greeting = Shown(ReadUntil(*link, stopping, HasLine));
      return greeting.empty() ? L"Sunucu bağlantıyı kabul etti ama selamlamadı." : L"Sunucu: " + greeting;
    }
    link->Write("ATI\r");
    const std::wstring answer = Shown(ReadUntil(*link, stopping, HasFinalResult));
    return answer.empty() ? L"Modem ATI komutuna yanıt vermedi." : L"Modem: " + answer;
  } catch (const common::Error& failure) {
    return L"Bağlanılamadı: " + failure.Message();
  } catch (const std::exception& failure) {
    return L"Bağlanılamadı: " + common::FromUtf8(failure.what());
  }
}

}  // namespace opencid::settings
