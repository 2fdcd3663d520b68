// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Resource identifiers shared by pomvale.rc and the windows.
#define IDB_OPENFILE 101
#define IDB_PLAY 102
