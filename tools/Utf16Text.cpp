#include "tools/Utf16Text.h"

namespace datac {

namespace {

constexpr char16_t REPLACEMENT_CHAR = 0xFFFD;

struct Utf8Lead {
    unsigned char first;
    unsigned char last;
    int continuationBytes;
    std::uint32_t initialBits;
    std::uint32_t minCodePoint;  // anything below is an overlong form
};

const Utf8Lead UTF8_LEADS[] = {
    {0x00, 0x7F, 0, 0x7F, 0x0},
    {0xC2, 0xDF, 1, 0x1F, 0x80},
    {0xE0, 0xEF, 2, 0x0F, 0x800},
    {0xF0, 0xF4, 3, 0x07, 0x10000},
};

const Utf8Lead* FindLead(unsigned char byte)
{
    for (const Utf8Lead& lead : UTF8_LEADS) {
        if (byte >= lead.first && byte <= lead.last)
            return &lead;
    }
    return nullptr;
}

void AppendCodePoint(std::uint32_t codePoint, std::u16string& out)
{
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

} // namespace

bool DecodeUtf8(std::string_view utf8, std::u16string& out)
{
    bool valid = true;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char byte = static_cast<unsigned char>(utf8[i]);
        const Utf8Lead* lead = FindLead(byte);
        if (lead == nullptr) {
            valid = false;
            out.push_back(REPLACEMENT_CHAR);
            ++i;
            continue;
        }
        std::uint32_t codePoint = byte & lead->initialBits;
        int taken = 0;
        while (taken < lead->continuationBytes && i + 1 + taken < utf8.size()) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + 1 + taken]);
            if ((next & 0xC0) != 0x80)
                break;
            codePoint = (codePoint << 6) | (next & 0x3F);
            ++taken;
        }
        const bool complete = taken == lead->continuationBytes;
        const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        if (!complete || codePoint < lead->minCodePoint || surrogate || codePoint > 0x10FFFF) {
            valid = false;
            out.push_back(REPLACEMENT_CHAR);
        } else {
            AppendCodePoint(codePoint, out);
        }
        i += 1 + static_cast<std::size_t>(taken);
    }
    return valid;
}

Utf16LeFile::Utf16LeFile()
{
    AppendUnit(0xFEFF);
}

void Utf16LeFile::AppendLine(std::u16string_view line)
{
    for (const char16_t unit : line)
        AppendUnit(unit);
    AppendUnit(u'\r');
    AppendUnit(u'\n');
}

void Utf16LeFile::AppendUnit(char16_t unit)
{
    m_bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    m_bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
}

} // namespace datac
