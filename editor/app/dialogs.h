#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

// The blocking dialogs of the editor, each behind a hook that tests can replace.
// The defaults are the plain Qt dialogs.
class Dialogs
{
public:
    using FileChooser = std::function<QString(const QString &caption, const QString &filter)>;
    using Question = std::function<QMessageBox::StandardButton(const QString &title, const QString &text)>;
    using Notice = std::function<void(const QString &title, const QString &text)>;

    static QString saveFileName(const QString &caption, const QString &filter);
    static QString openFileName(const QString &caption, const QString &filter);
    // Where the file dialogs open: the folder of the file last chosen in one
    // while it exists, else the working directory when it is writable, else home.
    static QString startFolder();
    static void rememberFolder(const QString &chosenFile);
    // Yes/No box, default No, no icon.
    static QMessageBox::StandardButton askYesNo(const QString &title, const QString &text);
    // Box with OK only, no icon.
    static void inform(const QString &title, const QString &text);
    static void warn(const QString &title, const QString &text);
    // Save, Discard or Cancel; Save is the default, Escape cancels.
    static QMessageBox::StandardButton askSaveDiscardCancel(const QString &title, const QString &text);
    // For a file another program changed: Yes (Overwrite), Save (Save As) or
    // Cancel; Cancel is the default and Escape.
    static QMessageBox::StandardButton askOverwrite(const QString &title, const QString &text);
    // For work a previous session left: Yes (open it), Discard, or Cancel
    // (later: asked again at the next start); Yes is the default.
    static QMessageBox::StandardButton askRecover(const QString &title, const QString &text);

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
