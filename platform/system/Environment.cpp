// The environment through the C library.
#include "platform/system/Environment.h"

#include <cstdlib>

std::string EnvironmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? std::string(value) : std::string();
}
