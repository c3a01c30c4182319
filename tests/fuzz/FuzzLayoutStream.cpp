// libFuzzer target over the layout-stream reader: a screen file of any bytes loads what it can without reading
// outside its buffer, and what it loaded saves again.
#include "gui/GUI_Interface.h"
#include "gui/GUI_System.h"
#include "gui/LayoutRecords.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

int NoBitmap(std::u16string_view)
{
    return -1;
}

void NoRelease(int) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    GUI_System::SetLoadBitmapFunction(NoBitmap);
    GUI_System::SetReleaseTextureFunction(NoRelease);
    // An exact copy, so that any read past the end is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    GUI_Interface screen;
    screen.ParseLayoutStream(bytes.data(), bytes.size());
    RecordWriter writer;
    screen.Save(writer);
    return 0;
}
