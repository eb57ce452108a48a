#include "input/gui/attribute_table_window.h"
#include "input/dbf_table.h"
#include "input/gui/statistics_window.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

#include <set>
#include <string>

namespace tessaly {
namespace {

using test::TempDir;

// A table with a text field NAME and a numeric field VALUE, one row per value.
std::string MakeValueTable(const TempDir& dir, const std::vector<double>& values) {
    const std::string path = (dir / "values.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddField(h, "NAME", FTString, 10, 0);
    DBFAddField(h, "VALUE", FTDouble, 10, 3);
    for (int i = 0; i < static_cast<int>(values.size()); ++i) {
        DBFWriteStringAttribute(h, i, 0, ("n" + std::to_string(i)).c_str());
        DBFWriteDoubleAttribute(h, i, 1, values[static_cast<std::size_t>(i)]);
    }
    DBFClose(h);
    return path;
}

// A table of `rows` records: ID holds the record's 1-based number, LABEL "row<ID>".
std::string MakeNumberedTable(const TempDir& dir, int rows, const std::set<int>& deleted = {}) {
    const std::string path = (dir / "numbered.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddField(h, "ID", FTInteger, 9, 0);
    DBFAddField(h, "LABEL", FTString, 12, 0);
    DBFAddField(h, "SCORE", FTDouble, 8, 2);
    for (int i = 0; i < rows; ++i) {
        DBFWriteIntegerAttribute(h, i, 0, i + 1);
        DBFWriteStringAttribute(h, i, 1, ("row" + std::to_string(i + 1)).c_str());
        DBFWriteDoubleAttribute(h, i, 2, (i % 100) / 4.0);
        if (deleted.count(i)) DBFMarkRecordDeleted(h, i, 1);
    }
    DBFClose(h);
    return path;
}

std::string CountiesTable(const TempDir& dir) {
    dir.CopyShared("us-atlas/counties");
    return (dir / "counties.dbf").string();
}

std::vector<std::string> MemoLines(const TfrStats& window) {
    std::vector<std::string> lines;
    for (const QString& line : window.Memo()->toPlainText().split('\n')) lines.push_back(line.toStdString());
    return lines;
}

const std::vector<std::string> kExpectedStatistics{"",
                                      "Minimum: 2.00000",
                                      "Maximum: 7.00000",
                                      "Total  : 12.50000",
                                      "Average: 4.16667",
                                      "Count  : 3"};

// What the combo box does when the user picks an entry from its list.
void Pick(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QString Cell(const AttributeTableModel& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
}

TEST(StatisticsWindow, OpensWithTheNumericFieldsAndNothingChosen) {
    TempDir dir;
    TfrStats window(nullptr, MakeValueTable(dir, {2, 3.5, 7}));
    ASSERT_EQ(window.Fields()->count(), 1);
    EXPECT_EQ(window.Fields()->itemText(0), "VALUE");
    EXPECT_EQ(window.Fields()->currentIndex(), -1);
    EXPECT_TRUE(window.Memo()->toPlainText().isEmpty());
}

TEST(StatisticsWindow, ChoosingAFieldShowsItsStatisticsBelowAnEmptyLine) {
    TempDir dir;
    TfrStats window(nullptr, MakeValueTable(dir, {2, 3.5, 7}));
    Pick(window.Fields(), 0);
    EXPECT_EQ(MemoLines(window), kExpectedStatistics);
}

TEST(StatisticsWindow, ChoosingTheSameFieldAgainReplacesTheLines) {
    TempDir dir;
    TfrStats window(nullptr, MakeValueTable(dir, {2, 3.5, 7}));
    Pick(window.Fields(), 0);
    Pick(window.Fields(), 0);
    EXPECT_EQ(MemoLines(window), kExpectedStatistics);
}

TEST(StatisticsWindow, ChoosingByKeyboardFillsTheMemoAndMovesTheFocusThere) {
    TempDir dir;
    TfrStats window(nullptr, MakeValueTable(dir, {2, 3.5, 7}));
    window.show();
    window.activateWindow();
    window.Fields()->setFocus();
    QApplication::processEvents();

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(window.Fields(), &down);
    QApplication::processEvents();

    EXPECT_EQ(window.Fields()->currentIndex(), 0);
    EXPECT_EQ(MemoLines(window), kExpectedStatistics);
    EXPECT_EQ(window.focusWidget(), window.Memo());
}

TEST(StatisticsWindow, ATableWithoutNumericFieldsListsNothing) {
    TempDir dir;
    TfrStats window(nullptr, CountiesTable(dir));  // fields id and name, both character
    EXPECT_EQ(window.Fields()->count(), 0);
    EXPECT_TRUE(window.Memo()->toPlainText().isEmpty());
}

TEST(StatisticsWindow, HasItsControlsWhereTheWizardExpectsThem) {
    TempDir dir;
    TfrStats window(nullptr, MakeValueTable(dir, {1}));
    EXPECT_EQ(window.windowTitle(), "Statistics");
    EXPECT_EQ(window.windowType(), Qt::Tool);
    EXPECT_EQ(window.size(), QSize(228, 160));
    EXPECT_EQ(window.font().family(), "Liberation Sans");
    EXPECT_EQ(window.font().pointSize(), 9);

    auto* label = window.findChild<QLabel*>("Label1");
    auto* box = window.findChild<QComboBox*>("ComboBox1");
    auto* memo = window.findChild<QPlainTextEdit*>("Memo1");
    ASSERT_NE(label, nullptr);
    ASSERT_NE(box, nullptr);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(label->text(), "Field");
    EXPECT_EQ(label->pos(), QPoint(5, 15));
    EXPECT_EQ(box->pos(), QPoint(40, 10));
    EXPECT_EQ(box->width(), 181);
    EXPECT_FALSE(box->isEditable());
    EXPECT_EQ(memo->geometry(), QRect(5, 40, 216, 111));
    EXPECT_TRUE(memo->isReadOnly());
}

TEST(StatisticsWindow, AMissingTableIsReportedToTheCaller) {
    TempDir dir;
    const std::string missing = (dir / "absent.dbf").string();
    EXPECT_THROW(TfrStats(nullptr, missing), TableError);
    EXPECT_THROW(ShowStatistics(nullptr, missing), TableError);
}

TEST(AttributeTableWindow, ShowsEveryCountyWithItsFields) {
    TempDir dir;
    TfrTabla window(nullptr, CountiesTable(dir));
    const AttributeTableModel& model = *window.Model();
    ASSERT_EQ(window.Grid()->model(), window.Model());
    ASSERT_EQ(model.rowCount(), 3231);
    ASSERT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "id");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "name");

    EXPECT_EQ(Cell(model, 0, 0), "04015");
    EXPECT_EQ(Cell(model, 0, 1), "Mohave");
    EXPECT_EQ(Cell(model, 1, 0), "22105");
    EXPECT_EQ(Cell(model, 1, 1), "Tangipahoa");
    EXPECT_EQ(Cell(model, 100, 0), "06089");
    EXPECT_EQ(Cell(model, 100, 1), "Shasta");
    EXPECT_EQ(Cell(model, 3230, 0), "04025");
    EXPECT_EQ(Cell(model, 3230, 1), "Yavapai");

    EXPECT_EQ(model.headerData(0, Qt::Vertical).toInt(), 1);
    EXPECT_EQ(model.headerData(3230, Qt::Vertical).toInt(), 3231);
}

TEST(AttributeTableWindow, NoCellCanBeEdited) {
    TempDir dir;
    const std::string path = CountiesTable(dir);
    const auto before = test::ReadBytes(path);
    TfrTabla window(nullptr, path);
    AttributeTableModel& model = *window.Model();
    window.show();
    QApplication::processEvents();

    for (int row : {0, 17, 3230})
        for (int column : {0, 1}) {
            const QModelIndex index = model.index(row, column);
            EXPECT_FALSE(model.flags(index).testFlag(Qt::ItemIsEditable)) << row << "," << column;
            EXPECT_TRUE(model.flags(index).testFlag(Qt::ItemIsSelectable));
        }

    const QModelIndex first = model.index(0, 1);
    EXPECT_FALSE(model.setData(first, "Changed"));
    window.Grid()->setCurrentIndex(first);
    window.Grid()->edit(first);
    QKeyEvent typing(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(window.Grid(), &typing);
    QApplication::processEvents();
    EXPECT_EQ(window.Grid()->findChild<QLineEdit*>(), nullptr);  // no cell editor was opened
    EXPECT_EQ(Cell(model, 0, 1), "Mohave");

    window.close();
    EXPECT_EQ(test::ReadBytes(path), before);
}

TEST(AttributeTableWindow, DeletedRecordsAreLeftOutAndTheRestKeepTheirNumbers) {
    TempDir dir;
    TfrTabla window(nullptr, MakeNumberedTable(dir, 6, {1, 3, 4}));
    const AttributeTableModel& model = *window.Model();
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(Cell(model, 0, 1), "row1");
    EXPECT_EQ(Cell(model, 1, 1), "row3");
    EXPECT_EQ(Cell(model, 2, 1), "row6");
    EXPECT_EQ(model.headerData(1, Qt::Vertical).toInt(), 3);
    EXPECT_EQ(model.headerData(2, Qt::Vertical).toInt(), 6);
}

TEST(AttributeTableWindow, ALargeTableIsReadOnlyAsFarAsItIsShown) {
    constexpr int kRows = 100000;
    TempDir dir;
    TfrTabla window(nullptr, MakeNumberedTable(dir, kRows));
    AttributeTableModel& model = *window.Model();
    EXPECT_EQ(model.CellsRead(), 0);

    window.show();
    QApplication::processEvents();
    ASSERT_EQ(model.rowCount(), kRows);
    // What fits in the window: a few dozen rows of three fields, read a few times over.
    const long long shown = model.CellsRead();
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 1500);

    window.Grid()->scrollToBottom();
    QApplication::processEvents();
    const long long afterScrolling = model.CellsRead();
    EXPECT_GT(afterScrolling, shown);
    EXPECT_LT(afterScrolling, 3000);

    EXPECT_EQ(Cell(model, kRows - 1, 0), "100000");
    EXPECT_EQ(Cell(model, kRows - 1, 1), "row100000");
    EXPECT_EQ(Cell(model, kRows - 1, 2), "24.75");
}

TEST(AttributeTableWindow, OpensCentredOnItsOwnerAtItsSize) {
    TempDir dir;
    QWidget owner;
    owner.setGeometry(200, 150, 900, 700);
    owner.show();
    TfrTabla window(&owner, CountiesTable(dir));
    window.show();
    QApplication::processEvents();

    EXPECT_EQ(window.windowTitle(), "Attributes Table");
    EXPECT_EQ(window.frameGeometry().size(), QSize(563, 417));
    const QPoint offset = window.frameGeometry().center() - owner.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();

    EXPECT_EQ(window.Grid()->objectName(), "DBGrid1");
    EXPECT_EQ(window.Grid()->font().family(), "Liberation Sans");
    EXPECT_EQ(window.Grid()->font().pointSize(), 8);
    EXPECT_EQ(window.Grid()->palette().color(QPalette::Base), window.palette().color(QPalette::Button));
    // The grid fills the window.
    EXPECT_EQ(window.Grid()->geometry(), window.rect());
}

TEST(AttributeTableWindow, AMissingTableIsReportedToTheCaller) {
    TempDir dir;
    const std::string missing = (dir / "absent.dbf").string();
    EXPECT_THROW(TfrTabla(nullptr, missing), TableError);
    EXPECT_THROW(ShowAttributeTable(nullptr, missing), TableError);
}

}  // namespace
}  // namespace tessaly
