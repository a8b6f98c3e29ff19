#include "plotter/mapimage.h"

#include "ui/savedialog.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace Plotter {

QString FileDialogSavePath::chooseImagePath(QWidget *parent, const QString &suggested)
{
    // A name typed without an ending still gets ".png", so the file opens
    // in a picture viewer.
    return SaveDialog::ask(parent, QStringLiteral("画像として保存"), suggested,
                           QStringLiteral("PNG 画像 (*.png)"), QStringLiteral("png"));
}

QString defaultImageName(const QString &rosterName)
{
    // The picture sits next to its roster in AppDir under the roster's own
    // name, so each alliance's map keeps its own file; only the last ending
    // is replaced, and a start without a roster still suggests a name.
    const QString base = QFileInfo(rosterName).completeBaseName();
    return (base.isEmpty() ? QStringLiteral("OVEKMAP") : base) + QStringLiteral(".png");
}

DataFile::Result saveWidgetImage(QWidget &widget, const QString &path)
{
    // Opaque, as on the screen: no transparent corners in a viewer.
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        return {false, QStringLiteral("地図の画像を作れませんでした。")};
    return DataFile::writeBytes(path, png);
}

} // namespace Plotter
