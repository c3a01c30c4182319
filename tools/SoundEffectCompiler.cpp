#include "tools/SoundEffectCompiler.h"

#include "tools/OutputFile.h"
#include "tools/SourceText.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>

namespace datac {

namespace {

constexpr int DEFAULT_ATTACK_MS = 3;
// Every sound ends with a short fade so that it never stops with a click.
constexpr int RELEASE_MS = 12;
constexpr int MAX_MILLISECONDS = 60000;
constexpr float HEADROOM = 0.85f;
constexpr double TWO_PI = 2.0 * std::numbers::pi;

std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::optional<double> Number(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value) || value < 0.0)
        return std::nullopt;
    return value;
}

// "A4" is 440 Hz; sharps with '#'. Rests ("-") give 0.
std::optional<double> NoteFrequency(const std::string& note)
{
    if (note == "-")
        return 0.0;
    static constexpr int SEMITONES[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G from C
    if (note.size() < 2 || note[0] < 'A' || note[0] > 'G')
        return std::nullopt;
    int semitone = SEMITONES[note[0] - 'A'];
    std::size_t at = 1;
    if (note[at] == '#') {
        ++semitone;
        ++at;
    }
    if (at + 1 != note.size() || note[at] < '0' || note[at] > '8')
        return std::nullopt;
    const int midi = (note[at] - '0' + 1) * 12 + semitone;
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

class Synth {
public:
    Synth(int milliseconds) : m_samples(static_cast<std::size_t>(milliseconds) * EFFECT_SAMPLE_RATE / 1000) {}

    void Glide(double from, double to, double amplitude, bool square)
    {
        double phase = 0.0;
        const std::size_t count = m_samples.size();
        for (std::size_t i = 0; i < count; ++i) {
            const double t = count > 1 ? static_cast<double>(i) / static_cast<double>(count - 1) : 0.0;
            const double frequency = from * std::pow(to / from, t);
            phase += TWO_PI * frequency / EFFECT_SAMPLE_RATE;
            double value = std::sin(phase);
            // Three odd harmonics: a square's edge without its harshness.
            if (square)
                value += std::sin(3.0 * phase) / 3.0 + std::sin(5.0 * phase) / 5.0;
            m_samples[i] += static_cast<float>(amplitude * value);
        }
    }

    void Noise(double amplitude, bool dark)
    {
        float low = 0.0f;
        for (float& sample : m_samples) {
            const float white = NextNoise();
            low += (white - low) * 0.08f;
            sample += static_cast<float>(amplitude) * (dark ? low * 3.0f : white);
        }
    }

    void Chime(double frequency, double amplitude)
    {
        static constexpr double PARTIALS[][3] = {{1.0, 1.0, 1.0}, {2.76, 0.5, 2.5}, {5.4, 0.25, 4.0}};
        for (std::size_t i = 0; i < m_samples.size(); ++i) {
            const double t = static_cast<double>(i) / EFFECT_SAMPLE_RATE;
            double value = 0.0;
            for (const auto& partial : PARTIALS)
                value += partial[1] * std::sin(TWO_PI * frequency * partial[0] * t) * std::exp(-t * 3.0 * partial[2]);
            m_samples[i] += static_cast<float>(amplitude * value * 0.6);
        }
    }

    void Tune(double beatsPerMinute, double amplitude, const std::vector<double>& notes)
    {
        const auto beat = static_cast<std::size_t>(60.0 / beatsPerMinute * EFFECT_SAMPLE_RATE);
        for (std::size_t n = 0; n < notes.size(); ++n) {
            if (notes[n] <= 0.0)
                continue;
            for (std::size_t j = 0; j < beat && n * beat + j < m_samples.size(); ++j) {
                const double t = static_cast<double>(j) / EFFECT_SAMPLE_RATE;
                const double envelope = std::min(1.0, t / 0.01) * std::exp(-t * 4.0);
                const double value = std::sin(TWO_PI * notes[n] * t) + 0.3 * std::sin(TWO_PI * 2.0 * notes[n] * t);
                m_samples[n * beat + j] += static_cast<float>(amplitude * envelope * value * 0.7);
            }
        }
    }

    MonoSound Finish(double decayMs, double attackMs)
    {
        const std::size_t count = m_samples.size();
        const double attack = attackMs * EFFECT_SAMPLE_RATE / 1000.0;
        const double release = RELEASE_MS * EFFECT_SAMPLE_RATE / 1000.0;
        float peak = 0.0f;
        for (std::size_t i = 0; i < count; ++i) {
            double gain = 1.0;
            if (decayMs > 0.0)
                gain *= std::exp(-static_cast<double>(i) * 1000.0 / EFFECT_SAMPLE_RATE / decayMs);
            if (static_cast<double>(i) < attack)
                gain *= static_cast<double>(i) / attack;
            const double fromEnd = static_cast<double>(count - i);
            if (fromEnd < release)
                gain *= fromEnd / release;
            m_samples[i] = static_cast<float>(m_samples[i] * gain);
            peak = std::max(peak, std::fabs(m_samples[i]));
        }
        // Layers may add up past full scale; scale down rather than clip.
        if (peak > HEADROOM) {
            for (float& sample : m_samples)
                sample *= HEADROOM / peak;
        }
        return {EFFECT_SAMPLE_RATE, m_samples};
    }

private:
    float NextNoise()
    {
        m_noiseState = m_noiseState * 1664525u + 1013904223u;
        return static_cast<float>(m_noiseState >> 8) / static_cast<float>(1u << 23) - 1.0f;
    }

    std::vector<float> m_samples;
    std::uint32_t m_noiseState = 12345u;
};

} // namespace

bool SynthesizeRecipe(int milliseconds, const std::vector<std::string>& layers, MonoSound& out, std::string& reason)
{
    if (milliseconds <= 0 || milliseconds > MAX_MILLISECONDS) {
        reason = "length must lie between 1 and " + std::to_string(MAX_MILLISECONDS) + " ms";
        return false;
    }
    Synth synth(milliseconds);
    double decay = 0.0;
    double attack = DEFAULT_ATTACK_MS;
    for (const std::string& layer : layers) {
        const std::vector<std::string> parts = Split(layer, ':');
        const std::string& kind = parts[0];
        std::vector<double> values;
        bool numeric = true;
        const std::size_t numericParts = kind == "notes" ? 3 : parts.size();
        for (std::size_t i = 1; i < numericParts && i < parts.size(); ++i) {
            const std::optional<double> value = Number(parts[i]);
            numeric = numeric && value.has_value();
            values.push_back(value.value_or(0.0));
        }
        const auto arity = [&](std::size_t n) { return numeric && parts.size() == n + 1; };
        if ((kind == "sine" || kind == "square") && arity(3) && values[0] > 0.0 && values[1] > 0.0) {
            synth.Glide(values[0], values[1], values[2], kind == "square");
        } else if ((kind == "noise" || kind == "lownoise") && arity(1)) {
            synth.Noise(values[0], kind == "lownoise");
        } else if (kind == "chime" && arity(2) && values[0] > 0.0) {
            synth.Chime(values[0], values[1]);
        } else if (kind == "decay" && arity(1)) {
            decay = values[0];
        } else if (kind == "attack" && arity(1)) {
            attack = values[0];
        } else if (kind == "notes" && parts.size() == 4 && numeric && values[0] > 0.0) {
            std::vector<double> notes;
            for (const std::string& note : Split(parts[3], ',')) {
                const std::optional<double> frequency = NoteFrequency(note);
                if (!frequency) {
                    reason = "unknown note '" + note + "'";
                    return false;
                }
                notes.push_back(*frequency);
            }
            synth.Tune(values[0], values[1], notes);
        } else {
            reason = "bad layer '" + layer + "'";
            return false;
        }
    }
    out = synth.Finish(decay, attack);
    return true;
}

bool CompileSoundRecipes(const std::vector<std::string>& sourcePaths, const std::string& installFolder,
                         Diagnostics& diagnostics)
{
    const std::size_t errorsBefore = diagnostics.Messages().size();
    for (const std::string& sourcePath : sourcePaths) {
        std::vector<std::uint8_t> bytes;
        if (!plat::ReadFileBytes(plat::FromUtf8(sourcePath), bytes)) {
            diagnostics.Error(sourcePath, "cannot be read");
            continue;
        }
        const std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        int number = 0;
        for (const std::string& rawLine : Split(text, '\n')) {
            ++number;
            const std::string line = TrimBlanks(rawLine);
            if (line.empty() || line.starts_with('#'))
                continue;
            std::vector<std::string> words;
            for (const std::string& word : Split(line, ' ')) {
                if (!TrimBlanks(word).empty())
                    words.push_back(TrimBlanks(word));
            }
            const std::optional<double> milliseconds = words.size() >= 3 ? Number(words[1]) : std::nullopt;
            const std::string& path = words[0];
            if (!milliseconds || path.find('/') != std::string::npos || path.find("..") != std::string::npos ||
                !path.ends_with(".wav")) {
                diagnostics.Error(sourcePath, number, "expected '<path>.wav <milliseconds> <layer> ...'");
                continue;
            }
            MonoSound sound;
            std::string reason;
            if (!SynthesizeRecipe(static_cast<int>(*milliseconds), {words.begin() + 2, words.end()}, sound, reason)) {
                diagnostics.Error(sourcePath, number, reason);
                continue;
            }
            std::string relative = path;
            std::replace(relative.begin(), relative.end(), '\\', '/');
            const std::string outPath = installFolder + "/" + relative;
            if (WriteIfChanged(outPath, CanonicalWave(sound, 16)) == WriteResult::Failed)
                diagnostics.Error(outPath, "cannot be written");
        }
    }
    return diagnostics.Messages().size() == errorsBefore;
}

} // namespace datac
