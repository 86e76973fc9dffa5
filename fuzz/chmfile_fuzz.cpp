// Compiled help file reader on arbitrary bytes: whatever opens, every page
// it lists reads back, and every context the map gives resolves to a page
// or to nothing.
#include "ScratchFolder.h"
#include "help/ChmFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::WriteScratchFile("fuzz.chm", data, size);
    const auto file = help::ChmFile::Open(path);
    if (!file)
        return 0;
    for (const std::string& page : file->Pages())
        (void)file->Read(page);
    for (const auto& entry : file->Contexts()) {
        const auto topic = file->TopicOfContext(entry.first);
        if (topic && !file->Contains(*topic))
            std::abort();
    }
    (void)file->DefaultTopic();
    return 0;
}
