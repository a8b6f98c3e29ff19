#pragma once

#include "trends/trendsdata.h"

#include <QtCharts/QChartView>

class QLineSeries;

// One value over time: a line with a marker at every reading, dates along
// the bottom.
class TrendChart : public QChartView
{
    Q_OBJECT
public:
    explicit TrendChart(QWidget *parent = nullptr);

    void setPoints(const QString &title, const QList<Trends::TimePoint> &points);
    QLineSeries *series() const { return m_series; }
    // The chart as shown, as PNG bytes.
    QByteArray pngBytes();

private:
    QLineSeries *m_series = nullptr;
};
