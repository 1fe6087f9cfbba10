#include "app_icon.h"
#include "main_form.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("aminokiselini"));
    QApplication::setDesktopFileName(QStringLiteral("aminokiselini"));
    QApplication::setWindowIcon(appIcon());

    MainForm form;
    form.show();
    return app.exec();
}
