#include "app/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString settingsName = QStringLiteral("Tessel");
const QString lastFolderKey = QStringLiteral("dialogs/lastFolder");

QString defaultSave(const QString &caption, const QString &filter)
{
    const QString name = QFileDialog::getSaveFileName(nullptr, caption, Dialogs::startFolder(), filter, nullptr,
                                                      QFileDialog::Options());
    Dialogs::rememberFolder(name);
    return name;
}

QString defaultOpen(const QString &caption, const QString &filter)
{
    const QString name = QFileDialog::getOpenFileName(nullptr, caption, Dialogs::startFolder(), filter, nullptr,
                                                      QFileDialog::Options());
    Dialogs::rememberFolder(name);
    return name;
}

QMessageBox::StandardButton defaultQuestion(const QString &title, const QString &text)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    return QMessageBox::StandardButton(box.exec());
}

void defaultInformation(const QString &title, const QString &text)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(text);
    box.exec();
}

void defaultWarning(const QString &title, const QString &text)
{
    QMessageBox::warning(nullptr, title, text);
}

} // namespace

Dialogs::FileChooser Dialogs::saveChooser = defaultSave;
Dialogs::FileChooser Dialogs::openChooser = defaultOpen;
Dialogs::Question Dialogs::question = defaultQuestion;
Dialogs::Notice Dialogs::information = defaultInformation;
Dialogs::Notice Dialogs::warning = defaultWarning;

QString Dialogs::saveFileName(const QString &caption, const QString &filter)
{
    return saveChooser ? saveChooser(caption, filter) : QString();
}

QString Dialogs::openFileName(const QString &caption, const QString &filter)
{
    return openChooser ? openChooser(caption, filter) : QString();
}

QString Dialogs::startFolder()
{
    const QString last = QSettings(settingsName, settingsName).value(lastFolderKey).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    // An installed editor works in a folder the user cannot write to.
    const QFileInfo current(QDir::currentPath());
    return current.isWritable() ? current.absoluteFilePath() : QDir::homePath();
}

void Dialogs::rememberFolder(const QString &chosenFile)
{
    if (!chosenFile.isEmpty())
        QSettings(settingsName, settingsName).setValue(lastFolderKey, QFileInfo(chosenFile).absolutePath());
}

QMessageBox::StandardButton Dialogs::askYesNo(const QString &title, const QString &text)
{
    return question ? question(title, text) : QMessageBox::No;
}

void Dialogs::inform(const QString &title, const QString &text)
{
    if (information)
        information(title, text);
}

void Dialogs::warn(const QString &title, const QString &text)
{
    if (warning)
        warning(title, text);
}

void Dialogs::restoreDefaults()
{
    saveChooser = defaultSave;
    openChooser = defaultOpen;
    question = defaultQuestion;
    information = defaultInformation;
    warning = defaultWarning;
}
