#include "tools/OutputFile.h"

#include "platform/Platform.h"

namespace datac {

WriteResult WriteIfChanged(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const std::u16string widePath = plat::FromUtf8(path);
    std::vector<std::uint8_t> existing;
    if (plat::ReadFileBytes(widePath, existing) && existing == bytes)
        return WriteResult::Unchanged;

    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !plat::MakeDirectories(plat::FromUtf8(path.substr(0, slash))))
        return WriteResult::Failed;
    return plat::WriteFileAtomic(widePath, bytes.data(), bytes.size()) ? WriteResult::Written : WriteResult::Failed;
}

} // namespace datac
