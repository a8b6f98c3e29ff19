#include "alliance/rostercommand.h"

#include "alliance/pacer.h"
#include "alliance/rosterformat.h"
#include "alliance/toolport.h"
#include "common/datafile.h"
#include "common/readfailure.h"
#include "common/textsearch.h"
#include "site/browserslot.h"
#include "site/membertable.h"
#include "site/navigator.h"
#include "site/session.h"

RosterCommand::RosterCommand(Session &session, Navigator &navigator, BrowserSlot &browsers, Pacer &pacer,
                             ToolPort &port)
    : m_session(session), m_navigator(navigator), m_browsers(browsers), m_pacer(pacer), m_port(port)
{
}

void RosterCommand::run()
{
    m_session.allianceId = TextSearch::removeAll(m_session.allianceId, QStringLiteral("/"));
    m_port.setOutputText(QString());
    m_leftOut.clear();

    QString roster;
    {
        HourglassScope hourglass(m_port);
        try {
            roster = walk();
        } catch (const std::exception &) {
            // A page that could not be read ends the walk; the previous
            // roster stays the one on disk and Text1 stays empty.
            return;
        }
    }
    m_port.setOutputText(roster);
    writeRoster(roster);

    if (!m_leftOut.isEmpty()) {
        m_port.showMessage(
            QStringLiteral("次の同盟員は本拠地の座標を読めなかったため、名簿に入っていません。\r\n"
                           "時間をおいて、もう一度「同盟名簿作成」を実行してください。\r\n\r\n") +
                m_leftOut.join(QStringLiteral("\r\n")),
            QStringLiteral("注意"), ToolPort::Icon::Warning);
    }
}

QString RosterCommand::walk()
{
    m_navigator.waitForPage(m_session.world.worldBaseUrl + QStringLiteral("/alliance/info.php?id=") +
                            m_session.allianceId);
    MemberTable table;
    QString collected;
    try {
        ReadMemberTable(m_browsers.current().document(), table, &collected);
    } catch (...) {
        m_port.setClipboardText(collected); // the markup that was read, as the reader leaves it
        throw;
    }
    m_port.setClipboardText(collected);

    const QStringList names = splitMemberLines(table.names);
    const QStringList ids = splitMemberLines(table.ids);
    QStringList lines;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const QString name = i < names.size() ? names.at(i) : QString();
        m_port.showProgress(QStringLiteral("名簿作成 %1/%2").arg(i + 1).arg(ids.size()));
        if (const std::optional<QString> coordinates = readHomeCastle(ids.at(i), name))
            lines.append(rosterLine(name, *coordinates));
    }
    return rosterText(lines);
}

std::optional<QString> RosterCommand::readHomeCastle(const QString &userId, const QString &name)
{
    const QString profile = m_session.world.worldBaseUrl + QStringLiteral("/user/?user_id=") + userId;
    for (int attempt = 0; attempt < kAttemptsPerMember; ++attempt) {
        m_pacer.pause();
        m_navigator.waitForPage(profile);
        const std::optional<QString> coordinates = homeCastleCoordinates(m_browsers.current().document());
        if (coordinates)
            return coordinates;
    }
    // The page keeps coming without its home castle: rather than loop for
    // ever, leave this member out and tell the user at the end.
    m_leftOut.append(name);
    return std::nullopt;
}

void RosterCommand::writeRoster(const QString &roster)
{
    const QString path = m_session.appDir + rosterFileName(m_session.allianceId);
    const DataFile::Result written = DataFile::writeText(path, roster);
    if (!written) {
        m_port.showMessage(
            QStringLiteral("同盟員名簿を保存できませんでした。前回の名簿はそのまま残っています。\r\n") +
                written.error,
            QStringLiteral("注意"), ToolPort::Icon::Warning);
    }
}
