// The test driver reporting its failures through GoogleTest: a step that
// does not come to rest adds a non-fatal failure to the running test.
// Header-only, so that the platform library itself never links GoogleTest.
#pragma once

#include "platform/testing/CTestDriver.h"

#include <gtest/gtest.h>

class CGTestDriver : public CTestDriver {
public:
    CGTestDriver() {
        SetFailureHandler([](const std::string& text) { ADD_FAILURE() << text; });
    }
};
