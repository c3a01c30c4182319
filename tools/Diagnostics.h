// The errors of one data compilation. Each reads "file:line: message" so that editors can jump to it; a
// single error fails the whole run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace datac {

class Diagnostics {
public:
    void Error(std::string_view file, int line, std::string_view message);
    // For faults that belong to a whole file: "file: message".
    void Error(std::string_view file, std::string_view message);

    bool HasErrors() const { return !m_messages.empty(); }
    const std::vector<std::string>& Messages() const { return m_messages; }

private:
    std::vector<std::string> m_messages;
};

} // namespace datac
