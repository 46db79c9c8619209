#include "layers/layercontroller.h"
#include "model/dialogs.h"
#include "model/emission.h"
#include "model/sector.h"
#include "model/sectorfactory.h"
#include "model/subtypetable.h"
#include "properties/objectpropertiesform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(SectorLighting)

char *toString(const SectorLighting &l)
{
    return QTest::toString(QString("radius %1 intensity %2 blink %3 emission %4 min %5 max %6 dynamic %7 random %8 emitter %9")
                               .arg(l.emissionRadius).arg(l.intensity).arg(l.blinkDelay).arg(l.emission)
                               .arg(l.emissionMin).arg(l.emissionMax).arg(l.isDynamic).arg(l.randomIntensity)
                               .arg(l.isLightEmitter));
}

namespace {

// A layer controller on a bare window, with sectors made the way painting makes them.
struct Board
{
    QWidget window;
    QWidget *mapWidget = new QWidget(&window);
    std::unique_ptr<LayerController> layers;

    Board()
    {
        auto *layerCombo = new QComboBox(&window);
        layerCombo->setObjectName("comboBoxMapLayer");
        mapWidget->resize(2048, 2048);
        layers.reset(new LayerController(&window));
    }
    ~Board()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        qDeleteAll(layers->layerTable().allSectors());
        pendingEmissionSectors().clear();
        Dialogs::restoreDefaults();
    }
    SectorPlacement placement() const { return {mapWidget, layers.get(), nullptr, 32, 0, 0}; }
    Sector *add(const QByteArray &layer, int x, int y, const QByteArray &subtype = QByteArray())
    {
        layers->setCurrentLayer(layer);
        Sector *sector = createSectorAt(x, y, placement());
        if (!subtype.isNull())
            sector->setSubtype(subtype);
        layers->addSector(sector);
        return sector;
    }
};

template<typename T>
T *child(const ObjectPropertiesForm &form, const char *name)
{
    T *widget = form.findChild<T *>(name);
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

QLineEdit *field(const ObjectPropertiesForm &form, const char *name) { return child<QLineEdit>(form, name); }

void typeInto(QLineEdit *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

void tick(QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }
void clickOk(ObjectPropertiesForm &form) { QTest::mouseClick(form.okButton(), Qt::LeftButton); }

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

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
    void widgetsAreBuiltInOrder();
    void tabOrderFollowsCreation();
    void showsOneSector_data();
    void showsOneSector();
    void selectionFollowsFirstSector();
    void lightFieldsFollowSubtype_data();
    void lightFieldsFollowSubtype();
    void choosingSubtypeStoresAtOnce();
    void okStoresTypedValues_data();
    void okStoresTypedValues();
    void emitterCheckBoxUnlocksRadius();
    void okStartsPointLight_data();
    void okStartsPointLight();
    void okLightsEverySelectedSector();
    void removedSectorsAreLeftAlone_data();
    void removedSectorsAreLeftAlone();
};

void TestObjectPropertiesForm::widgetsAreBuiltInOrder()
{
    const QList<QPair<QString, QRect>> expected{
        {"groupBox", {20, 10, 301, 81}}, {"label", {20, 20, 41, 16}}, {"label_2", {20, 50, 41, 16}},
        {"textMapX", {70, 20, 51, 22}}, {"textMapY", {70, 50, 51, 22}}, {"label_3", {170, 20, 51, 20}},
        {"label_4", {170, 50, 51, 20}}, {"textWorldX", {230, 20, 51, 22}}, {"textWorldY", {230, 50, 51, 22}},
        {"groupBox_2", {20, 100, 301, 71}}, {"comboSubtype", {20, 30, 261, 22}}, {"buttonOK", {230, 460, 89, 27}},
        {"groupLighting", {20, 180, 301, 221}}, {"editLightingEmission", {80, 30, 51, 22}},
        {"label_5", {20, 30, 51, 21}}, {"editLightingEmissionMin", {50, 60, 51, 22}},
        {"labelLightingMin", {20, 60, 21, 21}}, {"labelLightingMax", {120, 60, 31, 21}},
        {"editLightingEmissionMax", {150, 60, 51, 22}}, {"labelLightBlinkDelay", {20, 90, 61, 21}},
        {"edintLightingBlinkDelay", {90, 90, 51, 22}}, {"checkLightingRandIntensity", {20, 120, 271, 21}},
        {"sliderEmissionRadius", {20, 180, 201, 22}}, {"editEmissionRadius", {240, 180, 41, 22}},
        {"label_6", {240, 160, 41, 16}}, {"chkIsLightEmitter", {20, 150, 201, 20}}};
    ObjectPropertiesForm form;
    QList<QPair<QString, QRect>> built;
    for (const QWidget *widget : form.findChildren<QWidget *>()) {
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_"))
            built.append({widget->objectName(), widget->geometry()});
    }
    QCOMPARE(built, expected);
    QCOMPARE(form.objectName(), QString("objectProperties"));
    QCOMPARE(form.windowTitle(), QString("Object Properties"));
    QCOMPARE(form.maximumSize(), QSize(340, 500));
    QCOMPARE(form.size(), QSize(340, 500));
    QCOMPARE(child<QSlider>(form, "sliderEmissionRadius")->tickPosition(), QSlider::TicksAbove);
}

void TestObjectPropertiesForm::tabOrderFollowsCreation()
{
    ObjectPropertiesForm form;
    QStringList chain;
    QWidget *widget = field(form, "textMapX");
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget != &form)
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != field(form, "textMapX"));
    QCOMPARE(chain, QStringList({"textMapX", "textMapY", "textWorldX", "textWorldY", "comboSubtype", "buttonOK",
                                 "editLightingEmission", "editLightingEmissionMin", "editLightingEmissionMax",
                                 "edintLightingBlinkDelay", "checkLightingRandIntensity", "sliderEmissionRadius",
                                 "editEmissionRadius", "chkIsLightEmitter"}));
}

void TestObjectPropertiesForm::showsOneSector_data()
{
    QTest::addColumn<QByteArray>("layer");
    QTest::addColumn<QByteArray>("subtype");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("lighting");
    const QStringList walls{"Solid", "PiercedWall", "SolidBounding"};
    QTest::newRow("wall") << QByteArray("Wall") << QByteArray("PiercedWall") << walls << "PiercedWall" << false;
    QTest::newRow("unlisted subtype") << QByteArray("Wall") << QByteArray("Bogus") << walls << "Solid" << false;
    QTest::newRow("floor") << QByteArray("Floor") << QByteArray() << QStringList{""} << "" << false;
    QTest::newRow("ceil") << QByteArray("Ceil") << QByteArray() << QStringList{""} << "" << false;
    QTest::newRow("door") << QByteArray("Door") << QByteArray("YellowKeyDoor")
                          << QStringList{"Solid", "BlueKeyDoor", "RedKeyDoor", "GreenKeyDoor", "YellowKeyDoor"}
                          << "YellowKeyDoor" << false;
    QTest::newRow("light") << QByteArray("Lightmap") << QByteArray("Dynamic") << QStringList{"Static", "Dynamic"}
                           << "Dynamic" << true;
}

void TestObjectPropertiesForm::showsOneSector()
{
    QFETCH(QByteArray, layer);
    QFETCH(QByteArray, subtype);
    QFETCH(QStringList, items);
    QFETCH(QString, shown);
    QFETCH(bool, lighting);
    Board board;
    Sector *sector = board.add(layer, 3, 7, subtype);
    sector->data->worldX = 0.5;
    ObjectPropertiesForm form;
    form.editSector(sector, board.placement());
    form.show();

    QCOMPARE(field(form, "textMapX")->text(), QString("3"));
    QCOMPARE(field(form, "textMapY")->text(), QString("7"));
    QCOMPARE(field(form, "textWorldX")->text(), QString("0.5"));
    QCOMPARE(field(form, "textWorldY")->text(), QString("224"));
    auto *combo = child<QComboBox>(form, "comboSubtype");
    QCOMPARE(comboItems(combo), items);
    QCOMPARE(combo->currentText(), shown);
    QCOMPARE(child<QGroupBox>(form, "groupLighting")->isVisible(), lighting);
    QCOMPARE(sector->data->subtype, subtype); // showing alone changes nothing
}

void TestObjectPropertiesForm::selectionFollowsFirstSector()
{
    Board board;
    const QList<Sector *> sectors{board.add("Door", 1, 1, "RedKeyDoor"), board.add("Wall", 2, 2), board.add("Wall", 3, 3)};
    ObjectPropertiesForm form;
    form.editSectors(sectors, board.placement());
    form.show();
    for (const char *name : {"textMapX", "textMapY", "textWorldX", "textWorldY"})
        QCOMPARE(field(form, name)->text(), QString("-/-"));
    auto *combo = child<QComboBox>(form, "comboSubtype");
    QCOMPARE(comboItems(combo).size(), 5);
    QCOMPARE(combo->currentText(), QString("RedKeyDoor"));
    QCOMPARE(form.editedSectors(), sectors);
    QCOMPARE(form.primary(), sectors.first());
}

void TestObjectPropertiesForm::lightFieldsFollowSubtype_data()
{
    QTest::addColumn<QByteArray>("subtype");
    QTest::addColumn<bool>("isStatic");
    QTest::newRow("static") << QByteArray("Static") << true;
    QTest::newRow("dynamic") << QByteArray("Dynamic") << false;
    QTest::newRow("unknown counts as dynamic") << QByteArray("Flicker") << false;
}

void TestObjectPropertiesForm::lightFieldsFollowSubtype()
{
    QFETCH(QByteArray, subtype);
    QFETCH(bool, isStatic);
    Board board;
    Sector *sector = board.add("Lightmap", 0, 0, subtype);
    sector->setLighting(someLighting());
    ObjectPropertiesForm form;
    form.editSector(sector, board.placement());
    form.show();

    QCOMPARE(field(form, "editLightingEmission")->isEnabled(), isStatic);
    for (const char *name : {"labelLightingMin", "editLightingEmissionMin", "labelLightingMax", "editLightingEmissionMax",
                             "labelLightBlinkDelay", "edintLightingBlinkDelay", "checkLightingRandIntensity"})
        QVERIFY2(child<QWidget>(form, name)->isEnabled() != isStatic, name);
    QVERIFY(child<QCheckBox>(form, "chkIsLightEmitter")->isEnabled());
    QVERIFY(!child<QCheckBox>(form, "chkIsLightEmitter")->isChecked());
    QCOMPARE(field(form, "editLightingEmission")->text(), QString("77"));
    QCOMPARE(field(form, "editLightingEmissionMin")->text(), QString("11"));
    QCOMPARE(field(form, "editLightingEmissionMax")->text(), QString("222"));
    QCOMPARE(field(form, "edintLightingBlinkDelay")->text(), QString("0.25"));
    QVERIFY(child<QCheckBox>(form, "checkLightingRandIntensity")->isChecked());
}

void TestObjectPropertiesForm::choosingSubtypeStoresAtOnce()
{
    Board board;
    Sector *light = board.add("Lightmap", 0, 0, "Static");
    Sector *other = board.add("Lightmap", 1, 0, "Static");
    light->setLighting(someLighting());
    ObjectPropertiesForm form;
    form.editSectors({light, other}, board.placement());
    form.show();

    QTest::keyClick(child<QComboBox>(form, "comboSubtype"), Qt::Key_Down);
    QCOMPARE(light->data->subtype, QByteArray("Dynamic"));
    QCOMPARE(other->data->subtype, QByteArray("Dynamic"));
    QVERIFY(!field(form, "editLightingEmission")->isEnabled());
    QVERIFY(field(form, "editLightingEmissionMax")->isEnabled());

    form.close();
    QCOMPARE(light->data->subtype, QByteArray("Dynamic"));
    QCOMPARE(light->data->lighting, someLighting()); // only OK writes light values
}

void TestObjectPropertiesForm::okStoresTypedValues_data()
{
    QTest::addColumn<QByteArray>("layer");
    QTest::addColumn<QByteArray>("subtype");
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<SectorLighting>("stored");
    SectorLighting dynamicLight; // the form's values for someLighting(), reset where OK resets them
    dynamicLight.blinkDelay = 0.25;
    dynamicLight.emission = 77;
    dynamicLight.emissionMin = 11;
    dynamicLight.emissionMax = 222;
    dynamicLight.isDynamic = 1;
    dynamicLight.randomIntensity = 1;
    SectorLighting letters = dynamicLight, delay = dynamicLight, badDelay = dynamicLight;
    letters.emissionMax = 0;
    delay.blinkDelay = 1.5;
    badDelay.blinkDelay = 0;
    SectorLighting staticLight = dynamicLight;
    staticLight.isDynamic = 0;
    staticLight.emission = 150;
    SectorLighting untouched = someLighting();
    untouched.isLightEmitter = 0;

    QTest::newRow("letters in max") << QByteArray("Lightmap") << QByteArray("Dynamic") << "editLightingEmissionMax" << "abc" << letters;
    QTest::newRow("blink delay") << QByteArray("Lightmap") << QByteArray("Dynamic") << "edintLightingBlinkDelay" << "1.5" << delay;
    QTest::newRow("bad blink delay") << QByteArray("Lightmap") << QByteArray("Dynamic") << "edintLightingBlinkDelay" << "x" << badDelay;
    QTest::newRow("static emission") << QByteArray("Lightmap") << QByteArray("Static") << "editLightingEmission" << "150" << staticLight;
    QTest::newRow("wall keeps light, loses emitter") << QByteArray("Wall") << QByteArray("Solid") << QString() << QString() << untouched;
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
        typeInto(field(form, fieldName.toLatin1()), typed);
    clickOk(form);

    QCOMPARE(sector->data->lighting, stored);
    QCOMPARE(sector->data->subtype, subtype);
    QVERIFY(!form.isVisible());
    QVERIFY(pendingEmissionSectors().isEmpty());
}

void TestObjectPropertiesForm::emitterCheckBoxUnlocksRadius()
{
    Board board;
    ObjectPropertiesForm form;
    form.editSector(board.add("Lightmap", 0, 0), board.placement());
    form.show();
    auto *slider = child<QSlider>(form, "sliderEmissionRadius");
    QLineEdit *radius = field(form, "editEmissionRadius");
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(slider->value(), 2); // locked until the box is ticked
    QVERIFY(!radius->isEnabled());

    tick(child<QCheckBox>(form, "chkIsLightEmitter"));
    QVERIFY(slider->isEnabled() && radius->isEnabled());
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(radius->text(), QString("10"));
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(slider->value(), 10);
    QTest::keyClick(slider, Qt::Key_Home);
    QCOMPARE(radius->text(), QString("2"));
    typeInto(radius, "9");
    QCOMPARE(radius->text(), QString("2"));

    tick(child<QCheckBox>(form, "chkIsLightEmitter"));
    QVERIFY(!slider->isEnabled() && !radius->isEnabled());
}

void TestObjectPropertiesForm::okStartsPointLight_data()
{
    QTest::addColumn<QByteArray>("subtype");
    QTest::addColumn<QPoint>("source");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("ringLevels");
    QTest::addColumn<int>("cells");
    // Static lights shine with their emission (128 here), dynamic ones with their max (200).
    QTest::newRow("static, radius 7") << QByteArray("Static") << QPoint(10, 10) << 5 << 128
                                      << QList<int>{128, 110, 92, 74, 56, 40, 40, 40} << 225;
    QTest::newRow("dynamic at the edge") << QByteArray("Dynamic") << QPoint(1, 1) << 1 << 200
                                         << QList<int>{200, 134, 68, 40} << 25;
}

void TestObjectPropertiesForm::okStartsPointLight()
{
    QFETCH(QByteArray, subtype);
    QFETCH(QPoint, source);
    QFETCH(int, steps);
    QFETCH(int, level);
    QFETCH(QList<int>, ringLevels);
    QFETCH(int, cells);
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
    tick(child<QCheckBox>(form, "chkIsLightEmitter"));
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(child<QSlider>(form, "sliderEmissionRadius"), Qt::Key_Right);
    clickOk(form);

    const int radius = ringLevels.size() - 1;
    const SectorLighting &light = sector->data->lighting;
    QCOMPARE(light.emissionRadius, radius);
    QCOMPARE(light.isLightEmitter, quint8(1));
    QCOMPARE(light.intensity, level);
    QCOMPARE(board.layers->currentSectors().size(), cells);
    QCOMPARE(pendingEmissionSectors().size(), cells - 1);
    for (int ring = 1; ring <= radius; ++ring) {
        Sector *lit = board.layers->sectorAt(source.x() + ring, source.y() + ring);
        QVERIFY(lit);
        QCOMPARE(lit->data->lighting.emission, ringLevels.at(ring));
        QCOMPARE(lit->data->subtype, subtype);
        QCOMPARE(lit->data->lighting.blinkDelay, 0.5); // the light point's, not the source's
    }
}

void TestObjectPropertiesForm::okLightsEverySelectedSector()
{
    Board board;
    const QList<Sector *> sectors{board.add("Lightmap", 0, 0, "Static"), board.add("Lightmap", 5, 0, "Static"),
                                  board.add("Lightmap", 9, 9, "Static")};
    for (Sector *sector : sectors)
        sector->setLighting(someLighting());
    ObjectPropertiesForm form;
    form.editSectors(sectors, board.placement());
    form.show();
    typeInto(field(form, "editLightingEmission"), "90");
    clickOk(form);

    for (Sector *sector : sectors) {
        QCOMPARE(sector->data->lighting.emission, 90);
        QCOMPARE(sector->data->lighting.emissionRadius, 0);
        QCOMPARE(sector->data->lighting.isDynamic, quint8(0));
    }
    for (Sector *sector : sectors)
        QCOMPARE(sector->look(), QColor(90, 90, 90));
}

void TestObjectPropertiesForm::removedSectorsAreLeftAlone_data()
{
    QTest::addColumn<QString>("removal");
    QTest::addColumn<int>("opened"); // how many of the two sectors the form edits
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
        LayerTable table(layerOrder());
        board.layers->replaceLayers(std::move(table));
        loaded = board.add("Lightmap", 2, 2, "Static"); // a new map with a light on the same cell
    }

    QList<Sector *> alive = sectors.mid(0, opened);
    if (removedIndex >= 0)
        alive.removeAt(removedIndex);
    else
        alive.clear();
    QCOMPARE(form->editedSectors(), alive);
    QCOMPARE(form->primary(), removedIndex == 0 || removedIndex < 0 ? nullptr : sectors.first());

    typeInto(field(*form, "editLightingEmission"), "90");
    tick(child<QCheckBox>(*form, "chkIsLightEmitter"));
    QTest::keyClick(child<QComboBox>(*form, "comboSubtype"), Qt::Key_Down);
    clickOk(*form);
    QVERIFY(!form->isVisible());
    if (removedIndex >= 0) { // an erased sector lives on until the event loop runs
        QCOMPARE(sectors.at(removedIndex)->data->lighting, someLighting());
        QCOMPARE(sectors.at(removedIndex)->data->subtype, QByteArray("Static"));
    }
    // Without its first sector the form writes nothing at all, not even to the rest.
    const bool primaryAlive = removedIndex > 0;
    for (Sector *sector : alive) {
        QCOMPARE(sector->data->subtype, QByteArray(primaryAlive ? "Dynamic" : "Static"));
        QCOMPARE(sector->data->lighting.isDynamic, quint8(primaryAlive ? 1 : 0));
    }
    QCOMPARE(pendingEmissionSectors().isEmpty(), !primaryAlive);
    if (loaded) {
        QCOMPARE(loaded->data->lighting, SectorLighting());
        QCOMPARE(board.layers->currentSectors().size(), 1);
    }
    form.reset();
}

QTEST_MAIN(TestObjectPropertiesForm)
#include "tst_objectpropertiesform.moc"
