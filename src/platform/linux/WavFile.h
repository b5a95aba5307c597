#pragma once

#include <QtGlobal>
#include <optional>

class QIODevice;

/// The layout of a wave file whose samples can go to the sound card as they are.
struct WavFormat
{
    enum class Sample {
        UInt8,
        Int16,
        Int32,
        Float32,
    };
    Sample sample = Sample::Int16;
    int channels = 0;
    int sampleRate = 0;
    int bytesPerFrame = 0;
    qint64 dataOffset = 0; ///< where the samples begin in the file
    qint64 dataSize = 0; ///< whole frames only, and no more than the file holds
};

namespace WavFile {

/// Reads the header of a RIFF WAVE file of uncompressed samples: 8, 16 or 32-bit integers or 32-bit floats, with the
/// plain or the extensible format tag. Gives nothing for every other file (compressed samples, 24-bit, another
/// container, a damaged header), which is left to the media backend. A data chunk longer than the file (a recording
/// cut short) is taken as far as the file goes.
std::optional<WavFormat> readHeader(QIODevice& file);

} // namespace WavFile
