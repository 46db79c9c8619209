#pragma once

#include "app/dialogs.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TesselClass;
}
class FindController;
class MapView;
class OverviewController;
class TextureFolderController;

// The editor's one window: the form, the map view that drives it, and the
// Shift/Ctrl filter for the temporary Wall and Door layers.
class Tessel : public QWidget
{
    Q_OBJECT

public:
    explicit Tessel(QWidget *parent = nullptr);
    ~Tessel() override;

    MapView *mapView() const { return view.get(); }
    OverviewController *overviewController() const { return overview.get(); }
    TextureFolderController *textureFolders() const { return folders.get(); }
    FindController *findController() const { return finder.get(); }
    // At start: offers, one by one, the work every editor that ended without
    // saving left behind; Yes opens it here, as unsaved work.
    void offerRecovery();
    // At start, after offerRecovery: the map named on the command line, which
    // replaces recovered work only after the unsaved question.
    bool openAtStart(const QString &fileName);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void addHistoryKeys();
    // Installed for the window's lifetime: the view and its parts ask through it.
    Dialogs dialogs;
    std::unique_ptr<Ui::TesselClass> ui;
    std::unique_ptr<MapView> view;
    // After the view, which it follows: it goes first.
    std::unique_ptr<OverviewController> overview;
    std::unique_ptr<TextureFolderController> folders;
    // Find and Go to Cell; goes before the view whose map it reads.
    std::unique_ptr<FindController> finder;
};
