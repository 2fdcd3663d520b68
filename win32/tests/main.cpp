// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows helpers' tests: real windows of this process, driven by direct calls, under Wine.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
