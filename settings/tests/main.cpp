// SPDX-License-Identifier: GPL-3.0-or-later
// The settings library's tests: plain C++ against a fake seam and the platform's code page, run
// by ctest and, cross-built, under Wine.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
