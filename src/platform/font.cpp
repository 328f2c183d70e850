#include "platform/font.h"

#include "platform/backend.h"

#include <map>

CFont::CFont() = default;
CFont::~CFont() = default;

bool CFont::CreateFontIndirect(const LOGFONT* description)
{
    DeleteObject();
    m_owned = platform::Backend::Current().CreateFont(*description);
    m_peer = m_owned.get();
    return m_peer != nullptr;
}

void CFont::DeleteObject()
{
    m_peer = nullptr;
    m_owned.reset();
}

bool CFont::GetLogFont(LOGFONT* description) const
{
    if (m_peer == nullptr)
        return false;
    *description = m_peer->Description();
    return true;
}

const platform::FontPeer* CFont::GetSafeHandle() const
{
    return m_peer;
}

CFont* CFont::FromPeer(const platform::FontPeer& peer)
{
    // One wrapper per backend font, alive as long as the program.
    static std::map<const platform::FontPeer*, CFont> wrappers;
    CFont& wrapper = wrappers[&peer];
    wrapper.m_peer = &peer;
    return &wrapper;
}
