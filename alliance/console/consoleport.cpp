#include "alliance/console/consoleport.h"

#include <QRegularExpression>

namespace {

// Texts of the windows end lines with CR LF; a terminal or log wants LF.
QString lines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

} // namespace

ConsolePort::ConsolePort(QTextStream &out, QTextStream &err, bool terminal)
    : m_out(out), m_err(err), m_terminal(terminal)
{
}

void ConsolePort::keepWarning(const QString &text)
{
    if (const QString first = lines(text).section(u'\n', 0, 0); !first.isEmpty())
        m_warnings << first;
}

void ConsolePort::endProgressLine()
{
    if (!m_progressShown)
        return;
    m_out << "\r\x1b[K";
    m_out.flush();
    m_progressShown = false;
}

void ConsolePort::showMessage(const QString &text, const QString &title, Icon icon)
{
    endProgressLine();
    QTextStream &stream = icon == Icon::Information ? m_out : m_err;
    if (icon != Icon::Information)
        keepWarning(text);
    stream << title << ": " << lines(text) << '\n';
    stream.flush();
}

void ConsolePort::showProgress(const QString &text)
{
    if (m_terminal) {
        if (text.isEmpty()) {
            endProgressLine();
            return;
        }
        m_out << '\r' << text << "\x1b[K";
        m_out.flush();
        m_progressShown = true;
        return;
    }
    // "名簿作成 12/31": the tenth members and the last one. Waits and other
    // passing texts are left out of a log.
    static const QRegularExpression memberStep(QStringLiteral(" (\\d+)/(\\d+)$"));
    const QRegularExpressionMatch step = memberStep.match(text);
    if (!step.hasMatch())
        return;
    const int done = step.captured(1).toInt();
    // A slow page ends by showing the same step again: logged once.
    if ((done % kLogEvery == 0 || done == step.captured(2).toInt()) && text != m_lastLogged) {
        m_lastLogged = text;
        printLine(text);
    }
}

void ConsolePort::showWaiting(const QString &step, qint64 seconds)
{
    if (m_terminal) {
        ToolPort::showWaiting(step, seconds);
        return;
    }
    // "名簿作成 4/12: 120秒待っています", once each minute the page is late.
    const qint64 minute = seconds / kLogWaitEverySeconds;
    if (minute == 0) {
        m_lastWaitLogged = 0;
        return;
    }
    if (minute == m_lastWaitLogged)
        return;
    m_lastWaitLogged = minute;
    printLine(QStringLiteral("%1: %2秒待っています").arg(step).arg(minute * kLogWaitEverySeconds));
}

void ConsolePort::showStatus(const QString &text)
{
    if (text.isEmpty() || text == m_lastStatus)
        return;
    printError(text);
    m_lastStatus = text;
}

void ConsolePort::printLine(const QString &line)
{
    endProgressLine();
    m_lastStatus.clear();
    m_out << lines(line) << '\n';
    m_out.flush();
}

void ConsolePort::printError(const QString &line)
{
    endProgressLine();
    keepWarning(line);
    m_err << lines(line) << '\n';
    m_err.flush();
}
