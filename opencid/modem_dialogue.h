// Bringing a caller-ID modem up: reset (ATZ), then the set-up that no stored profile can spoil
// (ATS0=0E1V1Q0: never answer a call, echo and verbose result codes on, quiet off), caller-ID
// reporting on (AT+VCID=1, or AT#CID=1 where the chipset answers ERROR to the first), the
// user's extra initialisation when there is one, then its identification (ATI, every line up
// to OK). Echoed commands, rings and blank lines are passed over. Until the set-up is done the
// modem may answer in digits (0 for OK, 4 for ERROR) or, quiet, not at all. The dialogue fails
// with a reason when the modem refuses a step it cannot do without.
#pragma once

#include <string>
#include <string_view>

namespace opencid {

class ModemDialogue {
 public:
  enum class State { Talking, Ready, Failed };

  // The first command to send (without its CR); `extra`: the user's initialisation, if any.
  std::string Begin(std::string extra = {});
  // One line from the modem; when the state stays Talking, `send` may name the next command.
  State Answer(std::string_view line, std::string& send);
  // The modem said nothing to the last command for as long as it may take.
  State Silent(std::string& send);

  State Current() const { return state_; }
  const std::string& Command() const { return command_; }
  const std::wstring& Reason() const { return reason_; }
  const std::string& Identification() const { return identification_; }

 private:
  enum class Step { Reset, SetUp, CallerId, CallerIdFallback, Extra, Identify };

  State Fail(std::wstring reason);
  State Send(Step step, std::string& send);
  State Ok(std::string& send);
  State Error(std::string& send);

  Step step_ = Step::Reset;
  State state_ = State::Talking;
  std::string extra_;
  std::string command_;
  std::wstring reason_;
  std::string identification_;
};

}  // namespace opencid
