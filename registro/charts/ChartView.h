#pragma once

#include "ChartData.h"

#include <QFrame>

namespace registro {

// Shows one chart in the widget's font and palette. Assistive technology reads it as a
// chart named by its title; the values go into the accessible description, which the
// owner sets whenever it sets the chart.
class ChartView : public QFrame
{
    Q_OBJECT

public:
    explicit ChartView(QWidget *parent = nullptr);

    const ChartData &chart() const { return m_chart; }
    void setChart(const ChartData &chart);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ChartData m_chart;
};

} // namespace registro
