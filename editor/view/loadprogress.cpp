#include "view/loadprogress.h"

#include <QProgressDialog>

#include <algorithm>

namespace {

const int scale = 1000;

struct PhaseShare
{
    int start;
    int width;
    const char *text;
};

// Where each phase lies on the bar, roughly as long as it takes.
PhaseShare shareOf(MapFile::Phase phase)
{
    switch (phase) {
    case MapFile::Phase::Read:
        return {0, 50, "reading the file"};
    case MapFile::Phase::Parse:
        return {50, 250, "reading the map"};
    case MapFile::Phase::Sectors:
        return {300, 350, "making the cells"};
    case MapFile::Phase::Places:
        break;
    }
    return {650, 350, "placing the cells"};
}

} // namespace

std::function<void(QProgressDialog *, MapFile::Phase)> LoadProgress::observer;

LoadProgress::LoadProgress(QWidget *window, const QString &name)
    : dialog(std::make_unique<QProgressDialog>(QString(), QStringLiteral("Cancel"), 0, scale, window)),
      fileName(name)
{
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(500);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    // The minimum starts the clock that decides whether the dialog shows.
    dialog->setValue(0);
}

LoadProgress::~LoadProgress() = default;

bool LoadProgress::report(MapFile::Phase phase, qint64 done, qint64 total)
{
    if (observer)
        observer(dialog.get(), phase);
    // Set again after a cancel, a value could show the dialog anew.
    if (dialog->wasCanceled())
        return false;
    const PhaseShare share = shareOf(phase);
    if (shownPhase != int(phase)) {
        shownPhase = int(phase);
        dialog->setLabelText(QStringLiteral("Loading %1: %2").arg(fileName, QString::fromLatin1(share.text)));
    }
    const qint64 part = total > 0 ? std::clamp(done, qint64(0), total) * share.width / total : 0;
    dialog->setValue(share.start + int(part));
    return !dialog->wasCanceled();
}

MapFile::Progress LoadProgress::callback()
{
    return [this](MapFile::Phase phase, qint64 done, qint64 total) { return report(phase, done, total); };
}
