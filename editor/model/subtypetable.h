#pragma once

#include <QByteArray>
#include <QList>

// The fixed subtype names of every layer; the first one is what a new sector gets.
class SubtypeTable
{
public:
    SubtypeTable();
    QList<QByteArray> subtypesOf(const QByteArray &layer) const;

private:
    QList<QPair<QByteArray, QList<QByteArray>>> table;
};

QList<QByteArray> subtypesOf(const QByteArray &layer);
