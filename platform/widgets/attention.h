// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace platform {

// Flags a top-level window on the desktop, as a taskbar button that flashes, until withdrawn:
// on X11 the urgency hint and _NET_WM_STATE_DEMANDS_ATTENTION, elsewhere what Qt's alert offers.
void demandAttention(QWidget *window);
void withdrawAttention(QWidget *window);

// Whether one of the program's windows has the keyboard focus, that is, the user works in it.
bool programIsActive();

} // namespace platform
