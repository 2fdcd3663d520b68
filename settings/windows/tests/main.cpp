// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows seam's tests: real files through Windows' own file functions, run under Wine.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
