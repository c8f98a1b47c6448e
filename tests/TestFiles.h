#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// Whole-file bytes for tests that check what the program wrote, byte for byte.
inline QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A temporary folder's path as the records layer takes a data folder: ending in '/'.
inline QString dirOf(const QTemporaryDir &d)
{
    return d.path() + QLatin1Char('/');
}
