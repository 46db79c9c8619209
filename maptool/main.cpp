// tessel-map: checks, describes and draws map files from the command line,
// with the editor's own reader, for build pipelines and reviews.
#include "checkcommand.h"
#include "commandline.h"
#include "infocommand.h"
#include "rendercommand.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const char usage[] =
    "usage: tessel-map COMMAND [OPTIONS] ...\n"
    "\n"
    "  check LEVEL.map...           can the player finish each level? (--json, --werror,\n"
    "                               --verbose)\n"
    "  info LEVEL.map               extent, cells, subtypes, lights and textures of a map\n"
    "  render LEVEL.map -o FILE.png a picture of the map (--cell N, --layers Floor,Wall,...)\n"
    "\n"
    "tessel-map COMMAND --help describes a command.\n";

} // namespace

int main(int argc, char *argv[])
{
    // Images are drawn into memory only: no display and no platform plugin needed.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessel-map"));
    const QStringList arguments = app.arguments();
    const QString command = arguments.value(1);
    // The command's own parser sees "tessel-map COMMAND" as the program name.
    QStringList rest = arguments.mid(2);
    rest.prepend(QStringLiteral("tessel-map ") + command);

    if (command == QLatin1String("check"))
        return CheckCommand().run(rest);
    if (command == QLatin1String("info"))
        return InfoCommand().run(rest);
    if (command == QLatin1String("render"))
        return RenderCommand().run(rest);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        CommandLine::print(QString::fromUtf8(usage));
        return CommandLine::Passed;
    }
    if (command.isEmpty())
        CommandLine::complain(QStringLiteral("no command given"));
    else
        CommandLine::complain(QStringLiteral("unknown command \"%1\"").arg(command));
    std::fputs(usage, stderr);
    return CommandLine::Unusable;
}
