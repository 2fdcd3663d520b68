// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "platform/fontwarmup.h"
#include "platform/runtime.h"
#include "timer/frmmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::setQtEnvironment();
    platform::FontWarmUp fonts; // overlaps with Qt's own start-up
    QApplication application(argc, argv);
    app::setupApplication(application);
    fonts.wait();

    frmMain window;
    window.show();
    return QApplication::exec();
}
