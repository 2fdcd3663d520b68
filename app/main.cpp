#include "app/application.h"
#include "timer/frmmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    app::setupApplication(application);

    frmMain window;
    window.show();
    return QApplication::exec();
}
