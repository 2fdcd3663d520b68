# SPDX-License-Identifier: GPL-3.0-or-later
# The program's version, stated once for both front-ends, which include this before project():
#   POMVALE_VERSION        0.2.0.0, for project() and the version resources
#   POMVALE_VERSION_TEXT   as the program shows it: the major version, then the minor as two
#                          digits ("0.02")
set(POMVALE_VERSION 0.2.0.0)

string(REPLACE "." ";" version_parts "${POMVALE_VERSION}")
list(GET version_parts 0 version_major)
list(GET version_parts 1 version_minor)
string(LENGTH "${version_minor}" minor_length)
if(minor_length LESS 2)
    set(version_minor "0${version_minor}")
endif()
set(POMVALE_VERSION_TEXT "${version_major}.${version_minor}")
