#pragma once
// The wizard: one window whose pages lead from the input file to the document.

#include "app/input_page_prj.h"
#include "app/preview_layout.h"
#include "app/symbology_dialogs.h"
#include "app/time_group.h"
#include "app/web_map_window.h"
#include "app/wizard_dialogs.h"
#include "engine/conversion_choices.h"
#include "engine/conversion_engine.h"
#include "engine/user_messages.h"
#include "engine/working_folder.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableWidget;
class QToolButton;

namespace tessaly {

class ColourSwatch;
class RunSummaryLabel;
class TAZButton;
class TfrMap;

enum class WizardPage { Input, Visual, Single, Simbology, Balloon, Save };

class TForm1 : public QMainWindow {
public:
    // Messages and dialogs go through the two interfaces, which tests replace.
    TForm1(UserMessages& messages, WizardDialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // Loads a shapefile as the input; false (and the previous input kept) when it
    // cannot be read or has no attribute table.
    bool LoadInputFile(const QString& path);
    WizardPage CurrentPage() const;
    bool ValidateSave();
    // The Create run; true when the document was written.
    bool CreateKml(bool openAfterwards);
    // What the controls hold, as the engine takes it.
    ConversionChoices Choices() const;

    TConversionEngine& Engine() { return engine_; }
    const QString& InputShapePath() const { return inputShapePath_; }
    const std::string& AttributeTablePath() const { return attributeTablePath_; }

    void AZButtonNextClick();
    void AZButtonBackClick();
    void ShowAttributesTable();
    void ShowFieldStatistics();
    void ShowFieldHistogram();
    void ShowScatterPlot();
    // Tests answer the symbology dialogs instead of a user.
    void SetSymbologyDialogs(std::unique_ptr<SymbologyDialogs> dialogs) { symbologyDialogs_ = std::move(dialogs); }

    // The preview map window, created with the wizard and living as long.
    TfrMap& Preview() { return *preview_; }
    // Marks the preview as wanted and draws it ("Preview Map").
    void ActivatePreview();
    // After every change of symbology: redraws the preview when it is wanted.
    void RefreshPreview();
    // The coordinate system the preview's read-out names positions in.
    ReadoutSystem CoordinateReadout() const;

    // Shown in the About box.
    void SetInstallId(const std::string& installId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Return goes forward (wizard_keys.cpp).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildTitleBand(QWidget* parent);
    void BuildBottomBand(QWidget* parent);
    QWidget* BuildInputPage();
    QWidget* BuildVisualPage();
    QWidget* BuildSinglePage();
    QWidget* BuildSimbologyPage();
    QWidget* BuildBalloonPage();
    QWidget* BuildSavePage();
    ColourSwatch* Swatch(QWidget* parent, const char* name, const QRect& geometry, Colour colour);

    void ShowPage(WizardPage page);
    void UpdateNavigation();
    void UpdateUnitsControls();
    void UpdateLabelControls();
    void UpdateClassControls();
    void Update3DControls();
    void ShowEllipsoid();
    void DrawSingleSymbol();
    void SetupSimbologyPage();
    void ComboFieldChange();
    void RebuildGraduated(bool statistics, bool items);
    void FillClassGrid();
    // Every change of the symbology ends here: it redraws what the wizard shows of it.
    void SymbologyChanged();
    void BuildSymbologyCommands(QWidget* page);
    void UpdateSymbologyCommands();
    void EnableSymbologyCommands(bool enabled);
    void Image1Click();
    void StringGrid1DblClick(int row, int column);
    void AZOptionsClick();
    void RampButtonClick();
    void RampGButtonClick();
    bool HasAttributeTable();
    bool SelectedKindIsSingle() const;
    std::uint8_t SelectedKind() const;

    UserMessages& messages_;
    WizardDialogs& dialogs_;
    std::unique_ptr<SymbologyDialogs> symbologyDialogs_;
    WorkingFolder workFolder_;
    TConversionEngine engine_;
    QString inputShapePath_;
    std::string attributeTablePath_;
    std::array<double, 4> inputExtent_{};
    bool inputExtentValid_ = false;
    WebMapLinks webMap_;  // before the preview, which calls it
    std::unique_ptr<TfrMap> preview_;
    std::string installId_;

    QStackedWidget* Notebook1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    TAZButton* AZButtonBack = nullptr;
    TAZButton* AZButtonNext = nullptr;
    TAZButton* AZButton4 = nullptr;
    // Input
    QLineEdit* Edit1 = nullptr;
    QLabel* LabelEntity = nullptr;
    QComboBox* ComboDatum = nullptr;
    QLabel* LabelEllipsoid = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QComboBox* ComboHemis = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* ComboUTMZones = nullptr;
    std::unique_ptr<InputPagePrj> inputPrj_;  // RadioButtonPrj, LabelPrj
    QLabel* Label7 = nullptr;
    // Visual
    QCheckBox* CheckOverEffect = nullptr;
    QComboBox* ComboLabel = nullptr;
    QRadioButton* RadioAlways = nullptr;
    QRadioButton* RadioRollOver = nullptr;
    QRadioButton* RadioNever = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    ColourSwatch* PanelRollOverColor = nullptr;
    QCheckBox* CheckCentroid = nullptr;
    QCheckBox* CheckMultiCentroid = nullptr;
    QRadioButton* RadioSingle = nullptr;
    QRadioButton* RadioUnique = nullptr;
    QRadioButton* RadioGraduate = nullptr;
    // Single
    QLabel* Image1 = nullptr;
    // Simbology
    QComboBox* ComboField = nullptr;
    QLabel* LabelClasses = nullptr;
    QComboBox* ComboClasses = nullptr;
    QToolButton* SBDigitMas = nullptr;
    QToolButton* SBDigitMenos = nullptr;
    QLabel* LabelNormalized = nullptr;
    QComboBox* ComboNormalized = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLabel* LabelMethod = nullptr;
    QComboBox* ComboMethod = nullptr;
    TAZButton* AZOptions = nullptr;
    TAZButton* RampButton = nullptr;
    TAZButton* RampGButton = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* ChangeIcontoAll1 = nullptr;
    QAction* LineWidthtoAll1 = nullptr;
    std::array<QAction*, 5> polygonEntries_{};  // the entries shown for polygons only
    // Balloon
    QListWidget* CheckListBox1 = nullptr;
    QLineEdit* EditBalloonTitle = nullptr;
    ColourSwatch* PanelBalloon = nullptr;
    QLineEdit* EditWidth = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    ColourSwatch* BalloonFieldColor = nullptr;
    ColourSwatch* FieldFontColor = nullptr;
    ColourSwatch* BalloonValueColor = nullptr;
    ColourSwatch* ValueFontColor = nullptr;
    ColourSwatch* PanelTableColor = nullptr;
    QCheckBox* CheckData = nullptr;
    std::unique_ptr<TimeGroup> timeGroup_;  // GroupBoxTime, ComboTime, ComboTimeEnd
    // Save
    QLineEdit* EditTitle = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QComboBox* ComboAltitude = nullptr;
    QCheckBox* CheckTessellate = nullptr;
    QCheckBox* CheckRegions = nullptr;
    QCheckBox* CheckExtrude = nullptr;
    QRadioButton* RadioExtrude1 = nullptr;
    QRadioButton* RadioExtrude2 = nullptr;
    QRadioButton* RadioExtrude3 = nullptr;
    QLineEdit* EditExtrude = nullptr;
    QLabel* Label28 = nullptr;
    QComboBox* ComboExtrude = nullptr;
    QLabel* Label26 = nullptr;
    QLineEdit* EditHeightFactor = nullptr;
    QCheckBox* CheckGray = nullptr;
    TAZButton* AZButton5 = nullptr;
    TAZButton* AZButton6 = nullptr;
    QWidget* Panel3 = nullptr;
    QLabel* LabelMessage = nullptr;
    QLabel* LabelTimeRange = nullptr;
    RunSummaryLabel* LabelSummary = nullptr;
};

}  // namespace tessaly
