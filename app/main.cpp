// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "platform/fontwarmup.h"
#include "platform/runtime.h"
#include "timer/frmmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    app::answerHelpOrVersion(argc, argv);
    // Without a display Qt would abort with a message of its own: say it in one line and fail.
    if (!platform::displayReachable(argc, argv)) {
        platform::reportNoDisplay();
        return 1;
    }
    platform::setQtEnvironment();
    platform::FontWarmUp fonts; // overlaps with Qt's own start-up
    QApplication application(argc, argv);
    app::refuseUnknownOptions(application);
    app::setupApplication(application);
    fonts.wait();

    frmMain window;
    window.show();
    return QApplication::exec();
}
