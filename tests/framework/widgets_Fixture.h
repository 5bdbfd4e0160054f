// The fixture of the widget tests: the form of the control tests
// (support/FormTest.h) on the light background the lists sit on, the driver
// that taps and types on it, and helpers to place a widget on the form.
#pragma once

#include "platform/testing/CDriverControls.h"
#include "support/FormTest.h"

#include <functional>
#include <memory>
#include <vector>

class WidgetTest : public FormTest {
protected:
    WidgetTest() : FormTest(0xFFFFFF) {}
};
