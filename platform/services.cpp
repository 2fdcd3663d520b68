// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services.h"

#include "platform/bootclock.h"

#include "platform/sound/pulsesoundplayer.h"
#include "platform/widgets/qtfiledialog.h"
#include "platform/widgets/qtmessagebox.h"

#include <memory>

namespace platform {

namespace {

// One service: the test's replacement while one is set, else the real one, made when first asked for.
template<class Service, class Real> class ServiceSlot
{
public:
    Service &get()
    {
        if (m_replacement)
            return *m_replacement;
        if (!m_real)
            m_real = std::make_unique<Real>();
        return *m_real;
    }

    void replace(Service *replacement) { m_replacement = replacement; }

private:
    Service *m_replacement = nullptr;
    std::unique_ptr<Real> m_real;
};

ServiceSlot<MessageBox, QtMessageBox> messageBoxSlot;
ServiceSlot<FileDialog, QtFileDialog> fileDialogSlot;
ServiceSlot<SoundPlayer, PulseSoundPlayer> soundPlayerSlot;
ServiceSlot<ElapsedClock, BootClock> elapsedClockSlot;

} // namespace

MessageBox &messageBox()
{
    return messageBoxSlot.get();
}

FileDialog &fileDialog()
{
    return fileDialogSlot.get();
}

SoundPlayer &soundPlayer()
{
    return soundPlayerSlot.get();
}

ElapsedClock &elapsedClock()
{
    return elapsedClockSlot.get();
}

void setMessageBox(MessageBox *replacement)
{
    messageBoxSlot.replace(replacement);
}

void setFileDialog(FileDialog *replacement)
{
    fileDialogSlot.replace(replacement);
}

void setSoundPlayer(SoundPlayer *replacement)
{
    soundPlayerSlot.replace(replacement);
}

void setElapsedClock(ElapsedClock *replacement)
{
    elapsedClockSlot.replace(replacement);
}

} // namespace platform
