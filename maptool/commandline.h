#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// What every command of the tool shares: parsing its arguments, reporting
// misuse, and the exit statuses.
namespace CommandLine {

enum Status { Passed = 0, Failed = 1, Unusable = 2 };

// Parses arguments (the command name first). On misuse prints the reason and
// returns false with *status Unusable; on --help prints the help and returns
// false with *status Passed.
bool parse(QCommandLineParser &parser, const QStringList &arguments, Status *status);

void print(const QString &text);
// Text from a map file with its control characters made visible, so that it
// cannot steer the terminal.
QString printable(QString text);
// "tessel-map: error: ..." on standard error.
void complain(const QString &text);

} // namespace CommandLine
