#include "ui/skin.h"

#include <QImageReader>

#include "logic/resource_ids.h"

QImage ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    // Told the format, the reader still probes every image plugin it has, loading each.
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

bool LoadPngResource(unsigned nResourceId, std::unique_ptr<QImage>& slot, qreal dpr) {
    auto image = std::make_unique<QImage>();
    const QString path = ResourcePath("png", nResourceId);
    if (dpr > 1.0 && !(*image = ReadPng(path + QStringLiteral("@2x"))).isNull()) {
        image->setDevicePixelRatio(2.0);
    } else if ((*image = ReadPng(path)).isNull()) {
        return false;
    }
    image->convertTo(QImage::Format_ARGB32_Premultiplied);
    slot = std::move(image);
    return true;
}
