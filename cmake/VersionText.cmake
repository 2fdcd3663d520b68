# SPDX-License-Identifier: GPL-3.0-or-later
# The version as the program shows it, in POMVALE_VERSION_TEXT: the project's major version, then
# its minor as two digits ("0.02"). Both front-ends include this after project().
string(LENGTH "${PROJECT_VERSION_MINOR}" minor_length)
if(minor_length LESS 2)
    set(POMVALE_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
    set(POMVALE_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
