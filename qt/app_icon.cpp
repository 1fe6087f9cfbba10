#include "app_icon.h"

#include <QFile>
#include <QImage>
#include <QPixmap>

#include <png.h>

namespace {

// Read with libpng, which Qt uses for PNG anyway. Through QIcon::addFile or
// QImageReader, Qt would scan the icon-engine plugins and then load every
// image-format plugin installed, each with its own libraries, only to ask
// whether it reads PNG: a cold disk read per library at every start.
QImage readPng(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data.constData(), size_t(data.size())))
        return {};
    png.format = PNG_FORMAT_RGBA;
    QImage image(int(png.width), int(png.height), QImage::Format_RGBA8888);
    if (image.isNull()) {
        png_image_free(&png);
        return {};
    }
    if (!png_image_finish_read(&png, nullptr, image.bits(), png_int_32(image.bytesPerLine()),
                               nullptr))
        return {};
    return image;
}

} // namespace

QIcon appIcon()
{
    // Enough for the title bar and task bar at up to twice the scale; the
    // larger renderings serve the desktop's menus from the icon theme, and
    // handing them to the window system would slow every start.
    QIcon icon;
    for (int size : {32, 48, 64}) {
        const QImage image = readPng(QStringLiteral(":/icons/aminokiselini-%1.png").arg(size));
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
