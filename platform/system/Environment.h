// The process's environment, asked here so that nothing above platform/
// reads it from the operating system itself.
#pragma once

#include <string>

// The value of the environment variable name; empty when it is not set.
std::string EnvironmentValue(const std::string& name);
