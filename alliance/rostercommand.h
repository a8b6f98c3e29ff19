#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class BrowserSlot;
class Navigator;
class Pacer;
class ToolPort;
struct Session;

// 「同盟名簿作成」: reads the own alliance's member table, visits every
// member's profile for the home castle's coordinates, shows the roster in
// Text1 and replaces the roster file. Any failure on the way ends it quietly
// with Text1 empty and the previous roster file as it was.
class RosterCommand
{
public:
    // A profile that never shows its home castle is asked for this many times
    // before the member is left out (the walk goes on; the user is told who).
    static constexpr int kAttemptsPerMember = 5;

    RosterCommand(Session &session, Navigator &navigator, BrowserSlot &browsers, Pacer &pacer,
                  ToolPort &port);

    void run();

    // Members left out of the last run because their home castle never showed.
    const QStringList &leftOut() const { return m_leftOut; }

private:
    QString walk();
    std::optional<QString> readHomeCastle(const QString &userId, const QString &name);
    void writeRoster(const QString &roster);

    Session &m_session;
    Navigator &m_navigator;
    BrowserSlot &m_browsers;
    Pacer &m_pacer;
    ToolPort &m_port;
    QStringList m_leftOut;
};
