// quorvane-make-sounds: synthesises the game's sound cues from the readable
// recipes in data/sounds.
//
//   quorvane-make-sounds OUT_DIR RECIPE...
//
// Each recipe <Name>.txt becomes OUT_DIR/<Name>.wav (the name keeps its case):
// 16-bit PCM, mono. Exit status: 0 when every sound was written, 1 (with a
// one-line message on stderr) when a recipe is bad or a file cannot be
// written, 2 on wrong usage.
//
// Recipe format (see also data/sounds/README.md). One statement per line,
// '#' starts a comment, a statement is a word followed by name=value pairs:
//
//   sound rate=22050 peak=0.85 length=0.5 fadein=0.003 fadeout=0.01
//       Optional, at most once. rate: 22050 or 44100 samples per second
//       (default 22050). peak: the mix is scaled so its loudest sample is
//       this fraction of full scale (default 0.85, at most 0.95). length:
//       total seconds (default: until the last voice ends). fadein/fadeout:
//       seconds of fade at both ends of the whole sound (defaults 0.003 and
//       0.01), so it never starts or stops with a click.
//
//   tone freq=440 to=220 wave=sine ...    a pitched voice
//       freq: start pitch in Hz. to: end pitch (default freq), reached by an
//       exponential glide over the voice. wave: sine, square, saw, triangle
//       (default sine). duty: the high fraction of a square (default 0.5).
//       vibrato: wobble rate in Hz, depth: its size in semitones.
//
//   noise ...                             an unpitched voice (white noise)
//       seed: start of the noise generator (default: fixed per voice), so
//       the same recipe always gives the same bytes.
//
//   Every voice also takes:
//       start   seconds from the start of the sound (default 0)
//       dur     seconds the voice lasts (required)
//       gain    loudness before the final scaling (default 1)
//       attack  seconds of linear rise at the start (default 0.002)
//       decay   time constant in seconds of an exponential fall after the
//               attack (default 0: the voice holds its level)
//       release seconds of linear fall at the end (default 0.01)
//       lowpass, lowpass_to   cutoff in Hz of a 12 dB/octave low-pass filter,
//               sweeping exponentially from lowpass to lowpass_to
//       highpass  cutoff in Hz of a 6 dB/octave high-pass filter
//       drive   soft saturation amount, 0 = none (default), 1..10 = more grit
//       repeat  how many times the voice sounds (default 1)
//       every   seconds between repeats (default dur)
//       step    pitch ratio applied at each repeat (default 1)
//       fall    gain ratio applied at each repeat (default 1)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kPi = 3.14159265358979323846;

enum class Wave { Sine, Square, Saw, Triangle };

struct Voice {
    bool noise = false;
    int line = 0;
    double freq = 0, to = -1;
    Wave wave = Wave::Sine;
    double duty = 0.5, vibrato = 0, depth = 0;
    std::uint32_t seed = 0;
    double start = 0, dur = 0, gain = 1, attack = 0.002, decay = 0, release = 0.01;
    double lowpass = 0, lowpassTo = -1, highpass = 0, drive = 0;
    int repeat = 1;
    double every = -1, step = 1, fall = 1;
};

struct Recipe {
    int rate = 22050;
    double peak = 0.85;
    double length = -1;
    double fadeIn = 0.003, fadeOut = 0.01;
    std::vector<Voice> voices;
};

struct RecipeError {
    std::string message;
};

double Number(const std::string& key, const std::string& value, int line) {
    const char* begin = value.c_str();
    char* end = nullptr;
    double v = std::strtod(begin, &end);
    if (value.empty() || end != begin + value.size() || !std::isfinite(v))
        throw RecipeError{"line " + std::to_string(line) + ": " + key + "=" + value + " is not a number"};
    return v;
}

void Require(bool ok, int line, const std::string& why) {
    if (!ok) throw RecipeError{"line " + std::to_string(line) + ": " + why};
}

Recipe ParseRecipe(const std::string& text) {
    Recipe recipe;
    bool sawSound = false;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    std::uint32_t voiceIndex = 0;
    while (std::getline(in, raw)) {
        ++line;
        if (std::size_t hash = raw.find('#'); hash != std::string::npos) raw.erase(hash);
        std::istringstream words(raw);
        std::string kind;
        if (!(words >> kind)) continue;
        std::map<std::string, std::string> params;
        std::string word;
        while (words >> word) {
            std::size_t eq = word.find('=');
            Require(eq != std::string::npos && eq > 0, line, "expected name=value, found '" + word + "'");
            std::string key = word.substr(0, eq);
            Require(params.count(key) == 0, line, key + " is given twice");
            params[key] = word.substr(eq + 1);
        }
        auto num = [&](const std::string& key) { return Number(key, params[key], line); };

        if (kind == "sound") {
            Require(!sawSound, line, "only one 'sound' line is allowed");
            sawSound = true;
            for (const auto& [key, value] : params) {
                if (key == "rate") {
                    double r = num(key);
                    Require(r == 22050 || r == 44100, line, "rate must be 22050 or 44100");
                    recipe.rate = static_cast<int>(r);
                } else if (key == "peak") {
                    recipe.peak = num(key);
                    Require(recipe.peak > 0 && recipe.peak <= 0.95, line, "peak must be above 0 and at most 0.95");
                } else if (key == "length") {
                    recipe.length = num(key);
                    Require(recipe.length > 0 && recipe.length <= 10, line, "length must be above 0 and at most 10");
                } else if (key == "fadein") {
                    recipe.fadeIn = num(key);
                    Require(recipe.fadeIn >= 0, line, "fadein must not be negative");
                } else if (key == "fadeout") {
                    recipe.fadeOut = num(key);
                    Require(recipe.fadeOut >= 0, line, "fadeout must not be negative");
                } else {
                    Require(false, line, "unknown setting '" + key + "' of sound");
                }
            }
            continue;
        }
        Require(kind == "tone" || kind == "noise", line, "unknown statement '" + kind + "'");
        Voice v;
        v.noise = kind == "noise";
        v.line = line;
        v.seed = 0x9E3779B9u ^ (++voiceIndex * 0x85EBCA6Bu);
        bool haveFreq = false, haveDur = false;
        for (const auto& [key, value] : params) {
            if (key == "start") v.start = num(key);
            else if (key == "dur") { v.dur = num(key); haveDur = true; }
            else if (key == "gain") v.gain = num(key);
            else if (key == "attack") v.attack = num(key);
            else if (key == "decay") v.decay = num(key);
            else if (key == "release") v.release = num(key);
            else if (key == "lowpass") v.lowpass = num(key);
            else if (key == "lowpass_to") v.lowpassTo = num(key);
            else if (key == "highpass") v.highpass = num(key);
            else if (key == "drive") v.drive = num(key);
            else if (key == "repeat") {
                double r = num(key);
                Require(r >= 1 && r <= 64 && r == std::floor(r), line, "repeat must be a whole number from 1 to 64");
                v.repeat = static_cast<int>(r);
            } else if (key == "every") v.every = num(key);
            else if (key == "step") v.step = num(key);
            else if (key == "fall") v.fall = num(key);
            else if (!v.noise && key == "freq") { v.freq = num(key); haveFreq = true; }
            else if (!v.noise && key == "to") v.to = num(key);
            else if (!v.noise && key == "duty") v.duty = num(key);
            else if (!v.noise && key == "vibrato") v.vibrato = num(key);
            else if (!v.noise && key == "depth") v.depth = num(key);
            else if (!v.noise && key == "wave") {
                if (value == "sine") v.wave = Wave::Sine;
                else if (value == "square") v.wave = Wave::Square;
                else if (value == "saw") v.wave = Wave::Saw;
                else if (value == "triangle") v.wave = Wave::Triangle;
                else Require(false, line, "unknown wave '" + value + "' (sine, square, saw, triangle)");
            } else if (v.noise && key == "seed") {
                double s = num(key);
                Require(s >= 0 && s <= 4294967295.0 && s == std::floor(s), line, "seed must be a whole number");
                v.seed = static_cast<std::uint32_t>(s);
            } else {
                Require(false, line, "unknown setting '" + key + "' of " + kind);
            }
        }
        Require(haveDur && v.dur > 0 && v.dur <= 10, line, "dur must be given, above 0 and at most 10");
        Require(v.start >= 0, line, "start must not be negative");
        Require(v.attack >= 0 && v.decay >= 0 && v.release >= 0, line, "attack, decay and release must not be negative");
        if (!v.noise) {
            Require(haveFreq && v.freq > 0, line, "a tone needs freq above 0");
            if (v.to < 0) v.to = v.freq;
            Require(v.to > 0, line, "to must be above 0");
            Require(v.duty > 0 && v.duty < 1, line, "duty must be between 0 and 1");
        }
        if (v.lowpassTo < 0) v.lowpassTo = v.lowpass;
        Require(v.lowpass >= 0 && v.lowpassTo >= 0 && v.highpass >= 0, line, "filter cutoffs must not be negative");
        Require((v.lowpass == 0) == (v.lowpassTo == 0), line, "lowpass_to needs lowpass");
        Require(v.drive >= 0, line, "drive must not be negative");
        if (v.every < 0) v.every = v.dur;
        Require(v.step > 0 && v.fall >= 0, line, "step must be above 0 and fall not negative");
        recipe.voices.push_back(v);
    }
    Require(!recipe.voices.empty(), line, "a recipe needs at least one tone or noise");
    return recipe;
}

// Small, fixed generator so every build makes the same bytes.
struct Noise {
    std::uint32_t state;
    explicit Noise(std::uint32_t seed) : state(seed ? seed : 0x6D2B79F5u) {}
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483647.5 - 1.0;
    }
};

double Oscillator(Wave wave, double phase, double duty) {
    switch (wave) {
        case Wave::Sine: return std::sin(2 * kPi * phase);
        case Wave::Square: return phase < duty ? 1.0 : -1.0;
        case Wave::Saw: return 2 * phase - 1;
        case Wave::Triangle: return phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
    }
    return 0;
}

// Adds one sounding of a voice into the mix.
void Render(const Voice& v, int index, int rate, std::vector<double>& mix) {
    const double start = v.start + index * v.every;
    const double gain = v.gain * std::pow(v.fall, index);
    const double pitch = std::pow(v.step, index);
    const std::size_t first = static_cast<std::size_t>(std::llround(start * rate));
    const std::size_t count = static_cast<std::size_t>(std::llround(v.dur * rate));
    const double dt = 1.0 / rate;
    Noise noise(v.seed + static_cast<std::uint32_t>(index) * 7919u);
    double phase = 0, lp1 = 0, lp2 = 0, hpOut = 0, hpIn = 0;
    for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) * dt;
        const double along = t / v.dur;
        double s;
        if (v.noise) {
            s = noise.next();
        } else {
            double f = v.freq * pitch * std::pow(v.to / v.freq, along);
            if (v.vibrato > 0) f *= std::pow(2.0, v.depth / 12.0 * std::sin(2 * kPi * v.vibrato * t));
            s = Oscillator(v.wave, phase, v.duty);
            phase += f * dt;
            phase -= std::floor(phase);
        }
        if (v.lowpass > 0) {
            const double fc = std::min(v.lowpass * std::pow(v.lowpassTo / v.lowpass, along), 0.45 * rate);
            const double a = 1 - std::exp(-2 * kPi * fc * dt);
            lp1 += a * (s - lp1);
            lp2 += a * (lp1 - lp2);
            s = lp2;
        }
        if (v.highpass > 0) {
            const double rc = 1 / (2 * kPi * v.highpass);
            const double a = rc / (rc + dt);
            hpOut = a * (hpOut + s - hpIn);
            hpIn = s;
            s = hpOut;
        }
        if (v.drive > 0) s = std::tanh(s * (1 + v.drive)) / std::tanh(1 + v.drive);
        double env = 1;
        if (v.attack > 0 && t < v.attack) env *= t / v.attack;
        if (v.decay > 0 && t > v.attack) env *= std::exp(-(t - v.attack) / v.decay);
        const double left = v.dur - t;
        if (v.release > 0 && left < v.release) env *= left / v.release;
        mix[first + i] += gain * env * s;
    }
}

std::vector<std::int16_t> Synthesise(const Recipe& recipe) {
    double length = recipe.length;
    if (length <= 0) {
        length = 0;
        for (const Voice& v : recipe.voices)
            length = std::max(length, v.start + (v.repeat - 1) * v.every + v.dur);
    }
    std::vector<double> mix(static_cast<std::size_t>(std::llround(length * recipe.rate)), 0.0);
    for (const Voice& v : recipe.voices)
        for (int k = 0; k < v.repeat; ++k) Render(v, k, recipe.rate, mix);

    const double n = static_cast<double>(mix.size());
    const double fadeIn = recipe.fadeIn * recipe.rate, fadeOut = recipe.fadeOut * recipe.rate;
    for (std::size_t i = 0; i < mix.size(); ++i) {
        const double pos = static_cast<double>(i);
        if (pos < fadeIn) mix[i] *= pos / fadeIn;
        if (n - 1 - pos < fadeOut) mix[i] *= (n - 1 - pos) / fadeOut;
    }
    double loudest = 0;
    for (double s : mix) loudest = std::max(loudest, std::fabs(s));
    if (loudest < 1e-9) throw RecipeError{"the recipe makes silence"};
    const double scale = recipe.peak / loudest;
    std::vector<std::int16_t> samples(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) {
        const double q = std::round(mix[i] * scale * 32767.0);
        samples[i] = static_cast<std::int16_t>(std::clamp(q, -32767.0, 32767.0));
    }
    return samples;
}

std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& samples, int rate) {
    std::vector<std::uint8_t> out;
    auto u16 = [&](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(t[i]));
    };
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.reserve(44 + dataBytes);
    tag("RIFF");
    u32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(static_cast<std::uint32_t>(rate));
    u32(static_cast<std::uint32_t>(rate) * 2);
    u16(2);   // bytes per sample frame
    u16(16);  // bits per sample
    tag("data");
    u32(dataBytes);
    for (std::int16_t s : samples) u16(static_cast<std::uint16_t>(s));
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT_DIR RECIPE...\n", argc > 0 ? argv[0] : "quorvane-make-sounds");
        return 2;
    }
    const fs::path outDir = argv[1];
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (!fs::is_directory(outDir)) {
        std::fprintf(stderr, "cannot create the folder %s\n", outDir.string().c_str());
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const fs::path source = argv[i];
        if (source.extension() != ".txt") {
            std::fprintf(stderr, "%s: a recipe must end in .txt\n", source.string().c_str());
            return 2;
        }
        std::ifstream in(source, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot open %s\n", source.string().c_str());
            return 1;
        }
        std::ostringstream text;
        text << in.rdbuf();
        std::vector<std::uint8_t> bytes;
        try {
            const Recipe recipe = ParseRecipe(text.str());
            bytes = EncodeWave(Synthesise(recipe), recipe.rate);
        } catch (const RecipeError& e) {
            std::fprintf(stderr, "%s: %s\n", source.string().c_str(), e.message.c_str());
            return 1;
        }
        const fs::path target = outDir / (source.stem().string() + ".wav");
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", target.string().c_str());
            return 1;
        }
    }
    return 0;
}
