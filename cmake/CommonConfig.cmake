# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings and the optional sanitizers on one target, pomvale_common, that every target of both
# front-ends links; each front-end adds its own toolkit's definitions to it.
# Warnings stop the build only in the presets (CMAKE_COMPILE_WARNING_AS_ERROR): a distribution
# building with a newer compiler must not fail on a warning that compiler adds.
add_library(pomvale_common INTERFACE)
target_compile_options(pomvale_common INTERFACE -Wall -Wextra -pedantic)
target_compile_features(pomvale_common INTERFACE cxx_std_20)

option(POMVALE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(POMVALE_SANITIZE)
    target_compile_options(pomvale_common INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(pomvale_common INTERFACE -fsanitize=address,undefined)
endif()
