#include "gui/LayoutRecords.h"

#include "platform/Platform.h"

#include <cstring>

namespace {

constexpr std::size_t CHUNK_HEADER_SIZE = 12;

bool IsDigit(std::uint8_t ch)
{
    return ch >= '0' && ch <= '9';
}

} // namespace

int RecordVersionTenths(std::uint32_t version)
{
    const std::uint8_t letters[4] = {static_cast<std::uint8_t>(version), static_cast<std::uint8_t>(version >> 8),
                                     static_cast<std::uint8_t>(version >> 16), static_cast<std::uint8_t>(version >> 24)};
    if (letters[0] != 'V' || !IsDigit(letters[1]) || letters[2] != '.' || !IsDigit(letters[3]))
        return -1;
    return (letters[1] - '0') * 10 + (letters[3] - '0');
}

std::uint32_t MakeRecordVersion(int tenths)
{
    const char text[5] = {'V', static_cast<char>('0' + tenths / 10 % 10), '.', static_cast<char>('0' + tenths % 10), 0};
    return MakeRecordTag(text);
}

bool RecordCursor::ReadBytes(void* out, std::size_t count)
{
    if (count > m_Remaining)
        return false;
    if (count > 0)
        std::memcpy(out, m_Data, count);
    m_Data += count;
    m_Remaining -= count;
    return true;
}

bool RecordCursor::ReadU8(std::uint8_t& out)
{
    return ReadBytes(&out, 1);
}

bool RecordCursor::ReadU16(std::uint16_t& out)
{
    std::uint8_t bytes[2];
    if (!ReadBytes(bytes, 2))
        return false;
    out = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
    return true;
}

bool RecordCursor::ReadU32(std::uint32_t& out)
{
    std::uint8_t bytes[4];
    if (!ReadBytes(bytes, 4))
        return false;
    out = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
          (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    return true;
}

bool RecordCursor::ReadI32(std::int32_t& out)
{
    std::uint32_t value = 0;
    if (!ReadU32(value))
        return false;
    out = static_cast<std::int32_t>(value);
    return true;
}

bool RecordCursor::ReadString(std::u16string& out)
{
    std::uint16_t count = 0;
    if (!ReadU16(count))
        return false;
    if (static_cast<std::size_t>(count) * 2 > m_Remaining)
        return false;
    out.resize(count);
    for (std::uint16_t i = 0; i < count; ++i) {
        out[i] = static_cast<char16_t>(m_Data[2 * i] | (m_Data[2 * i + 1] << 8));
    }
    m_Data += static_cast<std::size_t>(count) * 2;
    m_Remaining -= static_cast<std::size_t>(count) * 2;
    return true;
}

bool RecordCursor::ReadBool(bool& out)
{
    std::uint8_t value = 0;
    if (!ReadU8(value))
        return false;
    out = value != 0;
    return true;
}

bool RecordCursor::ReadBool16(bool& out)
{
    std::uint16_t value = 0;
    if (!ReadU16(value))
        return false;
    out = static_cast<std::int16_t>(value) > 0;
    return true;
}

bool RecordCursor::ReadChunk(RecordChunk& out)
{
    if (m_Remaining < CHUNK_HEADER_SIZE)
        return false;
    RecordCursor header(m_Data, CHUNK_HEADER_SIZE);
    std::uint32_t tag = 0;
    std::uint32_t version = 0;
    std::int32_t size = 0;
    header.ReadU32(tag);
    header.ReadU32(version);
    header.ReadI32(size);
    const std::size_t payloadSize = size > 0 ? static_cast<std::size_t>(size) : 0;
    if (payloadSize > m_Remaining - CHUNK_HEADER_SIZE)
        return false;
    out.tag = tag;
    out.version = version;
    out.payload = m_Data + CHUNK_HEADER_SIZE;
    out.size = payloadSize;
    m_Data += CHUNK_HEADER_SIZE + payloadSize;
    m_Remaining -= CHUNK_HEADER_SIZE + payloadSize;
    return true;
}

void RecordWriter::BeginRecord(std::uint32_t tag, int versionTenths)
{
    WriteU32(tag);
    WriteU32(MakeRecordVersion(versionTenths));
    m_Open.push_back(m_Bytes.size());
    WriteU32(0);
}

void RecordWriter::EndRecord()
{
    if (m_Open.empty()) {
        m_bFailed = true;
        return;
    }
    const std::size_t sizeAt = m_Open.back();
    m_Open.pop_back();
    const std::uint32_t size = static_cast<std::uint32_t>(m_Bytes.size() - sizeAt - 4);
    for (int i = 0; i < 4; ++i) {
        m_Bytes[sizeAt + i] = static_cast<std::uint8_t>(size >> (8 * i));
    }
}

void RecordWriter::WriteU16(std::uint16_t value)
{
    m_Bytes.push_back(static_cast<std::uint8_t>(value));
    m_Bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void RecordWriter::WriteU32(std::uint32_t value)
{
    WriteU16(static_cast<std::uint16_t>(value));
    WriteU16(static_cast<std::uint16_t>(value >> 16));
}

void RecordWriter::WriteString(std::u16string_view text)
{
    if (text.size() > RECORD_STRING_MAX) {
        m_bFailed = true;
        text = text.substr(0, RECORD_STRING_MAX);
    }
    WriteU16(static_cast<std::uint16_t>(text.size()));
    for (const char16_t unit : text) {
        WriteU16(unit);
    }
}

bool RecordWriter::SaveToFile(std::u16string_view path) const
{
    if (m_bFailed || !m_Open.empty())
        return false;
    return plat::WriteFileAtomic(path, m_Bytes.data(), m_Bytes.size());
}
