#include "platform/icon.h"

#include "platform/backend.h"

HICON LoadThemeIcon(const std::string& name, IconSize size)
{
    return platform::Backend::Current().LoadThemeIcon(name, static_cast<int>(size));
}

HICON LoadExecutableIcon(IconSize size)
{
    return platform::Backend::Current().LoadExecutableIcon(static_cast<int>(size));
}
