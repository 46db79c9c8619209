#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// One user action of a random run: an entry of the driver's table by name, and
// its arguments, each within that entry's range. The text form,
// "paint(1,3,4) save() load()", is what a failure prints and a replay reads;
// arguments left out are 0.
struct Operation
{
    QByteArray name;
    std::array<int, 4> args{};

    QString text() const;
    static QString text(const QList<Operation> &operations);
    // False when the text is not a list of such operations.
    static bool parse(const QString &text, QList<Operation> *operations);
};
