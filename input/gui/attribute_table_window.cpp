#include "input/gui/attribute_table_window.h"
#include "widgets/cut_text_tips.h"
#include "widgets/window_placement.h"

#include <QHeaderView>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace tessaly {

namespace {

constexpr int kOuterWidth = 563;
constexpr int kOuterHeight = 417;

}  // namespace

AttributeTableModel::AttributeTableModel(const std::string& tablePath, QObject* parent)
    : QAbstractTableModel(parent), table_(std::make_unique<DbfTable>(tablePath)) {
    // Only the deletion flags are read up front; one pass is cheap even for large tables.
    const int count = table_->RecordCount();
    rows_.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        if (!table_->IsDeleted(row)) rows_.push_back(row);
}

AttributeTableModel::~AttributeTableModel() = default;

int AttributeTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int AttributeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_->Fields().size());
}

QVariant AttributeTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    if (index.row() >= rowCount() || index.column() >= columnCount()) return {};
    ++cellsRead_;
    try {
        return QString::fromStdString(table_->Text(TableRow(index.row()), index.column()));
    } catch (const TableError&) {
        // Called while painting: an exception must not cross Qt's event loop, so an
        // unreadable cell is shown blank.
        return {};
    }
}

QVariant AttributeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0) return {};
    if (orientation == Qt::Horizontal) {
        if (section >= columnCount()) return {};
        return QString::fromStdString(table_->Fields()[static_cast<std::size_t>(section)].name);
    }
    if (section >= rowCount()) return {};
    // The record number in the file, so hidden deleted records leave their gap.
    return TableRow(section) + 1;
}

Qt::ItemFlags AttributeTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

TfrTabla::TfrTabla(QWidget* owner, const std::string& tablePath)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName("TfrTabla");
    setWindowTitle("Attributes Table");
    setFont(QFont("Liberation Sans", 8));

    model_ = new AttributeTableModel(tablePath, this);
    grid_ = new QTableView(this);
    grid_->setObjectName("DBGrid1");
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ShowCutTextsInTooltips(grid_);
    grid_->setTabKeyNavigation(true);
    grid_->setShowGrid(true);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Fixed row heights: sizing rows to their contents would read every record.
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QPalette colours = grid_->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    grid_->setPalette(colours);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);

    resize(kOuterWidth, kOuterHeight);
}

void TfrTabla::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (sized_) return;
    sized_ = true;
    SizeOuterAndCentre(*this, QSize(kOuterWidth, kOuterHeight));
}

void ShowAttributeTable(QWidget* owner, const std::string& tablePath) {
    TfrTabla window(owner, tablePath);
    window.exec();
}

}  // namespace tessaly
