#pragma once

#include "alliance/walk/commandcontext.h"

#include <QString>
#include <optional>

class Clock;

// 「一括調査」: one walk over the own alliance's member profiles that makes
// what 「同盟名簿作成」, 「同盟データ取得」 of the own alliance and
// 「出城リスト作成」 make, each by its own rules, reading every profile page
// once instead of three times. Text1 shows the three under heading lines;
// the roster file is replaced as the roster command replaces it; one
// history snapshot holds every reading.
class SurveyCommand
{
public:
    static inline const QString kLabel = QStringLiteral("一括調査");
    // The star steps as typed in 「区切 人口」 and 「戦功」.
    SurveyCommand(CommandContext &context, const Clock &clock, QString populationStepText,
                  QString meritStepText)
        : m_context(context), m_clock(clock), m_populationStepText(std::move(populationStepText)),
          m_meritStepText(std::move(meritStepText))
    {
    }

    void run();

    qsizetype memberCount() const { return m_memberCount; }
    const QString &savedFile() const { return m_savedFile; }
    const QString &saveFailure() const { return m_saveFailure; }
    // The report's alliance (the own one), once a report was made.
    const QString &reportedAllianceId() const { return m_reportedAllianceId; }

private:
    CommandContext &m_context;
    const Clock &m_clock;
    QString m_populationStepText;
    QString m_meritStepText;
    qsizetype m_memberCount = -1;
    QString m_savedFile;
    QString m_saveFailure;
    QString m_reportedAllianceId;
};
