#pragma once

#include "common/datafile.h"

#include <QString>

class QWidget;

// Saving the drawn map as a picture file, so the leader can share it
// without a screen capture and a paint program.
namespace Plotter {

// Where to save: behind a port so tests give a path instead of a dialog.
class SavePathPort
{
public:
    virtual ~SavePathPort() = default;
    // The path the user chose, or empty text when the user cancelled.
    virtual QString chooseImagePath(QWidget *parent, const QString &suggested) = 0;
};

class FileDialogSavePath : public SavePathPort
{
public:
    QString chooseImagePath(QWidget *parent, const QString &suggested) override;
};

// "OVEKMAP_DATA_2581.txt" gives "OVEKMAP_DATA_2581.png".
QString defaultImageName(const QString &rosterName);

// The widget exactly as it is drawn (its children included; a message box is
// a window of its own and never part of it), written as PNG in one piece:
// on failure nothing of it is left at path.
DataFile::Result saveWidgetImage(QWidget &widget, const QString &path);

} // namespace Plotter
