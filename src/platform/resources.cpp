#include "platform/resources.h"

#include <map>

namespace platform::resources {
namespace {

template <class Resource>
std::map<UINT, Resource>& Table()
{
    static std::map<UINT, Resource> table;
    return table;
}

template <class Resource>
const Resource* Find(UINT id)
{
    const auto& table = Table<Resource>();
    auto found = table.find(id);
    return found == table.end() ? nullptr : &found->second;
}

}  // namespace

void AddBitmap(UINT id, BitmapResource bitmap) { Table<BitmapResource>()[id] = std::move(bitmap); }
void AddMenu(UINT id, Menu menu) { Table<Menu>()[id] = std::move(menu); }
void AddAccelerators(UINT id, std::vector<ACCEL> entries) { Table<AcceleratorTable>()[id] = {std::move(entries)}; }
void AddToolbar(UINT id, ToolbarResource toolbar) { Table<ToolbarResource>()[id] = std::move(toolbar); }
void AddDialog(UINT id, DialogTemplate dialog) { Table<DialogTemplate>()[id] = std::move(dialog); }
void AddCursor(UINT id, CursorResource cursor) { Table<CursorResource>()[id] = std::move(cursor); }

const BitmapResource* FindBitmap(UINT id) { return Find<BitmapResource>(id); }
const Menu* FindMenu(UINT id) { return Find<Menu>(id); }
const AcceleratorTable* FindAccelerators(UINT id) { return Find<AcceleratorTable>(id); }
const ToolbarResource* FindToolbar(UINT id) { return Find<ToolbarResource>(id); }
const DialogTemplate* FindDialog(UINT id) { return Find<DialogTemplate>(id); }
const CursorResource* FindCursor(UINT id) { return Find<CursorResource>(id); }

}  // namespace platform::resources
