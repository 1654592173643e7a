#include "playback/app/ResourceImage.h"

#include <QString>

QImage LoadBitmapResource(const std::string& program_folder, int resource_id) {
    const QString path = QString::fromStdString(program_folder) +
                         QStringLiteral("/res/bitmap%1.bmp").arg(resource_id);
    return QImage(path, "BMP");
}
