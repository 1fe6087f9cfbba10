#include "app_icon.h"

QIcon appIcon()
{
    QIcon icon;
    for (int size : {32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/aminokiselini-%1.png").arg(size), QSize(size, size));
    return icon;
}
