# SPDX-License-Identifier: GPL-3.0-or-later
# The program's logic that knows no toolkit: the countdown, the options window's decisions and the
# text and number helpers they share. Both front-ends build it: the Qt program here, and the Win32
# program (win32/), which includes this file from its own project.
set(POMVALE_LOGIC_SOURCES
    options/optionsform.cpp options/optionsform.h options/optionswindow.h
    platform/textnumber.cpp platform/textnumber.h
    settings/soundswitch.h
    timer/countdown.cpp timer/countdown.h timer/countdownwindow.h)
list(TRANSFORM POMVALE_LOGIC_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/../")

add_library(pomvale_logic STATIC ${POMVALE_LOGIC_SOURCES})
cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH pomvale_logic_root)
target_include_directories(pomvale_logic PUBLIC "${pomvale_logic_root}")
target_compile_features(pomvale_logic PUBLIC cxx_std_20)
