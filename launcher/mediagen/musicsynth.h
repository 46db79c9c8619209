#pragma once

#include <QVector>

// Small additive synthesiser for the menu music and the pointer blip.
class MusicSynth
{
public:
    // Two bars of a calm four-chord progression. Every note's tail wraps to
    // the start of the buffer, so the loop repeats without a click.
    static QVector<qint16> backgroundLoop(int sampleRate);

    // A short rising blip that starts and ends in silence.
    static QVector<qint16> menuBlip(int sampleRate);

    static constexpr double Tempo = 96.0; // beats per minute
    static constexpr int LoopBeats = 8;
};
