// The launcher menu, offscreen, with its media in a temporary working folder.
#include "launchermedia.h"
#include "vaskmenue.h"

#include <QApplication>
#include <QFrame>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTimer>
#include <QVideoWidget>
#include <QtTest>

#if QT_VERSION_MAJOR >= 6
#include <QAudioOutput>
#endif

namespace {

constexpr int BaseY = 180;

// What a failing back end does: Qt 6 renamed the signal and sends the text with it.
void emitError(QMediaPlayer *player, QMediaPlayer::Error error)
{
#if QT_VERSION_MAJOR >= 6
    emit player->errorOccurred(error, QStringLiteral("a test's error"));
#else
    emit player->error(error);
#endif
}

struct StartRecord
{
    int count = 0;
    QString program;
    QString workingDirectory;
};

} // namespace

class TestVaskMenue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void windowForm();
    void entriesAndPointer_data();
    void entriesAndPointer();
    void entriesBlendIntoBackground_data();
    void entriesBlendIntoBackground();
    void metaObjectSlots();
    void warningSlots_data();
    void warningSlots();
    void musicStartsLooping();

    void arrowKeysMovePointer_data();
    void arrowKeysMovePointer();
    void otherKeysDoNothing_data();
    void otherKeysDoNothing();
    void returnStartsChild_data();
    void returnStartsChild();
    void closingMenuLeavesChildRunning();
    void childRunsInItsFolder();
    void failedStartResumesMenu();
    void processFinishedResumesMusic();
    void escapeWithoutVideoDoesNothing();

    void returnOnFirstEntryShowsVideo();
    void keysReachMenuWhileVideoShown();
    void escapeClosesVideo();
    void secondReturnKeepsOnePlayer();
    void mediaLogLines();
    void menuTakesVideoDownWithIt_data();
    void menuTakesVideoDownWithIt();

private:
    static QSoundEffect *sound(const VaskMenue &menu, const QString &file);
    static QFrame *pointer(const VaskMenue &menu);
    static void putPointerAt(VaskMenue &menu, int offset);
    static void recordStarts(VaskMenue &menu, StartRecord *record);
    static void writeStandIn(const QString &relativePath);
    static int videoWidgetCount();

    QTemporaryDir m_dir;
    QString m_previousDir;
    std::vector<std::unique_ptr<QSoundEffect>> m_cachedSamples;
};

QSoundEffect *TestVaskMenue::sound(const VaskMenue &menu, const QString &file)
{
    for (QSoundEffect *s : menu.findChildren<QSoundEffect *>())
        if (s->source() == QUrl::fromLocalFile(file))
            return s;
    return nullptr;
}

QFrame *TestVaskMenue::pointer(const VaskMenue &menu)
{
    return menu.findChild<QFrame *>(QStringLiteral("menuPointer"));
}

void TestVaskMenue::putPointerAt(VaskMenue &menu, int offset)
{
    QFrame *p = pointer(menu);
    p->move(p->x(), BaseY + offset);
}

void TestVaskMenue::recordStarts(VaskMenue &menu, StartRecord *record)
{
    menu.setChildStarter([record](QProcess &process) {
        ++record->count;
        record->program = process.program();
        record->workingDirectory = process.workingDirectory();
    });
}

void TestVaskMenue::writeStandIn(const QString &relativePath)
{
    // Records the folder it runs in, next to the launcher's working folder.
    QVERIFY(QDir().mkpath(QFileInfo(relativePath).path()));
    QFile script(relativePath);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\npwd -P > ../started-in\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
}

int TestVaskMenue::videoWidgetCount()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<QVideoWidget *>(w))
            ++count;
    return count;
}

void TestVaskMenue::initTestCase()
{
    qRegisterMetaType<QProcess::ExitStatus>();
    qRegisterMetaType<QProcess::ProcessError>();
    QVERIFY(m_dir.isValid());
    QString failed;
    QVERIFY2(LauncherMedia::writeMenuMedia(QDir(m_dir.path()), &failed), qPrintable(failed));
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));

    // Qt 5's sample cache can deadlock when the last user of a sound goes
    // while the cache's loader thread is busy; short-lived menus in a test do
    // that. Holding both sounds for the whole run keeps them cached and loaded
    // once, as in the launcher, where the one menu lives as long as the program.
    for (const char *file : {"bgm.wav", "menusound.wav"}) {
        m_cachedSamples.push_back(std::make_unique<QSoundEffect>());
        m_cachedSamples.back()->setSource(QUrl::fromLocalFile(QString::fromLatin1(file))); // the cache's key
    }
}

void TestVaskMenue::cleanupTestCase()
{
    m_cachedSamples.clear();
    QDir::setCurrent(m_previousDir);
}

void TestVaskMenue::cleanup()
{
    QDir(QStringLiteral("Tessel")).removeRecursively();
    QDir(QStringLiteral("Halcyon")).removeRecursively();
    QFile::remove(QStringLiteral("started-in"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestVaskMenue::windowForm()
{
    VaskMenue menu;
    QCOMPARE(menu.objectName(), QStringLiteral("VaskMenueClass"));
    QCOMPARE(menu.windowTitle(), QStringLiteral("Halcyon - Lumen 2021"));
    QCOMPARE(menu.size(), QSize(841, 546));
    QCOMPARE(menu.minimumSize(), QSize(841, 546));
    QCOMPARE(menu.maximumSize(), QSize(841, 546));
    QCOMPARE(menu.windowModality(), Qt::WindowModal);
    QVERIFY(menu.autoFillBackground());
    QCOMPARE(menu.styleSheet(), QString());

    auto *frame = menu.findChild<QFrame *>(QStringLiteral("frame"));
    QVERIFY(frame);
    QCOMPARE(frame->minimumSize(), QSize(841, 551));
    QCOMPARE(frame->maximumSize(), QSize(841, 551));
    QCOMPARE(frame->layoutDirection(), Qt::LeftToRight);
}

void TestVaskMenue::entriesAndPointer_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("autoFill");
    QTest::addColumn<QString>("styleSheet");

    QTest::newRow("frame") << "frame" << "VaskMenueClass" << QRect(0, 0, 841, 551) << true << true
                           << "background-image: url('bg.png');\n";
    QTest::newRow("btnVideo")
        << "btnVideo" << "frame" << QRect(58, 191, 500, 27) << false << false
        << "QPushButton{background-image: url('btnVideo.png'); background-repeat: no-repeat;} "
           "QPushButton:pressed { background-color: transparent; }";
    QTest::newRow("btnPlay")
        << "btnPlay" << "frame" << QRect(58, 250, 500, 27) << false << false
        << "QPushButton{ background-image: url('btnPlay.png'); background-repeat: no-repeat;}"
           "QPushButton:pressed { background-color: transparent; }";
    QTest::newRow("btnEditor")
        << "btnEditor" << "frame" << QRect(58, 309, 500, 27) << false << false
        << "QPushButton{ background-image: url('btnEditor.png'); background-repeat: no-repeat;}"
           "QPushButton:pressed { background-color: transparent; }";
    QTest::newRow("menuPointer")
        << "menuPointer" << "frame" << QRect(5, 180, 50, 50) << true << false
        << "background-image: url('menuPointer.png'); background-repeat: no-repeat;";
}

void TestVaskMenue::entriesAndPointer()
{
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    QFETCH(bool, autoFill);
    QFETCH(QString, styleSheet);

    VaskMenue menu;
    auto *widget = menu.findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), parentName);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isEnabled(), enabled);
    QCOMPARE(widget->autoFillBackground(), autoFill);
    QCOMPARE(widget->styleSheet(), styleSheet);

    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QVERIFY(button->isFlat());
        QCOMPARE(button->text(), QString());
    } else {
        auto *frame = qobject_cast<QFrame *>(widget);
        QVERIFY(frame);
        QCOMPARE(frame->frameShape(), QFrame::NoFrame);
        QCOMPARE(frame->frameShadow(), QFrame::Raised);
        QCOMPARE(frame->lineWidth(), 0);
    }
}

void TestVaskMenue::entriesBlendIntoBackground_data()
{
    QTest::addColumn<QRect>("area");
    QTest::newRow("video") << QRect(58, 191, 500, 27);
    QTest::newRow("play") << QRect(58, 250, 500, 27);
    QTest::newRow("editor") << QRect(58, 309, 500, 27);
}

void TestVaskMenue::entriesBlendIntoBackground()
{
    QFETCH(QRect, area);
    VaskMenue menu;
    const QImage shown = menu.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage background = QImage(QStringLiteral("bg.png")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), background.size());

    // Entry pictures drawn on the window line up with the labels of the background.
    QCOMPARE(shown.copy(area), background.copy(area));
    // The pointer is drawn over the first entry's row.
    QVERIFY(shown.copy(5, 180, 50, 50) != background.copy(5, 180, 50, 50));
}

void TestVaskMenue::metaObjectSlots()
{
    const QMetaObject &meta = VaskMenue::staticMetaObject;
    QStringList own;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        own << QString::fromLatin1(method.methodSignature());
    }
    QCOMPARE(own, QStringList({"ButtonVideo()", "ButtonPlay()", "ButtonEditor()", "processFinished()"}));
}

void TestVaskMenue::warningSlots_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("video") << "btnVideo";
    QTest::newRow("play") << "btnPlay";
    QTest::newRow("editor") << "btnEditor";
}

void TestVaskMenue::warningSlots()
{
    QFETCH(QString, button);
    VaskMenue menu;
    auto *entry = menu.findChild<QPushButton *>(button);
    QVERIFY(entry);

    // Disabled in the menu: a click reaches no slot.
    bool boxShown = false;
    QString title, text;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxShown = true;
            title = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            box->button(QMessageBox::Yes)->click();
        }
    });
    QTest::mouseClick(entry, Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(!boxShown);

    // Enabled, the click opens the warning box through its slot.
    entry->setEnabled(true);
    QTimer::singleShot(0, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxShown = true;
            title = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            box->button(QMessageBox::Yes)->click();
        }
    });
    entry->click();
    QVERIFY(boxShown);
    QCOMPARE(title, QStringLiteral("Warning!"));
    QCOMPARE(text, QStringLiteral("test"));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
}

void TestVaskMenue::musicStartsLooping()
{
    VaskMenue menu;
    QSoundEffect *music = sound(menu, QStringLiteral("bgm.wav"));
    QSoundEffect *blip = sound(menu, QStringLiteral("menusound.wav"));
    QVERIFY(music);
    QVERIFY(blip);
    QVERIFY(music->isPlaying());
    QCOMPARE(music->loopCount(), 400);
    QVERIFY(!blip->isPlaying());
    QVERIFY(!menu.mediaPlayer());
    QVERIFY(!menu.videoWidget());
    QCOMPARE(menu.process()->parent(), nullptr);
    QCOMPARE(menu.process()->state(), QProcess::NotRunning);
}

void TestVaskMenue::arrowKeysMovePointer_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");

    QTest::newRow("down from video") << 0 << int(Qt::Key_Down) << 58;
    QTest::newRow("down from play") << 58 << int(Qt::Key_Down) << 116;
    QTest::newRow("down from editor wraps") << 116 << int(Qt::Key_Down) << 0;
    QTest::newRow("up from editor") << 116 << int(Qt::Key_Up) << 58;
    QTest::newRow("up from play") << 58 << int(Qt::Key_Up) << 0;
    QTest::newRow("up from video wraps") << 0 << int(Qt::Key_Up) << 116;
}

void TestVaskMenue::arrowKeysMovePointer()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);

    VaskMenue menu;
    QSoundEffect *blip = sound(menu, QStringLiteral("menusound.wav"));
    putPointerAt(menu, from);
    QTest::keyClick(&menu, Qt::Key(key));
    QCOMPARE(pointer(menu)->pos(), QPoint(5, BaseY + to));
    QVERIFY(blip->isPlaying());

    // Every move plays the sound again; three moves make a full round.
    for (int i = 0; i < 2; ++i) {
        blip->stop();
        QTest::keyClick(&menu, Qt::Key(key));
        QVERIFY(blip->isPlaying());
    }
    QCOMPARE(pointer(menu)->pos(), QPoint(5, BaseY + from));
}

void TestVaskMenue::otherKeysDoNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("keypad enter") << int(Qt::Key_Enter);
    QTest::newRow("left") << int(Qt::Key_Left);
    QTest::newRow("right") << int(Qt::Key_Right);
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("letter") << int(Qt::Key_A);
}

void TestVaskMenue::otherKeysDoNothing()
{
    QFETCH(int, key);
    for (int offset : {0, 116}) {
        VaskMenue menu;
        StartRecord starts;
        recordStarts(menu, &starts);
        putPointerAt(menu, offset);
        QTest::keyClick(&menu, Qt::Key(key));
        QCOMPARE(pointer(menu)->y(), BaseY + offset);
        QVERIFY(!sound(menu, QStringLiteral("menusound.wav"))->isPlaying());
        QVERIFY(sound(menu, QStringLiteral("bgm.wav"))->isPlaying());
        QCOMPARE(starts.count, 0);
        QVERIFY(!menu.mediaPlayer());
    }
}

void TestVaskMenue::returnStartsChild_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("workingDirectory");

    QTest::newRow("play entry") << 58 << "Halcyon/Halcyon" << "./Halcyon";
    QTest::newRow("editor entry") << 116 << "Tessel/Tessel" << "./Tessel";
    QTest::newRow("between entries") << 30 << "Tessel/Tessel" << "./Tessel";
    QTest::newRow("above the first") << -3 << "Tessel/Tessel" << "./Tessel";
}

void TestVaskMenue::returnStartsChild()
{
    QFETCH(int, offset);
    QFETCH(QString, program);
    QFETCH(QString, workingDirectory);

    VaskMenue menu;
    StartRecord starts;
    recordStarts(menu, &starts);
    putPointerAt(menu, offset);
    QTest::keyClick(&menu, Qt::Key_Return);

    QCOMPARE(starts.count, 1);
    // Absolute, because the child enters its working folder before it is executed.
    QCOMPARE(starts.program, QDir(m_dir.path()).filePath(program));
    QCOMPARE(starts.workingDirectory, workingDirectory);
    QVERIFY(!sound(menu, QStringLiteral("bgm.wav"))->isPlaying());
    QVERIFY(!menu.mediaPlayer());
    QCOMPARE(pointer(menu)->y(), BaseY + offset);
}

void TestVaskMenue::closingMenuLeavesChildRunning()
{
    // The child waits for a line on its input, then records that it got to run on.
    QVERIFY(QDir().mkpath(QStringLiteral("Tessel")));
    QFile script(QStringLiteral("Tessel/Tessel"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nread line\npwd -P > ../started-in\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));

    auto *menu = new VaskMenue;
    putPointerAt(*menu, 116);
    QProcess *process = menu->process();
    QSignalSpy started(process, &QProcess::started);
    QTest::keyClick(menu, Qt::Key_Return);
    QVERIFY(started.count() == 1 || started.wait(30000));
    const qint64 pid = process->processId();

    // While it runs, Return does not start it again.
    QTest::keyClick(menu, Qt::Key_Return);
    QCOMPARE(process->processId(), pid);

    delete menu;
    std::unique_ptr<QProcess> orphan(process); // left alive by the menu on purpose
    QCOMPARE(orphan->state(), QProcess::Running);
    orphan->closeWriteChannel();
    QVERIFY(orphan->waitForFinished(30000));
    QCOMPARE(orphan->exitStatus(), QProcess::NormalExit);
    QVERIFY(QFile::exists(QStringLiteral("started-in")));
}

void TestVaskMenue::childRunsInItsFolder()
{
    writeStandIn(QStringLiteral("Tessel/Tessel"));
    VaskMenue menu;
    QSignalSpy finished(menu.process(), QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Return);
    QVERIFY(!sound(menu, QStringLiteral("bgm.wav"))->isPlaying());
    QVERIFY(finished.count() == 1 || finished.wait(30000));

    QFile record(QStringLiteral("started-in"));
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLocal8Bit(record.readAll()).trimmed(),
             QFileInfo(QStringLiteral("Tessel")).canonicalFilePath());
    QVERIFY(sound(menu, QStringLiteral("bgm.wav"))->isPlaying());
}

void TestVaskMenue::failedStartResumesMenu()
{
    VaskMenue menu;
    menu.show();
    QSoundEffect *music = sound(menu, QStringLiteral("bgm.wav"));
    QSignalSpy errors(menu.process(), &QProcess::errorOccurred);
    putPointerAt(menu, 58); // no Halcyon/Halcyon in this folder
    QTest::keyClick(&menu, Qt::Key_Return);
    QVERIFY(errors.count() == 1 || errors.wait(30000));
    QCOMPARE(errors.first().first().value<QProcess::ProcessError>(), QProcess::FailedToStart);
    QVERIFY(music->isPlaying());
    QCOMPARE(menu.process()->state(), QProcess::NotRunning);
    // The menu says what is missing and where it looked; dismissing it goes back to the menu.
    auto *box = menu.findChild<QMessageBox *>(QStringLiteral("notStartedBox"));
    QVERIFY(box && box->isVisible());
    QVERIFY(box->text().contains(QStringLiteral("Halcyon could not be started")));
    QVERIFY(box->text().contains(QDir::toNativeSeparators(QDir::current().absoluteFilePath(QStringLiteral("Halcyon")))));
    // The box does not block the menu: keys from the window system still reach it.
    QVERIFY(!box->isModal());
    QTest::keyClick(menu.windowHandle(), Qt::Key_Down);
    QCOMPARE(pointer(menu)->y(), BaseY + 116);
    QTest::keyClick(menu.windowHandle(), Qt::Key_Up);
    box->close();

    // The same process object starts the next program.
    writeStandIn(QStringLiteral("Halcyon/Halcyon"));
    QSignalSpy finished(menu.process(), QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
    QTest::keyClick(&menu, Qt::Key_Return);
    QVERIFY(!music->isPlaying());
    QVERIFY(finished.count() == 1 || finished.wait(30000));
    QCOMPARE(finished.first().at(0).toInt(), 0);
    QVERIFY(QFile::exists(QStringLiteral("started-in")));
    QVERIFY(music->isPlaying());
}

void TestVaskMenue::processFinishedResumesMusic()
{
    VaskMenue menu;
    StartRecord starts;
    recordStarts(menu, &starts);
    QSoundEffect *music = sound(menu, QStringLiteral("bgm.wav"));
    putPointerAt(menu, 116);
    QTest::keyClick(&menu, Qt::Key_Return);
    QVERIFY(!music->isPlaying());

    QVERIFY(QMetaObject::invokeMethod(&menu, "processFinished"));
    QVERIFY(music->isPlaying());
    QCOMPARE(menu.process()->state(), QProcess::NotRunning);
}

void TestVaskMenue::escapeWithoutVideoDoesNothing()
{
    VaskMenue menu;
    StartRecord starts;
    recordStarts(menu, &starts);
    QSoundEffect *music = sound(menu, QStringLiteral("bgm.wav"));
    putPointerAt(menu, 116);
    QTest::keyClick(&menu, Qt::Key_Return); // child "running", music off
    QTest::keyClick(&menu, Qt::Key_Escape);
    QVERIFY(!music->isPlaying());
    QCOMPARE(pointer(menu)->y(), BaseY + 116);
    QVERIFY(!sound(menu, QStringLiteral("menusound.wav"))->isPlaying());
}

void TestVaskMenue::returnOnFirstEntryShowsVideo()
{
    VaskMenue menu;
    StartRecord starts;
    recordStarts(menu, &starts);
    QTest::keyClick(&menu, Qt::Key_Return);

    QCOMPARE(starts.count, 0);
    QMediaPlayer *player = menu.mediaPlayer();
    QVideoWidget *video = menu.videoWidget();
    QVERIFY(player);
    QVERIFY(video);
    QCOMPARE(player->parent(), nullptr);
    QCOMPARE(video->parentWidget(), nullptr);
    QVERIFY(video->isVisible());
    QVERIFY(video->isFullScreen());
#if QT_VERSION_MAJOR >= 6
    QVERIFY(player->audioOutput());
    QCOMPARE(player->audioOutput()->volume(), 1.0f);
    const QUrl source = player->source();
#else
    QCOMPARE(player->volume(), 100);
    const QUrl source = player->media().request().url();
#endif
    QCOMPARE(source, QUrl::fromLocalFile(QDir(m_dir.path()).filePath(QStringLiteral("video.wmv"))));
    QVERIFY(!sound(menu, QStringLiteral("bgm.wav"))->isPlaying());
}

void TestVaskMenue::keysReachMenuWhileVideoShown()
{
    VaskMenue menu;
    QTest::keyClick(&menu, Qt::Key_Return);
    QVideoWidget *video = menu.videoWidget();
    QVERIFY(video);
    QSoundEffect *blip = sound(menu, QStringLiteral("menusound.wav"));

    QTest::keyClick(video, Qt::Key_Down);
    QCOMPARE(pointer(menu)->y(), BaseY + 58);
    QVERIFY(blip->isPlaying());
    blip->stop();
    QTest::keyClick(video, Qt::Key_Up);
    QTest::keyClick(video, Qt::Key_Up);
    QCOMPARE(pointer(menu)->y(), BaseY + 116);
    QVERIFY(blip->isPlaying());
    QCOMPARE(menu.videoWidget(), video);
}

void TestVaskMenue::escapeClosesVideo()
{
    VaskMenue menu;
    QTest::keyClick(&menu, Qt::Key_Return);
    QPointer<QMediaPlayer> player = menu.mediaPlayer();
    QPointer<QVideoWidget> video = menu.videoWidget();

    QTest::keyClick(video.data(), Qt::Key_Escape);
    QVERIFY(!menu.mediaPlayer());
    QVERIFY(!menu.videoWidget());
    QVERIFY(video && !video->isVisible()); // deleted later, not inside its own key event
    QVERIFY(sound(menu, QStringLiteral("bgm.wav"))->isPlaying());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!player);
    QVERIFY(!video);

    // The menu works as before: the first entry shows the video again.
    QTest::keyClick(&menu, Qt::Key_Return);
    QVERIFY(menu.videoWidget());
}

void TestVaskMenue::secondReturnKeepsOnePlayer()
{
    VaskMenue menu;
    const int before = videoWidgetCount();
    QTest::keyClick(&menu, Qt::Key_Return);
    QMediaPlayer *player = menu.mediaPlayer();
    QVideoWidget *video = menu.videoWidget();

    QTest::keyClick(video, Qt::Key_Return);
    QTest::keyClick(&menu, Qt::Key_Return);
    QCOMPARE(menu.mediaPlayer(), player);
    QCOMPARE(menu.videoWidget(), video);
    QCOMPARE(videoWidgetCount(), before + 1);

    // One Escape is enough to get back to the menu with its music.
    QTest::keyClick(video, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(videoWidgetCount(), before);
    QVERIFY(sound(menu, QStringLiteral("bgm.wav"))->isPlaying());
}

void TestVaskMenue::mediaLogLines()
{
    VaskMenue menu;
    QTest::keyClick(&menu, Qt::Key_Return);
    QMediaPlayer *player = menu.mediaPlayer();
    QVERIFY(player);

    QTest::ignoreMessage(QtDebugMsg, "Media Status: QMediaPlayer::EndOfMedia");
    emit player->mediaStatusChanged(QMediaPlayer::EndOfMedia);
    QTest::ignoreMessage(QtDebugMsg, "Media Status: QMediaPlayer::InvalidMedia");
    emit player->mediaStatusChanged(QMediaPlayer::InvalidMedia);
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression(QStringLiteral("^Error: QMediaPlayer::FormatError ")));
    emitError(player, QMediaPlayer::FormatError);
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression(QStringLiteral("^Error: QMediaPlayer::ResourceError ")));
    emitError(player, QMediaPlayer::ResourceError);

    // A media error leaves the video up until Escape.
    QCOMPARE(menu.videoWidget()->isVisible(), true);
}

void TestVaskMenue::menuTakesVideoDownWithIt_data()
{
    QTest::addColumn<bool>("escapeFirst");
    QTest::newRow("video shown") << false;
    QTest::newRow("video just closed") << true;
}

void TestVaskMenue::menuTakesVideoDownWithIt()
{
    QFETCH(bool, escapeFirst);
    auto *menu = new VaskMenue;
    QTest::keyClick(menu, Qt::Key_Return);
    QPointer<QMediaPlayer> player = menu->mediaPlayer();
    QPointer<QVideoWidget> video = menu->videoWidget();
    if (escapeFirst)
        QTest::keyClick(video.data(), Qt::Key_Escape);
    QVERIFY(player && video);

    delete menu;
    QVERIFY(!player);
    QVERIFY(!video);
}

QTEST_MAIN(TestVaskMenue)
#include "tst_vaskmenue.moc"
