// SPDX-License-Identifier: GPL-3.0-or-later
// Delay from the alarm's play() to the first audible sample on the sound server, and whether the
// sound's start is intact. Needs a PulseAudio server whose default sink is a 44.1 kHz null sink
// with a silent stream keeping it running; bench/sound_latency.sh provides one:
//   pomvale-bench-sound [WARM_PLAYS] [COLD_STARTS]
// The monitor is recorded in this process and timed against the monotonic clock. Each cold start
// makes a new player right at the alarm, as the first alarm after start-up does; then WARM_PLAYS
// plays follow on one player.
#include "bench/median.h"
#include "platform/sound/pulsesoundplayer.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtEndian>

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int Rate = 44100;
constexpr double Threshold = 0.02; // of full scale: far above the null sink's digital silence
using Clock = std::chrono::steady_clock;

double nowNs()
{
    return std::chrono::duration<double, std::nano>(Clock::now().time_since_epoch()).count();
}

// A 1 s chirp from 300 to 3000 Hz at 0.8, full level from its first sample: every stretch of it is
// different, so the part heard first tells how much of the start was lost.
std::vector<float> chirp()
{
    std::vector<float> samples(Rate);
    for (int i = 0; i < Rate; ++i) {
        const double t = double(i) / Rate;
        samples[i] = float(0.8 * std::sin(2 * M_PI * (300 * t + 1350 * t * t)));
    }
    return samples;
}

QByteArray wavOf(const std::vector<float> &samples)
{
    QByteArray data;
    for (float sample : samples) {
        const auto value = qint16(std::lround(sample * 32767));
        char bytes[4];
        qToLittleEndian(value, bytes);
        qToLittleEndian(value, bytes + 2);
        data.append(bytes, 4);
    }
    QByteArray header(44, '\0');
    char *h = header.data();
    memcpy(h, "RIFF", 4);
    qToLittleEndian(quint32(36 + data.size()), h + 4);
    memcpy(h + 8, "WAVEfmt ", 8);
    qToLittleEndian(quint32(16), h + 16);
    qToLittleEndian(quint16(1), h + 20);
    qToLittleEndian(quint16(2), h + 22);
    qToLittleEndian(quint32(Rate), h + 24);
    qToLittleEndian(quint32(Rate * 4), h + 28);
    qToLittleEndian(quint16(4), h + 32);
    qToLittleEndian(quint16(16), h + 34);
    memcpy(h + 36, "data", 4);
    qToLittleEndian(quint32(data.size()), h + 40);
    return header + data;
}

// Records the sink's monitor; sample n was rendered at offsetNs + n / Rate seconds.
class Recorder
{
public:
    bool start()
    {
        const pa_sample_spec sampleFormat {PA_SAMPLE_FLOAT32NE, Rate, 2};
        pa_buffer_attr attributes {};
        attributes.maxlength = uint32_t(-1);
        attributes.fragsize = uint32_t(pa_usec_to_bytes(5000, &sampleFormat));
        int error = 0;
        const char *sink = std::getenv("PULSE_SINK");
        const std::string monitor = std::string(sink ? sink : "pomvale_null") + ".monitor";
        m_stream = pa_simple_new(nullptr, "pomvale-bench", PA_STREAM_RECORD, monitor.c_str(), "monitor",
                                 &sampleFormat, nullptr, &attributes, &error);
        if (!m_stream) {
            std::fprintf(stderr, "cannot record %s: %s\n", monitor.c_str(), pa_strerror(error));
            return false;
        }
        m_thread = std::thread([this] { run(); });
        return true;
    }

    void stop()
    {
        m_running = false;
        m_thread.join();
        pa_simple_free(m_stream);
        std::sort(m_origins.begin(), m_origins.end());
        offsetNs = m_origins[m_origins.size() / 2];
    }

    std::vector<float> left; // left channel
    double offsetNs = 0;

private:
    void run()
    {
        float buffer[2 * 220];
        while (m_running) {
            if (pa_simple_read(m_stream, buffer, sizeof buffer, nullptr) < 0)
                return;
            const double readNs = nowNs();
            for (int i = 0; i < 220; ++i)
                left.push_back(buffer[2 * i]);
            // Each read tells when the recording's first sample would have come, had this read's last
            // sample just come; the median over the recording is the origin of its clock. A read
            // that came late moves it only a little; the earliest one would place samples up to
            // the sink's mixing-ahead too early.
            m_origins.push_back(readNs - double(left.size() - 1) * 1e9 / Rate);
        }
    }

    pa_simple *m_stream = nullptr;
    std::vector<double> m_origins;
    std::thread m_thread;
    std::atomic<bool> m_running = true;
};

struct Result
{
    bool heard = false;
    double latencyMs = 0;
    double lostMs = -1; // how much of the sound's start was not heard
    double match = 0; // normalised correlation of the first 50 ms heard with the sound
};

Result analyse(const Recorder &recorder, const std::vector<float> &sound, double playNs)
{
    Result result;
    const auto &rec = recorder.left;
    auto from = qsizetype(std::max(0.0, (playNs - recorder.offsetNs) * Rate / 1e9 - Rate * 0.01));
    qsizetype onset = -1;
    for (qsizetype i = from; i < qsizetype(rec.size()) && i < from + Rate; ++i) {
        if (std::abs(rec[i]) > Threshold) {
            onset = i;
            break;
        }
    }
    if (onset < 0)
        return result;
    result.heard = true;
    result.latencyMs = (recorder.offsetNs + double(onset) * 1e9 / Rate - playNs) / 1e6;

    // Which stretch of the sound the first 50 ms heard are: the best match over the first 200 ms.
    const int window = Rate / 20;
    if (onset + window > qsizetype(rec.size()))
        return result;
    const qsizetype start = onset;
    double best = -2;
    int bestShift = 0;
    for (int shift = 0; shift < Rate / 5; ++shift) {
        double dot = 0, a = 0, b = 0;
        for (int i = 0; i < window; ++i) {
            dot += rec[start + i] * sound[shift + i];
            a += rec[start + i] * rec[start + i];
            b += sound[shift + i] * sound[shift + i];
        }
        const double match = dot / std::sqrt(a * b + 1e-30);
        if (match > best) {
            best = match;
            bestShift = shift;
        }
    }
    result.match = best;
    result.lostMs = double(bestShift) * 1000 / Rate;
    return result;
}

void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

int main(int argc, char *argv[])
{
    const int warmPlays = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    const int coldStarts = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chirp.wav"));
    const std::vector<float> sound = chirp();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(wavOf(sound)) < 0)
            return 1;
    }

    Recorder recorder;
    if (!recorder.start())
        return 1;
    pause(500);

    // Each play lasts 400 ms and is stopped; 300 ms of silence separate them.
    struct Play
    {
        bool cold;
        double ns;
    };
    std::vector<Play> plays;
    for (int i = 0; i < coldStarts; ++i) {
        const double at = nowNs();
        auto player = std::make_unique<platform::PulseSoundPlayer>();
        player->play(path);
        plays.push_back({true, at});
        pause(400);
        player->stop();
        pause(300);
        player.reset();
    }
    {
        platform::PulseSoundPlayer player;
        pause(300);
        for (int i = 0; i < warmPlays; ++i) {
            const double at = nowNs();
            player.play(path);
            plays.push_back({false, at});
            pause(400);
            player.stop();
            pause(300);
        }
    }
    pause(300);
    recorder.stop();

    std::vector<double> cold, warm, all;
    double worstLost = 0, worstMatch = 1;
    int unheard = 0;
    for (const Play &play : plays) {
        const Result result = analyse(recorder, sound, play.ns);
        std::printf("%s play: %7.1f ms to the first audible sample, start lost %.1f ms, match %.3f\n",
                    play.cold ? "cold" : "warm", result.latencyMs, result.lostMs, result.match);
        if (!result.heard) {
            ++unheard;
            continue;
        }
        (play.cold ? cold : warm).push_back(result.latencyMs);
        all.push_back(result.latencyMs);
        worstLost = std::max(worstLost, result.lostMs);
        worstMatch = std::min(worstMatch, result.match);
    }
    if (all.empty())
        return 1;
    std::printf("\nfirst play of a new player (%zu): median %.1f ms, worst %.1f ms\n", cold.size(),
                median(cold), *std::max_element(cold.begin(), cold.end()));
    std::printf("later plays (%zu): median %.1f ms, worst %.1f ms\n", warm.size(), median(warm),
                *std::max_element(warm.begin(), warm.end()));
    std::printf("all plays (%zu): median %.1f ms, worst %.1f ms; never heard: %d\n", all.size(), median(all),
                *std::max_element(all.begin(), all.end()), unheard);
    std::printf("start of the sound lost: worst %.1f ms; first 50 ms heard match the sound: worst %.3f\n",
                worstLost, worstMatch);
    return unheard ? 1 : 0;
}
