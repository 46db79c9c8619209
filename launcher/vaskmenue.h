#pragma once

#include <QList>
#include <QMediaPlayer>
#include <QPointer>
#include <QProcess>
#include <QVideoWidget>
#include <QWidget>

#include <functional>
#include <memory>

class QFrame;
class QPushButton;
class QSoundEffect;

namespace Ui {
class VaskMenueClass;
}

// The launcher's menu window: background, three picture entries, a pointer
// moved with Up/Down, Return to play the intro video or start a program.
class VaskMenue : public QWidget
{
    Q_OBJECT

public:
    // Starts the prepared process (program and working directory already set).
    // Tests replace it to see what would be started without starting it.
    using ChildStarter = std::function<void(QProcess &)>;

    explicit VaskMenue(QWidget *parent = nullptr);
    ~VaskMenue() override;

    void setChildStarter(ChildStarter starter);

    QMediaPlayer *mediaPlayer() const { return m_player; }
    QVideoWidget *videoWidget() const { return m_videoWidget; }
    QProcess *process() const { return m_process.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void ButtonVideo();
    void ButtonPlay();
    void ButtonEditor();
    void processFinished();

private:
    void movePointerUp();
    void movePointerDown();
    void activateEntry();
    void startIntroVideo();
    void closeIntroVideo();
    void startChild(const QString &program, const QString &workingDirectory);
    void resumeMenu();
    void reportNotStarted(const QString &program);
    void showTestWarning();

    std::unique_ptr<Ui::VaskMenueClass> m_ui;
    QPointer<QMediaPlayer> m_player;
    QPointer<QVideoWidget> m_videoWidget;
    // Closed players and widgets waiting for deferred deletion; deleted at
    // the latest with the window so none outlives the application object.
    QList<QPointer<QObject>> m_retired;
    QSoundEffect *m_music = nullptr;
    QSoundEffect *m_menuSound = nullptr;
    QPushButton *m_btnVideo = nullptr;
    QPushButton *m_btnPlay = nullptr;
    QPushButton *m_btnEditor = nullptr;
    QFrame *m_pointer = nullptr;
    std::unique_ptr<QProcess> m_process;
    ChildStarter m_startChild;
    int m_pointerBaseY = 0;
};
