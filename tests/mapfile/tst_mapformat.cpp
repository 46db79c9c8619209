#include "format/mapformat.h"

#include <QTest>

#include <algorithm>

using Cell = MapFormat::Cell;
using Layer = MapFormat::Layer;
Q_DECLARE_METATYPE(QList<MapFormat::Layer>)

namespace {

const QList<QByteArray> editorLayers{"Ceil", "Wall", "Floor", "Door", "Actor", "Sprite", "Item", "Lightmap"};

Cell cell(int x, int y, int id, const QByteArray &subtype, const QByteArray &file = "brick.png")
{
    return Cell{x, y, id, subtype, file, "textures/Wall/", SectorLighting()};
}

Cell light(int x, int y, int id, int emission, double blink = 0.5, bool random = false)
{
    Cell c{x, y, id, "Static", "lamp.png", "assets/", SectorLighting()};
    c.lighting.emission = emission;
    c.lighting.blinkDelay = blink;
    c.lighting.randomIntensity = random;
    return c;
}

QList<Layer> layers(QList<Layer> filled)
{
    QList<Layer> all;
    for (const QByteArray &name : editorLayers) {
        auto it = std::find_if(filled.begin(), filled.end(), [&](const Layer &l) { return l.name == name; });
        all.append(it == filled.end() ? Layer{name, {}} : *it);
    }
    return all;
}

// The lines of a file as the writer ends them.
QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray text;
    for (const QByteArray &line : lines)
        text += line + "\r\n";
    return text;
}

// "Layer:row;row" per grid, then the sorted definitions, for compact expectations.
QByteArray describe(const MapFormat::Parsed &parsed)
{
    QList<QByteArray> parts;
    for (const MapFormat::Grid &grid : parsed.grids) {
        QList<QByteArray> rows;
        for (const QList<QByteArray> &row : grid.rows)
            rows.append(QByteArrayList(row).join(' '));
        parts.append(grid.name + ':' + QByteArrayList(rows).join(';'));
    }
    QList<QByteArray> keys = parsed.definitions.keys();
    std::sort(keys.begin(), keys.end());
    for (const QByteArray &key : keys) {
        const MapDefinition d = parsed.definitions.value(key);
        const SectorLighting &l = d.lighting;
        parts.append(key + '=' + QByteArray::number(d.id) + ',' + d.layer + ',' + d.subtype + ','
                     + d.texturePath + ',' + QByteArray::number(l.emission) + ','
                     + QByteArray::number(l.emissionMin) + ',' + QByteArray::number(l.emissionMax) + ','
                     + QByteArray::number(l.randomIntensity) + ',' + MapFormat::formatBlinkDelay(l.blinkDelay));
    }
    for (const MapFormat::Duplicate &duplicate : parsed.duplicateSections)
        parts.append("left out: " + duplicate.name + ' ' + QByteArray::number(duplicate.filledCells));
    return (parsed.sawDefinitions ? "" : "NODEFS ") + QByteArrayList(parts).join(" | ");
}

const QByteArray exampleFile = "#Ceil\r\n0,0,0,\r\n\r\n#Wall\r\n0,104,0,\r\n\r\n#Floor\r\n100,0,0,\r\n\r\n"
                               "#Door\r\n0,0,0,\r\n\r\n#Actor\r\n0,0,0,\r\n\r\n#Sprite\r\n0,0,0,\r\n\r\n"
                               "#Item\r\n0,0,0,\r\n\r\n#Lightmap\r\n0,0,111,\r\n\r\n#Definitions\r\n"
                               "104,Wall,Solid,level1/brick.png\r\n100,Floor,,level1/stone.png\r\n"
                               "111,Lightmap,Static,10,0,255,false,0.5\r\n";
const QByteArray exampleRead = "Ceil:0 0 0 | Wall:0 104 0 | Floor:100 0 0 | Door:0 0 0 | Actor:0 0 0 | "
                               "Sprite:0 0 0 | Item:0 0 0 | Lightmap:0 0 111 | "
                               "100=100,Floor,,m/level1/stone.png,10,0,255,0,0.5 | "
                               "104=104,Wall,Solid,m/level1/brick.png,10,0,255,0,0.5 | "
                               "111=111,Lightmap,Static,assets/lamp.png,10,0,255,0,0.5";

} // namespace

class TestMapFormat : public QObject
{
    Q_OBJECT

private slots:
    void writesExampleFile();
    void writesEmptyMap();
    void writes_data();
    void writes();
    void blinkDelay_data();
    void blinkDelay();
    void reads_data();
    void reads();
    void roundTripKeepsEveryCell();
};

void TestMapFormat::writesExampleFile()
{
    const auto written = MapFormat::write(
        layers({{"Floor", {Cell{0, 0, 100, "", "stone.png", "textures/Floor/", {}}}},
                {"Wall", {cell(1, 0, 104, "Solid")}},
                {"Lightmap", {light(2, 0, 111, 10)}}}),
        "level1");
    QCOMPARE(written.text, exampleFile);
    QCOMPARE(written.definitions.size(), 3);
    QCOMPARE(written.definitions.at(0).texturePath, QByteArray("textures/Wall/brick.png"));
    QCOMPARE(written.definitions.at(1).attributes, QByteArray("level1/stone.png"));
    QCOMPARE(written.definitions.at(2).attributes, QByteArray("10,0,255,false,0.5"));
}

void TestMapFormat::writesEmptyMap()
{
    QByteArray expected;
    for (const QByteArray &name : editorLayers)
        expected += crlf({'#' + name, "0,", ""});
    QCOMPARE(MapFormat::write(layers({}), "m").text, expected + "#Definitions\r\n");
    QCOMPARE(MapFormat::write({}, "m").text, QByteArray("#Definitions\r\n"));
}

void TestMapFormat::writes_data()
{
    QTest::addColumn<QList<Layer>>("input");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("negative cells left out, later cell wins")
        << QList<Layer>{{"Wall", {cell(-1, 4, 200, "Solid"), cell(1, 0, 104, "Solid"), cell(3, -2, 201, "Solid"),
                                  cell(1, 0, 105, "Solid")}}}
        << crlf({"#Wall", "0,105,", "", "#Definitions", "104,Wall,Solid,m/brick.png", "105,Wall,Solid,m/brick.png"});
    QTest::newRow("shared across layers, split by subtype")
        << QList<Layer>{{"Wall", {cell(0, 0, 104, "Solid"), cell(1, 0, 104, "Solid"), cell(0, 1, 104, "Glass")}},
                        {"Door", {cell(1, 1, 104, "Solid"), cell(0, 0, 104, "Glass"), cell(1, 0, 104, "Metal")}}}
        << crlf({"#Wall", "104,104,", "5104,0,", "", "#Door", "5104,5105,", "0,104,", "", "#Definitions",
                 "104,Wall,Solid,m/brick.png", "5104,Wall,Glass,m/brick.png", "5105,Door,Metal,m/brick.png"});
    QTest::newRow("fresh identifier skips any used by a cell")
        << QList<Layer>{{"Wall", {cell(0, 0, 104, "Solid"), cell(1, 0, 104, "Glass")}},
                        {"Floor", {cell(2, 0, 5104, "", "stone.png")}}}
        << crlf({"#Wall", "104,5105,0,", "", "#Floor", "0,0,5104,", "", "#Definitions", "104,Wall,Solid,m/brick.png",
                 "5105,Wall,Glass,m/brick.png", "5104,Floor,,m/stone.png"});
    QTest::newRow("lights differing only in values")
        << QList<Layer>{{"Lightmap", {light(0, 0, 111, 10), light(1, 0, 111, 10), light(2, 0, 111, 10, 0.25),
                                      light(3, 0, 111, 10, 0.5, true)}}}
        << crlf({"#Lightmap", "111,111,5111,5112,", "", "#Definitions", "111,Lightmap,Static,10,0,255,false,0.5",
                 "5111,Lightmap,Static,10,0,255,false,0.25", "5112,Lightmap,Static,10,0,255,true,0.5"});
    QTest::newRow("one file name from two folders gets two copies")
        << QList<Layer>{{"Floor", {Cell{0, 0, 100, "", "stone.png", "textures/Floor/", {}}}},
                        {"Ceil", {Cell{1, 0, 100, "", "stone.png", "textures/Ceil/", {}},
                                  Cell{2, 0, 101, "", "a,b\nc", "textures/Ceil/", {}}}}}
        << crlf({"#Floor", "100,0,0,", "", "#Ceil", "0,5100,101,", "", "#Definitions", "100,Floor,,m/stone.png",
                 "5100,Ceil,,m/stone-Ceil.png", "101,Ceil,,m/a_b_c"});
    QTest::newRow("a name that would be a folder (from fuzzing)")
        << QList<Layer>{{"Wall", {Cell{0, 0, 100, "Solid", "..", "maps/", {}}}}}
        << crlf({"#Wall", "100,", "", "#Definitions", "100,Wall,Solid,m/_"});
    QTest::newRow("identifiers that cannot be written as they are")
        << QList<Layer>{{"Wall", {cell(0, 0, 0, "Solid"), cell(1, 0, -5000, "Solid"), cell(2, 0, -5000, "Glass"),
                                  cell(3, 0, 2147480000, "Solid"), cell(4, 0, 2147480000, "Glass")}}}
        << crlf({"#Wall", "5000,-5000,1,2147480000,-2147482296,", "", "#Definitions", "5000,Wall,Solid,m/brick.png",
                 "-5000,Wall,Solid,m/brick.png", "1,Wall,Glass,m/brick.png", "2147480000,Wall,Solid,m/brick.png",
                 "-2147482296,Wall,Glass,m/brick.png"});
}

void TestMapFormat::writes()
{
    QFETCH(QList<Layer>, input);
    QFETCH(QByteArray, expected);
    QCOMPARE(MapFormat::write(input, "m").text, expected);
    // The size a save judges before it writes is the size it writes.
    QCOMPARE(MapFormat::plan(input, "m", {}).bytes, qint64(expected.size()));
}

void TestMapFormat::blinkDelay_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("half") << 0.5 << QByteArray("0.5");
    QTest::newRow("whole") << 2.0 << QByteArray("2");
    QTest::newRow("seven digits") << 0.1234567 << QByteArray("0.123457");
    QTest::newRow("tiny") << 1e-05 << QByteArray("1e-05");
}

void TestMapFormat::blinkDelay()
{
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    const auto written = MapFormat::write({{"Lightmap", {light(0, 0, 111, 10, value)}}}, "m");
    QVERIFY2(written.text.endsWith(",false," + text + "\r\n"), written.text);
    const auto read = MapFormat::parse(written.text, "m").definitions.value("111").lighting.blinkDelay;
    QCOMPARE(read, text.toDouble());
}

void TestMapFormat::reads_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QByteArray lfOnly = exampleFile;
    lfOnly.replace("\r\n", "\n");
    const QByteArray defs = "#Definitions\n104,Wall,Solid,level1/brick.png\n";
    const QByteArray wall = "104=104,Wall,Solid,m/level1/brick.png,10,0,255,0,0.5";

    QTest::newRow("CR LF") << exampleFile << exampleRead;
    QTest::newRow("LF only") << lfOnly << exampleRead;
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + exampleFile << exampleRead;
    QTest::newRow("stray CR") << "#Wall\r0,104,\r\r" + defs << "Wall:0 104 | " + wall;
    QTest::newRow("CR CR LF") << QByteArray("#Wall\r\n0,104,\r\r\n#Wall\n1,\n\n") << QByteArray("NODEFS Wall:0 104 | left out: Wall 1");
    QTest::newRow("two Wall sections") << "#Wall\n0,104,\n\n#Wall\n1,0,2,\n\n" + defs
                                       << "Wall:0 104 | " + wall + " | left out: Wall 2";
    QTest::newRow("rows after a blank line repeat the section") << "#Wall\n0,104,\n\n\n0,\n\n5,\n\n" + defs
                                                                << "Wall:0 104 | " + wall + " | left out: Wall 1";
    QTest::newRow("header right after rows") << "#Wall\n0,104,\n#Floor\n100,\n\n" + defs << "Floor:0 104;100 | " + wall;
    QTest::newRow("empty Wall section before rows") << "#Wall\n\n#Wall\n0,104,\n\n" + defs
                                                    << "Wall: | " + wall + " | left out: Wall 1";
    QTest::newRow("rows before any header") << "1,2,\n\n#Wall\n3,\n\n" + defs << ":1 2 | Wall:3 | " + wall;
    // More distinct values than the parser shares between cells, with a repeated one among them.
    QByteArray many = "#Wall\n", manyRead = "NODEFS Wall:";
    for (int row = 0; row < 800; ++row) {
        QByteArrayList values;
        for (int column = 0; column < 100; ++column)
            values.append(QByteArray::number(column % 10 == 0 ? 7 : row * 100 + column));
        many += values.join(',') + ",\n";
        manyRead += (row ? ";" : "") + values.join(' ');
    }
    QTest::newRow("more distinct values than are shared") << many << manyRead;
    QTest::newRow("empty values dropped") << QByteArray(",0,,104,\n,,\n5\n\n") << QByteArray("NODEFS :0 104;;5");
    QTest::newRow("no definitions") << QByteArray("#Wall\n0,104,\n") << QByteArray("NODEFS Wall:0 104");
    QTest::newRow("empty file") << QByteArray() << QByteArray("NODEFS :");
    QTest::newRow("extra empty lines after definitions") << defs + "\n\n\r\n" << wall;
    QTest::newRow("second definitions body adds, first key wins")
        << defs + "\n104,Door,X,a.png\n105,Door,Open,d.png\n105,Door,Shut,e.png"
        << wall + " | 105=105,Door,Open,m/d.png,10,0,255,0,0.5";
    QTest::newRow("random intensity") << QByteArray("#Definitions\n1,Lightmap,S,1,2,3,true,2\n2,Lightmap,S,1,2,3,True,1e-05")
        << QByteArray("1=1,Lightmap,S,assets/lamp.png,1,2,3,1,2 | 2=2,Lightmap,S,assets/lamp.png,1,2,3,0,1e-05");
    QTest::newRow("comma inside a file name") << QByteArray("#Definitions\n104,Wall,Solid,level1/bri,ck.png")
        << QByteArray("104=104,Wall,Solid,m/level1/bri,10,0,255,0,0.5");
    QTest::newRow("Ceil and Floor have no subtype") << QByteArray("#Definitions\n1,Ceil,X,c.png\n2,Floor,Y,f.png")
        << QByteArray("1=1,Ceil,,m/c.png,10,0,255,0,0.5 | 2=2,Floor,,m/f.png,10,0,255,0,0.5");
    QTest::newRow("short lines read defaults")
        << QByteArray("#Definitions\n7,Lightmap,Pulse,40\n8,Wall\n9\n6,Lightmap,S,,x,-3,true,\n5,Lightmap,S")
        << QByteArray("5=5,Lightmap,S,assets/lamp.png,10,0,255,0,0.5 | "
                      "6=6,Lightmap,S,assets/lamp.png,0,0,-3,1,0 | 7=7,Lightmap,Pulse,assets/lamp.png,40,0,255,0,0.5 | "
                      "8=8,Wall,,m/,10,0,255,0,0.5 | 9=9,,,m/,10,0,255,0,0.5");
    QTest::newRow("numbers read like QString::toInt")
        << QByteArray("#Definitions\n+5,Lightmap,S, 6 ,05,2147483648,false,nan\n\xC2\xA0" "7,Lightmap,S,0x8,1e3,\xC2\xA0-9,false, 1.5")
        << QByteArray("+5=5,Lightmap,S,assets/lamp.png,6,5,0,0,0 | \xC2\xA0" "7=7,Lightmap,S,assets/lamp.png,0,0,-9,0,1.5");
    QTest::newRow("huge blink delay kept") << QByteArray("#Definitions\n1,Lightmap,S,7,1,99,false,1e205")
                                           << QByteArray("1=1,Lightmap,S,assets/lamp.png,7,1,99,0,1e+205");
    QTest::newRow("every # removed from a header") << QByteArray("##Wa#ll\n0,104,\n\n#Defin#itions#\n104,Wall,Solid,level1/brick.png")
        << "Wall:0 104 | " + wall;
}

void TestMapFormat::reads()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(describe(MapFormat::parse(text, "m")), expected);
}

void TestMapFormat::roundTripKeepsEveryCell()
{
    QList<Layer> input = layers(
        {{"Wall", {cell(0, 0, 104, "Solid"), cell(1, 0, 104, "Glass"), cell(2, 3, 105, "Solid", "wood.png")}},
         {"Door", {cell(1, 1, 104, "Glass"), cell(2, 2, 104, "Metal")}},
         {"Lightmap", {light(0, 2, 111, 12, 0.1234567, true), light(1, 2, 111, 40, 2), light(3, 2, 111, 12, 0.1234567, true)}}});
    const auto parsed = MapFormat::parse(MapFormat::write(input, "lvl").text, "/maps");

    QCOMPARE(parsed.grids.size(), input.size());
    for (int i = 0; i < input.size(); ++i) {
        const MapFormat::Grid &grid = parsed.grids.at(i);
        QCOMPARE(grid.name, input.at(i).name);
        QCOMPARE(grid.rows.size(), 4);
        for (const Cell &c : input.at(i).cells) {
            const MapDefinition d = parsed.definitions.value(grid.rows.at(c.mapY).at(c.mapX));
            QCOMPARE(d.subtype, c.subtype);
            if (grid.name == "Lightmap") {
                SectorLighting expected = c.lighting;
                expected.blinkDelay = MapFormat::formatBlinkDelay(expected.blinkDelay).toDouble();
                QVERIFY(d.lighting == expected);
            } else {
                QCOMPARE(d.texturePath, "/maps/lvl/" + c.textureFileName);
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestMapFormat)
#include "tst_mapformat.moc"
