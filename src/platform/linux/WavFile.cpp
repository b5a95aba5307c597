#include "WavFile.h"

#include <QByteArray>
#include <QIODevice>
#include <QtEndian>

namespace {

constexpr quint16 kTagPcm = 1;
constexpr quint16 kTagFloat = 3;
constexpr quint16 kTagExtensible = 0xFFFE;
// The tail that the extensible format's sub-format GUID shares with the plain tags it stands for.
constexpr char kGuidTail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
constexpr int kMaxChannels = 8;
constexpr int kMaxSampleRate = 384000;

quint16 u16(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

std::optional<WavFormat::Sample> sampleKind(quint16 tag, int bits)
{
    if (tag == kTagPcm) {
        switch (bits) {
        case 8:
            return WavFormat::Sample::UInt8;
        case 16:
            return WavFormat::Sample::Int16;
        case 32:
            return WavFormat::Sample::Int32;
        default:
            return std::nullopt;
        }
    }
    if (tag == kTagFloat && bits == 32)
        return WavFormat::Sample::Float32;
    return std::nullopt;
}

std::optional<WavFormat> readFormat(const QByteArray& fmt)
{
    if (fmt.size() < 16)
        return std::nullopt;
    quint16 tag = u16(fmt, 0);
    const int channels = u16(fmt, 2);
    const qint64 sampleRate = u32(fmt, 4);
    const int blockAlign = u16(fmt, 12);
    const int bits = u16(fmt, 14);
    if (tag == kTagExtensible) {
        if (fmt.size() < 40 || fmt.mid(26, 14) != QByteArray(kGuidTail, 14))
            return std::nullopt;
        // The valid bits must fill the container: 20 bits in 32 would play as if they were 32.
        if (u16(fmt, 18) != bits)
            return std::nullopt;
        tag = u16(fmt, 24);
    }
    const std::optional<WavFormat::Sample> sample = sampleKind(tag, bits);
    if (!sample || channels < 1 || channels > kMaxChannels || sampleRate < 1 || sampleRate > kMaxSampleRate
        || blockAlign != channels * bits / 8)
        return std::nullopt;
    WavFormat format;
    format.sample = *sample;
    format.channels = channels;
    format.sampleRate = int(sampleRate);
    format.bytesPerFrame = blockAlign;
    return format;
}

} // namespace

namespace WavFile {

std::optional<WavFormat> readHeader(QIODevice& file)
{
    if (!file.seek(0))
        return std::nullopt;
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<WavFormat> format;
    qint64 at = 12;
    for (;;) {
        if (!file.seek(at))
            return std::nullopt;
        const QByteArray header = file.read(8);
        if (header.size() < 8)
            return std::nullopt;
        const qint64 size = u32(header, 4);
        const qint64 body = at + 8;
        if (header.startsWith("fmt ")) {
            if (format || size > 1024)
                return std::nullopt;
            format = readFormat(file.read(size));
            if (!format)
                return std::nullopt;
        } else if (header.startsWith("data")) {
            if (!format)
                return std::nullopt;
            const qint64 available = qMax<qint64>(0, qMin(size, file.size() - body));
            format->dataOffset = body;
            format->dataSize = available - available % format->bytesPerFrame;
            return format;
        }
        at = body + size + (size & 1); // chunks are padded to an even length
    }
}

} // namespace WavFile
