#include "ChartAccessible.h"

#include "ChartView.h"

namespace registro {

ChartAccessible::ChartAccessible(ChartView *view) : QAccessibleWidget(view, QAccessible::Chart) {}

QString ChartAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return static_cast<const ChartView *>(widget())->chart().title;
    return QAccessibleWidget::text(t);
}

QAccessibleInterface *ChartAccessible::create(const QString &className, QObject *object)
{
    auto *view = qobject_cast<ChartView *>(object);
    if (!view || className != QLatin1String(ChartView::staticMetaObject.className()))
        return nullptr;
    return new ChartAccessible(view);
}

} // namespace registro
