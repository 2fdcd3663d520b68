// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace app {

// Answers --help and --version on the terminal and ends the program, as desktop programs do,
// before any display is needed; does nothing for any other command line.
void answerHelpOrVersion(int argc, char **argv);

// Gives the application its name, version, desktop identity and icon, and its Japanese user
// interface; the one start-up step after the application object is made.
void setupApplication(QApplication &application);

// Ends the program with a message when the command line holds an option that neither Qt nor the
// program knows (the program takes none but --help and --version).
void refuseUnknownOptions(const QApplication &application);

} // namespace app
