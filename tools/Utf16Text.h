// The text encodings at the compiler's two ends: UTF-8 sources in, UTF-16LE runtime files out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace datac {

// Appends the UTF-16 form of utf8 to out. Returns false when the bytes are not valid UTF-8 (a stray or missing
// continuation byte, an overlong form, a surrogate, a code point past U+10FFFF); each bad sequence then
// becomes U+FFFD so that the caller can go on looking for further errors.
bool DecodeUtf8(std::string_view utf8, std::u16string& out);

// A UTF-16LE text file as the program reads them: a byte-order mark, then lines each ended by CR LF.
class Utf16LeFile {
public:
    Utf16LeFile();

    void AppendLine(std::u16string_view line);
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    void AppendUnit(char16_t unit);

    std::vector<std::uint8_t> m_bytes;
};

} // namespace datac
