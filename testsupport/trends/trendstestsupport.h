#pragma once

#include "history/historystore.h"
#include "trends/trendsfileport.h"
#include "trends/trendswindow.h"

#include <QApplication>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace TrendsTest {

// A spreadsheet's reading of CSV text: quoted fields with doubled quotes,
// rows ended by CR LF (a line break inside quotes belongs to the field).
inline QList<QStringList> readCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.isEmpty() && row.isEmpty()) << "last row without CR LF";
    return rows;
}

inline MemberReading member(const QString &userId, const QString &name, std::optional<qint64> points,
                            std::optional<qint64> population = {}, std::optional<qint64> merit = {})
{
    MemberReading reading;
    reading.userId = userId;
    reading.name = name;
    reading.points = points;
    reading.population = population;
    reading.merit = merit;
    return reading;
}

inline Snapshot snapshot(const QDate &day, const QString &command, QList<MemberReading> members,
                         const QString &allianceId = QStringLiteral("7"))
{
    for (qsizetype i = 0; i < members.size(); ++i)
        members[i].position = static_cast<int>(i + 1);
    return Snapshot{0, QDateTime(day, QTime(9, 0)), command, allianceId, members};
}

inline void record(HistoryStore &store, const Snapshot &snapshot)
{
    const Result<qint64> recorded = store.recordSnapshot(snapshot);
    ASSERT_TRUE(recorded.ok) << recorded.error.toStdString();
}

// Answers every save dialog with one path and keeps what the user was told.
class FakeFilePort : public TrendsFilePort
{
public:
    QString saveFileName(const QString &, const QString &suggestedPath, const QString &) override
    {
        suggested << suggestedPath;
        return answer;
    }
    void tell(const QString &text, const QString &) override { told << text; }

    QString answer;
    QStringList suggested;
    QStringList told;
};

// A history in a folder of its own, which SetUp fills, and the trends
// window over it, shown as of a day.
class TrendsWindowFixture : public ::testing::Test
{
protected:
    std::unique_ptr<TrendsWindow> openOn(const QDate &today)
    {
        auto window = std::make_unique<TrendsWindow>(m_dir.path(), QStringLiteral("7"), today, &m_port);
        window->show();
        QApplication::processEvents();
        return window;
    }

    QTemporaryDir m_dir;
    FakeFilePort m_port;
};

} // namespace TrendsTest
