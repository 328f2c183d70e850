#pragma once

#include "platform/win_types.h"

#include <string>
#include <vector>

namespace platform {

// One entry of a menu: a command, a separator or a pop-up with its own entries. The frame keeps a
// live copy of its menu resource; update handlers change `enabled`, `checked` and `text` before the
// backend shows a pop-up.
struct MenuItem {
    enum class Kind { Command, Separator, Popup };

    Kind kind = Kind::Command;
    std::string text;
    UINT id = 0;
    bool enabled = true;
    bool checked = false;
    std::vector<MenuItem> items;

    static MenuItem Command(std::string text, UINT id) { return {Kind::Command, std::move(text), id, true, false, {}}; }
    static MenuItem Separator() { return {Kind::Separator, {}, 0, true, false, {}}; }
    static MenuItem Popup(std::string text, std::vector<MenuItem> items)
    {
        return {Kind::Popup, std::move(text), 0, true, false, std::move(items)};
    }
};

using Menu = std::vector<MenuItem>;

}  // namespace platform
