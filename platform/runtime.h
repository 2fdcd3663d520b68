// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace platform {

// Whether Qt can reach the display it will use: with no platform named (QT_QPA_PLATFORM or a
// -platform argument), an X server or a Wayland compositor; with xcb or wayland named, that one;
// any other platform (offscreen, vnc...) is Qt's to judge. Without one, Qt would abort.
bool displayReachable(int argc, char **argv);

// Tells the user on the terminal, in one line, that no display was reachable: in Japanese under a
// Japanese locale, in English otherwise.
void reportNoDisplay();

// Sets the environment that Qt reads when the application object is made; call before making it.
void setQtEnvironment();

// The program's Japanese user interface: the runtime's own texts (dialog buttons) in Japanese, and
// the program's font faces mapped to installed ones.
void useJapaneseUserInterface(QApplication &app);

} // namespace platform
