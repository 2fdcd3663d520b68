// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class ElapsedClock;

namespace platform {

class FileDialog;
class MessageBox;
class SoundPlayer;

// The platform services that tests replace with fakes. Each accessor yields the
// replacement while one is set, and the real service otherwise (made on first use).
MessageBox &messageBox();
FileDialog &fileDialog();
SoundPlayer &soundPlayer();
// The countdown's clock: the system's clock since boot (BootClock).
ElapsedClock &elapsedClock();

// Sets a replacement, not owned; nullptr brings the real service back.
void setMessageBox(MessageBox *replacement);
void setFileDialog(FileDialog *replacement);
void setSoundPlayer(SoundPlayer *replacement);
void setElapsedClock(ElapsedClock *replacement);

} // namespace platform
