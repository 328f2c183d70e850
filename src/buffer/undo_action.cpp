#include "buffer/undo_action.h"

#include <array>

std::optional<int> UndoActionStringId(std::int32_t action)
{
    // Indexed by action code; the ids are not in code order (Delete was added after the others).
    static constexpr std::array<int, 12> stringIds = {8619, 8620, 8621, 8622, 8624, 8625,
                                                      8626, 8627, 8628, 8623, 8629, 8630};
    if (action < 0 || action >= static_cast<std::int32_t>(stringIds.size())) {
        return std::nullopt;
    }
    return stringIds[static_cast<std::size_t>(action)];
}
