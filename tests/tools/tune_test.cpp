// The generated demo tune, read back byte by byte: a well-formed Standard MIDI File of
// type 1, about a minute long, whose voices keep all three colour bands of the show busy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Note {
    double start;   // seconds
    int channel;
    int key;
};

struct Tune {
    int format = -1, tracks = 0, division = 0;
    double seconds = 0;
    std::vector<Note> notes;
    std::set<int> channelsWithProgram;
    std::vector<std::string> problems;
};

// Reads the file strictly: chunk lengths, event lengths, running status, End of Track as
// the last event of every track, every note let go in the track that struck it.
Tune Read(const std::vector<std::uint8_t>& bytes) {
    Tune tune;
    std::size_t at = 0;
    auto need = [&](std::size_t count) { return at + count <= bytes.size(); };
    auto word = [&](int size) {
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i) value = value << 8 | bytes[at++];
        return value;
    };
    if (!need(14) || std::string(bytes.begin(), bytes.begin() + 4) != "MThd") {
        tune.problems.push_back("no header");
        return tune;
    }
    at = 4;
    if (word(4) != 6) tune.problems.push_back("header length");
    tune.format = static_cast<int>(word(2));
    const int declared = static_cast<int>(word(2));
    tune.division = static_cast<int>(word(2));
    if (tune.division <= 0 || tune.division >= 0x8000) {
        tune.problems.push_back("division");
        return tune;
    }

    std::map<std::uint32_t, std::uint32_t> tempo{{0, 500000}};   // tick → µs a quarter
    struct Raw {
        std::uint32_t tick;
        int channel, key;
    };
    std::vector<Raw> onsets;
    std::uint32_t lastTick = 0;
    while (need(8)) {
        const std::string kind(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at) + 4);
        at += 4;
        const std::uint32_t length = word(4);
        if (kind != "MTrk" || !need(length)) {
            tune.problems.push_back("chunk " + kind);
            return tune;
        }
        ++tune.tracks;
        const std::size_t end = at + length;
        std::uint32_t tick = 0;
        std::uint8_t status = 0;
        bool ended = false;
        std::map<std::pair<int, int>, int> held;
        while (at < end && !ended) {
            std::uint32_t delta = 0;
            for (int i = 0;; ++i) {
                if (i == 4 || at >= end) {
                    tune.problems.push_back("delta time");
                    return tune;
                }
                const std::uint8_t b = bytes[at++];
                delta = delta << 7 | (b & 0x7F);
                if (!(b & 0x80)) break;
            }
            tick += delta;
            if (bytes[at] & 0x80) status = bytes[at++];
            if (status == 0xFF) {
                const std::uint8_t type = bytes[at++];
                const std::uint8_t size = bytes[at++];   // short metas only in this file
                if (type == 0x51) {
                    std::size_t saved = at;
                    tempo[tick] = word(3);
                    at = saved;
                }
                if (type == 0x2F) ended = true;
                at += size;
                status = 0;
            } else if (status >= 0x80 && status < 0xF0) {
                const int channel = status & 0x0F, kind = status & 0xF0;
                const int dataBytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
                const int key = bytes[at], velocity = dataBytes == 2 ? bytes[at + 1] : 0;
                at += static_cast<std::size_t>(dataBytes);
                if (kind == 0xC0) tune.channelsWithProgram.insert(channel);
                if (kind == 0x90 && velocity > 0) {
                    ++held[{channel, key}];
                    onsets.push_back({tick, channel, key});
                } else if (kind == 0x80 || kind == 0x90) {
                    if (held[{channel, key}]-- <= 0) tune.problems.push_back("note off without note on");
                }
            } else {
                tune.problems.push_back("status byte");
                return tune;
            }
        }
        if (!ended || at != end) tune.problems.push_back("track does not end with End of Track");
        for (const auto& [note, count] : held)
            if (count != 0) tune.problems.push_back("note left sounding");
        at = end;
        lastTick = std::max(lastTick, tick);
    }
    if (tune.tracks != declared) tune.problems.push_back("track count");

    // Seconds from ticks through the tempo map.
    auto seconds = [&](std::uint32_t tick) {
        double total = 0;
        std::uint32_t from = 0, perQuarter = 500000;
        for (const auto& [change, value] : tempo) {
            if (change >= tick) break;
            total += double(change - from) * perQuarter / 1e6 / tune.division;
            from = change;
            perQuarter = value;
        }
        return total + double(tick - from) * perQuarter / 1e6 / tune.division;
    };
    tune.seconds = seconds(lastTick);
    for (const Raw& r : onsets) tune.notes.push_back({seconds(r.tick), r.channel, r.key});
    return tune;
}

double Hertz(int key) { return 440.0 * std::pow(2.0, (key - 69) / 12.0); }

TEST(DemoTune, IsAWellFormedTypeOneFileOfAboutAMinute) {
    std::ifstream in(std::string(VLX_INSTALL_DIR) + "/demo.mid", std::ios::binary);
    ASSERT_TRUE(in) << "demo.mid was not staged";
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const Tune tune = Read(bytes);
    for (const std::string& problem : tune.problems) ADD_FAILURE() << problem;
    EXPECT_EQ(tune.format, 1);
    EXPECT_GE(tune.tracks, 4);   // the conductor and three voices
    EXPECT_GE(tune.seconds, 50.0);
    EXPECT_LE(tune.seconds, 70.0);

    // Each colour band of the show (bins of 11025/1024 Hz: red up to 334 Hz, green 345–775 Hz,
    // blue 786–1690 Hz) hears fundamentals in every ten seconds of the tune, and every
    // voice chooses its instrument.
    const double bands[3][2] = {{40, 334}, {345, 775}, {786, 1690}};
    for (int band = 0; band < 3; ++band) {
        std::set<int> channels;
        for (double from = 0; from + 10 <= tune.seconds; from += 10) {
            bool heard = false;
            for (const Note& n : tune.notes) {
                const double f = Hertz(n.key);
                if (n.start >= from && n.start < from + 10 && f >= bands[band][0] && f <= bands[band][1]) {
                    heard = true;
                    channels.insert(n.channel);
                }
            }
            EXPECT_TRUE(heard) << "band " << band << " is silent from " << from << " s";
        }
        for (int channel : channels) EXPECT_TRUE(tune.channelsWithProgram.count(channel)) << "channel " << channel;
    }
    // Nothing falls between the bands or above them.
    for (const Note& n : tune.notes) {
        const double f = Hertz(n.key);
        const bool inBand = (f >= 40 && f <= 334) || (f >= 345 && f <= 775) || (f >= 786 && f <= 1690);
        EXPECT_TRUE(inBand) << "key " << n.key << " (" << f << " Hz) at " << n.start << " s";
    }
}

}  // namespace
