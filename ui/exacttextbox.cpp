#include "ui/exacttextbox.h"

#include "ui/crlftext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

QString ExactTextBox::text() const
{
    const QString shown = m_edit.toPlainText();
    return shown == m_shown ? m_text : withCrLf(shown);
}

void ExactTextBox::setText(const QString &text)
{
    m_edit.setPlainText(text);
    m_text = text;
    m_shown = m_edit.toPlainText();
}

void replaceClipboardText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    if (!text.isEmpty())
        clipboard->setText(text);
}
