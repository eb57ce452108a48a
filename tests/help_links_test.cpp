// The help menu, the links of the wizard, the About box and the web map's
// window handling, without a browser or the web engine.

#include "app/about_box.h"
#include "app/help_menu.h"
#include "app/main_window.h"
#include "app/web_map_window.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace tessaly {
namespace {

// Catches what would go to the user's browser.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    Q_INVOKABLE void Open(const QUrl& url) { urls.push_back(url); }
    std::vector<QUrl> urls;
};

class NoDialogs : public WizardDialogs {
public:
    QString OpenShapefile(QWidget*) override { return {}; }
    QString SaveKml(QWidget*, const QString&) override { return {}; }
    QColor ChooseColour(QWidget*, const QColor&) override { return {}; }
    void OpenDocument(const QString&) override {}
};

TEST(HelpMenu, EntriesOpenTheirPagesOrTheAboutBox) {
    OpenedUrls opened;
    int abouts = 0;
    QWidget owner;
    QMenu* menu = NewHelpMenu("2-2/1/11", [&] { ++abouts; }, &owner);
    EXPECT_EQ(menu->objectName(), QStringLiteral("PopupMenu2"));
    QStringList names;
    for (QAction* a : menu->actions()) names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(names.join(QLatin1Char(' ')), QStringLiteral("Howto1 Homepage1 GoogleEarthrelated1 SoftwareIndex1 - "
                                                           "Comments1 Reportaproblem1 - Disclaimer1 About1"));
    menu->findChild<QAction*>(QStringLiteral("Reportaproblem1"))->trigger();
    menu->findChild<QAction*>(QStringLiteral("Howto1"))->trigger();
    menu->findChild<QAction*>(QStringLiteral("About1"))->trigger();
    ASSERT_EQ(opened.urls.size(), 2u);
    EXPECT_TRUE(opened.urls[0].toString().endsWith(QStringLiteral("/site/software/share/softreport.html?toolname=TESSALY:2-2/1/11")))
        << opened.urls[0].toString().toStdString();
    EXPECT_TRUE(opened.urls[1].toString().endsWith(QStringLiteral("/site/software/howto/tessaly.html")));
    EXPECT_EQ(abouts, 1);
}

TEST(HelpMenu, TheWizardsLinksAndToolbar) {
    OpenedUrls opened;
    test::RecordedMessages messages;
    NoDialogs dialogs;
    TForm1 window(messages, dialogs);
    QStringList toolbar;
    for (const char* name : {"SpeedButton1", "SpeedButton3", "SBHowto"}) {
        auto* b = window.findChild<QToolButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        toolbar << QStringLiteral("%1 %2 %3x%4").arg(b->toolTip()).arg(b->x()).arg(b->width()).arg(b->height());
    }
    EXPECT_EQ(toolbar, QStringList({QStringLiteral("Show Attributes Table 286 22x21"),
                                    QStringLiteral("Statistics 309 22x21"), QStringLiteral("Help 378 22x21")}));

    auto* utmGrid = window.findChild<QLabel*>(QStringLiteral("Label7"));
    ASSERT_NE(utmGrid, nullptr);
    EXPECT_EQ(utmGrid->text(), QStringLiteral("Click here to see the UTM Grid"));
    EXPECT_FALSE(utmGrid->isEnabled());
    window.findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->setChecked(true);
    EXPECT_TRUE(utmGrid->isEnabled());
    QTest::mouseClick(utmGrid, Qt::LeftButton);
    QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("LabelSiteShadow")), Qt::LeftButton);
    ASSERT_EQ(opened.urls.size(), 2u);
    EXPECT_TRUE(opened.urls[0].toString().endsWith(QStringLiteral("/site/library/utmgrid.html")));
    EXPECT_TRUE(opened.urls[1].toString().endsWith(QStringLiteral("/site/index.html")));
}

TEST(AboutBox, ShowsTheIdentifierAndBuildAndClosesOnAClick) {
    TfrAbout box("K3D9-Q0AZ-7TLM", "2-2/1/11", nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(box.size(), QSize(268, 120));
    QStringList texts;
    for (const char* name : {"LabelTitle", "LabelSubtitle", "LabelInstallId", "LabelBuild"})
        texts << box.findChild<QLabel*>(QString::fromLatin1(name))->text();
    EXPECT_EQ(texts, QStringList({QStringLiteral("Tessaly 2.0"), QStringLiteral("Razidedar ed Ozazar Uvizi"),
                                  QStringLiteral("K3D9-Q0AZ-7TLM"), QStringLiteral("Build: 2-2/1/11")}));
    const QFont title = box.findChild<QLabel*>(QStringLiteral("LabelTitle"))->font();
    EXPECT_EQ(title.family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(title.pixelSize(), 24);
    EXPECT_TRUE(title.bold());
    EXPECT_EQ(box.findChild<QLabel*>(QStringLiteral("LabelInstallId"))->font().family(), QStringLiteral("Liberation Mono"));
    box.show();
    QTest::mouseClick(box.findChild<QLabel*>(QStringLiteral("LabelSubtitle")), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

// Records what the links ask of the window.
struct RecordedWindow : WebMapWindow {
    explicit RecordedWindow(std::vector<std::string>& record) : log(record) { log.push_back("create"); }
    void ShowOnTop() override { log.push_back("show"); }
    void Navigate(const QUrl& address) override { log.push_back(address.toString().toStdString()); }
    std::vector<std::string>& log;
};

TEST(WebMap, LinksFollowTheOpeningAndBoundsRules) {
    std::vector<std::string> log;
    const std::string page = "tessaly:/online/tessaly/tessaly_gmap.php";
    {
        WebMapLinks links([&] { return std::make_unique<RecordedWindow>(log); });
        EXPECT_FALSE(links.WebMapOpen());
        links.ShowExtentOnWebMap(10, 1, {400000, 4500000, 600000, 4700000});  // metres: shown, not moved
        EXPECT_TRUE(links.WebMapOpen());
        links.ShowExtentOnWebMap(10, 1, {-120, 30, -100, 50});
        links.ShowPointOnWebMap(12, 2, 45.5, -111.25);
        links.ShowPointOnWebMap(12, 2, 89.5, 0);
    }
    EXPECT_EQ(log, (std::vector<std::string>{
                       "create", "show", "show",
                       page + "?lat=40.0000000&lon=-110.0000000&z=10&t=1&dx=10.0000000&dy=10.0000000",
                       page + "?lat=45.5000000&lon=-111.2500000&z=12&t=2"}));

    log.clear();
    WebMapLinks links([&] { return std::make_unique<RecordedWindow>(log); });
    links.ShowPointOnWebMap(5, 3, 10, 20);  // first use: the bare page, then the point
    EXPECT_EQ(log, (std::vector<std::string>{"create", page, "show", page + "?lat=10.0000000&lon=20.0000000&z=5&t=3"}));
}

TEST(WebMap, TheWindowBeforeItIsShown) {
    TfrGMaps window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tessaly-Web Map View"));
    EXPECT_EQ(window.size(), QSize(487, 389));
    EXPECT_EQ(window.findChild<QWidget*>(QStringLiteral("WebBrowser1")), nullptr);
    EXPECT_FALSE(window.testAttribute(Qt::WA_QuitOnClose));
}

}  // namespace
}  // namespace tessaly

#include "help_links_test.moc"
