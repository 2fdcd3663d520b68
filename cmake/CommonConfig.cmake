# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings, Qt's safety macros and the optional sanitizers, on one target that every target links.
# Warnings stop the build only in the presets (CMAKE_COMPILE_WARNING_AS_ERROR): a distribution
# building with a newer compiler must not fail on a warning that compiler adds.
add_library(pomvale_common INTERFACE)

target_compile_options(pomvale_common INTERFACE -Wall -Wextra -pedantic)
target_compile_definitions(pomvale_common INTERFACE
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER)

# The program's own code spells out every text's encoding; tests may use plain literals.
add_library(pomvale_strict_strings INTERFACE)
target_compile_definitions(pomvale_strict_strings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_CAST_FROM_BYTEARRAY)

if(POMVALE_SANITIZE)
    target_compile_options(pomvale_common INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(pomvale_common INTERFACE -fsanitize=address,undefined)
endif()
