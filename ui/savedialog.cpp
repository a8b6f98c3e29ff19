#include "ui/savedialog.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace {

// The file list's columns as QFileSystemModel has them.
enum Column { Name = 0, Size = 1, Type = 2, Modified = 3 };

class JapaneseFileList : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == Modified)
            return QLocale(QLocale::Japanese, QLocale::Japan)
                .toString(files->lastModified(source), QStringLiteral("yyyy/MM/dd HH:mm"));
        if (index.column() == Type && files->isDir(source))
            return QStringLiteral("フォルダ");
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

namespace SaveDialog {

std::unique_ptr<QFileDialog> make(QWidget *parent, const QString &caption, const QString &suggestedPath,
                                  const QString &filter, const QString &defaultSuffix)
{
    auto dialog = std::make_unique<QFileDialog>(parent, caption, suggestedPath, filter);
    // The desktop's own dialog would speak the desktop's language.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (!defaultSuffix.isEmpty())
        dialog->setDefaultSuffix(defaultSuffix);
    dialog->setProxyModel(new JapaneseFileList(dialog.get()));
    dialog->selectFile(suggestedPath);
    return dialog;
}

QString ask(QWidget *parent, const QString &caption, const QString &suggestedPath, const QString &filter,
            const QString &defaultSuffix)
{
    const std::unique_ptr<QFileDialog> dialog = make(parent, caption, suggestedPath, filter, defaultSuffix);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();
    return dialog->selectedFiles().constFirst();
}

} // namespace SaveDialog
