#!/usr/bin/env python3
"""Writes the sounds the program ships in its sound/ folder.

Everything is synthesised here, with nothing fetched: three short chimes as 16-bit mono WAV files and seven
MIDI tunes. Two tunes are public-domain classics (Beethoven's "Für Elise" opening and the swan theme of
Tchaikovsky's "Swan Lake"); the other five are simple melodies written for this program. The output is
deterministic, so running the script again gives byte-identical files.

Usage: scripts/make-sounds.py [output folder]   (default: share/sound beside this script's parent)
"""

import math
import os
import struct
import sys
import wave

RATE = 22050


# ---------------------------------------------------------------------------------------------------------------
# WAV chimes


def tone(freq, seconds, volume=0.5, decay=3.0, harmonics=((1, 1.0), (2, 0.35), (3, 0.15))):
    """A bell-like note: a few harmonics under an exponential decay, with a 5 ms attack against clicks."""
    count = int(RATE * seconds)
    attack = int(RATE * 0.005)
    samples = []
    for i in range(count):
        t = i / RATE
        value = sum(weight * math.sin(2 * math.pi * freq * mult * t) for mult, weight in harmonics)
        envelope = math.exp(-decay * t) * (min(1.0, i / attack) if attack else 1.0)
        samples.append(volume * envelope * value / sum(w for _, w in harmonics))
    return samples


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def mix_at(track, samples, start_seconds):
    start = int(RATE * start_seconds)
    if len(track) < start + len(samples):
        track.extend([0.0] * (start + len(samples) - len(track)))
    for i, value in enumerate(samples):
        track[start + i] += value
    return track


def write_wav(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        frames = bytearray()
        for value in samples:
            frames += struct.pack("<h", int(max(-1.0, min(1.0, value)) * 32000))
        out.writeframes(bytes(frames))


def alarm_clock():
    """Two quick bright rings, repeated: a small alarm clock."""
    track = []
    for burst in range(3):
        for ring in range(4):
            start = burst * 0.6 + ring * 0.08
            mix_at(track, tone(1760, 0.07, volume=0.45, decay=8.0), start)
    return track + silence(0.2)


def little_car():
    """A two-note horn, twice: square-ish tones with odd harmonics."""
    horn = ((1, 1.0), (3, 0.33), (5, 0.2))
    track = []
    for start in (0.0, 0.55):
        mix_at(track, tone(392, 0.22, volume=0.5, decay=1.0, harmonics=horn), start)
        mix_at(track, tone(494, 0.22, volume=0.5, decay=1.0, harmonics=horn), start)
    return track + silence(0.2)


def hour_chime():
    """A falling three-note bell for the full hour."""
    track = []
    for index, freq in enumerate((1047, 784, 523)):
        mix_at(track, tone(freq, 1.4, volume=0.5, decay=2.5), index * 0.45)
    return track


# ---------------------------------------------------------------------------------------------------------------
# MIDI tunes

TICKS = 480  # per quarter note

NOTE_INDEX = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def pitch(name):
    """'C4' is middle C (60); '#' sharpens, 'b' flattens: 'F#4', 'Bb3'."""
    letter, rest = name[0], name[1:]
    shift = 0
    while rest and rest[0] in "#b":
        shift += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + NOTE_INDEX[letter] + shift


def var_len(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(out)


def parse_melody(text):
    """Notes as 'E5/8' (pitch and length as a fraction of a whole note; a trailing '.' dots it), 'R/4' a rest."""
    notes = []
    for token in text.split():
        name, length = token.split("/")
        dotted = length.endswith(".")
        ticks = TICKS * 4 // int(length.rstrip("."))
        if dotted:
            ticks += ticks // 2
        notes.append((None if name == "R" else pitch(name), ticks))
    return notes


def write_midi(path, melody, tempo_bpm, program, bass=None):
    """A format-0 file: one track, melody on channel 0 and an optional bass line (same notation) on channel 1."""
    events = []  # (absolute tick, order, bytes)

    def add_voice(notes, channel, velocity):
        tick = 0
        for note, length in notes:
            if note is not None:
                events.append((tick, 1, bytes([0x90 | channel, note, velocity])))
                events.append((tick + length - 10, 0, bytes([0x80 | channel, note, 0])))
            tick += length
        return tick

    end = add_voice(parse_melody(melody), 0, 96)
    if bass:
        end = max(end, add_voice(parse_melody(bass), 1, 64))
    events.sort(key=lambda e: (e[0], e[1]))

    micros = 60_000_000 // tempo_bpm
    track = bytearray()
    track += b"\x00\xff\x51\x03" + micros.to_bytes(3, "big")
    track += b"\x00\xff\x58\x04\x04\x02\x18\x08"
    track += bytes([0x00, 0xC0, program, 0x00, 0xC1, program])
    last = 0
    for tick, _, data in events:
        track += var_len(tick - last) + data
        last = tick
    track += var_len(max(0, end - last)) + b"\xff\x2f\x00"

    with open(path, "wb") as out:
        out.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, TICKS))
        out.write(b"MTrk" + struct.pack(">I", len(track)) + bytes(track))


PIANO, NYLON_GUITAR, STRINGS, FLUTE, VIBRAPHONE, OBOE = 0, 24, 48, 73, 11, 68

# Beethoven, "Für Elise" (1810), the opening theme.
FUR_ELISE = """
E5/16 D#5/16 E5/16 D#5/16 E5/16 B4/16 D5/16 C5/16 A4/8 R/16 C4/16 E4/16 A4/16 B4/8 R/16 E4/16 G#4/16 B4/16
C5/8 R/16 E4/16 E5/16 D#5/16 E5/16 D#5/16 E5/16 B4/16 D5/16 C5/16 A4/8 R/16 C4/16 E4/16 A4/16 B4/8 R/16
E4/16 C5/16 B4/16 A4/4
"""
FUR_ELISE_BASS = """
R/4. A2/16 E3/16 A3/16 R/16 R/8 E2/16 E3/16 G#3/16 R/16 R/8 A2/16 E3/16 A3/16 R/16 R/4. R/8
A2/16 E3/16 A3/16 R/16 R/8 E2/16 E3/16 G#3/16 R/16 R/8 A2/4
"""

# Tchaikovsky, "Swan Lake" (1876), the swan theme.
SWAN_LAKE = """
F#5/2. B4/8 C#5/8 D5/8 E5/8 F#5/4. D5/8 F#5/4. D5/8 F#5/4. B4/8 D5/8 B4/8 G4/8 D5/8 B4/2.
R/4 F#5/2. B4/8 C#5/8 D5/8 E5/8 F#5/4. D5/8 F#5/4. D5/8 F#5/4. B4/8 D5/8 B4/8 G4/8 D5/8 B4/2.
"""
SWAN_LAKE_BASS = "B2/1 B2/1 G2/1 B2/1 B2/1 B2/1 G2/1 B2/1"

# The tunes below are our own: short, singable lines in the mood of each name.
ROMANCE = """
B4/8 B4/8 B4/8 B4/8 A4/8 G4/8 G4/8 F#4/8 E4/8 E4/8 G4/8 B4/8 E5/4. E5/8 E5/8 D5/8 C5/8 B4/8
A4/8 A4/8 B4/8 C5/8 B4/8 A4/8 G4/8 F#4/8 E4/2.
"""
ROMANCE_BASS = "E3/2. E3/2. A2/2. B2/4 B2/4 E2/4 E2/2."

PEOPLE_I_LOVE = """
E4/8 G4/8 A4/4 A4/8 C5/8 D5/4 C5/8 A4/8 G4/4 E4/8 G4/8 A4/2 C5/8 D5/8 E5/4 D5/8 C5/8
A4/4 G4/8 A4/8 C5/4 A4/8 G4/8 E4/8 D4/8 E4/2.
"""
PEOPLE_I_LOVE_BASS = "A2/2 F2/2 C3/2 G2/2 A2/2 E2/2 A2/1"

DESERT_INN = """
B4/8 B4/8 B4/8 A4/8 B4/4 F#4/4 A4/8 A4/8 A4/8 G4/8 A4/4 E4/4 G4/8 G4/8 G4/8 F#4/8 G4/4 D4/4
E4/8 F#4/8 G4/8 A4/8 B4/2
"""
DESERT_INN_BASS = "B2/2 B2/2 F#2/2 F#2/2 A2/2 A2/2 E2/2 E2/2 G2/2 G2/2 E2/2 F#2/2"

HARBOUR_NIGHT = """
G4/4 C5/4 E5/4 D5/8 C5/8 D5/2 R/4 A4/4 D5/4 F5/4 E5/8 D5/8 E5/2 R/4 C5/4 E5/4 G5/4 F5/8 E5/8
D5/4 B4/4 G4/4 C5/2.
"""
HARBOUR_NIGHT_BASS = "C3/2. C3/2. D3/2. C3/2. A2/2. A2/2. G2/2. C3/2."

MOON_SONG = """
G4/4. C5/8 E5/4 G5/4 E5/4. D5/8 C5/2 A4/4. C5/8 D5/4 E5/4 D5/1 G4/4. C5/8 E5/4 G5/4 A5/4. G5/8
E5/2 D5/4. C5/8 D5/4 E5/4 C5/1
"""
MOON_SONG_BASS = "C3/1 C3/1 F2/1 G2/1 C3/1 A2/1 G2/1 C3/1"

TUNES = [
    ("致爱丽丝.mid", FUR_ELISE, FUR_ELISE_BASS, 66, PIANO),
    ("爱的罗曼斯.mid", ROMANCE, ROMANCE_BASS, 96, NYLON_GUITAR),
    ("爱我的人和我爱的人.mid", PEOPLE_I_LOVE, PEOPLE_I_LOVE_BASS, 84, STRINGS),
    ("加州旅馆.mid", DESERT_INN, DESERT_INN_BASS, 92, NYLON_GUITAR),
    ("卡桑布兰卡.mid", HARBOUR_NIGHT, HARBOUR_NIGHT_BASS, 88, VIBRAPHONE),
    ("天鹅湖.mid", SWAN_LAKE, SWAN_LAKE_BASS, 80, OBOE),
    ("月亮代表我的心.mid", MOON_SONG, MOON_SONG_BASS, 76, FLUTE),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "share", "sound")
    os.makedirs(target, exist_ok=True)
    write_wav(os.path.join(target, "clocker.wav"), alarm_clock())
    write_wav(os.path.join(target, "call.wav"), little_car())
    write_wav(os.path.join(target, "clocker1.wav"), hour_chime())
    for name, melody, bass, tempo, program in TUNES:
        write_midi(os.path.join(target, name), melody, tempo, program, bass)


if __name__ == "__main__":
    main()
