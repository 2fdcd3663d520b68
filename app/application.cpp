#include "app/application.h"

#include "app/version.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QIcon>

namespace app {

void setupApplication(QApplication &application)
{
    QApplication::setApplicationName(QStringLiteral("Pomvale"));
    QApplication::setApplicationVersion(QStringLiteral(POMVALE_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(QStringLiteral(POMVALE_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/pomvale.png")));
    platform::initRuntime(application);
}

} // namespace app
