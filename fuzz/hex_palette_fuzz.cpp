// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the reader of one palette form of another tool (ForeignPaletteFuzz.h).
#include "ForeignPaletteFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vork::fuzz::checkForeignPalette(vork::ForeignPalette::Hex, data, size);
    return 0;
}
