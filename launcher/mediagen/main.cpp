// mediagen menu <folder>                 pictures and sounds of the launcher
// mediagen video <file.wmv> <ffmpeg>     the intro video, encoded by ffmpeg
#include "introvideo.h"
#include "launchermedia.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Text drawing needs the font database, hence a GUI application.
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);

    if (args.size() == 3 && args.at(1) == QLatin1String("menu")) {
        QDir folder(args.at(2));
        if (!folder.mkpath(QStringLiteral("."))) {
            err << "mediagen: cannot create " << args.at(2) << '\n';
            return 1;
        }
        QString failed;
        if (!LauncherMedia::writeMenuMedia(folder, &failed)) {
            err << "mediagen: cannot write " << failed << '\n';
            return 1;
        }
        return 0;
    }
    if (args.size() == 4 && args.at(1) == QLatin1String("video")) {
        QString error;
        if (!IntroVideo::encode(args.at(3), args.at(2), &error)) {
            err << "mediagen: " << error << '\n';
            return 1;
        }
        return 0;
    }
    err << "usage: mediagen menu <folder> | mediagen video <file.wmv> <ffmpeg>\n";
    return 2;
}
