#include "app_icon.h"

QIcon appIcon()
{
    // Enough for the title bar and task bar at up to twice the scale; the
    // larger renderings serve the desktop's menus from the icon theme, and
    // handing them to the window system would slow every start.
    QIcon icon;
    for (int size : {32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/aminokiselini-%1.png").arg(size), QSize(size, size));
    return icon;
}
