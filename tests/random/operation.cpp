#include "operation.h"

#include <QRegularExpression>
#include <QStringList>

QString Operation::text() const
{
    int used = int(args.size());
    while (used > 0 && args[size_t(used - 1)] == 0)
        --used;
    QStringList values;
    for (int i = 0; i < used; ++i)
        values << QString::number(args[size_t(i)]);
    return QString::fromLatin1(name) + QLatin1Char('(') + values.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString Operation::text(const QList<Operation> &operations)
{
    QStringList parts;
    for (const Operation &operation : operations)
        parts << operation.text();
    return parts.join(QLatin1Char(' '));
}

bool Operation::parse(const QString &text, QList<Operation> *operations)
{
    static const QRegularExpression one(QStringLiteral("^([a-z]+)\\(((?:\\d+(?:,\\d+){0,3})?)\\)$"));
    operations->clear();
    for (const QString &part : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = one.match(part);
        if (!match.hasMatch())
            return false;
        Operation operation;
        operation.name = match.captured(1).toLatin1();
        const QStringList values = match.captured(2).split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (int i = 0; i < values.size(); ++i)
            operation.args[size_t(i)] = values.at(i).toInt();
        operations->append(operation);
    }
    return true;
}
