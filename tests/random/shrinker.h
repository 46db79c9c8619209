#pragma once

#include "operation.h"

#include <QList>
#include <QString>

// Replays lists of operations in child processes of this test program, each on
// a fresh window (a broken map or a sanitizer report ends only the child), and
// looks for a shorter list that still breaks the same invariant.
class Shrinker
{
public:
    struct Outcome
    {
        bool failed = false;
        QString invariant; // "crash" when the child ended without a report
        int step = -1;     // where the report was made, when it says
        QString report;
    };

    static Outcome replay(const QList<Operation> &operations);

    // Delta debugging over the list with at most `budget` replays. The list
    // that comes back fails like `failure`, and `last` says how.
    static QList<Operation> shrink(QList<Operation> operations, const Outcome &failure, int budget, int *replays,
                                   Outcome *last);
};
