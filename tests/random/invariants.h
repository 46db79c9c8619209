#pragma once

#include <QByteArray>
#include <QString>

class EditorFixture;
class Sector;

// What must hold in the editor whenever no button or key is held. Each check
// returns the first problem it finds, or an empty text.
class Invariants
{
public:
    explicit Invariants(EditorFixture &editor);

    // The model's own rules: one list per sector, the cell indexes.
    QString model() const;
    // Every sector has its button, at its cell, shown when its layer is shown
    // and its cell is in view, with the look of its layer, and no other button
    // is on the map.
    QString buttons() const;
    // The selection holds sectors of the map only.
    QString selection() const;
    // The mode and tool radios show the mode and the paint tool of the editing state.
    QString tools() const;
    // No edit is left open once the buttons are up.
    QString edit() const;
    // Right when the model announces a removal: the sector has left every list.
    QString removal(const Sector *removed) const;

    // The map as a save writes it, always to the same scratch file, so that
    // two calls give the same bytes exactly when the maps are the same.
    QByteArray mapBytes() const;

private:
    QString buttonProblem(const Sector *sector, const QByteArray &layer) const;

    EditorFixture &editor;
};
