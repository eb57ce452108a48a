// The wizard's bands and pages: every control with its name, caption and default.

#include "app/about_box.h"
#include "app/colour_swatch.h"
#include "app/help_menu.h"
#include "app/main_window.h"
#include "app/run_summary_label.h"
#include "app/site_link_label.h"
#include "app/site_pages.h"
#include "engine/program_version.h"
#include "app/web_addresses.h"
#include "input/datum_catalogue.h"
#include "widgets/az_button.h"
#include "widgets/cut_text_tips.h"
#include "widgets/named_widget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolButton>

#include <tuple>

namespace tessaly {

namespace {

QLabel* Label(QWidget* parent, const char* name, const QString& text, const QRect& g) {
    return Named(new QLabel(text, parent), name, g);
}

QComboBox* Combo(QWidget* parent, const char* name, const QRect& g, int visibleRows = 10) {
    auto* c = Named(new QComboBox(parent), name, g);
    c->setMaxVisibleItems(visibleRows);
    // Styles that open the list around the current item ignore the row count and
    // may fill the screen; the plain drop-down list keeps it.
    c->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    ShowCutTextsInTooltips(c->view());
    return c;
}

template <typename W>
W* Captioned(QWidget* parent, const char* name, const QString& text, const QRect& g) {
    return Named(new W(text, parent), name, g);
}

QWidget* Page(const char* name) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    return page;
}

TAZButton* Button(QWidget* parent, const char* name, const QString& text, const QRect& g) {
    auto* b = Named(new TAZButton(parent), name, g);
    b->setText(text);
    return b;
}

}  // namespace

ColourSwatch* TForm1::Swatch(QWidget* parent, const char* name, const QRect& g, Colour colour) {
    auto* s = Named(new ColourSwatch(parent, colour), name, g);
    s->Choose = [this](const QColor& current) { return dialogs_.ChooseColour(this, current); };
    return s;
}

void TForm1::BuildTitleBand(QWidget* parent) {
    auto* band = Named(new QWidget(parent), "Panel1", QRect(0, 0, 401, 21));
    band->setAutoFillBackground(true);
    QPalette white = band->palette();
    white.setColor(QPalette::Window, Qt::white);
    band->setPalette(white);
    // The title over a silver copy one pixel right and down.
    QFont bold = band->font();
    bold.setBold(true);
    auto* shadow = Label(band, "LabelTitleShadow", QStringLiteral("Razidedar ed Ozazar Uvizi"), QRect(6, 3, 250, 16));
    shadow->setFont(bold);
    shadow->setStyleSheet(QStringLiteral("color: silver"));
    auto* title = Label(band, "LabelTitle", QStringLiteral("Razidedar ed Ozazar Uvizi"), QRect(5, 2, 250, 16));
    title->setFont(bold);
    title->setStyleSheet(QStringLiteral("color: black"));

    // The toolbar, left to right: flat buttons of 22 x 21 with a picture and a hint.
    int left = 263;
    auto tool = [&](const char* name, const QString& picture, const QString& hint) {
        auto* b = Named(new QToolButton(band), name, QRect(left, 0, 22, 21));
        left += 23;
        b->setAutoRaise(true);
        b->setText(picture);
        b->setToolTip(hint);
        return b;
    };
    auto clicked = &QToolButton::clicked;
    connect(tool("SpeedButton8", QStringLiteral("\u25A6"), QStringLiteral("Preview Map")), clicked, this, [this] { ActivatePreview(); });
    connect(tool("SpeedButton1", QStringLiteral("T"), QStringLiteral("Show Attributes Table")), clicked, this, [this] { ShowAttributesTable(); });
    connect(tool("SpeedButton3", QStringLiteral("\u03A3"), QStringLiteral("Statistics")), clicked, this, [this] { ShowFieldStatistics(); });
    connect(tool("SpeedButton6", QStringLiteral("\u2587"), QStringLiteral("Histogram")), clicked, this, [this] { ShowFieldHistogram(); });
    connect(tool("SpeedButton7", QStringLiteral("\u2237"), QStringLiteral("Scatter Plot")), clicked, this, [this] { ShowScatterPlot(); });
    auto* help = tool("SBHowto", QStringLiteral("?"), QStringLiteral("Help"));
    PopupMenu2 = NewHelpMenu(VersionText, [this] { ShowAbout(installId_, VersionText, this); }, this);
    connect(help, clicked, this, [this, help] {
        PopupMenu2->popup(QPoint(x() + help->x() + 5, y() + help->height() + 10));
    });
}

void TForm1::BuildBottomBand(QWidget* parent) {
    auto* band = Named(new QWidget(parent), "Panel2", QRect(0, 350, 401, 31));
    QFont courier(QStringLiteral("Liberation Mono"));
    courier.setPixelSize(12);
    // The program's own home page, not a host name: the pages are on this machine.
    for (const auto& [name, colour, offset] :
         {std::tuple{"LabelSiteShadow", "black", 0}, std::tuple{"LabelSite", "white", 1}}) {
        auto* l = Named(new LinkLabel(QStringLiteral("Tessaly home page"),
                                      [] { OpenWebPage(SitePageUrl(kHomePage)); }, band),
                        name, QRect(8 + offset, 8 + offset, 150, 16));
        l->setFont(courier);
        l->setStyleSheet(QStringLiteral("color: %1").arg(QString::fromLatin1(colour)));
    }
    AZButtonBack = Button(band, "AZButtonBack", QStringLiteral("<< Back"), QRect(160, 3, 75, 25));
    AZButtonNext = Button(band, "AZButtonNext", QStringLiteral("Next >>"), QRect(240, 3, 75, 25));
    AZButton4 = Button(band, "AZButton4", QStringLiteral("Close"), QRect(322, 3, 75, 25));
    connect(AZButtonBack, &QPushButton::clicked, this, &TForm1::AZButtonBackClick);
    connect(AZButtonNext, &QPushButton::clicked, this, &TForm1::AZButtonNextClick);
    connect(AZButton4, &QPushButton::clicked, this, &QWidget::close);
}

QWidget* TForm1::BuildInputPage() {
    auto* page = Page("Input");
    Label(page, "Label3", QStringLiteral("Input File (*.shp)"), QRect(12, 10, 200, 16));
    Edit1 = Named(new QLineEdit(page), "Edit1", QRect(12, 28, 345, 22));
    Edit1->setReadOnly(true);
    auto* browse = Named(new QToolButton(page), "SpeedButton5", QRect(362, 27, 26, 24));
    browse->setText(QStringLiteral("..."));
    connect(browse, &QToolButton::clicked, this, [this] {
        const QString path = dialogs_.OpenShapefile(this);
        if (!path.isEmpty()) LoadInputFile(path);
    });
    LabelEntity = Label(page, "LabelEntity", QString(), QRect(12, 56, 300, 16));

    auto* system = Captioned<QGroupBox>(page, "GroupBox1", QStringLiteral(" Coordinate System "), QRect(8, 104, 385, 70));
    Label(system, "Label5", QStringLiteral("Datum"), QRect(10, 24, 50, 16));
    ComboDatum = Combo(system, "ComboDatum", QRect(60, 20, 315, 22), 14);
    std::vector<std::string> datums;
    FillDatums(datums);
    for (const std::string& d : datums) ComboDatum->addItem(QString::fromStdString(d));
    ComboDatum->setCurrentIndex(kWgs1984Datum - 1);
    LabelEllipsoid = Label(system, "LabelEllipsoid", QString(), QRect(60, 48, 315, 16));
    connect(ComboDatum, &QComboBox::currentIndexChanged, this, [this] { ShowEllipsoid(); });

    auto* units = Captioned<QGroupBox>(page, "GroupBox2", QStringLiteral(" Units "), QRect(8, 176, 385, 140));
    RadioButton1 = Captioned<QRadioButton>(units, "RadioButton1", QStringLiteral(" Geographic: Lat/Lon"), QRect(10, 22, 250, 20));
    RadioButton2 = Captioned<QRadioButton>(units, "RadioButton2", QStringLiteral(" Projected: UTM (meters)"), QRect(10, 46, 250, 20));
    RadioButton1->setChecked(true);
    Label6 = Label(units, "Label6", QStringLiteral("UTM Zone"), QRect(30, 76, 70, 16));
    ComboUTMZones = Combo(units, "ComboUTMZones", QRect(100, 72, 100, 22));
    std::vector<std::string> zones;
    FillUTMZones(zones);
    for (const std::string& z : zones) ComboUTMZones->addItem(QString::fromStdString(z));
    ComboUTMZones->setCurrentIndex(11);
    ComboHemis = Combo(units, "ComboHemis", QRect(210, 72, 165, 22));
    ComboHemis->addItems({QStringLiteral("Northern Hemisphere"), QStringLiteral("Southern Hemisphere")});
    Label7 = Named(new LinkLabel(QStringLiteral("Click here to see the UTM Grid"),
                                 [] { OpenWebPage(SitePageUrl(kUtmGridPage)); }, units),
                   "Label7", QRect(30, 98, 250, 16));
    QFont underlined = Label7->font();
    underlined.setUnderline(true);
    Label7->setFont(underlined);
    Label7->setStyleSheet(QStringLiteral("QLabel { color: blue } QLabel:disabled { color: gray }"));
    connect(RadioButton1, &QRadioButton::toggled, this, [this] { UpdateUnitsControls(); });
    inputPrj_ = std::make_unique<InputPagePrj>(
        InputPageControls{page, units, ComboDatum, RadioButton1, RadioButton2, ComboUTMZones, ComboHemis});
    connect(inputPrj_->RadioButtonPrj, &QRadioButton::toggled, this, [this] { UpdateUnitsControls(); });
    return page;
}

QWidget* TForm1::BuildVisualPage() {
    auto* page = Page("Visual");
    auto* entity = Captioned<QGroupBox>(page, "GroupBox3", QStringLiteral(" Entity Properties "), QRect(8, 6, 385, 226));
    CheckOverEffect = Captioned<QCheckBox>(entity, "CheckOverEffect", QStringLiteral("Mouse Roll over Effect"), QRect(10, 20, 200, 20));
    Label(entity, "Label4", QStringLiteral("Field Label"), QRect(10, 48, 80, 16));
    ComboLabel = Combo(entity, "ComboLabel", QRect(100, 44, 270, 22), 12);
    Label(entity, "Label8", QStringLiteral("Display Label"), QRect(10, 76, 90, 16));
    RadioAlways = Captioned<QRadioButton>(entity, "RadioAlways", QStringLiteral("Always"), QRect(100, 74, 80, 20));
    RadioRollOver = Captioned<QRadioButton>(entity, "RadioRollOver", QStringLiteral("Roll over"), QRect(180, 74, 90, 20));
    RadioNever = Captioned<QRadioButton>(entity, "RadioNever", QStringLiteral("Never"), QRect(280, 74, 80, 20));
    RadioNever->setChecked(true);
    GroupBox6 = Captioned<QGroupBox>(entity, "GroupBox6", QStringLiteral("Polygon Roll over effect "), QRect(10, 100, 365, 56));
    RadioButton3 = Captioned<QRadioButton>(GroupBox6, "RadioButton3", QStringLiteral("Do not Change Style"), QRect(10, 24, 150, 20));
    RadioButton4 = Captioned<QRadioButton>(GroupBox6, "RadioButton4", QStringLiteral("Change Color"), QRect(170, 24, 110, 20));
    RadioButton4->setChecked(true);
    PanelRollOverColor = Swatch(GroupBox6, "PanelRollOverColor", QRect(290, 22, 60, 24), 0xFFFFFF);
    CheckCentroid = Captioned<QCheckBox>(entity, "CheckCentroid", QStringLiteral("Create polygon centroid"), QRect(10, 164, 300, 20));
    CheckMultiCentroid = Captioned<QCheckBox>(entity, "CheckMultiCentroid",
                                              QStringLiteral("A centroid for each Polygon when multigeometry"), QRect(26, 190, 350, 20));
    CheckMultiCentroid->setEnabled(false);

    auto* symbology = Captioned<QGroupBox>(page, "GroupBox4", QStringLiteral(" Symbology "), QRect(8, 238, 385, 86));
    RadioSingle = Captioned<QRadioButton>(symbology, "RadioSingle", QStringLiteral("Single Symbol"), QRect(10, 20, 200, 20));
    RadioUnique = Captioned<QRadioButton>(symbology, "RadioUnique", QStringLiteral("Unique Value"), QRect(10, 40, 200, 20));
    RadioGraduate = Captioned<QRadioButton>(symbology, "RadioGraduate", QStringLiteral("Graduate Value"), QRect(10, 60, 200, 20));
    RadioSingle->setChecked(true);

    connect(CheckOverEffect, &QCheckBox::toggled, this, [this] { UpdateLabelControls(); });
    for (QRadioButton* r : {RadioAlways, RadioRollOver, RadioNever})
        connect(r, &QRadioButton::clicked, this, [this] { UpdateLabelControls(); });
    connect(CheckCentroid, &QCheckBox::toggled, this, [this](bool on) {
        CheckMultiCentroid->setEnabled(on);
        if (!on) CheckMultiCentroid->setChecked(false);
        RefreshPreview();
    });
    connect(CheckMultiCentroid, &QCheckBox::toggled, this, [this] { RefreshPreview(); });
    // Another symbology kind: the classes page is set up again on the next visit.
    for (QRadioButton* r : {RadioSingle, RadioUnique, RadioGraduate})
        connect(r, &QRadioButton::clicked, this, [this] {
            ComboField->clear();
            RefreshPreview();
        });
    return page;
}

QWidget* TForm1::BuildSinglePage() {
    auto* page = Page("Single");
    Label(page, "Label12", QStringLiteral("Single Symbol"), QRect(12, 10, 200, 16));
    Image1 = Named(new QLabel(page), "Image1", QRect(97, 60, 206, 101));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);
    Label(page, "Label14", QStringLiteral("Click to Change"), QRect(97, 165, 206, 16));
    return page;
}

QWidget* TForm1::BuildSimbologyPage() {
    auto* page = Page("Simbology");
    Label(page, "Label9", QStringLiteral("Field values"), QRect(12, 10, 90, 16));
    ComboField = Combo(page, "ComboField", QRect(100, 6, 180, 22));
    LabelClasses = Label(page, "LabelClasses", QStringLiteral("Classes"), QRect(290, 10, 100, 16));
    ComboClasses = Combo(page, "ComboClasses", QRect(290, 30, 60, 22));
    for (int n = 2; n <= 200; ++n) ComboClasses->addItem(QString::number(n));
    ComboClasses->setCurrentIndex(5);
    SBDigitMas = Named(new QToolButton(page), "SBDigitMas", QRect(354, 30, 18, 22));
    SBDigitMas->setText(QStringLiteral("+"));
    SBDigitMenos = Named(new QToolButton(page), "SBDigitMenos", QRect(374, 30, 18, 22));
    SBDigitMenos->setText(QStringLiteral("-"));
    LabelNormalized = Label(page, "LabelNormalized", QStringLiteral("Normalized"), QRect(12, 38, 90, 16));
    ComboNormalized = Combo(page, "ComboNormalized", QRect(100, 34, 180, 22));
    StringGrid1 = Named(new QTableWidget(1, 2, page), "StringGrid1", QRect(8, 62, 385, 234));
    StringGrid1->setHorizontalHeaderLabels({QStringLiteral("Symbol"), QStringLiteral("Value")});
    StringGrid1->verticalHeader()->setVisible(false);
    StringGrid1->verticalHeader()->setDefaultSectionSize(18);
    StringGrid1->setColumnWidth(0, 120);
    StringGrid1->setColumnWidth(1, 240);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ShowCutTextsInTooltips(StringGrid1);
    CheckBox1 = Captioned<QCheckBox>(page, "CheckBox1", QStringLiteral("Create Folders"), QRect(12, 302, 120, 20));
    BuildSymbologyCommands(page);

    connect(ComboField, &QComboBox::activated, this, [this] { ComboFieldChange(); });
    connect(ComboClasses, &QComboBox::activated, this, [this] { RebuildGraduated(false, true); });
    connect(ComboNormalized, &QComboBox::activated, this, [this] { RebuildGraduated(true, true); });
    connect(SBDigitMas, &QToolButton::clicked, this, [this] {
        if (engine_.Kml.Digits > 9) return;
        ++engine_.Kml.Digits;
        RebuildGraduated(false, false);
    });
    connect(SBDigitMenos, &QToolButton::clicked, this, [this] {
        if (engine_.Kml.Digits < 1) return;
        --engine_.Kml.Digits;
        RebuildGraduated(false, false);
    });
    return page;
}

QWidget* TForm1::BuildBalloonPage() {
    auto* page = Page("Balloon");
    Label(page, "Label18", QStringLiteral("Balloon Definiition"), QRect(12, 6, 200, 16));
    Label(page, "Label16", QStringLiteral("Fields"), QRect(12, 26, 100, 16));
    CheckListBox1 = Named(new QListWidget(page), "CheckListBox1", QRect(12, 44, 170, 160));
    ShowCutTextsInTooltips(CheckListBox1);
    auto* all = Button(page, "AZButton1", QStringLiteral("Select all Fields"), QRect(12, 210, 110, 25));
    auto* none = Button(page, "AZButton2", QStringLiteral("Clear All"), QRect(126, 210, 56, 25));
    auto check = [this](Qt::CheckState state) {
        for (int i = 0; i < CheckListBox1->count(); ++i) CheckListBox1->item(i)->setCheckState(state);
    };
    connect(all, &QPushButton::clicked, this, [check] { check(Qt::Checked); });
    connect(none, &QPushButton::clicked, this, [check] { check(Qt::Unchecked); });

    Label(page, "Label13", QStringLiteral("Title"), QRect(195, 44, 80, 16));
    EditBalloonTitle = Named(new QLineEdit(page), "EditBalloonTitle", QRect(195, 62, 195, 22));
    Label(page, "Label17", QStringLiteral("Balloon Color"), QRect(195, 94, 120, 16));
    PanelBalloon = Swatch(page, "PanelBalloon", QRect(330, 90, 60, 22), 0xFFFFFF);
    Label(page, "Label20", QStringLiteral("Width (Pixels)"), QRect(195, 122, 120, 16));
    EditWidth = Named(new QLineEdit(QStringLiteral("250"), page), "EditWidth", QRect(330, 118, 60, 22));
    CheckBox2 = Captioned<QCheckBox>(page, "CheckBox2", QStringLiteral("Show Table Borders"), QRect(195, 148, 195, 20));
    Label(page, "Label21", QStringLiteral("Field Background"), QRect(195, 180, 130, 16));
    BalloonFieldColor = Swatch(page, "BalloonFieldColor", QRect(330, 176, 60, 22), 13296099);
    Label(page, "Label24", QStringLiteral("Field Font Color"), QRect(195, 208, 130, 16));
    FieldFontColor = Swatch(page, "FieldFontColor", QRect(330, 204, 60, 22), 0);
    Label(page, "Label22", QStringLiteral(" Value Background"), QRect(195, 236, 130, 16));
    BalloonValueColor = Swatch(page, "BalloonValueColor", QRect(330, 232, 60, 22), 13297380);
    Label(page, "Label23", QStringLiteral("Value Font Color"), QRect(195, 264, 130, 16));
    ValueFontColor = Swatch(page, "ValueFontColor", QRect(330, 260, 60, 22), 32768);
    PanelTableColor = Swatch(page, "PanelTableColor", QRect(0, 0, 1, 1), 0);
    PanelTableColor->hide();
    // Every field, not only the balloon's, as data that GIS programs read back typed.
    CheckData = Captioned<QCheckBox>(page, "CheckData", QStringLiteral("All Fields as Data"), QRect(12, 246, 170, 20));
    CheckData->setToolTip(QStringLiteral("Writes every field of each feature as KML data, which GIS programs "
                                         "and Google Earth's table read back with its type"));
    timeGroup_ = std::make_unique<TimeGroup>(page, QRect(8, 283, 385, 40));
    return page;
}

QWidget* TForm1::BuildSavePage() {
    auto* page = Page("Save");
    Label(page, "Label10", QStringLiteral("Layer Title"), QRect(12, 8, 100, 16));
    EditTitle = Named(new QLineEdit(page), "EditTitle", QRect(110, 4, 280, 22));
    Label(page, "Label15", QStringLiteral("Description"), QRect(12, 34, 100, 16));
    Memo1 = Named(new QPlainTextEdit(page), "Memo1", QRect(110, 32, 280, 60));
    Label(page, "Label27", QStringLiteral("Altitude Mode"), QRect(12, 104, 100, 16));
    ComboAltitude = Combo(page, "ComboAltitude", QRect(110, 100, 160, 22));
    ComboAltitude->addItems({QStringLiteral("Clamped to Ground"), QStringLiteral("Relative to Ground"), QStringLiteral("Absolute")});
    CheckTessellate = Captioned<QCheckBox>(page, "CheckTessellate", QStringLiteral("Tessellate"), QRect(285, 101, 100, 20));

    auto* extrusion = Named(new QGroupBox(page), "GroupBox8", QRect(8, 130, 385, 138));
    CheckExtrude = Captioned<QCheckBox>(extrusion, "CheckExtrude", QStringLiteral("3D Options"), QRect(8, 0, 120, 20));
    RadioExtrude1 = Captioned<QRadioButton>(extrusion, "RadioExtrude1", QStringLiteral("Use Elevation Value"), QRect(10, 24, 200, 20));
    RadioExtrude2 = Captioned<QRadioButton>(extrusion, "RadioExtrude2", QStringLiteral("Constant Value"), QRect(10, 50, 130, 20));
    EditExtrude = Named(new QLineEdit(extrusion), "EditExtrude", QRect(150, 48, 80, 22));
    Label28 = Label(extrusion, "Label28", QStringLiteral("meters"), QRect(236, 52, 60, 16));
    RadioExtrude3 = Captioned<QRadioButton>(extrusion, "RadioExtrude3", QStringLiteral("Field Value"), QRect(10, 78, 130, 20));
    RadioExtrude3->setChecked(true);
    ComboExtrude = Combo(extrusion, "ComboExtrude", QRect(150, 76, 130, 22));
    Label26 = Label(extrusion, "Label26", QStringLiteral("Factor"), QRect(288, 80, 40, 16));
    EditHeightFactor = Named(new QLineEdit(QStringLiteral("1.0"), extrusion), "EditHeightFactor", QRect(330, 76, 45, 22));
    CheckGray = Captioned<QCheckBox>(extrusion, "CheckGray", QStringLiteral("My Shapes became all black"), QRect(10, 116, 250, 20));

    // A long caption goes in the tooltip: the line below the 3D options also states the time range.
    CheckRegions = Captioned<QCheckBox>(page, "CheckRegions", QStringLiteral("KMZ of tiles with regions"),
                                        QRect(12, 270, 180, 20));
    CheckRegions->setToolTip(QStringLiteral("For layers too big for one document: the layer is written as tiles inside "
                                            "a KMZ archive, each loaded only when its region comes into view"));
    LabelTimeRange = Label(page, "LabelTimeRange", QString(), QRect(195, 272, 197, 16));
    AZButton5 = Button(page, "AZButton5", QStringLiteral("Create KML file"), QRect(110, 292, 120, 25));
    AZButton6 = Button(page, "AZButton6", QStringLiteral("Create and Open"), QRect(240, 292, 120, 25));
    Panel3 = Named(new QWidget(page), "Panel3", QRect(8, 96, 385, 172));
    Panel3->setAutoFillBackground(true);
    LabelMessage = Label(Panel3, "LabelMessage", QString(), QRect(10, 80, 365, 20));
    LabelMessage->setAlignment(Qt::AlignCenter);
    LabelSummary = new RunSummaryLabel(
        Panel3, [this](const QString& folder) { dialogs_.OpenDocument(folder); }, [this] { Panel3->hide(); });
    Panel3->hide();

    connect(ComboAltitude, &QComboBox::currentIndexChanged, this,
            [this](int index) { CheckTessellate->setVisible(index == 0); });
    connect(CheckExtrude, &QCheckBox::toggled, this, [this] { Update3DControls(); });
    for (QRadioButton* r : {RadioExtrude1, RadioExtrude2, RadioExtrude3})
        connect(r, &QRadioButton::toggled, this, [this] { Update3DControls(); });
    connect(AZButton5, &QPushButton::clicked, this, [this] { CreateKml(false); });
    connect(AZButton6, &QPushButton::clicked, this, [this] { CreateKml(true); });
    return page;
}

}  // namespace tessaly
