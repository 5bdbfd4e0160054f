// The operating system's name and release, which the program reports to the
// server as the phone reported its system version.
#pragma once

#include <string>

// "<system name> <release>", e.g. "Linux 6.1.0-18-amd64"; "Linux" when the
// system does not say.
std::string SystemVersion();
