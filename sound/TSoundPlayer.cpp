#include "TSoundPlayer.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QtEndian>

namespace {
// Said once per run, however many players are made.
bool toldNoOutput = false;

quint32 ReadU32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 ReadU16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

QByteArray U32(quint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}
} // namespace

TSoundPlayer::TSoundPlayer(QObject* parent) : QObject(parent), soundHost(new QObject) {
    soundThread.setObjectName(QStringLiteral("Sound effects"));
    soundHost->moveToThread(&soundThread);
}

void TSoundPlayer::Prepare() {
    if (devices)
        return;
    devices = new QMediaDevices(this);
    connect(devices, &QMediaDevices::audioOutputsChanged, this, &TSoundPlayer::FindOutput);
    FindOutput();
    if (!HasOutput() && !toldNoOutput) {
        toldNoOutput = true;
        qWarning("No audio device detected: the game plays without sound");
    }
}

// The effects go with this object, on their own thread; the one playing is stopped first.
TSoundPlayer::~TSoundPlayer() {
    StopSound();
    if (soundThread.isRunning()) {
        QMetaObject::invokeMethod(
            soundHost,
            [this] {
                qDeleteAll(soundHost->findChildren<QSoundEffect*>(Qt::FindDirectChildrenOnly));
                // The effects let go of their outputs later: now, before the thread ends.
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            },
            Qt::BlockingQueuedConnection);
        soundThread.quit();
        soundThread.wait();
    }
    // Its thread has ended, or never ran: nothing can be delivered to it any more.
    delete soundHost;
}

template <typename F> void TSoundPlayer::OnSoundThread(F&& f) {
    QMetaObject::invokeMethod(soundHost, std::forward<F>(f), Qt::QueuedConnection);
}

QByteArray TSoundPlayer::WithTrailingSilence(const QByteArray& wav, int ms) {
    if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE")
        return wav;
    QByteArray format;
    qsizetype dataAt = -1;
    quint32 dataSize = 0;
    // The chunks in turn, each padded to an even length.
    for (qsizetype at = 12; at + 8 <= wav.size();) {
        const QByteArray id = wav.mid(at, 4);
        const quint32 size = ReadU32(wav, at + 4);
        if (quint64(at) + 8 + size > quint64(wav.size()))
            return wav;
        if (id == "fmt ")
            format = wav.mid(at, 8 + size);
        else if (id == "data") {
            dataAt = at + 8;
            dataSize = size;
        }
        at += 8 + size + (size & 1);
    }
    if (format.size() < 8 + 16 || dataAt < 0 || ReadU16(format, 8) != 1)
        return wav;
    const quint32 rate = ReadU32(format, 12);
    const quint16 blockAlign = ReadU16(format, 20);
    const quint16 bits = ReadU16(format, 22);
    if ((bits != 8 && bits != 16) || blockAlign == 0 || rate == 0)
        return wav;
    // Silence is the middle of the range: 128 for unsigned 8-bit samples, 0 for signed 16-bit.
    const qsizetype silence = qsizetype(quint64(rate) * quint32(ms) / 1000) * blockAlign;
    const QByteArray samples = wav.mid(dataAt, dataSize) + QByteArray(silence, bits == 8 ? '\x80' : '\0');
    QByteArray body = "WAVE" + format + "data" + U32(quint32(samples.size())) + samples;
    if (samples.size() & 1)
        body += '\0';
    return "RIFF" + U32(quint32(body.size())) + body;
}

void TSoundPlayer::FindOutput() {
    if (HasOutput() || QMediaDevices::defaultAudioOutput().isNull())
        return;
    for (size_t i = 0; i < voices.size(); ++i) {
        const QString resource = QStringLiteral(":/sounds/%1.wav").arg(SoundEffectName(SoundEffect(i)));
        voices[i].looped = QUrl(QStringLiteral("qrc") + resource);
        // The padded copy stays in memory, as a data URL, which the sound loader reads like a file.
        QFile file(resource);
        const QByteArray padded =
            file.open(QIODevice::ReadOnly) ? WithTrailingSilence(file.readAll(), TrailingSilenceMs) : QByteArray();
        voices[i].once = padded.isEmpty()
                             ? voices[i].looped
                             : QUrl(QStringLiteral("data:audio/wav;base64,") + QString::fromLatin1(padded.toBase64()));
    }
    soundThread.start();
    OnSoundThread([this] {
        for (const Voice& voice : voices)
            for (const QUrl& source : {voice.once, voice.looped})
                (new QSoundEffect(soundHost))->setSource(source);
    });
    hasOutput = true;
}

void TSoundPlayer::PlaySound(SoundEffect effect, bool loop) {
    Prepare();
    StopSound();
    playing = effect;
    Start(effect, loop);
}

void TSoundPlayer::StopSound() {
    if (playing)
        Stop(*playing);
    playing.reset();
}

void TSoundPlayer::Start(SoundEffect effect, bool loop) {
    if (!HasOutput())
        return;
    const Voice& voice = voices[size_t(effect)];
    OnSoundThread([this, source = loop ? voice.looped : voice.once, loop] {
        // The sound is loaded already (or on its way): the new effect has it at once, and goes
        // when it stops.
        auto* sound = new QSoundEffect(soundHost);
        connect(sound, &QSoundEffect::playingChanged, sound, [this, sound] {
            if (sound->isPlaying())
                return;
            if (sounding == sound)
                sounding = nullptr;
            sound->deleteLater();
        });
        sound->setSource(source);
        sound->setLoopCount(loop ? QSoundEffect::Infinite : 1);
        sound->play();
        if (sound->isPlaying())
            sounding = sound;
        else
            sound->deleteLater(); // a sound that could not be loaded
    });
}

void TSoundPlayer::Stop(SoundEffect) {
    if (!HasOutput())
        return;
    OnSoundThread([this] {
        if (sounding)
            sounding->stop();
    });
}

// The library's door: the program finds this by name once it has loaded the library.
extern "C" Q_DECL_EXPORT ISoundOutput* TarnwellMakeSoundOutput() {
    return new TSoundPlayer;
}
