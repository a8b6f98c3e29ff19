#include "alliance/console/runwitness.h"

#include "alliance/console/desktopnotifier.h"
#include "alliance/console/runoutcome.h"
#include "common/clock.h"
#include "history/historystore.h"

RunWitness::RunWitness(HistoryStore &history, const Clock &clock, DesktopNotifier *notifier, QString worldKey,
                       QStringList commands)
    : m_history(history), m_clock(clock), m_notifier(notifier), m_worldKey(std::move(worldKey))
{
    m_record.startedAt = m_clock.now();
    m_record.commands = std::move(commands);
}

void RunWitness::commandsBegin(const QString &allianceId)
{
    m_allianceId = allianceId;
    m_before = RunNews::readBefore(m_history, allianceId);
}

QString RunWitness::ended(ExitCode code, const QStringList &results, int memberCount,
                          const QStringList &warnings, int idleDays)
{
    m_record.endedAt = m_clock.now();
    m_record.exitCode = exitStatus(code);
    m_record.results = results;
    m_record.memberCount = memberCount;
    m_record.warnings = warnings;
    const Result<> kept = m_history.recordRun(m_record);
    if (!m_notifier)
        return kept.error;
    const RunNews::News news = m_allianceId.isEmpty() ? RunNews::News{}
                                                      : RunNews::readNews(m_history, m_allianceId, m_before,
                                                                          m_record.endedAt.date(), idleDays);
    if (const std::optional<RunOutcome::Notice> notice = RunOutcome::notice(m_worldKey, m_record, news))
        m_notifier->notify(notice->summary, notice->body);
    return kept.error;
}
