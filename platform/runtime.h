// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace platform {

// Sets the environment that Qt reads when the application object is made; call before making it.
void setQtEnvironment();

// The program's Japanese user interface: the runtime's own texts (dialog buttons) in Japanese, and
// the program's font faces mapped to installed ones.
void useJapaneseUserInterface(QApplication &app);

} // namespace platform
