// The wall clock of the core, behind one seam so that tests (and later the
// platform layer, which owns the program's single clock) can replace it.
#pragma once

#include <cstdint>

// A clock: UTC seconds since 1970-01-01.
using UnixTimeSource = int64_t (*)();

// The current UTC time in seconds since 1970-01-01, from the installed source.
int64_t GetUnixTime();

// Installs a clock; null restores the system clock. Returns the previous
// source (null when it was the system clock). Not thread-safe: install at
// start-up or in a test.
UnixTimeSource SetUnixTimeSource(UnixTimeSource source);
