#include "built_in_pictures.h"

#include <QString>

namespace qv::media {

QImage LoadBuiltInPicture(std::string_view name) {
    const QString path =
        QStringLiteral(":/pictures/%1.png").arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    QImage img(path);
    if (img.isNull()) return img;
    return img.format() == QImage::Format_RGB32 ? img : img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace qv::media
