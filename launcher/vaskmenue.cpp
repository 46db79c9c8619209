#include "vaskmenue.h"

#include "ui_vaskmenue.h"

#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QMetaEnum>
#include <QSoundEffect>
#include <QUrl>
#include <QVideoWidget>

#include <utility>

#if QT_VERSION_MAJOR >= 6
#include <QAudioOutput>
#endif

namespace {

// Distance between two menu entries, and the span of all three.
constexpr int EntryStep = 58;
constexpr int EntrySpan = 3 * EntryStep;

constexpr int MusicLoops = 400;

const char *const GameProgram = "./Halcyon/Halcyon";
const char *const GameDirectory = "./Halcyon";
const char *const EditorProgram = "./Tessel/Tessel";
const char *const EditorDirectory = "./Tessel";

QString enumKey(const char *enumName, int value)
{
    const QMetaObject &meta = QMediaPlayer::staticMetaObject;
    const QMetaEnum metaEnum = meta.enumerator(meta.indexOfEnumerator(enumName));
    return QStringLiteral("QMediaPlayer::") + QLatin1String(metaEnum.valueToKey(value));
}

// A sound of the menu, read from the working folder when first played.
QSoundEffect *menuSound(const char *file, QObject *parent)
{
    auto *sound = new QSoundEffect(parent);
    sound->setSource(QUrl::fromLocalFile(QString::fromLatin1(file)));
    return sound;
}

// Qt 6 moved the volume to an audio output and renamed the media and error calls.
void setVideoSource(QMediaPlayer *player, const QUrl &url)
{
#if QT_VERSION_MAJOR >= 6
    auto *audio = new QAudioOutput(player);
    audio->setVolume(1.0f);
    player->setAudioOutput(audio);
    player->setSource(url);
#else
    player->setMedia(url);
    player->setVolume(100);
#endif
}

void logMediaErrors(QMediaPlayer *player, QObject *context)
{
    const auto log = [player](QMediaPlayer::Error error) {
        qDebug().noquote() << "Error:" << enumKey("Error", error) << player->errorString();
    };
#if QT_VERSION_MAJOR >= 6
    QObject::connect(player, &QMediaPlayer::errorOccurred, context, log);
#else
    QObject::connect(player, QOverload<QMediaPlayer::Error>::of(&QMediaPlayer::error), context, log);
#endif
}

} // namespace

VaskMenue::VaskMenue(QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::VaskMenueClass>())
    , m_startChild([](QProcess &process) { process.start(QIODevice::ReadWrite); })
{
    m_ui->setupUi(this);
    installEventFilter(this);

    m_menuSound = menuSound("menusound.wav", this);
    m_music = menuSound("bgm.wav", this);
    m_music->setLoopCount(MusicLoops);
    m_music->play();

    m_pointer = findChild<QFrame *>(QStringLiteral("menuPointer"));
    m_pointerBaseY = m_pointer->y();

    m_btnVideo = findChild<QPushButton *>(QStringLiteral("btnVideo"));
    m_btnPlay = findChild<QPushButton *>(QStringLiteral("btnPlay"));
    m_btnEditor = findChild<QPushButton *>(QStringLiteral("btnEditor"));
    const QString pressed = QStringLiteral("QPushButton:pressed { background-color: transparent; }");
    m_btnVideo->setStyleSheet(QStringLiteral(
        "QPushButton{background-image: url('btnVideo.png'); background-repeat: no-repeat;} ") + pressed);
    m_btnPlay->setStyleSheet(QStringLiteral(
        "QPushButton{ background-image: url('btnPlay.png'); background-repeat: no-repeat;}") + pressed);
    m_btnEditor->setStyleSheet(QStringLiteral(
        "QPushButton{ background-image: url('btnEditor.png'); background-repeat: no-repeat;}") + pressed);
    connect(m_btnVideo, &QPushButton::clicked, this, &VaskMenue::ButtonVideo);
    connect(m_btnPlay, &QPushButton::clicked, this, &VaskMenue::ButtonPlay);
    connect(m_btnEditor, &QPushButton::clicked, this, &VaskMenue::ButtonEditor);

    m_process = std::make_unique<QProcess>();
    // The child shares the launcher's terminal instead of pipes, so it keeps
    // running (and printing) after the menu closes.
    m_process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(m_process.get(), QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished),
            this, &VaskMenue::processFinished);
    // A program that cannot be started never finishes; without this the
    // music would stay off for good.
    connect(m_process.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            const QString program = m_process->program();
            resumeMenu();
            reportNotStarted(program);
        }
    });
}

VaskMenue::~VaskMenue()
{
    // Under X a player still alive when the application object goes away can
    // crash the exit, so take every player and video widget down now.
    if (m_player)
        m_player->stop();
    delete m_player;
    delete m_videoWidget;
    for (const QPointer<QObject> &object : std::as_const(m_retired))
        delete object.data();

    // Closing the menu must not kill the editor or the game it started.
    if (m_process->state() != QProcess::NotRunning) {
        m_process->disconnect(this);
        (void)m_process.release();
    }
}

void VaskMenue::setChildStarter(ChildStarter starter)
{
    m_startChild = std::move(starter);
}

bool VaskMenue::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
            movePointerUp();
            break;
        case Qt::Key_Down:
            movePointerDown();
            break;
        case Qt::Key_Return:
            activateEntry();
            break;
        case Qt::Key_Escape:
            closeIntroVideo();
            break;
        default:
            break;
        }
    }
    // Never consume: the window and the video widget see every key as well.
    return QWidget::eventFilter(watched, event);
}

void VaskMenue::movePointerUp()
{
    const int y = m_pointer->y();
    const int target = y > m_pointerBaseY ? y - EntryStep : m_pointerBaseY + 2 * EntryStep;
    m_pointer->move(m_pointer->x(), target);
    m_menuSound->play();
}

void VaskMenue::movePointerDown()
{
    const int y = m_pointer->y();
    const int target = y + EntryStep < m_pointerBaseY + EntrySpan ? y + EntryStep : m_pointerBaseY;
    m_pointer->move(m_pointer->x(), target);
    m_menuSound->play();
}

void VaskMenue::activateEntry()
{
    const int y = m_pointer->y();
    if (y == m_pointerBaseY)
        startIntroVideo();
    else if (y == m_pointerBaseY + EntryStep)
        startChild(QString::fromLatin1(GameProgram), QString::fromLatin1(GameDirectory));
    else
        startChild(QString::fromLatin1(EditorProgram), QString::fromLatin1(EditorDirectory));
}

void VaskMenue::startIntroVideo()
{
    // A second Return while the video runs would stack an unreachable
    // player and widget over the first one.
    if (m_player)
        return;

    m_music->stop();
    m_player = new QMediaPlayer;
    m_videoWidget = new QVideoWidget;
    m_player->setVideoOutput(m_videoWidget);
    setVideoSource(m_player, QUrl::fromLocalFile(QFileInfo(QStringLiteral("video.wmv")).absoluteFilePath()));

    m_videoWidget->setGeometry(100, 100, 500, 500);
    m_videoWidget->show();
    m_videoWidget->setFullScreen(true);
    m_videoWidget->installEventFilter(this);

    logMediaErrors(m_player, this);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [](QMediaPlayer::MediaStatus status) {
        qDebug().noquote() << "Media Status:" << enumKey("MediaStatus", status);
    });
    m_player->play();
}

void VaskMenue::closeIntroVideo()
{
    if (!m_videoWidget)
        return;

    m_player->stop();
    m_videoWidget->close();
    // The widget may be the receiver of the key event being filtered right now.
    m_videoWidget->deleteLater();
    m_player->deleteLater();
    m_retired.removeAll(QPointer<QObject>());
    m_retired << QPointer<QObject>(m_videoWidget.data()) << QPointer<QObject>(m_player.data());
    m_videoWidget.clear();
    m_player.clear();
    m_music->play();
}

void VaskMenue::startChild(const QString &program, const QString &workingDirectory)
{
    if (m_process->state() != QProcess::NotRunning)
        return;

    m_music->stop();
    m_process->setWorkingDirectory(workingDirectory);
    // QProcess enters the working directory before it executes the program,
    // so a relative program path would be looked up inside that directory.
    m_process->setProgram(QDir::cleanPath(QDir::current().absoluteFilePath(program)));
    m_process->setArguments({});
    m_startChild(*m_process);
}

void VaskMenue::resumeMenu()
{
    m_music->play();
    m_process->close();
}

// Without a word the choice would seem to do nothing. The box neither blocks
// nor takes the keyboard: the arrow keys and Return stay with the menu (and
// its music carries on) while the box is shown; its OK closes it.
void VaskMenue::reportNotStarted(const QString &program)
{
    const QFileInfo info(program);
    const QString text = QStringLiteral("%1 could not be started. It was looked for in %2.")
                             .arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath()));
    // A second failure says so in the box already shown.
    QMessageBox *box = nullptr;
    for (QMessageBox *shown : findChildren<QMessageBox *>(QStringLiteral("notStartedBox"))) {
        if (shown->isVisible())
            box = shown;
    }
    if (!box) {
        box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Cannot start"), text, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setAttribute(Qt::WA_ShowWithoutActivating);
        box->setObjectName(QStringLiteral("notStartedBox"));
        box->setWindowModality(Qt::NonModal);
    }
    box->setText(text);
    box->show();
}

void VaskMenue::processFinished()
{
    resumeMenu();
}

void VaskMenue::ButtonVideo()
{
    showTestWarning();
}

void VaskMenue::ButtonPlay()
{
    showTestWarning();
}

void VaskMenue::ButtonEditor()
{
    showTestWarning();
}

void VaskMenue::showTestWarning()
{
    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("Warning!"));
    box.setText(QStringLiteral("test"));
    box.setStandardButtons(QMessageBox::Yes);
    box.exec();
}
