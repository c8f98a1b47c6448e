#include "LayoutUnits.h"

#include <QStringList>

#include <cmath>

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

QFont layoutFont(const QString &face, double points, bool bold, bool italic)
{
    QFont font;
    QStringList families{face};
    if (face == QLatin1String("Times New Roman"))
        families << QStringLiteral("Liberation Serif") << QStringLiteral("DejaVu Serif");
    else
        families << QStringLiteral("Arial") << QStringLiteral("Liberation Sans")
                 << QStringLiteral("DejaVu Sans");
    font.setFamilies(families);
    font.setPixelSize(int(std::lround(points * 96.0 / 72.0)));
    if (face == QLatin1String("Arial Black"))
        font.setWeight(QFont::Black);
    else
        font.setBold(bold);
    font.setItalic(italic);
    return font;
}
