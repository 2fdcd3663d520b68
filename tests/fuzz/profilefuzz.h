// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// Runs one input through the profile parser and writer and checks what must hold for any input:
// a stored value reads back as itself and no other key changes. False on a violation.
//
// The first byte picks the section and key names (from a small set that includes case variants
// and Japanese names) and how many of the following bytes, up to 15, form the value as UTF-8;
// the rest of the input is the file.
bool checkProfileInput(const uint8_t *data, size_t size);
