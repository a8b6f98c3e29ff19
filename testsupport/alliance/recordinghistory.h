#pragma once

#include "alliance/walk/historyrecorder.h"

#include <QList>
#include <ostream>

// Readable readings in failures.
inline void PrintTo(const MemberReading &r, std::ostream *out)
{
    auto number = [](const auto &value) { return value ? std::to_string(*value) : std::string("-"); };
    *out << r.position << ' ' << r.userId.toStdString() << ' ' << r.name.toStdString() << " (" << number(r.x)
         << ',' << number(r.y) << ") points " << number(r.points) << " population " << number(r.population)
         << " merit " << number(r.merit) << " role " << (r.role ? r.role->toStdString() : std::string("-"))
         << " fiefs " << number(r.fiefCount);
}

// A history that keeps the snapshots it is handed, or refuses them with the
// reason a test sets.
class RecordingHistory : public HistoryRecorder
{
public:
    QString record(const Snapshot &snapshot) override
    {
        ++calls;
        if (refusal.isEmpty())
            snapshots.append(snapshot);
        return refusal;
    }

    QList<Snapshot> snapshots;
    QString refusal;
    int calls = 0;
};
