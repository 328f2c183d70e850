#include "platform/recent_file_list.h"

#include "platform/cmd_ui.h"
#include "platform/profile_store.h"

#include <algorithm>

namespace {

const char* const Section = "Recent File List";

std::string EntryKey(int index)
{
    return "File" + std::to_string(index + 1);
}

}  // namespace

CRecentFileList::CRecentFileList(UINT firstCommandId, int size) : m_firstCommandId(firstCommandId), m_size(size) {}

void CRecentFileList::Add(const std::string& path)
{
    std::erase(m_entries, path);
    m_entries.insert(m_entries.begin(), path);
    if (static_cast<int>(m_entries.size()) > m_size)
        m_entries.resize(static_cast<std::size_t>(m_size));
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < static_cast<int>(m_entries.size()))
        m_entries.erase(m_entries.begin() + index);
}

void CRecentFileList::ReadList(platform::ProfileStore& store)
{
    m_entries.clear();
    for (int index = 0; index < m_size; ++index) {
        auto path = store.ReadString(Section, EntryKey(index));
        if (path && !path->empty())
            m_entries.push_back(*path);
    }
}

bool CRecentFileList::WriteList(platform::ProfileStore& store) const
{
    bool written = true;
    for (int index = 0; index < m_size; ++index) {
        const auto position = static_cast<std::size_t>(index);
        const std::string path = position < m_entries.size() ? m_entries[position] : std::string();
        written = store.WriteString(Section, EntryKey(index), path) && written;
    }
    return written;
}

void CRecentFileList::UpdateMenu(CCmdUI* commandUi)
{
    platform::Menu& menu = *commandUi->m_pMenu;
    const auto first = static_cast<std::ptrdiff_t>(commandUi->m_nIndex);
    if (m_emptyText.empty())
        m_emptyText = menu[static_cast<std::size_t>(first)].text;
    // Drop the entries of the last showing, then put the current ones in their place.
    const UINT last = m_firstCommandId + static_cast<UINT>(m_size) - 1;
    const auto isRecentEntry = [&](const platform::MenuItem& item) {
        return item.kind == platform::MenuItem::Kind::Command && item.id >= m_firstCommandId && item.id <= last;
    };
    menu.erase(std::remove_if(menu.begin() + first, menu.end(), isRecentEntry), menu.end());
    std::vector<platform::MenuItem> entries;
    for (std::size_t index = 0; index < m_entries.size(); ++index) {
        std::string text = "&";
        text += std::to_string(index + 1);
        text += ' ';
        text += m_entries[index];
        entries.push_back(platform::MenuItem::Command(text, m_firstCommandId + static_cast<UINT>(index)));
    }
    if (entries.empty()) {
        auto placeholder = platform::MenuItem::Command(m_emptyText, m_firstCommandId);
        placeholder.enabled = false;
        entries.push_back(placeholder);
    }
    menu.insert(menu.begin() + first, entries.begin(), entries.end());
    commandUi->m_nIndex += static_cast<UINT>(entries.size()) - 1;
    commandUi->m_bEnableChanged = true;
}
