#pragma once

#include <QString>

class QPlainTextEdit;

// An output box that gives back exactly the text set into it, CR LF and
// all, as long as nobody has edited it since; what was typed by hand comes
// back with CR LF lines, as every data file and the Windows programs the
// text is pasted into have them.
class ExactTextBox
{
public:
    explicit ExactTextBox(QPlainTextEdit &edit) : m_edit(edit) {}

    QString text() const;
    void setText(const QString &text);

private:
    QPlainTextEdit &m_edit;
    QString m_text;
    QString m_shown;
};

// Replaces what the clipboard holds with text (emptied first, so an empty
// text leaves it empty).
void replaceClipboardText(const QString &text);
