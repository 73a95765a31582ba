// What a client sends the relay: lines that are not commands. The keep-alive request is
// answered; every other line is passed over, so no client can inject a call or a message. A
// line longer than kMaxClientLineBytes (or bytes that never end one) costs the client its
// connection, never the relay's memory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace relay {

inline constexpr std::size_t kMaxClientLineBytes = 1024;

class ClientInput {
 public:
  struct Outcome {
    std::vector<std::string> answers;  // lines to send back, without line ends
    bool drop = false;
  };

  Outcome Feed(std::string_view bytes);

 private:
  std::string pending_;
};

}  // namespace relay
