#include "converter/ConverterHelp.h"

namespace converter
{

int HelpDisplayTopic(const std::string&, const std::string&, const std::string&, int)
{
    return 1;
}

} // namespace converter
