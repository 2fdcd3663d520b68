// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the program's windows to PNG files without a display, for the README and for review:
//   pomvale-screenshot WINDOW FILE.png   (WINDOW: main, options-clear, options-ticked)
// Run it with QT_QPA_PLATFORM=offscreen; QT_SCALE_FACTOR=2 renders at twice the density.
#include "app/application.h"
#include "options/frmoption.h"
#include "platform/widgets/whenmodal.h"
#include "settings/modpomvale.h"
#include "timer/frmmain.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>

#include <functional>
#include <map>

namespace {

QPixmap renderMain()
{
    frmMain window;
    window.show();
    QApplication::processEvents();
    return window.grab();
}

// The options window as it opens over the main window, with the sound switched off or on.
QPixmap renderOptions(bool soundOn)
{
    frmMain window;
    window.show();
    modPomvale::SoundEnable = QString(soundOn ? QStringLiteral("1") : QStringLiteral("0")).toStdU16String();
    modPomvale::SoundPath = QString(QStringLiteral("/usr/share/sounds/alarm.wav")).toStdU16String();
    frmOption options(&window);
    QPixmap shot;
    whenModal<frmOption>(&options, [&shot](frmOption *shown) {
        QApplication::processEvents();
        shot = shown->grab();
        shown->reject();
    });
    options.showModal();
    return shot;
}

const std::map<QString, std::function<QPixmap()>> &renderers()
{
    static const std::map<QString, std::function<QPixmap()>> all {
        {QStringLiteral("main"), renderMain},
        {QStringLiteral("options-clear"), [] { return renderOptions(false); }},
        {QStringLiteral("options-ticked"), [] { return renderOptions(true); }},
    };
    return all;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    app::setupApplication(application);

    const QStringList arguments = QApplication::arguments();
    const auto renderer = arguments.size() == 3 ? renderers().find(arguments.at(1)) : renderers().end();
    if (renderer == renderers().end()) {
        QStringList names;
        for (const auto &[name, render] : renderers())
            names << name;
        QTextStream(stderr) << "usage: pomvale-screenshot " << names.join(QLatin1Char('|')) << " FILE.png\n";
        return 2;
    }
    if (!renderer->second().save(arguments.at(2), "PNG")) {
        QTextStream(stderr) << "cannot write " << arguments.at(2) << '\n';
        return 1;
    }
    return 0;
}
