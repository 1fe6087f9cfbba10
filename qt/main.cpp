#include "main_form.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("aminokiselini"));
    QApplication::setDesktopFileName(QStringLiteral("aminokiselini"));

    // The lesson box lays out its empty text as it is built, in the
    // application's default font whatever the form's, and in the desktop's
    // face that would read a second font file at every start. So the form's
    // face is lent as the default while the form is built. Only the default:
    // QApplication::setFont would also drop the desktop's fonts for menus.
    const QFont desktopFont = QGuiApplication::font();
    QGuiApplication::setFont(MainForm::formFont());
    MainForm form;
    QGuiApplication::setFont(desktopFont);
    // The form's own icon, decoded once, is the application's as well.
    QApplication::setWindowIcon(form.windowIcon());

    form.show();
    return app.exec();
}
