// LoadConfig on arbitrary bytes. Beyond not crashing, a configuration that
// was loaded and saved must load and save to the same bytes again: what the
// reader accepts, the writer must write back in a form the reader keeps.
#include "ScratchFolder.h"

#include "nav/KVconfig.h"
#include "nav/NavState.h"
#include "rtl/TextFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = fuzz::WriteScratchFile("input.cfg", data, size);
    ResetNavState();
    LoadConfig(input);

    const std::string first = fuzz::ScratchFile("first.cfg");
    const std::string second = fuzz::ScratchFile("second.cfg");
    SaveConfigFile(first);
    LoadConfig(first);
    SaveConfigFile(second);
    if (rtl::ReadFileBytes(first) != rtl::ReadFileBytes(second))
        std::abort();
    return 0;
}
