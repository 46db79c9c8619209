#include "commandline.h"

#include <QCoreApplication>

#include <cstdio>

namespace CommandLine {

bool parse(QCommandLineParser &parser, const QStringList &arguments, Status *status)
{
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOption(help);
    if (!parser.parse(arguments)) {
        complain(parser.errorText() + QStringLiteral(" (see --help)"));
        *status = Unusable;
        return false;
    }
    if (parser.isSet(help)) {
        // Name the command, not the path of the program.
        QString text = parser.helpText();
        const QString usage = QStringLiteral("Usage: ");
        text.replace(0, usage.size() + QCoreApplication::arguments().value(0).size(), usage + arguments.value(0));
        print(text);
        *status = Passed;
        return false;
    }
    return true;
}

void print(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
}

QString printable(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QChar(0xFFFD);
    }
    return text;
}

void complain(const QString &text)
{
    std::fprintf(stderr, "tessel-map: error: %s\n", text.toUtf8().constData());
}

} // namespace CommandLine
