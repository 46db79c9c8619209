#include "musicsynth.h"

#include <QtMath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

double midiFrequency(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// Mixes a voice into a circular buffer: whatever runs past the end is added
// at the start, which is what makes the loop seamless.
class LoopMixer
{
public:
    LoopMixer(int sampleRate, int length) : m_rate(sampleRate), m_buffer(size_t(length), 0.0) {}

    void add(double startSeconds, double lengthSeconds, const std::function<double(double)> &voice)
    {
        const int first = int(std::lround(startSeconds * m_rate));
        const int count = int(std::lround(lengthSeconds * m_rate));
        const int size = int(m_buffer.size());
        for (int i = 0; i < count; ++i)
            m_buffer[size_t((first + i) % size)] += voice(double(i) / m_rate);
    }

    QVector<qint16> toSamples(double peak) const
    {
        double loudest = 1e-9;
        for (double v : m_buffer)
            loudest = std::max(loudest, std::abs(v));
        QVector<qint16> samples;
        samples.reserve(int(m_buffer.size()));
        for (double v : m_buffer)
            samples << qint16(std::lround(v / loudest * peak * 32767.0));
        return samples;
    }

private:
    int m_rate;
    std::vector<double> m_buffer;
};

double pad(double f, double t, double length)
{
    const double attack = std::min(1.0, t / 0.25);
    const double release = t > length - 0.45 ? std::max(0.0, (length - t) / 0.45) : 1.0;
    const double tone = std::sin(2 * M_PI * f * t) + std::sin(2 * M_PI * f * 1.004 * t)
        + 0.25 * std::sin(2 * M_PI * f * 2 * t);
    return 0.07 * attack * release * tone;
}

double pluck(double f, double t)
{
    const double attack = std::min(1.0, t / 0.004);
    const double tail = t > 0.55 ? std::max(0.0, (0.6 - t) / 0.05) : 1.0;
    const double tone = std::sin(2 * M_PI * f * t) + 0.4 * std::sin(4 * M_PI * f * t) * std::exp(-t * 12)
        + 0.15 * std::sin(6 * M_PI * f * t) * std::exp(-t * 20);
    return 0.16 * attack * tail * std::exp(-t / 0.17) * tone;
}

double bass(double f, double t)
{
    const double attack = std::min(1.0, t / 0.01);
    const double tail = t > 0.5 ? std::max(0.0, (0.55 - t) / 0.05) : 1.0;
    const double tone = std::sin(2 * M_PI * f * t) + 0.3 * std::sin(4 * M_PI * f * t);
    return 0.28 * attack * tail * std::exp(-t / 0.35) * tone;
}

double kick(double t)
{
    // Pitch falls from 110 Hz to 45 Hz; the phase is the integral of that sweep.
    const double phase = 2 * M_PI * (45.0 * t + (110.0 - 45.0) * 0.04 * (1.0 - std::exp(-t / 0.04)));
    const double tail = t > 0.2 ? std::max(0.0, (0.25 - t) / 0.05) : 1.0;
    return 0.35 * std::min(1.0, t / 0.002) * tail * std::exp(-t / 0.09) * std::sin(phase);
}

} // namespace

QVector<qint16> MusicSynth::backgroundLoop(int sampleRate)
{
    const double beat = 60.0 / Tempo;
    LoopMixer mixer(sampleRate, int(std::lround(LoopBeats * beat * sampleRate)));

    // A minor, F, C, G: two beats each.
    const int chords[4][3] = {{57, 60, 64}, {57, 60, 65}, {55, 60, 64}, {55, 59, 62}};
    const int roots[4] = {45, 41, 48, 43};
    const int arpeggio[4] = {0, 1, 2, 1};

    for (int c = 0; c < 4; ++c) {
        const double start = c * 2 * beat;
        for (int note : chords[c]) {
            const double f = midiFrequency(note);
            const double length = 2 * beat + 0.4;
            mixer.add(start, length, [f, length](double t) { return pad(f, t, length); });
        }
        for (int b = 0; b < 2; ++b) {
            const double f = midiFrequency(roots[c]);
            mixer.add(start + b * beat, 0.55, [f](double t) { return bass(f, t); });
        }
        for (int e = 0; e < 4; ++e) {
            const double f = midiFrequency(chords[c][arpeggio[e]] + 12);
            mixer.add(start + e * beat / 2, 0.6, [f](double t) { return pluck(f, t); });
        }
        mixer.add(start, 0.25, kick);
    }
    return mixer.toSamples(0.8);
}

QVector<qint16> MusicSynth::menuBlip(int sampleRate)
{
    const double length = 0.09;
    const int count = int(std::lround(length * sampleRate));
    QVector<qint16> samples;
    samples.reserve(count);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / sampleRate;
        const double f = 660.0 * std::pow(2.0, t / length); // one octave up over the blip
        phase += 2 * M_PI * f / sampleRate;
        const double attack = std::min(1.0, t / 0.003);
        const double fade = std::pow(1.0 - double(i) / (count - 1), 2.0);
        const double v = (std::sin(phase) + 0.3 * std::sin(3 * phase)) * attack * fade;
        samples << qint16(std::lround(0.5 * v * 32767.0));
    }
    return samples;
}
