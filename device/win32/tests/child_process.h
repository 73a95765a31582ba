// Runs another program of the test (the device's console tool, the script host) and collects
// what it prints, while this thread keeps serving its windows: the program may be talking to
// a device control that lives on this thread.
#pragma once

#include <string>

namespace test {

struct ChildResult {
  unsigned long exitCode;
  std::string output;  // standard output and error, as the program wrote them
};

// input: what the program reads from its standard input (by default this process's own).
ChildResult RunChild(const std::wstring& commandLine, unsigned long timeoutMs = 30000, const std::string& input = {});

}  // namespace test
