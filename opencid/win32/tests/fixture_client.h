// The test's side of the fixture server (ncid_fixture.py), which started this test: its ports
// from the environment, and its command port.
#pragma once

#include <string>

namespace opencid::test {

unsigned FixturePort(const char* variable);  // OPENCID_NCID_PORT, OPENCID_CONTROL_PORT
// Sends one command ("call POTS 0532...", "stop", "start") and waits for "ok".
bool Fixture(const std::string& command);

}  // namespace opencid::test
