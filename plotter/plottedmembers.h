#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace Plotter {

struct MapPoint
{
    qint64 x = 0;
    qint64 y = 0;
};

// The members read from the roster, in roster order; member i (1-based in
// the lists) is MemberName[i - 1] at MemberPos[i - 1].
struct MemberTable
{
    QStringList MemberName;
    QList<MapPoint> MemberPos;

    qsizetype MemberCount() const { return MemberName.size(); }
    void add(const QString &name, MapPoint position)
    {
        MemberName.append(name);
        MemberPos.append(position);
    }
};

} // namespace Plotter
