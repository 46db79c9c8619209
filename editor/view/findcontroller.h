#pragma once

#include <QObject>
#include <QPointer>

class FindWindow;
class GoToCellDialog;
class MapView;
class QWidget;

// Finding one's way in a large level: the Find window (Ctrl+F) and Go to Cell
// (Ctrl+G), their keys on the main window, and what their buttons do to the
// map through the view's document, editing state and selection.
class FindController : public QObject
{
    Q_OBJECT

public:
    FindController(MapView &view, QWidget *window);
    ~FindController() override;

    void openFind();
    void openGoToCell();
    FindWindow *findWindow() const;
    GoToCellDialog *goToCellDialog() const;

private:
    void selectMatches();
    void replaceTextures();

    MapView &view;
    QPointer<QWidget> window;
    QPointer<FindWindow> finder;
    QPointer<GoToCellDialog> goTo;
};
