#pragma once

#include "platform/win_types.h"

#include <string>
#include <vector>

class CCmdUI;

namespace platform {
class ProfileStore;
}

// The most recently used files, newest first, shown in the File menu in place of the entry with
// the first command id, and kept in the profile section "Recent File List" as "File1", "File2" ...
class CRecentFileList {
public:
    CRecentFileList(UINT firstCommandId, int size);

    // Puts `path` first, removing an older entry of the same path and the oldest beyond the size.
    void Add(const std::string& path);
    void Remove(int index);
    int GetSize() const { return m_size; }
    const std::vector<std::string>& Entries() const { return m_entries; }

    void ReadList(platform::ProfileStore& store);
    // False when the store refused a value.
    bool WriteList(platform::ProfileStore& store) const;

    // Replaces the menu entries from `commandUi`'s position on by one entry per file ("&1 path" ...),
    // or one disabled entry keeping the menu's own text when the list is empty.
    void UpdateMenu(CCmdUI* commandUi);

private:
    UINT m_firstCommandId;
    int m_size;
    std::vector<std::string> m_entries;
    std::string m_emptyText;
};
