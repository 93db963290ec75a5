// One entry of a popup menu as the editor's menus list it and each platform shows it.
#pragma once

#include <string>

namespace EditorCommon {

struct MenuItem {
    unsigned id;  // what the menu answers when the entry is chosen; 0 stands for none
    std::string text;
};

}  // namespace EditorCommon
