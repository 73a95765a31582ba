// The modem's initialisation, one answer at a time.
#include "opencid/modem_dialogue.h"

namespace opencid {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

std::string ModemDialogue::Begin(std::string extra) {
  extra_ = std::move(extra);
  state_ = State::Talking;
  reason_.clear();
  identification_.clear();
  std::string send;
  Send(Step::Reset, send);
  return send;
}

ModemDialogue::State ModemDialogue::Fail(std::wstring reason) {
  reason_ = std::move(reason);
  return state_ = State::Failed;
}

ModemDialogue::State ModemDialogue::Send(Step step, std::string& send) {
  static const char* const kCommands[] = {"ATZ", "ATS0=0E1V1Q0", "AT+VCID=1", "AT#CID=1", "", "ATI"};
  if (step == Step::Extra && extra_.empty()) step = Step::Identify;
  step_ = step;
  command_ = step == Step::Extra ? extra_ : kCommands[static_cast<int>(step)];
  send = command_;
  return state_;
}

ModemDialogue::State ModemDialogue::Ok(std::string& send) {
  switch (step_) {
    case Step::Reset: return Send(Step::SetUp, send);
    case Step::SetUp: return Send(Step::CallerId, send);
    case Step::CallerId:
    case Step::CallerIdFallback: return Send(Step::Extra, send);
    case Step::Extra: return Send(Step::Identify, send);
    case Step::Identify: break;
  }
  if (identification_.empty()) identification_ = "modem";
  return state_ = State::Ready;
}

ModemDialogue::State ModemDialogue::Error(std::string& send) {
  switch (step_) {
    case Step::Reset: return Fail(L"the modem answers ERROR to ATZ");
    case Step::SetUp: return Fail(L"the modem answers ERROR to ATS0=0E1V1Q0");
    case Step::CallerId: return Send(Step::CallerIdFallback, send);
    case Step::CallerIdFallback:
      return Fail(L"the modem answers ERROR to both AT+VCID=1 and AT#CID=1: no caller-ID reporting");
    case Step::Extra: return Fail(L"the modem answers ERROR to the initialisation " + Wide(extra_));
    case Step::Identify: break;
  }
  return Ok(send);  // no identification: "modem"
}

ModemDialogue::State ModemDialogue::Answer(std::string_view raw, std::string& send) {
  send.clear();
  const std::string_view line = Trim(raw);
  if (state_ != State::Talking || line.empty() || line == command_ || line == "RING") return state_;
  // Digits answer until the set-up has turned verbose result codes on.
  const bool digits = step_ == Step::Reset || step_ == Step::SetUp;
  if (line == "OK" || (digits && line == "0")) return Ok(send);
  if (line == "ERROR" || (digits && line == "4")) return Error(send);
  if (step_ == Step::Identify) {
    if (!identification_.empty()) identification_ += ' ';
    identification_.append(line);
  }
  return state_;
}

ModemDialogue::State ModemDialogue::Silent(std::string& send) {
  send.clear();
  if (state_ != State::Talking) return state_;
  // A stored profile with quiet result codes answers ATZ with nothing; the set-up ends that.
  if (step_ == Step::Reset) return Send(Step::SetUp, send);
  return Fail(L"the modem does not answer " + Wide(command_));
}

}  // namespace opencid
