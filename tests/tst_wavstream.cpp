// SPDX-License-Identifier: GPL-3.0-or-later
// WAV files decoded as they play, and what is heard when a file cannot be played.
#include "platform/sound/chime.h"
#include "platform/sound/wavstream.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <QtEndian>

#include <atomic>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

QByteArray le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const QByteArray &id, const QByteArray &body)
{
    QByteArray bytes = id + le32(quint32(body.size())) + body;
    if (body.size() % 2)
        bytes += '\0';
    return bytes;
}

QByteArray fmtBody(quint16 tag, quint16 channels, quint32 rate, quint16 bits, int blockAlign = -1)
{
    const quint16 align = blockAlign >= 0 ? quint16(blockAlign) : quint16(channels * bits / 8);
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
}

QByteArray extensibleBody(quint16 subTag, quint16 channels, quint32 rate, quint16 bits)
{
    QByteArray guid
        = le16(subTag) + QByteArray("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    return fmtBody(0xFFFE, channels, rate, bits) + le16(22) + le16(bits) + le32(3) + guid;
}

QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

QByteArray wav(const QByteArray &fmt, const QByteArray &data)
{
    return riff(chunk("fmt ", fmt) + chunk("data", data));
}

// IEEE samples in little-endian byte order, as a float WAV holds them.
template<typename Sample> QByteArray littleEndian(std::initializer_list<Sample> values)
{
    QByteArray bytes;
    for (Sample value : values) {
        QByteArray one(sizeof(Sample), '\0');
        qToLittleEndian(value, one.data());
        bytes += one;
    }
    return bytes;
}

QList<qint16> samplesOf(const platform::PcmSound &sound)
{
    const auto *data = reinterpret_cast<const qint16 *>(sound.samples.constData());
    return QList<qint16>(data, data + sound.samples.size() / 2);
}

// Everything the source plays, taken in odd-sized pieces as the server asks for them.
QList<qint16> samplesOf(platform::SoundSource &source)
{
    QList<qint16> samples;
    std::vector<qint16> piece(1000 * source.channels());
    while (const qsizetype frames = source.read(piece.data(), 1000))
        samples.append(QList<qint16>(piece.data(), piece.data() + frames * source.channels()));
    return samples;
}

std::unique_ptr<platform::WavStream> openWav(const QByteArray &file)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(file);
    buffer->open(QIODevice::ReadOnly);
    return platform::WavStream::open(std::move(buffer));
}

} // namespace

class tst_WavStream : public QObject
{
    Q_OBJECT

private slots:
    void decodesEachSampleFormat_data();
    void decodesEachSampleFormat();
    void refusesWhatCannotBePlayed_data();
    void refusesWhatCannotBePlayed();
    void toleratesSloppyWriters();
    void unreadablePartsEndTheSound_data();
    void unreadablePartsEndTheSound();
    void namesWithoutAPlayableFileGiveTheChime();
    void chimeIsShortAndAudible();
};

void tst_WavStream::decodesEachSampleFormat_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QList<qint16>>("samples");

    QTest::newRow("8-bit unsigned mono") << wav(fmtBody(1, 1, 8000, 8), QByteArray("\x00\x80\xFF\x81", 4))
                                         << 8000 << 1 << QList<qint16> {-32768, 0, 32512, 256};
    QTest::newRow("16-bit stereo") << wav(fmtBody(1, 2, 44100, 16),
                                          le16(1) + le16(0xFFFF) + le16(0x7FFF) + le16(0x8000))
                                   << 44100 << 2 << QList<qint16> {1, -1, 32767, -32768};
    // 24 and 32 bits keep their top 16 bits.
    QTest::newRow("24-bit mono") << wav(fmtBody(1, 1, 48000, 24), QByteArray("\x7F\x34\x12\x00\x00\x80", 6))
                                 << 48000 << 1 << QList<qint16> {0x1234, -32768};
    QTest::newRow("32-bit integer stereo")
        << wav(fmtBody(1, 2, 96000, 32), le32(0x12345678) + le32(0xFFFF0000)) << 96000 << 2
        << QList<qint16> {0x1234, -1};
    QTest::newRow("32-bit float, clipped, NaN silent")
        << wav(fmtBody(3, 1, 22050, 32),
               littleEndian({0.0f, 1.0f, -1.0f, 0.5f, 2.0f, -3.0f, std::numeric_limits<float>::quiet_NaN()}))
        << 22050 << 1 << QList<qint16> {0, 32767, -32768, 16384, 32767, -32768, 0};
    QTest::newRow("lowest audible rate")
        << wav(fmtBody(1, 1, 40, 16), le16(9)) << 40 << 1 << QList<qint16> {9};
    QTest::newRow("64-bit float") << wav(fmtBody(3, 1, 11025, 64), littleEndian({-0.5, 0.25})) << 11025 << 1
                                  << QList<qint16> {-16384, 8192};
    QTest::newRow("extensible 16-bit")
        << wav(extensibleBody(1, 2, 48000, 16), le16(5) + le16(6)) << 48000 << 2 << QList<qint16> {5, 6};
    QTest::newRow("extensible float") << wav(extensibleBody(3, 1, 48000, 32), littleEndian({-0.25f})) << 48000
                                      << 1 << QList<qint16> {-8192};
    // The encodings that telephony and old sound packs use, which our own decoder refused.
    QTest::newRow("A-law") << wav(fmtBody(6, 1, 8000, 8), QByteArray("\xD5\x2A", 2)) << 8000 << 1
                           << QList<qint16> {8, -32256};
    QTest::newRow("mu-law") << wav(fmtBody(7, 1, 8000, 8), QByteArray("\xFF\x80", 2)) << 8000 << 1
                            << QList<qint16> {0, 32124};
    QTest::newRow("eight channels") << wav(fmtBody(1, 8, 48000, 16), QByteArray(16, '\0')) << 48000 << 8
                                    << QList<qint16>(8, 0);
}

void tst_WavStream::decodesEachSampleFormat()
{
    QFETCH(QByteArray, file);
    const std::unique_ptr<platform::WavStream> sound = openWav(file);
    QVERIFY(sound);
    QTEST(sound->sampleRate(), "rate");
    QTEST(sound->channels(), "channels");
    QTEST(samplesOf(*sound), "samples");
}

void tst_WavStream::refusesWhatCannotBePlayed_data()
{
    QTest::addColumn<QByteArray>("file");

    const QByteArray fmt16 = fmtBody(1, 1, 44100, 16);
    const QByteArray data = QByteArray(8, '\x11');
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("This is not a sound, just some words in a file.");
    QTest::newRow("RIFF but not WAVE") << QByteArray("RIFF\x10\x00\x00\x00"
                                                     "AVI LIST",
                                                     16);
    // libsndfile reads it, Windows' player does not: the chime, as there.
    QTest::newRow("Sun AU") << QByteArray(
        ".snd\0\0\0\x18\0\0\0\x04\0\0\0\x03\0\0\x1f\x40\0\0\0\x01\x12\x34\x56\x78", 28);
    QTest::newRow("big-endian RIFX") << QByteArray("RIFX" + wav(fmt16, data).mid(4));
    QTest::newRow("header only") << riff(QByteArray());
    QTest::newRow("no format") << riff(chunk("data", data));
    QTest::newRow("data before format") << riff(chunk("data", data) + chunk("fmt ", fmt16));
    QTest::newRow("format too short") << wav(fmt16.left(14), data);
    QTest::newRow("format beyond the end") << QByteArray(riff(QByteArray("fmt ") + le32(0x7FFFFFF0) + fmt16));
    QTest::newRow("16-bit float") << wav(fmtBody(3, 1, 44100, 16), data);
    QTest::newRow("ADPCM without its coefficients") << wav(fmtBody(2, 1, 8000, 4, 256), data);
    QTest::newRow("no channels") << wav(fmtBody(1, 0, 44100, 16, 2), data);
    QTest::newRow("nine channels") << wav(fmtBody(1, 9, 44100, 16), QByteArray(18, '\0'));
    QTest::newRow("rate 0") << wav(fmtBody(1, 1, 0, 16), data);
    // These played for hours without a sound that anybody hears, where the chime was due.
    QTest::newRow("rate 1 Hz") << wav(fmtBody(1, 1, 1, 16), data);
    QTest::newRow("rate 39 Hz") << wav(fmtBody(3, 1, 39, 32), data);
    QTest::newRow("rate too high") << wav(fmtBody(1, 1, 1000000, 16), data);
    QTest::newRow("extensible, unknown sub-format")
        << wav(extensibleBody(1, 1, 44100, 16).replace(30, 1, "\x01"), data);
    QTest::newRow("extensible, too short") << wav(extensibleBody(1, 1, 44100, 16).left(30), data);
    QTest::newRow("no frames") << wav(fmt16, QByteArray());
    QTest::newRow("less than one frame") << wav(fmtBody(1, 2, 44100, 16), QByteArray(3, '\1'));
    QTest::newRow("no data chunk") << riff(chunk("fmt ", fmt16) + chunk("LIST", "info"));
    QTest::newRow("huge chunk hides the data")
        << riff(chunk("fmt ", fmt16) + QByteArray("junk") + le32(0xFFFFFFFF) + chunk("data", data));
    QTest::newRow("cut inside a chunk header") << riff(chunk("fmt ", fmt16) + "da");
}

void tst_WavStream::refusesWhatCannotBePlayed()
{
    QFETCH(QByteArray, file);
    QVERIFY(!openWav(file));
}

void tst_WavStream::toleratesSloppyWriters()
{
    const QByteArray fmt = fmtBody(1, 1, 44100, 16);
    const QByteArray samples = le16(100) + le16(200) + le16(300);

    // A data size left at its maximum by a writer that streamed: what is there plays.
    QByteArray streamed = riff(chunk("fmt ", fmt) + "data" + le32(0xFFFFFFFF) + samples);
    streamed.replace(4, 4, le32(0));
    std::unique_ptr<platform::WavStream> sound = openWav(streamed);
    QVERIFY(sound);
    QCOMPARE(samplesOf(*sound), (QList<qint16> {100, 200, 300}));

    // A half frame at the end is dropped; an odd chunk before the data is padded; a larger format
    // chunk and chunks after the data are passed over.
    const QByteArray stereo = fmtBody(1, 2, 44100, 16) + le16(0);
    sound = openWav(
        riff(chunk("fmt ", stereo) + chunk("LIST", "odd") + chunk("data", samples) + chunk("junk", "after")));
    QVERIFY(sound);
    QCOMPARE(samplesOf(*sound), (QList<qint16> {100, 200}));
}

namespace {

// A file whose reads fail from a given byte on, as a network or USB file does after an I/O error.
class FailingFile final : public QBuffer
{
public:
    FailingFile(QByteArray bytes, qint64 failAt)
        : m_bytes(std::move(bytes))
        , m_failAt(failAt)
    {
        setBuffer(&m_bytes);
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (pos() + maxSize > m_failAt)
            return -1;
        return QBuffer::readData(data, maxSize);
    }

private:
    QByteArray m_bytes;
    qint64 m_failAt;
};

} // namespace

// Parts of a file that cannot be read: the sound ends where reading failed, and the program goes on.
void tst_WavStream::unreadablePartsEndTheSound_data()
{
    QTest::addColumn<qint64>("failAt"); // the byte reads fail from; 0: cut by another thread
    QTest::addColumn<bool>("heard");

    QTest::newRow("I/O error in the header") << qint64(30) << false;
    QTest::newRow("I/O error midway") << qint64(3 << 20) << true;
    // A mapped file cut short under the decoder killed the program with SIGBUS.
    QTest::newRow("cut short by another program while decoding") << qint64(0) << true;
}

void tst_WavStream::unreadablePartsEndTheSound()
{
    QFETCH(qint64, failAt);
    QFETCH(bool, heard);

    constexpr qint16 level = 1000;
    QByteArray samples(8 << 20, Qt::Uninitialized); // 16-bit mono: 4 Mi samples of `level`
    for (qsizetype i = 0; i < samples.size(); i += 2)
        qToLittleEndian(level, samples.data() + i);
    const QByteArray file = wav(fmtBody(1, 1, 44100, 16), samples);

    QList<std::optional<QList<qint16>>> sounds;
    const auto play = [&sounds](std::unique_ptr<platform::WavStream> stream) {
        sounds << (stream ? std::optional(samplesOf(*stream)) : std::nullopt);
    };
    if (failAt > 0) {
        play(platform::WavStream::open(std::make_unique<FailingFile>(file, failAt)));
    } else {
        QTemporaryDir dir;
        const QString path = dir.filePath("cut.wav");
        QFile on(path);
        QVERIFY(on.open(QIODevice::WriteOnly) && on.write(file) == file.size());
        on.close();
        // Cuts the file to its first page and makes it whole again (zeros), over and over.
        std::atomic<bool> done = false;
        std::thread cutter([&] {
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
            // Each state holds for a while, so that decoding meets the file both ways.
            const auto hold = [&done] {
                const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
                while (!done && std::chrono::steady_clock::now() < until)
                    std::this_thread::yield();
            };
            while (!done) {
                QVERIFY(::ftruncate(fd, 4096) == 0);
                hold();
                QVERIFY(::ftruncate(fd, file.size()) == 0);
                hold();
            }
            ::close(fd);
        });
        for (int i = 0; i < 20; ++i)
            play(platform::WavStream::open(path));
        done = true;
        cutter.join();
    }
    for (const auto &sound : sounds) {
        QVERIFY(heard || !sound);
        if (!sound)
            continue;
        // What was read plays as it was; a part made whole again reads as silence.
        const QList<qint16> &decoded = *sound;
        QVERIFY(decoded.size() <= samples.size() / 2);
        QVERIFY(decoded.count(level) + decoded.count(0) == decoded.size());
        if (failAt > 0)
            QVERIFY(decoded.count(level) == decoded.size() && decoded.size() * 2 < failAt);
        // Everything before the error plays, not just the first block.
        if (heard && failAt > 0)
            QVERIFY2(decoded.size() * 2 > failAt - 64 * 1024, qPrintable(QString::number(decoded.size())));
    }
    if (heard && failAt > 0)
        QVERIFY(sounds.first() && !sounds.first()->isEmpty());
}

void tst_WavStream::namesWithoutAPlayableFileGiveTheChime()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString good = dir.filePath("good.wav");
    const QString text = dir.filePath("notes.wav");
    QFile file(good);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(wav(fmtBody(1, 1, 16000, 16), le16(7) + le16(8)));
    file.close();
    QFile other(text);
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("not a sound");
    other.close();
    // A FIFO that nobody writes would hold the player's thread for ever.
    const QString fifo = dir.filePath("fifo.wav");
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);

    const platform::PcmSound chime = platform::loadChime();
    QVERIFY(chime.frames() > 0);
    for (const QString &name :
         {QString(), dir.filePath("missing.wav"), dir.path(), text, fifo, QString("/dev/zero")}) {
        const std::unique_ptr<platform::SoundSource> sound = platform::soundOrChime(name, chime);
        QVERIFY2(sound->sampleRate() == chime.sampleRate && samplesOf(*sound) == samplesOf(chime),
                 qPrintable(name));
    }
    const std::unique_ptr<platform::SoundSource> sound = platform::soundOrChime(good, chime);
    QCOMPARE(sound->sampleRate(), 16000);
    QCOMPARE(samplesOf(*sound), (QList<qint16> {7, 8}));
    // The name is taken as it stands: a relative one is found from the working folder.
    QVERIFY(QDir::setCurrent(dir.path()));
    QCOMPARE(samplesOf(*platform::soundOrChime("good.wav", chime)), (QList<qint16> {7, 8}));
}

void tst_WavStream::chimeIsShortAndAudible()
{
    const platform::PcmSound chime = platform::loadChime();
    QCOMPARE(chime.channels, 1);
    QCOMPARE(chime.sampleRate, 44100);
    const double seconds = double(chime.frames()) / chime.sampleRate;
    QVERIFY2(seconds > 0.3 && seconds < 2.0, qPrintable(QString::number(seconds)));
    // Heard from its start: loud within the first 50 ms, without clipping anywhere.
    const QList<qint16> samples = samplesOf(chime);
    int early = 0;
    for (int i = 0; i < chime.sampleRate / 20; ++i)
        early = std::max(early, std::abs(int(samples.at(i))));
    int peak = 0;
    for (qint16 sample : samples)
        peak = std::max(peak, std::abs(int(sample)));
    QVERIFY2(early > 8000, qPrintable(QString::number(early)));
    QVERIFY(peak < 32000);
}

QTEST_GUILESS_MAIN(tst_WavStream)
#include "tst_wavstream.moc"
