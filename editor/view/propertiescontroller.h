#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class MapView;
class ObjectPropertiesForm;
class Sector;

// The properties form for cells: opened for the cell clicked or the
// selection, its OK as one undo step with the emission it starts. Only the
// form opened last is kept; it goes with the controller.
class PropertiesController : public QObject
{
    Q_OBJECT

public:
    explicit PropertiesController(MapView &view);
    ~PropertiesController() override;

    // For the selection, else for the cell under the pointer on the edited layer.
    void openForCellUnderPointer();
    void openForSelection();
    ObjectPropertiesForm *openForm() const;
    void closeForm();

private:
    void openProperties(const QList<Sector *> &sectors);

    MapView &view;
    QPointer<ObjectPropertiesForm> form;
};
