// The request road's only log: a hook the program or a test may set.
// Request texts pass through RedactPasswords before they reach it and reply
// bodies never do, so no password is ever written.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Sets the hook (null: nothing is logged); any thread.
void SetNetLogHook(std::function<void(const std::string&)> hook);
// Logs a line as it stands.
void NetLogLine(const std::string& line);
// Logs what + the request text with its password values replaced.
void NetLogRequest(std::string_view what, std::string_view requestText);
