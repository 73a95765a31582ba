// Bringing a caller-ID modem up: reset (ATZ), caller-ID reporting on (AT+VCID=1, or AT#CID=1
// where the chipset answers ERROR to the first), echo off (ATE0), then its identification
// (ATI, every line up to OK). Echoed commands, rings and blank lines are passed over. The dialogue
// fails with a reason when the modem refuses a step it cannot do without.
#pragma once

#include <string>
#include <string_view>

namespace opencid {

class ModemDialogue {
 public:
  enum class State { Talking, Ready, Failed };

  // The first command to send (without its CR).
  std::string Begin();
  // One line from the modem; when the state stays Talking, `send` may name the next command.
  State Answer(std::string_view line, std::string& send);

  State Current() const { return state_; }
  const std::string& Command() const { return command_; }
  const std::wstring& Reason() const { return reason_; }
  const std::string& Identification() const { return identification_; }

 private:
  State Fail(std::wstring reason);
  std::string Next();

  enum class Step { Reset, CallerId, CallerIdFallback, EchoOff, Identify } step_ = Step::Reset;
  State state_ = State::Talking;
  std::string command_;
  std::wstring reason_;
  std::string identification_;
};

}  // namespace opencid
