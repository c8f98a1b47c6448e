#pragma once

#include <QAccessibleWidget>

namespace registro {

class ChartView;

// A ChartView as assistive technology sees it: a chart named by its title, unless the
// widget was given an accessible name, and described by its accessible description.
class ChartAccessible : public QAccessibleWidget
{
public:
    explicit ChartAccessible(ChartView *view);

    QString text(QAccessible::Text t) const override;

    // For QAccessible::installFactory().
    static QAccessibleInterface *create(const QString &className, QObject *object);
};

} // namespace registro
