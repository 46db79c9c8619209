#include "view/prompts.h"

namespace {

// Every question gets the answer that changes nothing.
class SilentPrompts : public Prompts
{
public:
    QString saveFileName(const QString &, const QString &) override { return QString(); }
    QString openFileName(const QString &, const QString &) override { return QString(); }
    QMessageBox::StandardButton askYesNo(const QString &, const QString &) override { return QMessageBox::No; }
    void inform(const QString &, const QString &) override {}
    void warn(const QString &, const QString &) override {}
    QMessageBox::StandardButton askSaveDiscardCancel(const QString &, const QString &) override
    {
        return QMessageBox::Cancel;
    }
    QMessageBox::StandardButton askOverwrite(const QString &, const QString &) override
    {
        return QMessageBox::Cancel;
    }
    QMessageBox::StandardButton askRecover(const QString &, const QString &) override
    {
        return QMessageBox::Cancel;
    }
};

Prompts *installed = nullptr;

} // namespace

Prompts &Prompts::current()
{
    static SilentPrompts silent;
    return installed ? *installed : silent;
}

void Prompts::install(Prompts *prompts)
{
    installed = prompts;
}
