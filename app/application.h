// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace app {

// Gives the application its name, version, desktop identity and icon, and its Japanese user
// interface; the one start-up step after the application object is made.
void setupApplication(QApplication &application);

} // namespace app
