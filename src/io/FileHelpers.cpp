#include "io/FileHelpers.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>

#include "common/Arith.h"
#include "common/Cp1252.h"

#if __has_include(<unistd.h>)
#include <unistd.h>
#define CORVENDI_HAVE_FSYNC 1
#endif

namespace corvendi {

ReadFailure::ReadFailure(std::string field, int64_t offset)
    : mField(std::move(field)), mOffset(offset) {
    mText = "expected " + mField;
    if (mOffset >= 0) mText += " at byte " + std::to_string(mOffset);
}

namespace {

uint8_t Byte(char c) { return static_cast<uint8_t>(c); }

std::string SystemErrorText(int error) { return std::generic_category().message(error); }

// Pushes written data from the C library's and the system's buffers to the disk.
bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef CORVENDI_HAVE_FSYNC
    if (fsync(fileno(file)) != 0) return false;
#endif
    return true;
}

// The stored text with `replace` bytes turned into "?".
template <typename Predicate>
std::string ReplaceBytes(std::string text, Predicate replace) {
    for (char& c : text) {
        if (replace(Byte(c))) c = '?';
    }
    return text;
}

bool IsMarker(uint8_t b) { return b == 254 || b == 255; }

}  // namespace

// --- Fields --------------------------------------------------------------------------------------

std::string LongToBytes(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    std::string out(4, '\0');
    out[0] = static_cast<char>(v >> 24);
    out[1] = static_cast<char>((v >> 16) & 0xFF);
    out[2] = static_cast<char>((v >> 8) & 0xFF);
    out[3] = static_cast<char>(v & 0xFF);
    return out;
}

int32_t BytesToLong(std::string_view field) {
    if (field.size() != 4) return 0;
    return Byte(field[1]) * 65536 + Byte(field[2]) * 256 + Byte(field[3]);
}

std::string IntegerText(int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

namespace {

template <typename T>
T RoundedField(double value) {
    if (!std::isfinite(value)) throw ReadFailure("a finite number");
    const int64_t rounded = NInt64(value);  // saturates far outside every field's range
    if (rounded < std::numeric_limits<T>::min() || rounded > std::numeric_limits<T>::max()) {
        throw ReadFailure("a number within its field's range");
    }
    return static_cast<T>(rounded);
}

}  // namespace

int16_t IntegerField(double value) { return RoundedField<int16_t>(value); }
int32_t LongField(double value) { return RoundedField<int32_t>(value); }
uint8_t ByteField(double value) { return RoundedField<uint8_t>(value); }

float SingleField(double value) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
        throw ReadFailure("a number within a single's range");
    }
    return static_cast<float>(value);
}

// --- Text at the file boundary
// --------------------------------------------------------------------

std::string FileText(std::string_view utf8) {
    return ReplaceBytes(Utf8ToCp1252(utf8, '?'), IsMarker);
}

std::string FontNameText(std::string_view utf8) {
    return ReplaceBytes(Utf8ToCp1252(utf8, '?'), [](uint8_t b) { return IsMarker(b) || b == 0; });
}

std::string DescriptionText(std::string_view utf8) {
    return ReplaceBytes(Utf8ToCp1252(utf8, '?'), [](uint8_t b) { return IsMarker(b) || b < 32; });
}

std::string EngineText(std::string_view fileBytes) { return Cp1252ToUtf8(fileBytes); }

// --- Paths ---------------------------------------------------------------------------------------

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos) return path.substr(0, slash + 1);
    if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
    return {};
}

std::string TemporaryFileFor(const std::string& target) {
    std::string temporary = FolderOf(target) + "$QX$.sco";
    if (temporary == target) temporary += ".tmp";
    return temporary;
}

// --- Reading -------------------------------------------------------------------------------------

FileReader::~FileReader() { Close(); }

bool FileReader::Open(const std::string& path, std::string& error) {
    Close();
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::path(path), ec)) {
        error = SystemErrorText(EISDIR);
        return false;
    }
    errno = 0;
    mFile = std::fopen(path.c_str(), "rb");
    if (!mFile) {
        error = SystemErrorText(errno != 0 ? errno : ENOENT);
        return false;
    }
    const auto size = std::filesystem::file_size(std::filesystem::path(path), ec);
    mFileLen = ec ? 0
                  : static_cast<int32_t>(std::min<uintmax_t>(
                        size, static_cast<uintmax_t>(std::numeric_limits<int32_t>::max())));
    return true;
}

void FileReader::Close() {
    if (mFile) std::fclose(mFile);
    mFile = nullptr;
}

void FileReader::ReadBytes(int32_t position, int32_t count, std::string_view field) {
    mCount = std::max(count, 0);
    mPosition = position;
    mField = field;
    mData.clear();
    if (!mFile || mCount == 0 || position < 1 || position > mFileLen) return;
    const int32_t available = mFileLen - position + 1;
    mData.resize(static_cast<size_t>(std::min(mCount, available)));
    if (std::fseek(mFile, static_cast<long>(position - 1), SEEK_SET) != 0) {
        mData.clear();
        return;
    }
    mData.resize(std::fread(mData.data(), 1, mData.size(), mFile));
}

void FileReader::ReleaseBuffer() {
    mCount = 0;
    std::string().swap(mData);
}

std::string FileReader::BytesToText(int32_t start, int32_t count) const {
    if (start < 1 || start > mCount || count <= 0) return {};
    const auto first = static_cast<size_t>(start - 1);
    const auto end = static_cast<size_t>(std::min<int64_t>(int64_t{start} - 1 + count, mCount));
    std::string out = first < mData.size()
                          ? mData.substr(first, std::min(end, mData.size()) - first)
                          : std::string();
    out.resize(end - first, '\0');  // the zeros past the end of the file
    return out;
}

uint8_t FileReader::ByteAt(int32_t index) const {
    if (index < 0 || index >= mCount) throw ReadFailure(mField, int64_t{mPosition} - 1 + index);
    return index < DataLen() ? Byte(mData[static_cast<size_t>(index)]) : 0;
}

std::string FileReader::CharAt(int32_t index) const {
    return std::string(1, static_cast<char>(ByteAt(index)));
}

int32_t FileReader::FindByte(int32_t start, uint8_t byte) const {
    if (start < 1 || start > mCount) return 0;
    const size_t found = mData.find(static_cast<char>(byte), static_cast<size_t>(start - 1));
    if (found != std::string::npos) return static_cast<int32_t>(found) + 1;
    // Past the file's bytes the buffer holds zeros.
    if (byte == 0 && DataLen() < mCount) return std::max(start, DataLen() + 1);
    return 0;
}

// --- Writing -------------------------------------------------------------------------------------

FileWriter::~FileWriter() {
    if (mFile) std::fclose(mFile);
}

bool FileWriter::Create(const std::string& path) {
    if (mFile) std::fclose(mFile);
    mPath = path;
    mFileLen = 0;
    mNextPosition = 1;
    mFailed = false;
    mFile = std::fopen(path.c_str(), "wb");
    return mFile != nullptr;
}

int32_t FileWriter::PutText(int32_t position, std::string_view text) {
    if (text.empty()) return 0;
    const auto length = static_cast<int32_t>(text.size());
    if (!mFile || mFailed || position < 1) {
        mFailed = true;
        return length;
    }
    if (position != mNextPosition &&
        std::fseek(mFile, static_cast<long>(position - 1), SEEK_SET) != 0) {
        mFailed = true;
        return length;
    }
    if (std::fwrite(text.data(), 1, text.size(), mFile) != text.size()) mFailed = true;
    mNextPosition = int64_t{position} + length;
    mFileLen = static_cast<int32_t>(std::min<int64_t>(
        std::max<int64_t>(mFileLen, mNextPosition - 1), std::numeric_limits<int32_t>::max()));
    return length;
}

bool FileWriter::Finish() {
    if (!mFile) return false;
    const bool flushed = !mFailed && FlushToDisk(mFile);
    const bool closed = std::fclose(mFile) == 0;
    mFile = nullptr;
    if (!flushed || !closed) mFailed = true;
    return !mFailed;
}

bool FileWriter::ReplaceTarget(const std::string& target) {
    if (!Finish()) {
        Discard();
        return false;
    }
    // Renaming over the target replaces it in one step: at every moment either the old or the
    // new file is there.
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(mPath), std::filesystem::path(target), ec);
    if (ec) {
        Discard();
        return false;
    }
    return true;
}

void FileWriter::Discard() {
    if (mFile) std::fclose(mFile);
    mFile = nullptr;
    if (!mPath.empty()) {
        std::error_code ec;
        std::filesystem::remove(std::filesystem::path(mPath), ec);
    }
}

}  // namespace corvendi
