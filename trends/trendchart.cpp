#include "trends/trendchart.h"

#include <QBuffer>
#include <QPixmap>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

TrendChart::TrendChart(QWidget *parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->hide();
    setMinimumHeight(160);
}

void TrendChart::setPoints(const QString &title, const QList<Trends::TimePoint> &points)
{
    QChart *c = chart();
    c->removeAllSeries();
    const QList<QAbstractAxis *> axes = c->axes();
    for (QAbstractAxis *axis : axes) {
        c->removeAxis(axis);
        delete axis;
    }
    m_series = new QLineSeries(c);
    m_series->setPointsVisible(true);
    QList<QPointF> xy;
    xy.reserve(points.size());
    for (const Trends::TimePoint &point : points)
        xy << QPointF(static_cast<qreal>(point.at.toMSecsSinceEpoch()), static_cast<qreal>(point.value));
    m_series->replace(xy);
    c->addSeries(m_series);
    c->setTitle(points.isEmpty() ? title + QStringLiteral("（記録がありません）") : title);

    auto *dates = new QDateTimeAxis(c);
    dates->setFormat(QStringLiteral("yyyy/MM/dd"));
    auto *values = new QValueAxis(c);
    values->setLabelFormat(QStringLiteral("%.0f"));
    if (!points.isEmpty()) {
        // A single day or a flat line still gets an axis of some width.
        const auto [low, high] = std::minmax_element(
            points.cbegin(), points.cend(), [](const auto &a, const auto &b) { return a.value < b.value; });
        const Trends::ValueAxis axis = Trends::valueAxis(low->value, high->value);
        values->setRange(static_cast<qreal>(axis.min), static_cast<qreal>(axis.max));
        values->setTickCount(axis.tickCount);
        QDateTime first = points.first().at;
        QDateTime last = points.last().at;
        if (first.secsTo(last) < 3600) {
            first = first.addDays(-1);
            last = last.addDays(1);
        }
        dates->setRange(first, last);
        dates->setTickCount(std::clamp<int>(static_cast<int>(points.size()), 2, 6));
    } else {
        // Nothing read yet: the axes stay but say nothing (no dates of 1970).
        dates->setLabelsVisible(false);
        values->setLabelsVisible(false);
    }
    c->addAxis(dates, Qt::AlignBottom);
    c->addAxis(values, Qt::AlignLeft);
    m_series->attachAxis(dates);
    m_series->attachAxis(values);
}

QByteArray TrendChart::pngBytes()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    grab().save(&buffer, "PNG");
    return bytes;
}
