#include "app/dialogs.h"

#include <QFileDialog>

namespace {

QString defaultSave(const QString &caption, const QString &filter)
{
    return QFileDialog::getSaveFileName(nullptr, caption, QString(), filter, nullptr, QFileDialog::Options());
}

QString defaultOpen(const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(nullptr, caption, QString(), filter, nullptr, QFileDialog::Options());
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
