#include "platform/cursor.h"

#include "platform/backend.h"
#include "platform/resources.h"

#include <map>

namespace {

HCURSOR currentCursor = nullptr;
int waitDepth = 0;

}  // namespace

HCURSOR LoadStandardCursor(platform::StandardCursor shape)
{
    static const platform::Cursor arrow{platform::StandardCursor::Arrow, 0};
    static const platform::Cursor iBeam{platform::StandardCursor::IBeam, 0};
    static const platform::Cursor wait{platform::StandardCursor::Wait, 0};
    switch (shape) {
    case platform::StandardCursor::IBeam:
        return &iBeam;
    case platform::StandardCursor::Wait:
        return &wait;
    case platform::StandardCursor::Arrow:
        break;
    }
    return &arrow;
}

HCURSOR LoadCursor(UINT resourceId)
{
    static std::map<UINT, platform::Cursor> loaded;
    if (platform::resources::FindCursor(resourceId) == nullptr)
        return nullptr;
    auto [entry, inserted] = loaded.try_emplace(resourceId, platform::Cursor{platform::StandardCursor::Arrow, resourceId});
    return &entry->second;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    HCURSOR previous = currentCursor;
    currentCursor = cursor;
    platform::Backend::Current().ShowCursor(cursor);
    return previous;
}

CWaitCursor::CWaitCursor()
{
    if (waitDepth++ == 0)
        platform::Backend::Current().SetWaitCursor(true);
}

CWaitCursor::~CWaitCursor()
{
    if (--waitDepth == 0)
        platform::Backend::Current().SetWaitCursor(false);
}
