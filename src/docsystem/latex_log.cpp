#include "docsystem/latex_log.h"

#include "utils/file_reading.h"

#include <limits>

LogState CheckLatexLog(const std::string& logPath)
{
    const auto text = utils::ReadWholeFile(logPath, utils::FileMode::Text, std::numeric_limits<std::int64_t>::max());
    if (!text || text->find("\n!") == std::string::npos)
        return LogState::Clean;
    return LogState::HasErrors;
}
