// Layout records: the chunk format in which every toolkit window is saved and loaded, and of which the screen
// files (.GUI) are streams. A chunk is a four-letter tag, a four-letter version ("V1.3"), a signed payload size
// and the payload, all little-endian. The reading cursor checks every primitive against the bytes that remain;
// the writer patches each record's size when the record ends. The data tool writes with the same writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Strings in a record hold at most this many units; a longer one fails the save.
constexpr std::size_t RECORD_STRING_MAX = 32767;
// The deepest level of child windows a loader keeps, a screen's own windows being level 0; deeper records are
// skipped, so a hostile file cannot exhaust the stack.
constexpr int MAX_RECORD_NESTING = 64;

// A tag or version from its first four letters, the first in the lowest byte.
constexpr std::uint32_t MakeRecordTag(const char (&text)[5])
{
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[0])) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[3])) << 24);
}

constexpr std::uint32_t TAG_GWND = MakeRecordTag("GWND");
constexpr std::uint32_t TAG_GINT = MakeRecordTag("GINT");
constexpr std::uint32_t TAG_GPIC = MakeRecordTag("GPIC");
constexpr std::uint32_t TAG_GBTN = MakeRecordTag("GBTN");
constexpr std::uint32_t TAG_GLBL = MakeRecordTag("GLBL");
constexpr std::uint32_t TAG_GTBT = MakeRecordTag("GTBT");

// Versions are compared as whole tenths: "V1.3" is 13. A version whose letters are not "V", digit, point,
// digit reads as -1, below every version a reader knows.
int RecordVersionTenths(std::uint32_t version);
// "V1.3" for 13.
std::uint32_t MakeRecordVersion(int tenths);

struct RecordChunk {
    std::uint32_t tag = 0;
    std::uint32_t version = 0;
    const std::uint8_t* payload = nullptr;
    std::size_t size = 0;

    int VersionTenths() const { return RecordVersionTenths(version); }
};

// A position in a buffer and the bytes that remain. Each read fails without consuming when too few remain
// (a string has then consumed its count).
class RecordCursor {
public:
    RecordCursor(const std::uint8_t* data, std::size_t size) : m_Data(data), m_Remaining(size) {}
    explicit RecordCursor(const RecordChunk& chunk) : m_Data(chunk.payload), m_Remaining(chunk.size) {}

    bool ReadU8(std::uint8_t& out);
    bool ReadU16(std::uint16_t& out);
    bool ReadU32(std::uint32_t& out);
    bool ReadI32(std::int32_t& out);
    bool ReadBytes(void* out, std::size_t count);
    bool ReadString(std::u16string& out);
    // A boolean of one byte (non-zero is true) or of two (above zero is true).
    bool ReadBool(bool& out);
    bool ReadBool16(bool& out);
    // A size of 0 or less gives an empty payload; a size beyond the remaining bytes fails.
    bool ReadChunk(RecordChunk& out);

    std::size_t Remaining() const { return m_Remaining; }

private:
    const std::uint8_t* m_Data;
    std::size_t m_Remaining;
};

// Builds records in memory; SaveToFile writes them out. Begin/End nest: each End patches the size of the
// record its Begin opened. Failed() is set by a string over the limit, an unbalanced End or a caller's Fail.
class RecordWriter {
public:
    void BeginRecord(std::uint32_t tag, int versionTenths);
    void EndRecord();
    void WriteU8(std::uint8_t value) { m_Bytes.push_back(value); }
    void WriteU16(std::uint16_t value);
    void WriteU32(std::uint32_t value);
    void WriteI32(std::int32_t value) { WriteU32(static_cast<std::uint32_t>(value)); }
    void WriteBool(bool value) { WriteU8(value ? 1 : 0); }
    void WriteBool16(bool value) { WriteU16(value ? 1 : 0); }
    void WriteString(std::u16string_view text);
    void Fail() { m_bFailed = true; }

    bool Failed() const { return m_bFailed; }
    // Every record that was begun has ended.
    bool IsComplete() const { return m_Open.empty(); }
    const std::vector<std::uint8_t>& Bytes() const { return m_Bytes; }
    // False when the records failed or the file cannot be written whole.
    bool SaveToFile(std::u16string_view path) const;

private:
    std::vector<std::uint8_t> m_Bytes;
    std::vector<std::size_t> m_Open;
    bool m_bFailed = false;
};
