#include "plotter/messageport.h"

#include <QMessageBox>

namespace {

void showBox(QMessageBox::Icon icon, const QString &title, const QString &text, QWidget *parent)
{
    // The label breaks lines at LF; a CR would show as a stray mark.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, title, shown, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

void MessageBoxPort::information(const QString &title, const QString &text)
{
    showBox(QMessageBox::Information, title, text, m_parent);
}

void MessageBoxPort::warning(const QString &title, const QString &text)
{
    showBox(QMessageBox::Warning, title, text, m_parent);
}
