// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/pulsesoundplayer.h"

#include "platform/sound/chime.h"
#include "platform/sound/pcmsound.h"
#include "platform/sound/pulselibrary.h"
#include "platform/sound/wavstream.h"

#include <QString>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace platform {

namespace {

// The server holds up to a second of the sound ahead, and at most this much: a refill that comes
// late on a busy machine still finds sound to play, and memory stays bounded however long the file.
constexpr uint32_t MaxBuffered = 1024 * 1024;

struct Request
{
    bool play = false; // false: stop
    QString name;
};

// A sound on its way to the server: where it is decoded from, and the block it is decoded into.
struct Playback
{
    std::unique_ptr<SoundSource> source;
    std::vector<qint16> block;
    pa_stream *stream = nullptr;
};

} // namespace

class PulseSoundPlayer::Private
{
public:
    Private();
    ~Private();

    void post(Request request);

private:
    void run();
    bool superseded();
    bool connect();
    std::unique_ptr<SoundSource> open(const QString &name) const;
    void start(std::unique_ptr<SoundSource> source);
    void stopPlayback();

    static void contextChanged(pa_context *context, void *self);
    static void writable(pa_stream *stream, size_t bytes, void *self);
    static void drained(pa_stream *stream, int success, void *self);

    // Requests from the user-interface thread to the player's thread; only the latest counts.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Request> m_pending;
    std::atomic<bool> m_quitting = false;

    const PulseLibrary *m_pa; // nullptr where libpulse is missing
    // The player's own chime, which lives exactly as long as the thread that plays it.
    const PcmSound m_chime;

    // The server side, touched only under the main loop's lock.
    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    std::unique_ptr<Playback> m_playback;
    std::thread m_thread; // decodes and talks to the server, so that callers never wait
};

PulseSoundPlayer::Private::Private()
    : m_pa(PulseLibrary::load())
    , m_chime(loadChime())
    , m_loop(m_pa ? m_pa->pa_threaded_mainloop_new() : nullptr)
{
    if (m_loop)
        m_pa->pa_threaded_mainloop_start(m_loop);
    m_thread = std::thread([this] { run(); });
}

PulseSoundPlayer::Private::~Private()
{
    {
        std::lock_guard lock(m_mutex);
        m_quitting = true;
    }
    m_wake.notify_one();
    if (m_loop) {
        // Ends a connection attempt that the player's thread may be waiting on.
        m_pa->pa_threaded_mainloop_lock(m_loop);
        stopPlayback();
        if (m_context)
            m_pa->pa_context_disconnect(m_context);
        m_pa->pa_threaded_mainloop_signal(m_loop, 0);
        m_pa->pa_threaded_mainloop_unlock(m_loop);
    }
    m_thread.join();
    if (m_loop) {
        m_pa->pa_threaded_mainloop_stop(m_loop);
        if (m_context)
            m_pa->pa_context_unref(m_context);
        m_pa->pa_threaded_mainloop_free(m_loop);
    }
}

void PulseSoundPlayer::Private::post(Request request)
{
    {
        std::lock_guard lock(m_mutex);
        m_pending = std::move(request);
    }
    m_wake.notify_one();
}

bool PulseSoundPlayer::Private::superseded()
{
    std::lock_guard lock(m_mutex);
    return m_pending.has_value() || m_quitting;
}

void PulseSoundPlayer::Private::run()
{
    if (!m_loop)
        return;
    // Connecting now spares the first alarm the time it takes.
    m_pa->pa_threaded_mainloop_lock(m_loop);
    connect();
    m_pa->pa_threaded_mainloop_unlock(m_loop);

    for (;;) {
        Request request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quitting || m_pending; });
            if (m_quitting)
                return;
            request = std::move(*m_pending);
            m_pending.reset();
        }
        // The file is opened and its first block decoded here, outside the lock, so that a stop
        // never waits for a file.
        std::unique_ptr<SoundSource> sound;
        if (request.play) {
            sound = open(request.name);
            if (superseded())
                continue;
        }
        m_pa->pa_threaded_mainloop_lock(m_loop);
        // A request that came while connecting wins: a stop then is never preceded by a blip.
        if (sound && connect() && !superseded())
            start(std::move(sound));
        else if (!sound)
            stopPlayback();
        m_pa->pa_threaded_mainloop_unlock(m_loop);
    }
}

// Makes sure a connection is ready, waiting for one under way; a lost one is made afresh.
bool PulseSoundPlayer::Private::connect()
{
    if (m_context) {
        const pa_context_state_t state = m_pa->pa_context_get_state(m_context);
        if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) {
            stopPlayback();
            m_pa->pa_context_unref(m_context);
            m_context = nullptr;
        }
    }
    if (!m_context) {
        if (m_quitting)
            return false;
        pa_proplist *properties = m_pa->pa_proplist_new();
        m_pa->pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Pomvale");
        m_pa->pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "event");
        m_context = m_pa->pa_context_new_with_proplist(m_pa->pa_threaded_mainloop_get_api(m_loop), "Pomvale",
                                                       properties);
        m_pa->pa_proplist_free(properties);
        if (!m_context)
            return false;
        m_pa->pa_context_set_state_callback(m_context, &Private::contextChanged, this);
        // Never start a server of our own: with none running, the program stays silent.
        if (m_pa->pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
    }
    for (;;) {
        const pa_context_state_t state = m_pa->pa_context_get_state(m_context);
        if (state == PA_CONTEXT_READY)
            return true;
        if (!PA_CONTEXT_IS_GOOD(state) || m_quitting)
            return false;
        m_pa->pa_threaded_mainloop_wait(m_loop);
    }
}

// The chosen sound, or the chime; nothing only when not even the chime's few bytes can be had.
// Running out of memory is no reason to end the program.
std::unique_ptr<SoundSource> PulseSoundPlayer::Private::open(const QString &name) const
{
    try {
        return soundOrChime(name, m_chime);
    } catch (const std::bad_alloc &) { }
    try {
        return std::make_unique<PcmSource>(m_chime);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

void PulseSoundPlayer::Private::start(std::unique_ptr<SoundSource> source)
{
    stopPlayback();
    if (source->channels() < 1) // the chime, where even it could not be read
        return;
    const pa_sample_spec sampleFormat {PA_SAMPLE_S16NE, static_cast<uint32_t>(source->sampleRate()),
                                       static_cast<uint8_t>(source->channels())};
    const qint64 frameBytes = 2 * qint64(source->channels());
    pa_channel_map map;
    m_pa->pa_channel_map_init_extend(&map, sampleFormat.channels, PA_CHANNEL_MAP_WAVEEX);

    std::unique_ptr<Playback> playback;
    try {
        playback = std::make_unique<Playback>();
        playback->block.resize(WavStream::BlockFrames * source->channels());
    } catch (const std::bad_alloc &) {
        return;
    }
    // A second of sound, or the whole sound where it says it is shorter, so that the stream starts
    // as soon as the first request is met (a sound that ends sooner starts once drained); a sound
    // that gives no length is taken as long.
    const qint64 frames = source->framesHint() > 0 ? source->framesHint() : qint64(sampleFormat.rate);
    const qint64 ahead = std::min<qint64>({MaxBuffered, sampleFormat.rate * frameBytes, frames * frameBytes});
    playback->source = std::move(source);
    playback->stream = m_pa->pa_stream_new(m_context, "Pomvale", &sampleFormat, &map);
    if (!playback->stream)
        return;
    m_pa->pa_stream_set_write_callback(playback->stream, &Private::writable, this);

    pa_buffer_attr attributes;
    attributes.maxlength = static_cast<uint32_t>(-1);
    // The server starts a new stream at once whatever its own latency, by rewinding what it mixed ahead.
    attributes.tlength = static_cast<uint32_t>(ahead);
    attributes.prebuf = static_cast<uint32_t>(-1);
    attributes.minreq = static_cast<uint32_t>(-1);
    attributes.fragsize = static_cast<uint32_t>(-1);
    if (m_pa->pa_stream_connect_playback(playback->stream, nullptr, &attributes, PA_STREAM_NOFLAGS, nullptr,
                                         nullptr)
        < 0) {
        m_pa->pa_stream_unref(playback->stream);
        return;
    }
    m_playback = std::move(playback);
}

void PulseSoundPlayer::Private::stopPlayback()
{
    if (!m_playback)
        return;
    // Disconnecting drops what the server still holds: the sound ends at once.
    m_pa->pa_stream_set_write_callback(m_playback->stream, nullptr, nullptr);
    m_pa->pa_stream_disconnect(m_playback->stream);
    m_pa->pa_stream_unref(m_playback->stream);
    m_playback.reset();
}

void PulseSoundPlayer::Private::contextChanged(pa_context *, void *self)
{
    auto *d = static_cast<Private *>(self);
    d->m_pa->pa_threaded_mainloop_signal(d->m_loop, 0);
}

void PulseSoundPlayer::Private::writable(pa_stream *stream, size_t bytes, void *self)
{
    auto *d = static_cast<Private *>(self);
    Playback *playback = d->m_playback.get();
    if (!playback || playback->stream != stream)
        return;
    // Decoded here, a block at a time, as the server asks for more.
    const int channels = playback->source->channels();
    const qsizetype blockFrames = static_cast<qsizetype>(playback->block.size()) / channels;
    qsizetype wanted = static_cast<qsizetype>(bytes) / (2 * channels);
    bool ended = false;
    while (wanted > 0 && !ended) {
        const qsizetype frames
            = playback->source->read(playback->block.data(), std::min(wanted, blockFrames));
        if (frames > 0)
            d->m_pa->pa_stream_write(stream, playback->block.data(),
                                     static_cast<size_t>(frames * 2 * channels), nullptr, 0,
                                     PA_SEEK_RELATIVE);
        ended = frames == 0;
        wanted -= frames;
    }
    if (ended) {
        // All given: once the server has played it, the stream goes, and with it every wake-up.
        d->m_pa->pa_stream_set_write_callback(stream, nullptr, nullptr);
        if (pa_operation *operation = d->m_pa->pa_stream_drain(stream, &Private::drained, self))
            d->m_pa->pa_operation_unref(operation);
    }
}

void PulseSoundPlayer::Private::drained(pa_stream *stream, int, void *self)
{
    auto *d = static_cast<Private *>(self);
    if (d->m_playback && d->m_playback->stream == stream)
        d->stopPlayback();
}

PulseSoundPlayer::PulseSoundPlayer() = default;

PulseSoundPlayer::~PulseSoundPlayer() = default;

void PulseSoundPlayer::play(const QString &name)
{
    if (!d) { // libpulse, the server and the player's thread come with the first sound
        try {
            d = std::make_unique<Private>();
        } catch (const std::bad_alloc &) {
            return; // out of memory: no sound this time, and the next play tries again
        } catch (const std::system_error &) {
            return; // no thread could be started, for the same reason
        }
    }
    d->post({true, name});
}

void PulseSoundPlayer::stop()
{
    if (d) // before the first sound there is nothing to stop
        d->post({false, QString()});
}

} // namespace platform
