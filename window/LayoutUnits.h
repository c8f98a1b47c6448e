#pragma once

#include <QFont>
#include <QRect>
#include <QString>

// Places are given in twips; 15 twips are one pixel at 96 dots per inch.
constexpr int twips(int t)
{
    return t / 15;
}
QRect twipsRect(int left, int top, int width, int height);

// A font of the given face and size in points, sized in pixels as at 96 dots per inch so that
// text fits the places it was laid out for on any screen. Faces missing on this system fall
// back to the metric-compatible ones (Liberation Sans for Arial, Liberation Serif for Times
// New Roman).
QFont layoutFont(const QString &face, double points, bool bold = false, bool italic = false);
