// The demo tune, a minute of our own music for the light show: a Standard MIDI File of type 1
// with a conductor track and three voices that each light one colour of the show — a bass
// line in the red band (fundamentals 60–160 Hz), electric-piano chords in the green band
// (350–660 Hz) and a vibraphone line in the blue band (880–1660 Hz).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/datagen/datagen.h"

namespace {

constexpr int kTicksPerQuarter = 480;
constexpr int kEighth = kTicksPerQuarter / 2;
constexpr int kBar = 4 * kTicksPerQuarter;
constexpr int kMicrosecondsPerQuarter = 468750;   // 128 beats a minute

using Bytes = std::vector<std::uint8_t>;

struct Event {
    int tick;
    int order;   // at the same tick: notes end (0) before others start (1)
    Bytes bytes;
};

struct Chord {
    int root;    // pitch class, 0 = C
    bool minor;
};

// A minor: A-A-B-A, then one closing bar.
const Chord kSectionA[8] = {{9, true}, {5, false}, {0, false}, {7, false}, {9, true}, {5, false}, {7, false}, {4, false}};
const Chord kSectionB[8] = {{5, false}, {7, false}, {4, true}, {9, true}, {2, true}, {7, false}, {0, false}, {4, false}};
const Chord kClosing = {9, true};

// The lowest note at or above `lowest` with pitch class `pitchClass`.
int Place(int pitchClass, int lowest) { return lowest + ((pitchClass - lowest) % 12 + 12) % 12; }

std::vector<int> ChordTones(const Chord& chord, int lowest) {
    std::vector<int> tones{Place(chord.root, lowest), Place(chord.root + (chord.minor ? 3 : 4), lowest),
                           Place(chord.root + 7, lowest)};
    std::sort(tones.begin(), tones.end());
    return tones;
}

class Track {
public:
    Track(int channel, const std::string& name) : channel_(channel) { Meta(0, 0x03, Bytes(name.begin(), name.end())); }

    void Meta(int tick, std::uint8_t type, const Bytes& data) {
        Bytes bytes{0xFF, type, static_cast<std::uint8_t>(data.size())};
        bytes.insert(bytes.end(), data.begin(), data.end());
        events_.push_back({tick, 1, bytes});
    }
    void Program(int program) { Channel(0, 0xC0, {static_cast<std::uint8_t>(program)}); }
    void Controller(int controller, int value) {
        Channel(0, 0xB0, {static_cast<std::uint8_t>(controller), static_cast<std::uint8_t>(value)});
    }
    // A note from `tick` lasting `length` ticks, let go a little early so notes stay apart.
    void Note(int tick, int length, int note, int velocity) {
        const int end = tick + length - length / 10;
        Channel(tick, 0x90, {static_cast<std::uint8_t>(note), static_cast<std::uint8_t>(velocity)});
        events_.push_back({end, 0, {static_cast<std::uint8_t>(0x80 | channel_), static_cast<std::uint8_t>(note), 64}});
    }

    // The MTrk chunk, ending at `endTick`.
    Bytes Chunk(int endTick) {
        std::stable_sort(events_.begin(), events_.end(),
                         [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
        Bytes body;
        int now = 0;
        for (const Event& e : events_) {
            Delta(body, e.tick - now);
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
            now = e.tick;
        }
        Delta(body, endTick - now);
        body.insert(body.end(), {0xFF, 0x2F, 0x00});
        Bytes chunk{'M', 'T', 'r', 'k'};
        Word(chunk, static_cast<std::uint32_t>(body.size()));
        chunk.insert(chunk.end(), body.begin(), body.end());
        return chunk;
    }

    static void Word(Bytes& out, std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
    }

private:
    void Channel(int tick, std::uint8_t status, Bytes data) {
        data.insert(data.begin(), static_cast<std::uint8_t>(status | channel_));
        events_.push_back({tick, 1, data});
    }
    // A variable-length quantity: seven bits a byte, most significant first.
    static void Delta(Bytes& out, int value) {
        std::uint8_t groups[5];
        int count = 0;
        auto v = static_cast<std::uint32_t>(value);
        do {
            groups[count++] = v & 0x7F;
            v >>= 7;
        } while (v);
        while (count-- > 0) out.push_back(static_cast<std::uint8_t>(groups[count] | (count ? 0x80 : 0)));
    }

    int channel_;
    std::vector<Event> events_;
};

// Root, root, the fifth below, root, root: eighth-note steps over each bar.
void BassBar(Track& bass, int start, const Chord& chord) {
    const int root = Place(chord.root, 40);   // E2 … D#3
    const struct { int at, length, note; } steps[] = {{0, 3, root}, {3, 1, root}, {4, 2, root - 5}, {6, 1, root}, {7, 1, root}};
    for (const auto& s : steps) bass.Note(start + s.at * kEighth, s.length * kEighth, s.note, s.at == 0 ? 104 : 92);
}

// The chord three times in the bar: 3 + 3 + 2 eighths.
void KeysBar(Track& keys, int start, const Chord& chord) {
    const std::vector<int> tones = ChordTones(chord, 65);   // F4 … E5
    const struct { int at, length; } hits[] = {{0, 3}, {3, 3}, {6, 2}};
    for (const auto& h : hits)
        for (int note : tones) keys.Note(start + h.at * kEighth, h.length * kEighth, note, h.at == 0 ? 78 : 66);
}

// The vibraphone walks the chord's tones in the octave from A5; four figures take turns.
void VibesBar(Track& vibes, int start, const Chord& chord, int figure) {
    const std::vector<int> tones = ChordTones(chord, 81);   // A5 … G#6
    struct Step {
        int at, length, tone;
    };
    static const std::vector<Step> figures[4] = {
        {{0, 2, 0}, {2, 1, 1}, {3, 1, 2}, {4, 4, 1}},
        {{0, 1, 2}, {1, 1, 1}, {2, 1, 0}, {3, 1, 1}, {4, 2, 2}, {6, 2, 0}},
        {{0, 3, 1}, {3, 1, 0}, {4, 2, 1}, {6, 2, 2}},
        {{0, 2, 2}, {2, 2, 0}, {4, 4, 1}},
    };
    for (const Step& s : figures[figure % 4])
        vibes.Note(start + s.at * kEighth, s.length * kEighth, tones[s.tone], s.at == 0 ? 96 : 84);
}

Bytes Tune() {
    std::vector<const Chord*> bars;
    for (const Chord* section : {kSectionA, kSectionA, kSectionB, kSectionA})
        for (int i = 0; i < 8; ++i) bars.push_back(&section[i]);
    const int closingBar = static_cast<int>(bars.size());
    const int endTick = (closingBar + 1) * kBar;

    Track conductor(0, "Virelux demo");
    conductor.Meta(0, 0x58, {4, 2, 24, 8});   // 4/4
    conductor.Meta(0, 0x51, {kMicrosecondsPerQuarter >> 16, (kMicrosecondsPerQuarter >> 8) & 0xFF,
                             kMicrosecondsPerQuarter & 0xFF});

    Track bass(0, "Bass"), keys(1, "Keys"), vibes(2, "Vibes");
    bass.Program(33);    // electric bass (finger)
    keys.Program(4);     // electric piano
    vibes.Program(11);   // vibraphone
    bass.Controller(7, 112);
    keys.Controller(7, 72);
    vibes.Controller(7, 110);
    keys.Controller(10, 48);
    vibes.Controller(10, 80);
    keys.Controller(91, 40);
    vibes.Controller(91, 56);

    for (int bar = 0; bar < closingBar; ++bar) {
        BassBar(bass, bar * kBar, *bars[bar]);
        KeysBar(keys, bar * kBar, *bars[bar]);
        VibesBar(vibes, bar * kBar, *bars[bar], bar < 16 || bar >= 24 ? bar : bar + 2);
    }
    // The closing chord, held for the whole bar.
    const int last = closingBar * kBar;
    bass.Note(last, kBar, Place(kClosing.root, 40), 104);
    for (int note : ChordTones(kClosing, 65)) keys.Note(last, kBar, note, 74);
    vibes.Note(last, kBar, Place(kClosing.root, 81), 96);

    Bytes file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 4, kTicksPerQuarter >> 8, kTicksPerQuarter & 0xFF};
    for (Track* track : {&conductor, &bass, &keys, &vibes}) {
        const Bytes chunk = track->Chunk(endTick);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

}  // namespace

bool WriteTune(const std::string& folder) {
    const std::string path = folder + "/demo.mid";
    const Bytes tune = Tune();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(tune.data()), static_cast<std::streamsize>(tune.size()));
    if (!out) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
