#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class MapView;
class QComboBox;

// The layer the user chose, which the combo box writes and mirrors, and the
// one Shift or Ctrl holds for a moment (with its word in the status bar).
class LayerChoice : public QObject
{
    Q_OBJECT

public:
    LayerChoice(MapView &view, QComboBox *combo);

    // The combo box's text becomes the chosen layer.
    void takeComboText();
    void hold(const QByteArray &name, const QString &text);
    void release();

private:
    void follow(const QByteArray &layer);

    MapView &view;
    QPointer<QComboBox> combo;
    QString holdText;
};
