// The modem's initialisation, one answer at a time.
#include "opencid/modem_dialogue.h"

namespace opencid {
namespace {

const char* CommandOf(int step) {
  static const char* const commands[] = {"ATZ", "AT+VCID=1", "AT#CID=1", "ATE0", "ATI"};
  return commands[step];
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string ModemDialogue::Begin() {
  step_ = Step::Reset;
  state_ = State::Talking;
  reason_.clear();
  identification_.clear();
  return command_ = CommandOf(static_cast<int>(step_));
}

ModemDialogue::State ModemDialogue::Fail(std::wstring reason) {
  reason_ = std::move(reason);
  return state_ = State::Failed;
}

std::string ModemDialogue::Next() {
  step_ = step_ == Step::CallerId ? Step::EchoOff : static_cast<Step>(static_cast<int>(step_) + 1);
  return command_ = CommandOf(static_cast<int>(step_));
}

ModemDialogue::State ModemDialogue::Answer(std::string_view raw, std::string& send) {
  send.clear();
  const std::string_view line = Trim(raw);
  if (state_ != State::Talking || line.empty() || line == command_ || line == "RING") return state_;
  if (line == "OK") {
    if (step_ == Step::Identify) {
      if (identification_.empty()) identification_ = "modem";
      return state_ = State::Ready;
    }
    if (step_ == Step::CallerIdFallback) step_ = Step::CallerId;  // both reach echo-off next
    send = Next();
    return state_;
  }
  if (line == "ERROR") {
    switch (step_) {
      case Step::CallerId:
        step_ = Step::CallerIdFallback;
        send = command_ = CommandOf(static_cast<int>(step_));
        return state_;
      case Step::CallerIdFallback:
        return Fail(L"the modem answers ERROR to both AT+VCID=1 and AT#CID=1: no caller-ID reporting");
      case Step::Identify:
        if (identification_.empty()) identification_ = "modem";
        return state_ = State::Ready;
      case Step::Reset:
        return Fail(L"the modem answers ERROR to ATZ");
      case Step::EchoOff:
        send = Next();  // echoed commands are passed over anyway
        return state_;
    }
  }
  if (step_ == Step::Identify) {
    if (!identification_.empty()) identification_ += ' ';
    identification_.append(line);
  }
  return state_;
}

}  // namespace opencid
