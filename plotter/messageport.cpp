#include "plotter/messageport.h"

#include <QMessageBox>

void MessageBoxPort::information(const QString &title, const QString &text)
{
    // The label breaks lines at LF; a CR would show as a stray mark.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::Information, title, shown, QMessageBox::Ok, m_parent);
    box.exec();
}
