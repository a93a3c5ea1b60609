// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Offering back, at start, the documents an earlier run left unsaved (see commands/Autosave.h).
#include "ui/Editor.h"

#include <iostream>

namespace vork {

// Reads every copy that ended sessions left in the recovery folder. One that cannot be read is
// kept aside under a dated name, and the user is told. When any can be restored, asks once:
// Yes opens the most recent copy of each mode into its mode as an opened file would be, marked
// as changed since its last save (the copy becomes this run's own), and keeps any older ones
// aside; No keeps every copy aside under a dated name. Nothing is asked when there is nothing
// to restore. What was kept aside is also said on `err`.
void offerRestore(Editor& e, std::ostream& err = std::cerr);

// The labels of the dated names copies are kept under: "<copy>.<label>-2026-12-08".
inline constexpr const char* declinedLabel = "declined";
inline constexpr const char* olderLabel = "older";
inline constexpr const char* unreadableCopyLabel = "unreadable";

} // namespace vork
