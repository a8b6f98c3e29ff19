#pragma once

#include <QString>
#include <QStringList>

// What a command of the tool window may do to the window, so commands can be
// run against a recording port in tests.
class ToolPort
{
public:
    enum class Icon { Information, Warning, Critical };

    virtual ~ToolPort() = default;

    virtual QString outputText() const = 0; // Text1
    virtual void setOutputText(const QString &text) = 0;
    virtual void showMessage(const QString &text, const QString &title, Icon icon) = 0;
    // The commands' message boxes all stand under 「注意」: a warning, or a
    // notice of how a run went.
    void warn(const QString &text) { showMessage(text, QStringLiteral("注意"), Icon::Warning); }
    void notify(const QString &text) { showMessage(text, QStringLiteral("注意"), Icon::Information); }
    // The hourglass of a long walk; every begin is matched by an end.
    virtual void beginHourglass() = 0;
    virtual void endHourglass() = 0;
    // Progress of a walk ("名簿作成 3/30"); an empty text takes it away.
    virtual void showProgress(const QString &text) = 0;
    // A page keeps the step ("名簿作成 4/12") waiting: the window counts the
    // seconds in its caption.
    virtual void showWaiting(const QString &step, qint64 seconds)
    {
        showProgress(QStringLiteral("%1（ページを待っています %2秒）").arg(step).arg(seconds));
    }
    // How a command ended when it is no message box: stopped, or done with
    // the history not written. The window keeps it in the caption.
    virtual void showStatus(const QString &text) { showProgress(text); }
    virtual void setClipboardText(const QString &text) = 0;
    // The items of List1 (the alliance report fills it), replacing the old.
    virtual void setListItems(const QStringList &items) = 0;
};

// Holds the hourglass for one scope, so no path out of a command leaves it on.
class HourglassScope
{
public:
    explicit HourglassScope(ToolPort &port) : m_port(port) { m_port.beginHourglass(); }
    ~HourglassScope()
    {
        m_port.showProgress(QString());
        m_port.endHourglass();
    }
    HourglassScope(const HourglassScope &) = delete;
    HourglassScope &operator=(const HourglassScope &) = delete;

private:
    ToolPort &m_port;
};
