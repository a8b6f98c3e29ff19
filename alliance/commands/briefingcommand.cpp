#include "alliance/commands/briefingcommand.h"

#include "alliance/walk/toolport.h"
#include "common/clock.h"
#include "history/briefing.h"
#include "history/historystore.h"
#include "site/session.h"

void BriefingCommand::run()
{
    const QString allianceId = m_context.session.cleanAllianceId();
    const QDate today = m_clock.now().date();
    const Briefing::Thresholds thresholds = Briefing::readThresholds(m_context.session.appDir);
    HistoryStore history(m_context.session.appDir);
    Result<Briefing::Inputs> inputs = history.briefingInputs(allianceId, today, thresholds.circulars);
    inputs.value.leaderName = m_context.session.ownLord.lordName;
    if (!inputs) {
        m_context.port.warn(inputs.error);
        return;
    }
    if (inputs.value.members.isEmpty()) {
        m_context.port.notify(
            QStringLiteral("同盟の記録がまだありません。同盟名簿作成か同盟員活動履歴を実行してから、"
                           "もう一度実行してください。"));
        return;
    }
    // Text1 holds the text without its last line end, which the file of a
    // run from the command line adds back: the file is then byte for byte
    // the text 「文面をコピー」 gives.
    QString text = Briefing::text(Briefing::rows(inputs.value, thresholds), today);
    text.chop(2);
    m_context.port.setOutputText(text);
}
