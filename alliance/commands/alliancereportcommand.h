#pragma once

#include "alliance/walk/commandcontext.h"

#include <QString>

class Clock;

// 「同盟データ取得」: visits every member's profile of the alliance whose id
// the user typed (not the own alliance) and shows the alliance report in
// Text1; the member names fill List1. Nothing is written to disk.
class AllianceReportCommand
{
public:
    // The command as the user knows it: caption, progress, history.
    static inline const QString kLabel = QStringLiteral("同盟データ取得");

    // The texts of 「同盟ID」 (Text2) and of the two star steps
    // 「区切 人口」 (Text3(0)) and 「戦功」 (Text3(1)), as typed.
    AllianceReportCommand(CommandContext &context, const Clock &clock, QString allianceIdText,
                          QString populationStepText, QString meritStepText);

    void run();

    // The id of the alliance whose report the run showed, as it went into
    // the address (digits only); empty when no report was shown.
    const QString &reportedAllianceId() const { return m_reportedAllianceId; }
    // The members of the report's alliance; -1 when no report was made.
    qsizetype memberCount() const { return m_memberCount; }

private:
    CommandContext &m_context;
    const Clock &m_clock;
    QString m_allianceIdText;
    QString m_populationStepText;
    QString m_meritStepText;
    QString m_reportedAllianceId;
    qsizetype m_memberCount = -1;
};
