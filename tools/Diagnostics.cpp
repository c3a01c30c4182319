#include "tools/Diagnostics.h"

namespace datac {

void Diagnostics::Error(std::string_view file, int line, std::string_view message)
{
    m_messages.push_back(std::string(file) + ":" + std::to_string(line) + ": " + std::string(message));
}

void Diagnostics::Error(std::string_view file, std::string_view message)
{
    m_messages.push_back(std::string(file) + ": " + std::string(message));
}

} // namespace datac
