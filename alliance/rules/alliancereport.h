#pragma once

#include "site/profilereaders.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <optional>

// A star step typed by the user: the number at the start of the text,
// rounded to the nearest integer. Only 1 to 32767 make a bar: a step of 0
// would divide by zero, a negative one would make no bar at all.
std::optional<qint64> readStarStep(const QString &typed);

// What the user typed for a report, checked before any page is loaded.
struct ReportRequest
{
    QString allianceId; // ASCII digits only, as it goes into the address
    qint64 populationStep = 0;
    qint64 meritStep = 0;
    QString refusal; // for the user when the typed texts cannot make a report
};
ReportRequest reportRequest(const QString &allianceIdText, const QString &populationStepText,
                            const QString &meritStepText);

// The alliance report 「同盟データ取得」, collected member by member in
// member-table order and then written as the text the leader posts.
class AllianceReport
{
public:
    // A bar never holds more stars than this; a smaller step than the values
    // allow would otherwise build a report too large to show. Far above what
    // the default steps give a large alliance's total.
    static constexpr qsizetype kMaxStars = 100000;

    AllianceReport(qint64 populationStep, qint64 meritStep);

    // One member whose profile was read.
    void addMember(const QString &name, const LordProfile &profile);
    // One member whose profile could not be read; tableRole: what the member
    // table's last column says of the member (may be empty or no role).
    void addUnreadMember(const QString &name, const QString &tableRole);
    // The fief count column of one member of the member table.
    void addFiefCount(const QString &fiefCount);

    struct Texts
    {
        QString today;              // the short date of the day
        QString populationStepText; // both steps as typed
        QString meritStepText;
        qsizetype memberCount = 0; // members in the member table
    };
    QString text(const Texts &texts) const;

    qsizetype membersRead() const { return m_membersRead; }
    // Whether any bar was cut at kMaxStars, and what the user is told then.
    bool barsCut() const { return m_barsCut; }
    static QString barsCutMessage();

private:
    QString leadersLine() const;
    QString barLine(qint64 value, qint64 step, const QString &shown, const QString &name);

    qint64 m_populationStep;
    qint64 m_meritStep;
    qsizetype m_membersRead = 0;
    qint64 m_totalPopulation = 0;
    qint64 m_totalMerit = 0;
    QString m_populationBars;
    QString m_meritBars;
    QString m_leaderLine;
    QString m_subLeader1Line;
    QString m_subLeader2Line;
    QStringList m_unreadNames;
    QStringList m_unreadRoles;
    qint64 m_northEast = 0;
    qint64 m_southEast = 0;
    qint64 m_northWest = 0;
    qint64 m_southWest = 0;
    std::array<qint64, 8> m_fiefCounts{}; // index 1 to 7
    QString m_allianceName;
    QString m_allianceSize;
    bool m_barsCut = false;
};
