// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Progress of a long operation, for a progress dialog or a line on a terminal.
#include <functional>

namespace vork {

// Called with the steps done so far and the whole count. Operations that can stop without
// leaving anything half done stop when it returns false; the others ignore the answer. An empty
// function is never called.
using Progress = std::function<bool(int done, int total)>;

// Reports a step; false when the caller asked to stop.
inline bool reportProgress(const Progress& progress, int done, int total) {
    return !progress || progress(done, total);
}

} // namespace vork
