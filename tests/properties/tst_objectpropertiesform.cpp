#include "layers/layercontroller.h"
#include "app/dialogs.h"
#include "document/editingstate.h"
#include "format/layernames.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "model/subtypetable.h"
#include "properties/objectpropertiesform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(SectorLighting)

namespace {

// A layer controller on a bare window, with sectors made the way painting makes them.
struct Board
{
    QWidget window;
    QWidget *mapWidget = new QWidget(&window);
    std::unique_ptr<MapModel> model = std::make_unique<MapModel>();
    EditingState editing{LayerNames::Wall};
    std::unique_ptr<LayerController> layers;
    // As the main window does, so that the test's answers reach the controller.
    Dialogs dialogs;

    Board()
    {
        Prompts::install(&dialogs);
        layers.reset(new LayerController(model.get(), &editing, new QComboBox(&window), nullptr));
    }
    ~Board()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Prompts::install(nullptr);
        Dialogs::restoreDefaults();
    }
    static constexpr int cellSize = 32;
    ToolContext placement() const { return {nullptr, nullptr, layers.get(), nullptr, mapWidget}; }
    Sector *add(const QByteArray &layer, int x, int y, const QByteArray &subtype = QByteArray())
    {
        editing.setChosenLayer(layer);
        model->placeCell(layer, {x, y}, TextureEntry());
        Sector *sector = model->sectorAt(layer, x, y);
        // Where a view at the placement's zoom would put it.
        sector->data->worldX = x * cellSize;
        sector->data->worldY = y * cellSize;
        if (!subtype.isNull())
            sector->setSubtype(subtype);
        return sector;
    }
};

template<typename T = QLineEdit>
T *child(const QWidget &form, const char *name)
{
    T *widget = form.findChild<T *>(name);
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

void typeInto(QLineEdit *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

void tickEmitter(const QWidget &form)
{
    auto *box = child<QCheckBox>(form, "chkIsLightEmitter");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void clickOk(ObjectPropertiesForm &form) { QTest::mouseClick(form.okButton(), Qt::LeftButton); }

SectorLighting someLighting()
{
    SectorLighting light;
    light.emissionRadius = 5;
    light.intensity = 99;
    light.blinkDelay = 0.25;
    light.emission = 77;
    light.emissionMin = 11;
    light.emissionMax = 222;
    light.randomIntensity = 1;
    light.isLightEmitter = 1;
    return light;
}

} // namespace

class TestObjectPropertiesForm : public QObject
{
    Q_OBJECT

private slots:
    void showsOneSector_data();
    void showsOneSector();
    void selectionFollowsFirstSector();
    void lightFieldsFollowSubtype();
    void okStoresTypedValues_data();
    void okStoresTypedValues();
    void okStartsPointLight_data();
    void okStartsPointLight();
    void okLightsEverySelectedSector();
    void removedSectorsAreLeftAlone_data();
    void removedSectorsAreLeftAlone();
};

void TestObjectPropertiesForm::showsOneSector_data()
{
    QTest::addColumn<QByteArray>("layer");
    QTest::addColumn<QByteArray>("subtype");
    QTest::addColumn<QString>("items");
    QTest::addColumn<QString>("shown");
    QTest::newRow("wall") << QByteArray("Wall") << QByteArray("PiercedWall") << "Solid,PiercedWall,SolidBounding" << "PiercedWall";
    QTest::newRow("unlisted subtype") << QByteArray("Wall") << QByteArray("Bogus") << "Solid,PiercedWall,SolidBounding" << "Solid";
    QTest::newRow("floor") << QByteArray("Floor") << QByteArray() << "" << "";
    QTest::newRow("ceil") << QByteArray("Ceil") << QByteArray() << "" << "";
    QTest::newRow("light") << QByteArray("Lightmap") << QByteArray("Dynamic") << "Static,Dynamic" << "Dynamic";
}

void TestObjectPropertiesForm::showsOneSector()
{
    QFETCH(QByteArray, layer);
    QFETCH(QByteArray, subtype);
    QFETCH(QString, items);
    QFETCH(QString, shown);
    Board board;
    Sector *sector = board.add(layer, 3, 7, subtype);
    sector->data->worldX = 0.5;
    ObjectPropertiesForm form;
    form.editSector(sector, board.placement());
    form.show();

    QStringList texts;
    for (const char *name : {"textMapX", "textMapY", "textWorldX", "textWorldY"})
        texts << child(form, name)->text();
    QCOMPARE(texts, QStringList({"3", "7", "0.5", "224"}));
    auto *combo = child<QComboBox>(form, "comboSubtype");
    QStringList listed;
    for (int i = 0; i < combo->count(); ++i)
        listed << combo->itemText(i);
    QCOMPARE(listed.join(','), items);
    QCOMPARE(combo->count(), items.count(',') + 1); // Floor and Ceil: one empty item
    QCOMPARE(combo->currentText(), shown);
    QCOMPARE(child<QGroupBox>(form, "groupLighting")->isVisible(), layer == "Lightmap");
    QCOMPARE(sector->data->subtype, subtype); // showing alone stores nothing
    clickOk(form);
    QCOMPARE(sector->data->subtype, shown.toUtf8()); // OK stores what the combo box shows
}

void TestObjectPropertiesForm::selectionFollowsFirstSector()
{
    Board board;
    const QList<Sector *> sectors{board.add("Door", 1, 1, "RedKeyDoor"), board.add("Wall", 2, 2), board.add("Wall", 3, 3)};
    ObjectPropertiesForm form;
    form.editSectors(sectors, board.placement());
    for (const char *name : {"textMapX", "textMapY", "textWorldX", "textWorldY"})
        QCOMPARE(child(form, name)->text(), QString("-/-"));
    QCOMPARE(child<QComboBox>(form, "comboSubtype")->count(), 5);
    QCOMPARE(child<QComboBox>(form, "comboSubtype")->currentText(), QString("RedKeyDoor"));
    QCOMPARE(form.editedSectors(), sectors);
}

void TestObjectPropertiesForm::lightFieldsFollowSubtype()
{
    Board board;
    Sector *light = board.add("Lightmap", 0, 0, "Static");
    Sector *other = board.add("Lightmap", 1, 0, "Static");
    light->setLighting(someLighting());
    ObjectPropertiesForm form;
    form.editSectors({light, other}, board.placement());
    form.show();
    QCOMPARE(child(form, "editLightingEmission")->text(), QString("77"));
    QCOMPARE(child(form, "edintLightingBlinkDelay")->text(), QString("0.25"));
    QVERIFY(child<QCheckBox>(form, "checkLightingRandIntensity")->isChecked());

    for (bool isStatic : {true, false}) {
        QCOMPARE(child(form, "editLightingEmission")->isEnabled(), isStatic);
        for (const char *name : {"labelLightingMin", "editLightingEmissionMin", "labelLightingMax", "editLightingEmissionMax",
                                 "labelLightBlinkDelay", "edintLightingBlinkDelay", "checkLightingRandIntensity"})
            QVERIFY2(child<QWidget>(form, name)->isEnabled() != isStatic, name);
        QVERIFY(child<QCheckBox>(form, "chkIsLightEmitter")->isEnabled());
        QTest::keyClick(child<QComboBox>(form, "comboSubtype"), Qt::Key_Down); // to "Dynamic", stored at once
    }
    form.close();
    QCOMPARE(light->data->subtype, QByteArray("Dynamic"));
    QCOMPARE(other->data->subtype, QByteArray("Dynamic"));
    QVERIFY(light->data->lighting == someLighting()); // light values wait for OK
}

void TestObjectPropertiesForm::okStoresTypedValues_data()
{
    QTest::addColumn<QByteArray>("layer");
    QTest::addColumn<QByteArray>("subtype");
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<SectorLighting>("stored");
    // What OK makes of someLighting() shown in the form: radius, intensity and emitter reset.
    SectorLighting shown = someLighting();
    shown.emissionRadius = 0;
    shown.intensity = 255;
    shown.isLightEmitter = 0;
    shown.isDynamic = 1;
    auto with = [shown](void (*change)(SectorLighting &)) { SectorLighting l = shown; change(l); return l; };
    QTest::newRow("letters in max") << QByteArray("Lightmap") << QByteArray("Dynamic") << "editLightingEmissionMax"
                                    << "abc" << with([](SectorLighting &l) { l.emissionMax = 0; });
    QTest::newRow("bad blink delay") << QByteArray("Lightmap") << QByteArray("Dynamic") << "edintLightingBlinkDelay"
                                     << "x" << with([](SectorLighting &l) { l.blinkDelay = 0; });
    QTest::newRow("static") << QByteArray("Lightmap") << QByteArray("Static") << "editLightingEmission" << "150"
                            << with([](SectorLighting &l) { l.emission = 150, l.isDynamic = 0; });
    SectorLighting wall = someLighting();
    wall.isLightEmitter = 0;
    QTest::newRow("wall loses only the emitter flag") << QByteArray("Wall") << QByteArray("Solid") << "" << "" << wall;
}

void TestObjectPropertiesForm::okStoresTypedValues()
{
    QFETCH(QByteArray, layer);
    QFETCH(QByteArray, subtype);
    QFETCH(QString, fieldName);
    QFETCH(QString, typed);
    QFETCH(SectorLighting, stored);
    Board board;
    Sector *sector = board.add(layer, 4, 4, subtype);
    sector->setLighting(someLighting());
    ObjectPropertiesForm form;
    form.editSector(sector, board.placement());
    form.show();
    if (!fieldName.isEmpty())
        typeInto(child(form, fieldName.toLatin1()), typed);
    clickOk(form);

    QVERIFY(sector->data->lighting == stored);
    QCOMPARE(sector->data->subtype, subtype);
    QVERIFY(!form.isVisible());
    QCOMPARE(board.model->sectorsOf(layer).size(), 1);
}

void TestObjectPropertiesForm::okStartsPointLight_data()
{
    QTest::addColumn<QByteArray>("subtype");
    QTest::addColumn<QPoint>("source");
    QTest::addColumn<QList<int>>("ringLevels"); // one per ring: the radius is the count minus one
    QTest::addColumn<int>("cells");
    // Static lights shine with their emission (128 here), dynamic ones with their max (200).
    QTest::newRow("static, radius 7") << QByteArray("Static") << QPoint(10, 10) << QList<int>{128, 110, 92, 74, 56, 40, 40, 40} << 225;
    QTest::newRow("dynamic at the edge") << QByteArray("Dynamic") << QPoint(1, 1) << QList<int>{200, 134, 68, 40} << 25;
}

void TestObjectPropertiesForm::okStartsPointLight()
{
    QFETCH(QByteArray, subtype);
    QFETCH(QPoint, source);
    QFETCH(QList<int>, ringLevels);
    QFETCH(int, cells);
    const int radius = ringLevels.size() - 1;
    Board board;
    Sector *sector = board.add("Lightmap", source.x(), source.y(), subtype);
    SectorLighting own;
    own.emission = 128;
    own.emissionMax = 200;
    own.blinkDelay = 0.25;
    sector->setLighting(own);
    ObjectPropertiesForm form;
    form.editSector(sector, board.placement());
    form.show();
    auto *slider = child<QSlider>(form, "sliderEmissionRadius");
    QLineEdit *radiusField = child(form, "editEmissionRadius");
    QTest::keyClick(slider, Qt::Key_Right);
    QVERIFY(slider->value() == 2 && !radiusField->isEnabled()); // locked until the box is ticked
    tickEmitter(form);
    QTest::keyClick(slider, Qt::Key_End);
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(radiusField->text(), QString("10"));
    QTest::keyClick(slider, Qt::Key_Home);
    typeInto(radiusField, "9"); // read-only
    for (int value = 2; value < radius; ++value)
        QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(radiusField->text(), QString::number(radius));
    QSignalSpy added(board.model.get(), &MapModel::sectorAdded);
    clickOk(form);

    const SectorLighting &light = sector->data->lighting;
    QCOMPARE(light.emissionRadius, radius);
    QCOMPARE(light.isLightEmitter, quint8(1));
    QCOMPARE(light.intensity, ringLevels.first());
    QCOMPARE(board.layers->currentSectors().size(), cells);
    QCOMPARE(added.size(), cells - 1);
    for (int ring = 1; ring <= radius; ++ring) {
        Sector *lit = board.layers->sectorAt(source.x() + ring, source.y() + ring);
        QCOMPARE(lit->data->lighting.emission, ringLevels.at(ring));
        QCOMPARE(lit->data->subtype, subtype);
        QCOMPARE(lit->data->lighting.blinkDelay, 0.25); // the blink typed for the source
    }
    QCOMPARE(light.blinkDelay, 0.25);
}

void TestObjectPropertiesForm::okLightsEverySelectedSector()
{
    Board board;
    const QList<Sector *> sectors{board.add("Lightmap", 0, 0, "Static"), board.add("Lightmap", 5, 0, "Static"),
                                  board.add("Lightmap", 9, 9, "Static")};
    ObjectPropertiesForm form;
    form.editSectors(sectors, board.placement());
    form.show();
    typeInto(child(form, "editLightingEmission"), "90");
    clickOk(form);
    for (Sector *sector : sectors) {
        QCOMPARE(sector->data->lighting.emission, 90);
        QCOMPARE(sector->look(), QColor(90, 90, 90));
    }
}

void TestObjectPropertiesForm::removedSectorsAreLeftAlone_data()
{
    QTest::addColumn<QString>("removal");
    QTest::addColumn<int>("opened");       // how many of the two sectors the form edits
    QTest::addColumn<int>("removedIndex"); // -1: every sector goes
    QTest::newRow("only sector erased") << "erase" << 1 << 0;
    QTest::newRow("first erased") << "erase" << 2 << 0;
    QTest::newRow("other erased") << "erase" << 2 << 1;
    QTest::newRow("layer cleared") << "clear" << 2 << -1;
    QTest::newRow("other map loaded") << "load" << 2 << -1;
}

void TestObjectPropertiesForm::removedSectorsAreLeftAlone()
{
    QFETCH(QString, removal);
    QFETCH(int, opened);
    QFETCH(int, removedIndex);
    Board board;
    const QList<Sector *> sectors{board.add("Lightmap", 2, 2, "Static"), board.add("Lightmap", 3, 2, "Static")};
    for (Sector *sector : sectors)
        sector->setLighting(someLighting());
    auto form = std::make_unique<ObjectPropertiesForm>();
    if (opened == 1)
        form->editSector(sectors.first(), board.placement());
    else
        form->editSectors(sectors, board.placement());
    form->show();

    Sector *loaded = nullptr;
    if (removal == "erase") {
        board.layers->removeSectorAt(2 + removedIndex, 2);
    } else if (removal == "clear") {
        Dialogs::question = [](const QString &, const QString &) { return QMessageBox::Yes; };
        board.layers->MapClearButton();
    } else {
        board.layers->replaceLayers(LayerTable(layerOrder()));
        loaded = board.add("Lightmap", 2, 2, "Static"); // the new map has a light on the same cell
    }
    QList<Sector *> alive = removedIndex < 0 ? QList<Sector *>() : sectors.mid(0, opened);
    alive.removeOne(sectors.value(removedIndex));
    QCOMPARE(form->editedSectors(), alive);
    const bool primaryAlive = removedIndex > 0;
    QCOMPARE(form->primary(), primaryAlive ? sectors.first() : nullptr);

    typeInto(child(*form, "editLightingEmission"), "90");
    tickEmitter(*form);
    QTest::keyClick(child<QComboBox>(*form, "comboSubtype"), Qt::Key_Down);
    QSignalSpy added(board.model.get(), &MapModel::sectorAdded);
    clickOk(*form);
    QVERIFY(!form->isVisible());
    if (removedIndex >= 0) { // an erased sector lives on until the event loop runs
        QVERIFY(sectors.at(removedIndex)->data->lighting == someLighting());
        QCOMPARE(sectors.at(removedIndex)->data->subtype, QByteArray("Static"));
    }
    // Without its first sector the form writes nothing at all, not even to the rest.
    for (Sector *sector : alive) {
        QCOMPARE(sector->data->subtype, QByteArray(primaryAlive ? "Dynamic" : "Static"));
        QCOMPARE(sector->data->lighting.isDynamic, quint8(primaryAlive));
    }
    QCOMPARE(added.isEmpty(), !primaryAlive);
    if (loaded)
        QVERIFY(loaded->data->lighting == SectorLighting() && board.layers->currentSectors().size() == 1);
}

QTEST_MAIN(TestObjectPropertiesForm)
#include "tst_objectpropertiesform.moc"
