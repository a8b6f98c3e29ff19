#pragma once

#include "alliance/walk/toolport.h"

#include <QTextStream>

// The port of a run from the command line: nobody is at the screen, so
// nothing waits for an answer. Warnings and how a command ended go to
// standard error, notices to standard output; the progress of a walk is one
// line rewritten in place on a terminal, and a line every tenth member in a
// log, where a rewritten line would be noise; a page that keeps a walk
// waiting is logged once a minute, so a journal shows why a run is long.
class ConsolePort : public ToolPort
{
public:
    static constexpr int kLogEvery = 10;
    static constexpr qint64 kLogWaitEverySeconds = 60;

    ConsolePort(QTextStream &out, QTextStream &err, bool terminal);

    QString outputText() const override { return m_text; }
    void setOutputText(const QString &text) override { m_text = text; }
    void showMessage(const QString &text, const QString &title, Icon icon) override;
    void beginHourglass() override {}
    void endHourglass() override {}
    void showProgress(const QString &text) override;
    void showWaiting(const QString &step, qint64 seconds) override;
    // A status said again with nothing in between (the runner repeats a
    // history failure for the window's caption) is printed once.
    void showStatus(const QString &text) override;
    // No clipboard and no list to fill without the window.
    void setClipboardText(const QString &) override {}
    void setListItems(const QStringList &) override {}

    // A line of the run's own (a command's result), after the progress.
    void printLine(const QString &line);
    void printError(const QString &line);
    // The first line of each warning printed, for the run's record.
    const QStringList &warnings() const { return m_warnings; }

private:
    void endProgressLine();
    void keepWarning(const QString &text);

    QTextStream &m_out;
    QTextStream &m_err;
    bool m_terminal;
    bool m_progressShown = false;
    QString m_text;
    QString m_lastLogged;
    // A command's status is printed once, however often the command and
    // the runner tell it; the command's result line starts the next.
    QString m_lastStatus;
    qint64 m_lastWaitLogged = 0;
    QStringList m_warnings;
};
