// tessaly: the desktop wizard.

#include "app/command_line.h"
#include "app/dialog_messages.h"
#include "app/main_window.h"
#include "app/preview_map_window.h"
#include "app/site_pages.h"
#include "app/site_scheme.h"
#include "app/startup.h"
#include "app/wizard_dialogs.h"
#include "engine/program_version.h"
#include "engine/working_folder.h"

#include <QApplication>
#include <QFileInfo>

#include <unistd.h>

int main(int argc, char** argv) {
    // The forms that need no window run before any display is opened.
    if (const auto status = tessaly::RunCommandLine(argc, argv)) return *status;

    // The web engine refuses to start its sandbox as root (CI, containers).
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The web views need both before the application object exists.
    tessaly::RegisterSiteScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessaly"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(9);
    QApplication::setFont(font);

    // Working folders of programs that were killed would otherwise stay for good.
    tessaly::RemoveStaleWorkingFolders();
    tessaly::DesktopDialogs dialogs;
    tessaly::DialogMessages messages;
    tessaly::TForm1 window(messages, dialogs);
    messages.SetOwner(&window);

    const QString settingsPath = tessaly::SettingsFilePath();
    tessaly::SettingsFile settings = tessaly::RestoreWindow(window, settingsPath);
    tessaly::PlacePreview(window.Preview(), settings);
    window.SetInstallId(settings.InstallId);
    window.show();
    window.ActivatePreview();
    window.Preview().ShowWebPage(tessaly::StartPageAddress(tessaly::VersionText, settings.InstallId));

    // A first argument that names an existing file is loaded as the input.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && QFileInfo(args[1]).isFile()) window.LoadInputFile(args[1]);

    const int status = QApplication::exec();
    tessaly::RememberPreview(settings, window.Preview());
    tessaly::SaveWindow(window, settings, settingsPath);
    return status;
}
