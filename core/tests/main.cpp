// SPDX-License-Identifier: GPL-3.0-or-later
// The core's tests: plain C++ against fake windows, run by ctest and, cross-built, under Wine.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
