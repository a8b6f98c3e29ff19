#pragma once

#include <QString>
#include <memory>

class QFileDialog;
class QWidget;

// The one "save as" dialog of both programs. It is Qt's own dialog, whose
// words come from Qt's Japanese translation, with its file list shown in
// Japanese too: the modification dates and 「フォルダ」 are written here,
// since the desktop's locale (which Qt uses for them) also decides the date
// format of the data files and cannot be changed for the dialog alone.
namespace SaveDialog {

// The dialog, set up but not shown: caption, the suggested path, the filter
// ("CSV (*.csv)"), and the ending a name typed without one gets.
std::unique_ptr<QFileDialog> make(QWidget *parent, const QString &caption, const QString &suggestedPath,
                                  const QString &filter, const QString &defaultSuffix = QString());

// Shows it; the chosen path, or empty when the user cancelled.
QString ask(QWidget *parent, const QString &caption, const QString &suggestedPath, const QString &filter,
            const QString &defaultSuffix = QString());

} // namespace SaveDialog
