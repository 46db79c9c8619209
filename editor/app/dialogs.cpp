#include "app/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
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

QMessageBox::StandardButton defaultUnsavedChoice(const QString &title, const QString &text)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    // D answers Discard from the keyboard, as Return saves and Escape cancels.
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    return QMessageBox::StandardButton(box.exec());
}

// A box of standard buttons, some with words of their own.
QMessageBox::StandardButton ask(const QString &title, const QString &text,
                                const QList<QPair<QMessageBox::StandardButton, QString>> &buttons,
                                QMessageBox::StandardButton byDefault, QMessageBox::StandardButton escape)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(text);
    QMessageBox::StandardButtons all;
    for (const auto &button : buttons)
        all |= button.first;
    box.setStandardButtons(all);
    for (const auto &button : buttons) {
        if (!button.second.isEmpty())
            box.button(button.first)->setText(button.second);
    }
    box.setDefaultButton(byDefault);
    box.setEscapeButton(escape);
    return QMessageBox::StandardButton(box.exec());
}

QMessageBox::StandardButton defaultOverwriteChoice(const QString &title, const QString &text)
{
    return ask(title, text,
               {{QMessageBox::Yes, QStringLiteral("&Overwrite")},
                {QMessageBox::Save, QStringLiteral("Save &As...")},
                {QMessageBox::Cancel, QString()}},
               QMessageBox::Cancel, QMessageBox::Cancel);
}

QMessageBox::StandardButton defaultRecoveryChoice(const QString &title, const QString &text)
{
    return ask(title, text,
               {{QMessageBox::Yes, QString()},
                {QMessageBox::Discard, QStringLiteral("&Discard")},
                {QMessageBox::Cancel, QStringLiteral("&Later")}},
               QMessageBox::Yes, QMessageBox::Cancel);
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
Dialogs::Question Dialogs::unsavedChoice = defaultUnsavedChoice;
Dialogs::Question Dialogs::overwriteChoice = defaultOverwriteChoice;
Dialogs::Question Dialogs::recoveryChoice = defaultRecoveryChoice;
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

QMessageBox::StandardButton Dialogs::askSaveDiscardCancel(const QString &title, const QString &text)
{
    return unsavedChoice ? unsavedChoice(title, text) : QMessageBox::Cancel;
}

QMessageBox::StandardButton Dialogs::askOverwrite(const QString &title, const QString &text)
{
    return overwriteChoice ? overwriteChoice(title, text) : QMessageBox::Cancel;
}

QMessageBox::StandardButton Dialogs::askRecover(const QString &title, const QString &text)
{
    return recoveryChoice ? recoveryChoice(title, text) : QMessageBox::Cancel;
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
    unsavedChoice = defaultUnsavedChoice;
    overwriteChoice = defaultOverwriteChoice;
    recoveryChoice = defaultRecoveryChoice;
    information = defaultInformation;
    warning = defaultWarning;
}
