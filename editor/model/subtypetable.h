#pragma once

#include <QByteArray>
#include <QList>

// The order in which the editor walks its layers (combo box, display, file sections).
const QList<QByteArray> &layerOrder();
// The order in which the texture folders are scanned and numbered.
const QList<QByteArray> &galleryScanOrder();

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
