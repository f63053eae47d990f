// The byte-level helpers the score file and MIDI file readers and writers share.
//
// Readers load one section at a time into a read buffer and parse it from memory through checked
// accessors: a read outside the buffer throws ReadFailure, which ends the whole read where the
// reader catches it. Writers put text at 1-based file positions, so that directory fields written
// as zeros can be filled in once their section is known.
//
// All strings here are raw file bytes (Windows-1252 text, markers, binary fields); FileText and
// EngineText convert text at the file boundary.
#pragma once

#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

namespace corvendi {

// A reader met bytes it cannot make sense of (a field past its buffer, a number too large for
// its field, an object that could not be made): the read ends at that point. It names the field
// the reader expected and, when known, the 0-based byte offset in the file where it looked.
class ReadFailure : public std::exception {
  public:
    explicit ReadFailure(std::string field = "a readable field", int64_t offset = -1);
    const std::string& Field() const noexcept { return mField; }
    // -1 when the failure is not tied to a place in the file (a value out of its field's range).
    int64_t Offset() const noexcept { return mOffset; }
    // "expected <field> at byte <offset>".
    const char* what() const noexcept override { return mText.c_str(); }

  private:
    std::string mField;
    int64_t mOffset;
    std::string mText;
};

// --- Fields --------------------------------------------------------------------------------------

// The marker bytes of the score file.
constexpr char kFieldEnd = static_cast<char>(254);   // FE: ends a field inside a record
constexpr char kRecordEnd = static_cast<char>(255);  // FF: ends a record
constexpr char kNameEnd = '\0';                      // 00: ends a font name
// In a voice header after the program (then the identifiers of the voice's instrument and of
// the voice) and in a staff header after the scale (then the staff's identifier): a character
// that ends the number for readers that do not know the identifiers.
constexpr char kIdentifierMark = '|';

// The four bytes of a 32-bit value, most significant first.
std::string LongToBytes(int32_t value);
// The value of a four-byte field from its last three bytes (the first is ignored, so values wrap
// at 2^24); 0 for a field that is not exactly four bytes long.
int32_t BytesToLong(std::string_view field);

// The decimal text of an integer, whatever the locale.
std::string IntegerText(int64_t value);

// Parsed numbers into fields, as the readers store them: integers are rounded to the nearest
// (halves to even). A value outside the field's range throws ReadFailure.
int16_t IntegerField(double value);
int32_t LongField(double value);
uint8_t ByteField(double value);
float SingleField(double value);

// --- Text at the file boundary
// --------------------------------------------------------------------

// Engine text (UTF-8) as the file stores it: Windows-1252, with "?" for every character the code
// page cannot hold and for the two marker characters (254 and 255), which would end the field.
std::string FileText(std::string_view utf8);
// The same for a font name, which also cannot hold code 0 (it ends the name).
std::string FontNameText(std::string_view utf8);
// The same for an instrument description, which cannot hold codes below 32 (a reader takes the
// first of them for the byte fields that follow).
std::string DescriptionText(std::string_view utf8);
// File bytes as engine text.
std::string EngineText(std::string_view fileBytes);

// --- Paths ---------------------------------------------------------------------------------------

// The folder part of a path: everything up to and including the last "\" or "/"; without either,
// a drive prefix "X:"; otherwise empty.
std::string FolderOf(const std::string& path);
// The file a writer fills before it replaces `target`: "$QX$.sco" in the target's folder (or
// "$QX$.sco.tmp" when the target has that name itself, so that it is never deleted first).
std::string TemporaryFileFor(const std::string& target);

// --- Reading -------------------------------------------------------------------------------------

// A file open for reading and the buffer of the bytes last read from it.
class FileReader {
  public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opens the file for binary reading. On failure returns false and sets `error` to the
    // system's description of the reason.
    bool Open(const std::string& path, std::string& error);
    void Close();
    // The file's length in bytes (at most INT32_MAX).
    int32_t FileLen() const { return mFileLen; }

    // Makes the buffer `count` bytes long and fills it from the 1-based file position. Bytes past
    // the end of the file read as 0; only the bytes the file holds take memory, so a count far
    // beyond the file's length costs nothing. `field` names what the buffer holds, for the
    // ReadFailure of a read outside it.
    void ReadBytes(int32_t position, int32_t count, std::string_view field = "a section");
    // The buffer's length (the count of the last ReadBytes).
    int32_t BufferLen() const { return mCount; }
    // How many bytes at the start of the buffer came from the file; the rest are the zeros past
    // its end. Readers stop making records where the file's bytes end.
    int32_t DataLen() const { return static_cast<int32_t>(mData.size()); }
    // Frees the buffer.
    void ReleaseBuffer();

    // `count` bytes of the buffer from the 1-based `start`, clipped at the buffer's end (empty
    // when `start` lies outside it).
    std::string BytesToText(int32_t start, int32_t count) const;
    // The byte at the 0-based index; outside the buffer a ReadFailure with the buffer's field and
    // the file offset of the byte asked for.
    uint8_t ByteAt(int32_t index) const;
    // The same byte as a one-character string.
    std::string CharAt(int32_t index) const;
    // The 1-based position of the first `byte` at or after the 1-based `start`; 0 when there is
    // none in the buffer.
    int32_t FindByte(int32_t start, uint8_t byte) const;

  private:
    std::FILE* mFile = nullptr;
    int32_t mFileLen = 0;
    int32_t mCount = 0;
    int32_t mPosition = 1;  // of the buffer's first byte
    std::string mField;
    std::string mData;
};

// --- Writing -------------------------------------------------------------------------------------

// A file open for writing. Writes go to 1-based positions; sequential writes are buffered and
// earlier positions can be written again. The first failure is remembered and later writes are
// skipped, so a writer can write its whole file and check once at the end.
class FileWriter {
  public:
    FileWriter() = default;
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Creates (or empties) the file. False when it cannot be opened for writing.
    bool Create(const std::string& path);
    // Writes `text` at the 1-based position and returns its length; an empty text writes
    // nothing and returns 0. FileLen rises to the last position written.
    int32_t PutText(int32_t position, std::string_view text);
    // The highest position written so far.
    int32_t FileLen() const { return mFileLen; }
    bool Failed() const { return mFailed; }

    // Flushes the file to disk and closes it; false when anything written did not reach it.
    bool Finish();
    // Finishes the file and puts it in place of `target` (replacing any file there). On failure
    // the file is deleted, `target` is left as it was and the result is false.
    bool ReplaceTarget(const std::string& target);
    // Closes and deletes the file.
    void Discard();

  private:
    std::FILE* mFile = nullptr;
    std::string mPath;
    int32_t mFileLen = 0;
    int64_t mNextPosition = 1;  // where the file stands after the last write
    bool mFailed = false;
};

}  // namespace corvendi
