#pragma once

#include "view/prompts.h"

#include <QString>

#include <functional>

// The application's prompts: the blocking dialogs, each behind a hook that
// tests can replace. The defaults are the plain Qt dialogs. The main window
// installs one for its lifetime.
class Dialogs : public Prompts
{
public:
    using FileChooser = std::function<QString(const QString &caption, const QString &filter)>;
    using Question = std::function<QMessageBox::StandardButton(const QString &title, const QString &text)>;
    using Notice = std::function<void(const QString &title, const QString &text)>;

    QString saveFileName(const QString &caption, const QString &filter) override;
    QString openFileName(const QString &caption, const QString &filter) override;
    // Where the file dialogs open: the folder of the file last chosen in one
    // while it exists, else the working directory when it is writable, else home.
    static QString startFolder();
    static void rememberFolder(const QString &chosenFile);
    // Yes/No box, default No, no icon.
    QMessageBox::StandardButton askYesNo(const QString &title, const QString &text) override;
    // Box with OK only, no icon.
    void inform(const QString &title, const QString &text) override;
    void warn(const QString &title, const QString &text) override;
    // Save, Discard or Cancel; Save is the default, Escape cancels.
    QMessageBox::StandardButton askSaveDiscardCancel(const QString &title, const QString &text) override;
    // For a file another program changed: Yes (Overwrite), Save (Save As) or
    // Cancel; Cancel is the default and Escape.
    QMessageBox::StandardButton askOverwrite(const QString &title, const QString &text) override;
    // For work a previous session left: Yes (open it), Discard, or Cancel
    // (later: asked again at the next start); Yes is the default.
    QMessageBox::StandardButton askRecover(const QString &title, const QString &text) override;

    static FileChooser saveChooser;
    static FileChooser openChooser;
    static Question question;
    static Question unsavedChoice;
    static Question overwriteChoice;
    static Question recoveryChoice;
    static Notice information;
    static Notice warning;

    static void restoreDefaults();
};
