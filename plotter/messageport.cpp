#include "plotter/messageport.h"

#include "ui/messagebox.h"

namespace {

void showBox(MessageBox::Icon icon, const QString &title, const QString &text, QWidget *parent)
{
    // The label breaks lines at LF; a CR would show as a stray mark.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    MessageBox::show(parent, title, shown, icon, MessageBox::Buttons::Ok, MessageBox::Layer::Ordinary);
}

} // namespace

void MessageBoxPort::information(const QString &title, const QString &text)
{
    showBox(MessageBox::Icon::Information, title, text, m_parent);
}

void MessageBoxPort::warning(const QString &title, const QString &text)
{
    showBox(MessageBox::Icon::Warning, title, text, m_parent);
}
