#include "app/help_menu.h"

#include "app/site_pages.h"
#include "app/web_addresses.h"

namespace tessaly {

QMenu* NewHelpMenu(const std::string& versionText, std::function<void()> showAbout, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("PopupMenu2"));
    for (const HelpMenuItem& item : HelpMenuItems(versionText)) {
        if (item.name.empty()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(item.caption));
        action->setObjectName(QString::fromStdString(item.name));
        if (item.address.empty())
            QObject::connect(action, &QAction::triggered, menu, showAbout);
        else
            QObject::connect(action, &QAction::triggered, menu,
                             [address = item.address] { OpenWebPage(SitePageUrl(address)); });
    }
    return menu;
}

}  // namespace tessaly
