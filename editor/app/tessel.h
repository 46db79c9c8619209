#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TesselClass;
}
class MapView;

// The editor's one window: the form, the map view that drives it, and the
// Shift/Ctrl filter for the temporary Wall and Door layers.
class Tessel : public QWidget
{
    Q_OBJECT

public:
    explicit Tessel(QWidget *parent = nullptr);
    ~Tessel() override;

    MapView *mapView() const { return view.get(); }
    // At start: offers to open the recovery copy a previous session left.
    void offerRecovery();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void addHistoryKeys();
    std::unique_ptr<Ui::TesselClass> ui;
    std::unique_ptr<MapView> view;
};
