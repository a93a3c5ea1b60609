// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tests of both modes print and name their mode ("Painter", "Animator") rather than its bytes.
#include "ui/Mode.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace vork {

inline const char* modeName(Mode m) {
    return m == Mode::Painter ? "Painter" : "Animator";
}

// Found by GoogleTest wherever it prints a Mode: failure messages and parameter values.
inline void PrintTo(Mode m, std::ostream* os) {
    *os << modeName(m);
}

namespace test {
// The name of one instance of a test run in each mode.
inline std::string modeTestName(const ::testing::TestParamInfo<Mode>& info) {
    return modeName(info.param);
}
} // namespace test

} // namespace vork
