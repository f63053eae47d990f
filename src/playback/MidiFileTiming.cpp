#include "corvendi/MidiFileTiming.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>

namespace corvendi {

namespace {

constexpr int32_t kDefaultTempo = 500'000;  // microseconds per quarter note: 120 beats a minute
constexpr int64_t kMicrosecondsPerSecond = 1'000'000;
constexpr int64_t kScoreTicksPerQuarter = 16;
constexpr uint8_t kMetaStatus = 0xFF;
constexpr uint8_t kSysExStatus = 0xF0;
constexpr uint8_t kSysExContinuation = 0xF7;
constexpr uint8_t kMetaTempo = 0x51;
constexpr uint8_t kMetaEndOfTrack = 0x2F;
// Ticks beyond this end a track and times beyond the other bound are cut to it, so that no
// product of a tick, a time and a tempo or division can overflow (both are years of music).
constexpr int64_t kLastTick = int64_t{1} << 32;
constexpr int64_t kLastMicrosecond = int64_t{1} << 46;

// Reads bytes of one track chunk; a read past its end reads 0 and marks the track exhausted.
class TrackCursor {
  public:
    explicit TrackCursor(std::string_view bytes) : mBytes(bytes) {}

    bool AtEnd() const { return mAt >= mBytes.size(); }
    uint8_t Byte() {
        if (AtEnd()) {
            mOverrun = true;
            return 0;
        }
        return static_cast<uint8_t>(mBytes[mAt++]);
    }
    uint8_t Peek() const { return AtEnd() ? 0 : static_cast<uint8_t>(mBytes[mAt]); }
    // A variable-length number of at most four bytes.
    int64_t VarLen() {
        int64_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const uint8_t b = Byte();
            value = value * 128 + (b & 127);
            if ((b & 128) == 0) break;
        }
        return value;
    }
    std::string_view Take(int64_t length) {
        const size_t available = mBytes.size() - std::min(mAt, mBytes.size());
        if (length < 0 || static_cast<size_t>(length) > available) {
            mOverrun = true;
            mAt = mBytes.size();
            return {};
        }
        const std::string_view data = mBytes.substr(mAt, static_cast<size_t>(length));
        mAt += static_cast<size_t>(length);
        return data;
    }
    bool Overrun() const { return mOverrun; }

  private:
    std::string_view mBytes;
    size_t mAt = 0;
    bool mOverrun = false;
};

uint32_t BigEndian(std::string_view bytes, size_t at, size_t count) {
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i) value = value * 256 + static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// Data bytes of a channel message by its status.
int DataLength(uint8_t status) {
    const uint8_t type = status & 0xF0;
    return type == 0xC0 || type == 0xD0 ? 1 : 2;
}

}  // namespace

std::optional<MidiFileTiming> MidiFileTiming::Read(std::string_view bytes) {
    constexpr size_t kHeaderSize = 14;
    if (bytes.size() < kHeaderSize || bytes.substr(0, 4) != "MThd") return std::nullopt;
    const uint32_t headerLength = BigEndian(bytes, 4, 4);
    if (headerLength < 6) return std::nullopt;

    MidiFileTiming timing;
    const uint32_t division = BigEndian(bytes, 12, 2);
    if (division & 0x8000) {
        // SMPTE: frames per second (negative in the high byte) × ticks per frame.
        const int32_t framesPerSecond = -static_cast<int8_t>(division >> 8);
        timing.mSmpte = true;
        timing.mDivision = std::max(1, framesPerSecond * static_cast<int32_t>(division & 255));
    } else {
        timing.mDivision = std::max<int32_t>(1, static_cast<int32_t>(division));
    }

    size_t at = 8 + static_cast<size_t>(std::min<uint32_t>(headerLength, bytes.size()));
    while (at + 8 <= bytes.size()) {
        const size_t length = BigEndian(bytes, at + 4, 4);
        const size_t start = at + 8;
        const size_t available = std::min(length, bytes.size() - start);
        if (bytes.substr(at, 4) == "MTrk") timing.ReadTrack(bytes.substr(start, available));
        at = start + available;
    }
    timing.FinishTempoMap();
    return timing;
}

std::optional<MidiFileTiming> MidiFileTiming::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return Read(bytes);
}

void MidiFileTiming::ReadTrack(std::string_view track) {
    TrackCursor cursor(track);
    int64_t tick = 0;
    uint8_t runningStatus = 0;
    while (!cursor.AtEnd()) {
        const int64_t next = tick + cursor.VarLen();
        if (cursor.Overrun() || next > kLastTick) break;
        tick = next;
        uint8_t status = cursor.Peek();
        if (status & 0x80) {
            cursor.Byte();
        } else if (runningStatus != 0) {
            status = runningStatus;
        } else {
            break;  // data without a status: the rest of the track cannot be read
        }
        if (status == kMetaStatus) {
            const uint8_t type = cursor.Byte();
            const std::string_view data = cursor.Take(cursor.VarLen());
            if (cursor.Overrun()) break;
            if (type == kMetaTempo && data.size() >= 3) {
                const auto microseconds = static_cast<int32_t>(BigEndian(data, 0, 3));
                if (microseconds > 0) mTempos.push_back({tick, microseconds, 0});
            }
            mEndTick = std::max(mEndTick, tick);
            if (type == kMetaEndOfTrack) break;
        } else if (status == kSysExStatus || status == kSysExContinuation) {
            cursor.Take(cursor.VarLen());
            if (cursor.Overrun()) break;
            mEndTick = std::max(mEndTick, tick);
        } else {
            runningStatus = status;
            for (int i = DataLength(status); i > 0; --i) cursor.Byte();
            if (cursor.Overrun()) break;
            mEndTick = std::max(mEndTick, tick);
        }
    }
}

// Sorts the tempos by tick (the later of two at one tick wins) and works out when each begins.
void MidiFileTiming::FinishTempoMap() {
    std::stable_sort(mTempos.begin(), mTempos.end(),
                     [](const Tempo& a, const Tempo& b) { return a.Tick < b.Tick; });
    std::vector<Tempo> map{{0, kDefaultTempo, 0}};
    for (const Tempo& tempo : mTempos) {
        Tempo& last = map.back();
        if (tempo.Tick == last.Tick) {
            last.MicrosecondsPerQuarter = tempo.MicrosecondsPerQuarter;
            continue;
        }
        const int64_t start = last.StartMicroseconds +
                              (tempo.Tick - last.Tick) * last.MicrosecondsPerQuarter / mDivision;
        map.push_back({tempo.Tick, tempo.MicrosecondsPerQuarter, start});
    }
    mTempos = std::move(map);
}

const MidiFileTiming::Tempo& MidiFileTiming::TempoAtTick(int64_t fileTick) const {
    auto after = std::upper_bound(mTempos.begin(), mTempos.end(), fileTick,
                                  [](int64_t tick, const Tempo& t) { return tick < t.Tick; });
    return after == mTempos.begin() ? mTempos.front() : *std::prev(after);
}

int64_t MidiFileTiming::MicrosecondsAt(int64_t fileTick) const {
    fileTick = std::clamp<int64_t>(fileTick, 0, kLastTick);
    if (mSmpte) return fileTick * kMicrosecondsPerSecond / mDivision;
    const Tempo& tempo = TempoAtTick(fileTick);
    return tempo.StartMicroseconds +
           (fileTick - tempo.Tick) * tempo.MicrosecondsPerQuarter / mDivision;
}

int64_t MidiFileTiming::TickAt(int64_t microseconds) const {
    microseconds = std::clamp<int64_t>(microseconds, 0, kLastMicrosecond);
    if (mSmpte) return microseconds * mDivision / kMicrosecondsPerSecond;
    auto after =
        std::upper_bound(mTempos.begin(), mTempos.end(), microseconds,
                         [](int64_t us, const Tempo& t) { return us < t.StartMicroseconds; });
    const Tempo& tempo = *std::prev(after);  // the first tempo starts at 0
    return tempo.Tick +
           (microseconds - tempo.StartMicroseconds) * mDivision / tempo.MicrosecondsPerQuarter;
}

int64_t MidiFileTiming::ToScoreTicks(int64_t fileTick) const {
    return std::clamp<int64_t>(fileTick, 0, kLastTick) * kScoreTicksPerQuarter / mDivision;
}

int64_t MidiFileTiming::FromScoreTicks(int64_t scoreTick) const {
    return std::clamp<int64_t>(scoreTick, 0, kLastTick) * mDivision / kScoreTicksPerQuarter;
}

}  // namespace corvendi
