#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file's bytes; empty when it cannot be read (a test compares them).
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
