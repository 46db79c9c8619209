// Maps from anyone, through the real Load Map and Save As: the corpus lives in
// hostile/ beside this file and cases.txt says how each one is set up.
#include "editorfixture.h"
#include "testfiles.h"

#include "layers/layercontroller.h"
#include "format/mapformat.h"
#include "app/dialogs.h"
#include "model/sector.h"
#include "view/mapview.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString corpus = QStringLiteral(TESSEL_TEST_DATA "/mapfile/hostile/");

// The corpus keeps large inputs small: @zeros:N@, @rows:N@ and @fill:WxH@.
QByteArray expanded(QByteArray text)
{
    const QRegularExpression token(QStringLiteral("@(zeros|rows|fill):(\\d+)(?:x(\\d+))?@"));
    QRegularExpressionMatch match;
    while ((match = token.match(QString::fromLatin1(text))).hasMatch()) {
        const int n = match.captured(2).toInt();
        QByteArray piece;
        if (match.captured(1) == QLatin1String("zeros"))
            piece = QByteArray("0,").repeated(n);
        else if (match.captured(1) == QLatin1String("rows"))
            piece = QByteArray("0,\n").repeated(n);
        else
            piece = (QByteArray("5,").repeated(n) + '\n').repeated(match.captured(3).toInt());
        text.replace(match.capturedStart(), match.capturedLength(), piece);
    }
    return text;
}

bool setUp(const QString &root, const QString &step)
{
    const QStringList words = step.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString path = root + QLatin1Char('/') + words.value(1);
    QFile::remove(path);
    if (words.value(0) == QLatin1String("fifo"))
        return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (words.value(0) == QLatin1String("link"))
        return QFile::link(words.value(2), path) || symlink(words.value(2).toUtf8().constData(),
                                                            QFile::encodeName(path).constData()) == 0;
    if (words.value(0) == QLatin1String("mkdir"))
        return QDir().mkpath(path);
    if (words.value(0) == QLatin1String("sparse")) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.resize(words.value(2).toLongLong());
    }
    return false;
}

// Every entry under root except the new map and its copy folder, links and
// pipes not followed, with what identifies its content.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(root).relativeFilePath(it.next());
        const QFileInfo info = it.fileInfo();
        const bool copyFolder = relative == QLatin1String("maps/out") && info.isDir() && !info.isSymLink();
        if (copyFolder || relative == QLatin1String("maps/out.map") || relative.startsWith(QLatin1String("maps/out/")))
            continue;
        QByteArray identity;
        if (info.isSymLink())
            identity = "link " + info.symLinkTarget().toUtf8();
        else if (info.isFile() && info.size() < (1 << 20))
            identity = QCryptographicHash::hash(readFile(info.filePath()), QCryptographicHash::Sha1).toHex();
        else
            identity = QByteArray::number(info.size()) + (info.isDir() ? " dir" : " other");
        entries.insert(relative, identity);
    }
    return entries;
}

// "layer x y subtype texture" for every filled cell.
QStringList cellsOf(const LayerTable &table)
{
    QStringList cells;
    for (const auto &entry : table) {
        for (const Sector *s : entry.sectors)
            cells << QStringLiteral("%1 %2 %3 %4 %5").arg(QString::fromUtf8(entry.name)).arg(s->data->mapX)
                         .arg(s->data->mapY).arg(QString::fromUtf8(s->data->subtype), QString::fromUtf8(s->data->texture.fileName));
    }
    cells.sort();
    return cells;
}

QStringList cellsOf(const MapFormat::Parsed &parsed)
{
    QStringList cells;
    for (const MapFormat::Grid &grid : parsed.grids) {
        for (int row = 0; row < grid.rows.size(); ++row) {
            for (int column = 0; column < grid.rows.at(row).size(); ++column) {
                const QByteArray value = grid.rows.at(row).at(column);
                if (value == "0")
                    continue;
                const MapDefinition d = parsed.definitions.value(value);
                // A copy whose name was taken in the copy folder has a layer's name added.
                QString copy = QFileInfo(QString::fromUtf8(d.attributes)).fileName();
                for (const MapFormat::Grid &layer : parsed.grids)
                    copy.replace(QLatin1Char('-') + QString::fromUtf8(layer.name) + '.', QStringLiteral("."));
                cells << QStringLiteral("%1 %2 %3 %4 %5").arg(QString::fromUtf8(grid.name)).arg(column).arg(row)
                             .arg(QString::fromUtf8(d.subtype), copy);
            }
        }
    }
    cells.sort();
    return cells;
}

} // namespace

class TestHostileMaps : public QObject
{
    Q_OBJECT

private slots:
    void loadAndSaveStaySafe_data();
    void loadAndSaveStaySafe();
};

void TestHostileMaps::loadAndSaveStaySafe_data()
{
    QTest::addColumn<QString>("mapFile");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expected");
    const QStringList lines = QString::fromUtf8(readFile(corpus + QStringLiteral("cases.txt"))).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList columns = line.split(QLatin1Char('|'));
        QCOMPARE(columns.size(), 4);
        QStringList steps = columns.at(2).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &step : steps)
            step = step.trimmed();
        steps.removeAll(QString());
        QTest::newRow(qPrintable(columns.at(0).trimmed())) << columns.at(1).trimmed() << steps << columns.at(3).trimmed();
    }
}

void TestHostileMaps::loadAndSaveStaySafe()
{
    QFETCH(QString, mapFile);
    QFETCH(QStringList, steps);
    QFETCH(QString, expected);
    EditorFixture editor;
    const QString root = editor.path(QStringLiteral("case"));
    const QByteArray secret("the secret, which must never be copied\n");
    QVERIFY(QDir().mkpath(root + QStringLiteral("/maps/level")) && QDir().mkpath(root + QStringLiteral("/elsewhere")));
    QFile secretFile(root + QStringLiteral("/secret.txt"));
    QVERIFY(secretFile.open(QIODevice::WriteOnly) && secretFile.write(secret) == secret.size());
    secretFile.close();
    EditorFixture::writeImage(root + QStringLiteral("/maps/level/good.png"), Qt::green);
    QFile map(root + QStringLiteral("/maps/level.map"));
    QVERIFY(map.open(QIODevice::WriteOnly));
    map.write(expanded(readFile(corpus + mapFile)));
    map.close();
    for (const QString &step : steps)
        QVERIFY2(setUp(root, step), qPrintable(step));
    const QMap<QString, QByteArray> before = snapshot(root);
    const QFileInfo linkInCopies(root + QStringLiteral("/maps/out/good.png"));
    const QString linkTarget = linkInCopies.isSymLink() ? linkInCopies.symLinkTarget() : QString();

    QStringList warnings;
    Dialogs::warning = [&warnings](const QString &title, const QString &text) { warnings << title + ": " + text; };
    Dialogs::openChooser = [&root](const QString &, const QString &) { return root + QStringLiteral("/maps/level.map"); };
    Dialogs::saveChooser = [&root](const QString &, const QString &) { return root + QStringLiteral("/maps/out.map"); };
    editor.clickButton("btnLoadMap");
    editor.view->saveMapAs();
    Dialogs::restoreDefaults();

    const QString said = warnings.join(QLatin1Char('\n'));
    if (expected == QLatin1String("-"))
        QVERIFY2(warnings.isEmpty(), qPrintable(said));
    else
        QVERIFY2(said.contains(expected), qPrintable(said));
    const QMap<QString, QByteArray> after = snapshot(root);
    for (auto it = after.constBegin(); it != after.constEnd(); ++it)
        QVERIFY2(before.value(it.key()) == it.value(), qPrintable(it.key() + QStringLiteral(" was made or changed")));
    QCOMPARE(after.size(), before.size());
    const QByteArray osRelease = readFile(QStringLiteral("/etc/os-release"));
    QDirIterator copies(root + QStringLiteral("/maps/out"), QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    while (copies.hasNext()) {
        const QFileInfo copy(copies.next());
        // A link the folder held stays as it was: the copy takes another name.
        if (copy.isSymLink() && copy.filePath() == linkInCopies.filePath() && copy.symLinkTarget() == linkTarget)
            continue;
        QVERIFY2(copy.isFile() && !copy.isSymLink(), qPrintable(copy.filePath()));
        const QByteArray bytes = readFile(copy.filePath());
        QVERIFY2(bytes != secret && bytes != osRelease, qPrintable(copy.filePath()));
    }
    const MapFormat::Parsed written = MapFormat::parse(readFile(root + QStringLiteral("/maps/out.map")), "maps");
    QVERIFY(written.sawDefinitions);
    QVERIFY(written.droppedSections.isEmpty());
    for (const MapFormat::Grid &grid : written.grids)
        QVERIFY(MapFormat::isWritable(grid.name));
    QCOMPARE(cellsOf(written), cellsOf(editor.layers->layerTable()));
}

QTEST_MAIN(TestHostileMaps)
#include "tst_hostilemaps.moc"
