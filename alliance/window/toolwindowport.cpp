// The tool window as the commands' port: what a command does to the window
// (Text1, message boxes, the caption's progress, List1), and its browser
// controls turned off while a command drives the browser.
#include "alliance/window/toolwindow.h"
#include "ui/exacttextbox.h"
#include "ui/messagebox.h"

#include <QAction>
#include <QListWidget>

void OVEKMark::setBrowserCommandsEnabled(bool enabled)
{
    for (QWidget *widget : std::as_const(m_browserControls))
        widget->setEnabled(enabled);
    for (QAction *action : std::as_const(m_browserActions))
        action->setEnabled(enabled);
}

QString OVEKMark::outputText() const
{
    return m_output->text();
}

void OVEKMark::setOutputText(const QString &text)
{
    m_output->setText(text);
}

void OVEKMark::showMessage(const QString &text, const QString &title, Icon icon)
{
    MessageBox::show(this, title, text,
                     icon == Icon::Information ? MessageBox::Icon::Information
                     : icon == Icon::Warning   ? MessageBox::Icon::Warning
                                               : MessageBox::Icon::Critical);
}

void OVEKMark::showProgress(const QString &text)
{
    // The caption carries the progress: Text1 keeps only the report itself.
    setWindowTitle(text.isEmpty() ? m_caption : m_caption + QStringLiteral(" - ") + text);
}

void OVEKMark::setListItems(const QStringList &items)
{
    auto *list = qobject_cast<QListWidget *>(m_controls.value(QStringLiteral("List1")));
    list->clear();
    list->addItems(items);
}
