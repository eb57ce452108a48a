#pragma once
// The "Help" button's menu: the program's own pages in the user's browser and
// the About box.

#include <QMenu>

#include <functional>
#include <string>

namespace tessaly {

// PopupMenu2, its entries named and captioned as the wizard shows them.
QMenu* NewHelpMenu(const std::string& versionText, std::function<void()> showAbout, QWidget* parent);

}  // namespace tessaly
