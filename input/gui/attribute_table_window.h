#pragma once
// A read-only grid over a shapefile's attribute table.

#include "input/dbf_table.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QTableView;

namespace tessaly {

// The live (not deleted) records of a table, in file order. Cells are read from
// the table only when the view asks for them, so a large table opens at once.
class AttributeTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Throws TableError when the table cannot be opened.
    explicit AttributeTableModel(const std::string& tablePath, QObject* parent = nullptr);
    ~AttributeTableModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The table row (0-based) shown at a visible row.
    int TableRow(int visibleRow) const { return rows_.at(static_cast<std::size_t>(visibleRow)); }
    // How many cell values have been read from the table so far.
    long long CellsRead() const { return cellsRead_; }

private:
    std::unique_ptr<DbfTable> table_;
    std::vector<int> rows_;
    mutable long long cellsRead_ = 0;
};

// The "Attributes Table" window.
class TfrTabla : public QDialog {
    Q_OBJECT

public:
    // Throws TableError when the table cannot be opened.
    TfrTabla(QWidget* owner, const std::string& tablePath);

    QTableView* Grid() const { return grid_; }
    AttributeTableModel* Model() const { return model_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    AttributeTableModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    bool sized_ = false;
};

// Shows the table at tablePath modally; TableError when it cannot be opened.
void ShowAttributeTable(QWidget* owner, const std::string& tablePath);

}  // namespace tessaly
