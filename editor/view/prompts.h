#pragma once

#include <QMessageBox>
#include <QString>

// The questions and notices that block the editor: file choosers, yes/no,
// unsaved work, warnings. Code below the application asks through this
// interface; the application installs the implementation that shows real
// dialogs. With none installed every question gets its safe answer (no file,
// No, Cancel) and notices are dropped, so nothing blocks a windowless run.
class Prompts
{
public:
    virtual ~Prompts() = default;

    virtual QString saveFileName(const QString &caption, const QString &filter) = 0;
    virtual QString openFileName(const QString &caption, const QString &filter) = 0;
    // Yes/No, default No.
    virtual QMessageBox::StandardButton askYesNo(const QString &title, const QString &text) = 0;
    virtual void inform(const QString &title, const QString &text) = 0;
    virtual void warn(const QString &title, const QString &text) = 0;
    // Save, Discard or Cancel; Save is the default, Escape cancels.
    virtual QMessageBox::StandardButton askSaveDiscardCancel(const QString &title, const QString &text) = 0;
    // For a file another program changed: Yes (Overwrite), Save (Save As) or Cancel.
    virtual QMessageBox::StandardButton askOverwrite(const QString &title, const QString &text) = 0;
    // For work a previous session left: Yes (open it), Discard, or Cancel (later).
    virtual QMessageBox::StandardButton askRecover(const QString &title, const QString &text) = 0;

    // The installed prompts, or the silent ones when none is.
    static Prompts &current();
    // The caller keeps ownership and uninstalls (nullptr) before it goes.
    static void install(Prompts *prompts);
};
