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
    std::uint32_t tick;
    int channel, key;
};

// Reads the file strictly (chunk and event lengths, running status, End of Track last in
// every track, every note let go in the track that struck it); problems are test failures.
struct Tune {
    int format = -1, tracks = 0, division = 0;
    std::uint32_t lastTick = 0, tempo = 500000;   // µs a quarter: one tempo, set at the start
    std::vector<Note> notes;
    std::set<int> channelsWithProgram;

    double Seconds(std::uint32_t tick) const { return double(tick) * tempo / 1e6 / division; }

    explicit Tune(const std::vector<std::uint8_t>& bytes) { Read(bytes); }
    void Read(const std::vector<std::uint8_t>& bytes) {
        std::size_t at = 0;
        auto word = [&](int size) {
            std::uint32_t value = 0;
            for (int i = 0; i < size && at < bytes.size(); ++i) value = value << 8 | bytes[at++];
            return value;
        };
        ASSERT_TRUE(bytes.size() >= 14 && std::string(bytes.begin(), bytes.begin() + 4) == "MThd");
        at = 4;
        EXPECT_EQ(word(4), 6u) << "header length";
        format = static_cast<int>(word(2));
        const int declared = static_cast<int>(word(2));
        division = static_cast<int>(word(2));
        ASSERT_TRUE(division > 0 && division < 0x8000);
        while (at + 8 <= bytes.size()) {
            ASSERT_EQ(std::string(bytes.begin() + long(at), bytes.begin() + long(at) + 4), "MTrk");
            at += 4;
            const std::size_t end = word(4) + at;
            ASSERT_LE(end, bytes.size());
            ++tracks;
            std::uint32_t tick = 0;
            std::uint8_t status = 0;
            bool ended = false;
            std::map<std::pair<int, int>, int> held;
            while (at < end && !ended) {
                std::uint32_t delta = 0;
                for (int i = 0;; ++i) {
                    ASSERT_TRUE(i < 4 && at < end) << "delta time";
                    delta = delta << 7 | (bytes[at] & 0x7F);
                    if (!(bytes[at++] & 0x80)) break;
                }
                tick += delta;
                if (bytes[at] & 0x80) status = bytes[at++];
                if (status == 0xFF) {
                    const std::uint8_t type = bytes[at++], size = bytes[at++];   // short metas only
                    if (type == 0x51) {
                        EXPECT_EQ(tick, 0u) << "a tempo change";
                        tempo = word(3);
                        at -= 3;
                    }
                    ended = type == 0x2F;
                    at += size;
                    status = 0;
                    continue;
                }
                ASSERT_TRUE(status >= 0x80 && status < 0xF0) << "status byte at " << at;
                const int channel = status & 0x0F, kind = status & 0xF0;
                const int key = bytes[at], velocity = kind == 0xC0 || kind == 0xD0 ? 0 : bytes[at + 1];
                at += kind == 0xC0 || kind == 0xD0 ? 1 : 2;
                if (kind == 0xC0) channelsWithProgram.insert(channel);
                if (kind == 0x90 && velocity > 0) {
                    ++held[{channel, key}];
                    notes.push_back({tick, channel, key});
                } else if (kind == 0x80 || kind == 0x90) {
                    EXPECT_GT((held[{channel, key}]--), 0) << "note off without note on";
                }
            }
            EXPECT_TRUE(ended && at == end) << "track " << tracks << " does not end with End of Track";
            for (const auto& [note, count] : held) EXPECT_EQ(count, 0) << "note left sounding";
            at = end;
            lastTick = std::max(lastTick, tick);
        }
        EXPECT_EQ(tracks, declared);
    }
};

double Hertz(int key) { return 440.0 * std::pow(2.0, (key - 69) / 12.0); }

TEST(DemoTune, IsAWellFormedTypeOneFileOfAboutAMinuteThatKeepsEveryBandBusy) {
    std::ifstream in(std::string(VLX_INSTALL_DIR) + "/demo.mid", std::ios::binary);
    ASSERT_TRUE(in) << "demo.mid was not staged";
    const Tune tune(std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(tune.format, 1);
    EXPECT_GE(tune.tracks, 4);   // the conductor and three voices
    const double seconds = tune.Seconds(tune.lastTick);
    EXPECT_GE(seconds, 50.0);
    EXPECT_LE(seconds, 70.0);

    // Each colour band of the show (bins of 11025/1024 Hz: red up to 334 Hz, green 345–775 Hz,
    // blue 786–1690 Hz) hears fundamentals in every ten seconds of the tune, from voices that
    // chose their instrument; nothing falls between the bands or above them.
    const double bands[3][2] = {{40, 334}, {345, 775}, {786, 1690}};
    std::set<std::pair<int, int>> heard;   // band, ten-second stretch
    for (const Note& n : tune.notes) {
        const double f = Hertz(n.key);
        int band = 0;
        while (band < 3 && !(f >= bands[band][0] && f <= bands[band][1])) ++band;
        EXPECT_LT(band, 3) << "key " << n.key << " (" << f << " Hz) at " << tune.Seconds(n.tick) << " s";
        heard.insert({band, static_cast<int>(tune.Seconds(n.tick) / 10)});
        EXPECT_TRUE(tune.channelsWithProgram.count(n.channel)) << "channel " << n.channel;
    }
    for (int band = 0; band < 3; ++band)
        for (int stretch = 0; (stretch + 1) * 10 <= seconds; ++stretch)
            EXPECT_TRUE(heard.count({band, stretch})) << "band " << band << " is silent from " << stretch * 10 << " s";
}

}  // namespace
