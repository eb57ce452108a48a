#include "app/main_window.h"

#include "app/colour_swatch.h"
#include "app/panel_messages.h"
#include "app/palette_picture.h"
#include "app/preview_map_window.h"
#include "app/run_summary_label.h"
#include "app/symbol_drawing.h"
#include "engine/program_version.h"
#include "input/attribute_fields.h"
#include "input/gui/attribute_table_window.h"
#include "input/datum_catalogue.h"
#include "input/dbf_table.h"
#include "input/load_check.h"
#include "input/number_text.h"
#include "input/shapefile_reader.h"
#include "input/time_fields.h"
#include "input/gui/statistics_window.h"
#include "symbology/classification.h"
#include "symbology/gui/histogram_window.h"
#include "symbology/gui/scatter_window.h"
#include "widgets/az_button.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolButton>

#include <chrono>
#include <filesystem>

namespace tessaly {

namespace {

// Edits and lists take the window colour when enabled, the button face when not.
void SetEnabledColoured(QWidget* w, bool enabled) {
    w->setEnabled(enabled);
    QPalette p = w->palette();
    p.setColor(QPalette::Base, QApplication::palette().color(enabled ? QPalette::Base : QPalette::Button));
    w->setPalette(p);
}

std::string Text(const QLineEdit* e) { return e->text().toStdString(); }

}  // namespace

TForm1::TForm1(UserMessages& messages, WizardDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      messages_(messages),
      dialogs_(dialogs),
      symbologyDialogs_(std::make_unique<DesktopSymbologyDialogs>(dialogs)),
      engine_(workFolder_.Path()) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Tessaly ") + QString::fromLatin1(kCaptionVersion));
    auto* client = new QWidget(this);
    setCentralWidget(client);
    setFixedSize(401, 381);
    BuildTitleBand(client);
    Notebook1 = new QStackedWidget(client);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    Notebook1->setGeometry(0, 21, 401, 329);
    QFont arial(QStringLiteral("Liberation Sans"));
    arial.setPixelSize(12);
    Notebook1->setFont(arial);
    for (QWidget* page : {BuildInputPage(), BuildVisualPage(), BuildSinglePage(), BuildSimbologyPage(),
                          BuildBalloonPage(), BuildSavePage()})
        Notebook1->addWidget(page);
    BuildBottomBand(client);
    preview_ = std::make_unique<TfrMap>(engine_.Symbols, [this] { return CoordinateReadout(); }, &webMap_, messages_);

    ShowPage(WizardPage::Input);
    UpdateUnitsControls();
    UpdateLabelControls();
    ShowEllipsoid();
    Update3DControls();
    UpdateClassControls();
}

TForm1::~TForm1() { engine_.DeleteWorkingFiles(); }

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched == Image1) {
        Image1Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::SetInstallId(const std::string& installId) { installId_ = installId; }

WizardPage TForm1::CurrentPage() const { return static_cast<WizardPage>(Notebook1->currentIndex()); }

void TForm1::ShowPage(WizardPage page) {
    Notebook1->setCurrentIndex(static_cast<int>(page));
    Panel3->hide();  // a summary left from the last run
    UpdateNavigation();
}

void TForm1::UpdateNavigation() {
    AZButtonBack->setVisible(CurrentPage() != WizardPage::Input);
    AZButtonNext->setVisible(CurrentPage() != WizardPage::Save);
}

void TForm1::UpdateUnitsControls() {
    const bool utm = RadioButton2->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(Label6), static_cast<QWidget*>(ComboUTMZones), static_cast<QWidget*>(ComboHemis),
                       static_cast<QWidget*>(Label7)})
        w->setEnabled(utm);
    inputPrj_->UpdateControls();
}

void TForm1::UpdateLabelControls() {
    const bool effect = CheckOverEffect->isChecked();
    RadioRollOver->setEnabled(effect);
    if (!effect && RadioRollOver->isChecked()) RadioNever->setChecked(true);
    const bool polygons = engine_.InputShapeClass == kPolygonClass;
    GroupBox6->setEnabled(effect && polygons);
    RadioButton3->setEnabled(effect && polygons);
    RadioButton4->setEnabled(effect && polygons);
    PanelRollOverColor->setVisible(effect && polygons);
    if (!polygons) {
        CheckCentroid->setEnabled(false);
        return;
    }
    // Labels and highlights of polygons are shown at their centroids.
    if (RadioAlways->isChecked() || RadioRollOver->isChecked() || effect) {
        CheckCentroid->setChecked(true);
        CheckCentroid->setEnabled(false);
    } else {
        CheckCentroid->setEnabled(true);
    }
}

void TForm1::UpdateClassControls() {
    const bool graduated = RadioGraduate->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(ComboClasses), static_cast<QWidget*>(SBDigitMas),
                       static_cast<QWidget*>(SBDigitMenos), static_cast<QWidget*>(LabelNormalized),
                       static_cast<QWidget*>(ComboNormalized)})
        w->setVisible(graduated);
    UpdateSymbologyCommands();
}

void TForm1::Update3DControls() {
    const bool on = CheckExtrude->isChecked();
    for (QRadioButton* r : {RadioExtrude1, RadioExtrude2, RadioExtrude3}) r->setEnabled(on);
    CheckGray->setVisible(on);
    SetEnabledColoured(EditExtrude, on && RadioExtrude2->isChecked());
    SetEnabledColoured(ComboExtrude, on && RadioExtrude3->isChecked());
    Label28->setVisible(on && RadioExtrude2->isChecked());
    const bool factor = RadioExtrude3->isEnabled() && RadioExtrude3->isChecked();
    SetEnabledColoured(EditHeightFactor, factor);
    Label26->setEnabled(factor);
}

void TForm1::ShowEllipsoid() {
    LabelEllipsoid->setText(QStringLiteral("Ellipsoid: ") +
                            QString::fromStdString(DatumEllipsoidName(ComboDatum->currentIndex() + 1)));
}

bool TForm1::LoadInputFile(const QString& path) {
    TFileSHP reader(path.toStdString());
    if (!reader.Open()) {
        messages_.Error("Imposible to read input file");
        return false;
    }
    // A file that is not a shapefile is refused, saying why, and the previous input stays.
    if (!reader.ReadHeader()) {
        messages_.Error(reader.Error());
        return false;
    }
    const std::string table = AttributeTablePathOf(path.toStdString());
    std::vector<std::string> labelFields, numericFields, timeFields;
    try {
        labelFields = ListFields(table, kTextAndNumericFields);
        numericFields = ListFields(table, kNumericFields);
        timeFields = TimeFields(table);
    } catch (const std::exception& e) {
        messages_.Error(e.what());
        return false;
    }

    LabelEntity->setText(QStringLiteral("Shape Type: ") + QString::fromStdString(ShapeTypeName(reader.ShapeType)));
    inputExtent_ = {reader.Xmin, reader.Ymin, reader.Xmax, reader.Ymax};
    inputExtentValid_ = true;
    engine_.InputLoaded(ShapeClass(reader.ShapeType), table);
    RadioSingle->setChecked(true);
    ComboField->clear();
    CheckCentroid->setEnabled(engine_.InputShapeClass == kPolygonClass);
    CheckMultiCentroid->setChecked(false);
    CheckMultiCentroid->setEnabled(false);
    UpdateLabelControls();

    inputShapePath_ = path;
    attributeTablePath_ = table;
    Edit1->setText(path);
    inputPrj_->Load(path.toStdString());
    ComboLabel->clear();
    CheckListBox1->clear();
    for (const std::string& f : labelFields) {
        ComboLabel->addItem(QString::fromStdString(f));
        auto* item = new QListWidgetItem(QString::fromStdString(f), CheckListBox1);
        item->setCheckState(Qt::Unchecked);
    }
    if (!labelFields.empty()) ComboLabel->setCurrentIndex(std::max(FindItemContaining("NAME", labelFields), 0));
    ComboExtrude->clear();
    for (const std::string& f : numericFields) ComboExtrude->addItem(QString::fromStdString(f));
    ComboExtrude->setCurrentIndex(-1);
    timeGroup_->Load(timeFields);
    preview_->SetInput({path.toStdString(), table, engine_.InputShapeClass, inputExtent_, inputExtentValid_});
    RefreshPreview();
    // Problems a run would stop at are told now, with the units the .prj chose.
    for (const std::string& warning : LoadWarnings(path.toStdString(), RadioButton1->isChecked()))
        messages_.Information(warning);
    return true;
}

void TForm1::ActivatePreview() {
    preview_->SetPreviewActive(true);
    RefreshPreview();
}

void TForm1::RefreshPreview() {
    if (!preview_->PreviewActive()) return;
    engine_.CollectSymbology(Choices());
    preview_->SetLabelPoints(CheckCentroid->isChecked(), CheckMultiCentroid->isChecked());
    preview_->ShowPreview();
    if (preview_->ShowsWebPage()) preview_->ShowDrawingPage();
}

ReadoutSystem TForm1::CoordinateReadout() const {
    return {RadioButton1->isChecked(), ComboHemis->currentIndex() == 0, ComboUTMZones->currentIndex() + 1,
            inputPrj_->RadioButtonPrj->isChecked()};
}

bool TForm1::SelectedKindIsSingle() const { return RadioSingle->isChecked(); }

std::uint8_t TForm1::SelectedKind() const {
    return RadioSingle->isChecked() ? kSingleSymbol : RadioUnique->isChecked() ? kUniqueValues : kGraduated;
}

void TForm1::DrawSingleSymbol() {
    QPixmap picture(Image1->size());
    picture.fill(QApplication::palette().color(QPalette::Button));
    QPainter p(&picture);
    DrawSymbol(p, QRect(0, 0, 140, 80), SymbolSize::Large, engine_.Symbols.DefaultSymbol(), engine_.InputShapeClass);
    p.end();
    Image1->setPixmap(picture);
}

void TForm1::SetupSimbologyPage() {
    StringGrid1->setRowCount(1);
    StringGrid1->clearContents();
    UpdateClassControls();
    engine_.Symbols.Clear();
    EnableSymbologyCommands(false);
    const bool unique = RadioUnique->isChecked();
    LabelClasses->setText(unique ? QString() : QStringLiteral("Classes"));
    std::vector<std::string> fields;
    try {
        fields = ListFields(attributeTablePath_, unique ? kTextAndNumericFields : kNumericFields);
    } catch (const std::exception& e) {
        messages_.Error(e.what());
    }
    for (const std::string& f : fields) ComboField->addItem(QString::fromStdString(f));
    ComboField->setCurrentIndex(-1);
    ComboNormalized->clear();
    if (!unique) {
        ComboNormalized->addItem(QStringLiteral(" "));
        for (const std::string& f : fields) ComboNormalized->addItem(QString::fromStdString(f));
    }
}

void TForm1::FillClassGrid() {
    const TSymbolList& symbols = engine_.Symbols;
    StringGrid1->setRowCount(std::max(symbols.Count(), 1));
    StringGrid1->clearContents();
    for (int k = 1; k <= symbols.Count(); ++k) {
        QPixmap swatch(120, 18);
        QPainter p(&swatch);
        DrawSymbol(p, QRect(0, 0, 120, 18), SymbolSize::Small, symbols.Item(k), engine_.InputShapeClass);
        p.end();
        auto* symbol = new QTableWidgetItem;
        symbol->setData(Qt::DecorationRole, swatch);
        StringGrid1->setItem(k - 1, 0, symbol);
        StringGrid1->setItem(k - 1, 1, new QTableWidgetItem(QString::fromStdString(symbols.Item(k).ValueText)));
    }
}

void TForm1::ComboFieldChange() {
    if (ComboField->currentIndex() < 0) return;
    EnableSymbologyCommands(true);
    if (!RadioUnique->isChecked()) {
        RebuildGraduated(true, true);
        return;
    }
    try {
        const auto values = BuildUniqueClasses(attributeTablePath_, ComboField->currentText().toStdString(),
                                               engine_.Symbols, engine_.InputShapeClass);
        LabelClasses->setText(QString::number(values.size()) + QStringLiteral(" Unique Items"));
    } catch (const std::exception& e) {
        messages_.Error(e.what());
    }
    SymbologyChanged();
}

void TForm1::RebuildGraduated(bool statistics, bool items) {
    if (ComboField->currentIndex() < 0 || !RadioGraduate->isChecked()) return;
    GraduatedRequest r;
    r.field = ComboField->currentText().toStdString();
    if (ComboNormalized->currentIndex() > 0) r.normField = ComboNormalized->currentText().toStdString();
    r.classCount = ComboClasses->currentIndex() + 2;
    r.statistics = statistics;
    r.items = items;
    r.method = static_cast<ClassMethod>(std::max(ComboMethod->currentIndex(), 0));
    try {
        BuildGraduatedClasses(attributeTablePath_, r, engine_.Kml, engine_.Symbols, engine_.InputShapeClass);
    } catch (const NoValuesError& e) {
        // No classes, and no field: Next asks for one instead of going on with none.
        messages_.Error(e.what());
        engine_.Symbols.Clear();
        ComboField->setCurrentIndex(-1);
        EnableSymbologyCommands(false);
    } catch (const std::exception& e) {
        messages_.Error(e.what());
    }
    SymbologyChanged();
}

void TForm1::AZButtonNextClick() {
    switch (CurrentPage()) {
        case WizardPage::Input:
            if (Edit1->text().isEmpty()) {
                messages_.Error("Select Input File");
                return;
            }
            ShowPage(WizardPage::Visual);
            break;
        case WizardPage::Visual:
            if (SelectedKindIsSingle()) {
                DrawSingleSymbol();
                ShowPage(WizardPage::Single);
            } else {
                if (ComboField->count() == 0) SetupSimbologyPage();
                ShowPage(WizardPage::Simbology);
            }
            break;
        case WizardPage::Single: ShowPage(WizardPage::Balloon); break;
        case WizardPage::Simbology:
            if (ComboField->currentIndex() < 0) {
                messages_.Error("Select a Field");
                return;
            }
            ShowPage(WizardPage::Balloon);
            break;
        case WizardPage::Balloon:
            LabelTimeRange->setText(timeGroup_->RangeText(attributeTablePath_));
            ShowPage(WizardPage::Save);
            break;
        case WizardPage::Save: break;
    }
}

void TForm1::AZButtonBackClick() {
    switch (CurrentPage()) {
        case WizardPage::Input: return;
        case WizardPage::Visual: ShowPage(WizardPage::Input); break;
        case WizardPage::Single:
        case WizardPage::Simbology: ShowPage(WizardPage::Visual); break;
        case WizardPage::Balloon: ShowPage(SelectedKindIsSingle() ? WizardPage::Single : WizardPage::Simbology); break;
        case WizardPage::Save: ShowPage(WizardPage::Balloon); break;
    }
}

bool TForm1::HasAttributeTable() {
    if (attributeTablePath_.empty()) {
        messages_.Error("Select Input File");
        return false;
    }
    if (!std::filesystem::exists(attributeTablePath_)) {
        messages_.Error("Attributes Table Not Found!");
        return false;
    }
    return true;
}

void TForm1::ShowAttributesTable() {
    if (!HasAttributeTable()) return;
    try {
        ShowAttributeTable(this, attributeTablePath_);
    } catch (const std::exception& e) {
        messages_.Error(e.what());
    }
}

void TForm1::ShowFieldStatistics() {
    if (!HasAttributeTable()) return;
    try {
        ShowStatistics(this, attributeTablePath_);
    } catch (const std::exception& e) {
        messages_.Error(e.what());
    }
}

void TForm1::ShowFieldHistogram() {
    if (!HasAttributeTable()) return;
    try {
        ShowHistogram(this, attributeTablePath_, messages_);
    } catch (const std::exception& e) {
        messages_.Error(e.what());
    }
}

void TForm1::ShowScatterPlot() {
    if (!HasAttributeTable()) return;
    try {
        ShowScatter(this, attributeTablePath_, messages_);
    } catch (const std::exception& e) {
        messages_.Error(e.what());
    }
}

ConversionChoices TForm1::Choices() const {
    ConversionChoices c;
    c.altitude = static_cast<AltitudeChoice>(std::max(ComboAltitude->currentIndex(), 0));
    c.reverseRings = CheckGray->isChecked();
    c.heightFactorText = Text(EditHeightFactor);
    c.extrude = CheckExtrude->isChecked();
    c.rollOver = CheckOverEffect->isChecked();
    c.labels = RadioAlways->isChecked() ? LabelDisplay::Always
               : RadioRollOver->isChecked() ? LabelDisplay::RollOver
                                            : LabelDisplay::Never;
    c.centroid = CheckCentroid->isChecked();
    c.createFolders = CheckBox1->isChecked();
    c.regions = CheckRegions->isChecked();
    c.rollOverColor = PanelRollOverColor->Value();
    c.rollOverChangeColor = RadioButton4->isChecked();
    c.multiCentroid = CheckMultiCentroid->isChecked();
    c.height = RadioExtrude1->isChecked()   ? HeightChoice::Elevation
               : RadioExtrude2->isChecked() ? HeightChoice::Constant
                                            : HeightChoice::Field;
    c.extrudeText = Text(EditExtrude);
    c.heightField = ComboExtrude->currentIndex() >= 0 ? ComboExtrude->currentText().toStdString() : std::string();
    c.tessellate = CheckTessellate->isChecked();
    // Lines joined by carriage return and line feed, as the document keeps them.
    c.description = Memo1->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString();
    c.title = Text(EditTitle);
    if (ComboLabel->currentIndex() >= 0) {
        c.labelField = ComboLabel->currentText().toStdString();
        c.labelPosition = ComboLabel->currentIndex();
    }
    c.balloon.title = Text(EditBalloonTitle);
    c.balloon.balloonColor = PanelBalloon->Value();
    c.balloon.widthText = Text(EditWidth);
    c.balloon.fieldFontColor = FieldFontColor->Value();
    c.balloon.valueFontColor = ValueFontColor->Value();
    c.balloon.fieldBackground = BalloonFieldColor->Value();
    c.balloon.valueBackground = BalloonValueColor->Value();
    c.balloon.showBorders = CheckBox2->isChecked();
    c.balloon.borderColor = PanelTableColor->Value();
    c.attributeData = CheckData->isChecked();
    for (int i = 0; i < CheckListBox1->count(); ++i)
        if (CheckListBox1->item(i)->checkState() == Qt::Checked)
            c.balloon.fields.push_back(CheckListBox1->item(i)->text().toStdString());
    c.classField = ComboField->currentIndex() >= 0 ? ComboField->currentText().toStdString() : std::string();
    if (ComboNormalized->currentIndex() > 0) c.normField = ComboNormalized->currentText().toStdString();
    c.kind = SelectedKind();
    c.datum = ComboDatum->currentIndex() + 1;
    c.utmZone = ComboUTMZones->currentIndex() + 1;
    c.geographic = RadioButton1->isChecked();
    c.north = ComboHemis->currentIndex() == 0;
    inputPrj_->Apply(c);
    timeGroup_->Apply(c);
    return c;
}

bool TForm1::ValidateSave() {
    if (const auto problem = tessaly::ValidateSave(Choices())) {
        messages_.Error(*problem);
        return false;
    }
    return true;
}

bool TForm1::CreateKml(bool openAfterwards) {
    if (!ValidateSave()) return false;
    if (!workFolder_.IsValid()) {
        messages_.Error("Could not create the document: no folder for the working files (" + workFolder_.Error() + ")");
        return false;
    }
    const QString proposed = QFileInfo(inputShapePath_).path() + QStringLiteral("/") +
                             QFileInfo(inputShapePath_).completeBaseName() +
                             (CheckRegions->isChecked() ? QStringLiteral(".kmz") : QStringLiteral(".kml"));
    const QString target = dialogs_.SaveKml(this, proposed);
    if (target.isEmpty()) return false;

    LabelSummary->hide();
    Panel3->show();
    Panel3->raise();
    AZButton5->setEnabled(false);
    AZButton6->setEnabled(false);
    bool done = false;
    const auto start = std::chrono::steady_clock::now();
    // Progress texts show on the panel while the run works; its notes stay for the summary.
    PanelMessages panel(messages_, LabelMessage);
    try {
        engine_.CollectSettings(Choices(), inputShapePath_.toStdString());
        engine_.SetUniqueNumeric();
        engine_.PrepareAttributes(inputShapePath_.toStdString(), panel);
        done = engine_.ConvertToKml(inputShapePath_.toStdString(), target.toStdString(), panel);
        if (!done) messages_.Error("Could not create " + target.toStdString() + ": " +
                                   inputShapePath_.toStdString() + " cannot be read as a shapefile");
    } catch (const std::exception& e) {
        messages_.Error("Could not create " + target.toStdString() + ": " + e.what());
    }
    LabelMessage->clear();
    LabelMessage->repaint();
    AZButton5->setEnabled(true);
    AZButton6->setEnabled(true);
    if (done) {
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        LabelSummary->Show(engine_.WrittenFeatures(), target.toStdString(), seconds.count(), panel.Notes());
    } else {
        // Without a summary to hold them, the run's notes are told as they are.
        for (const std::string& note : panel.Notes()) messages_.Information(note);
        Panel3->hide();
    }
    if (done && openAfterwards) dialogs_.OpenDocument(target);
    return done;
}

}  // namespace tessaly
