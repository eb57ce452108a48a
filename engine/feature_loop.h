#pragma once
// Walks the working table in label order, one class folder at a time when asked,
// and writes each row's placemark with its shape. Rows are taken in batches: each
// batch's shapes and balloon values are read in file order, then written in label
// order, so that a run reads its files front to back a few times rather than
// seeking once per row. The next batch is read while this one is written.

#include "engine/kml_document.h"
#include "engine/placemark_writer.h"
#include "engine/region_tiles.h"
#include "engine/row_order.h"
#include "engine/shape_index.h"
#include "engine/user_messages.h"
#include "input/dbf_table.h"
#include "input/huge_pages.h"
#include "input/shapefile_reader.h"
#include "symbology/symbol_list.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

// The row filter of a class folder: the expression a dBase filter would read,
// and the test it stands for.
struct ClassFilter {
    std::string expression;
    std::function<bool(const std::string& value)> matches;
    std::function<bool(double value)> matchesNumber;  // graduated filters only
};

// Graduated folders are half-open intervals: the first class holds everything
// below its high bound, the last everything from its low bound.
ClassFilter GraduatedFilter(const std::string& field, int n, int count, const TItemRango& range);
// Unique-value folders hold the rows whose value is the class's value exactly.
ClassFilter UniqueFilter(const std::string& field, const std::string& value, bool numeric);

struct FeatureLoopInputs {
    TKml& kml;
    TEngineState& state;
    TSymbolList& symbols;
    const TBalloon& balloon;
    const DbfTable& table;      // read front to back
    const DbfTable& rowsTable;  // the same table, read a row here and there
    TShapeIndex& index;
    TFileSHP& reader;
    KmlDocumentWriter& document;
    PlacemarkWriter& placemarks;
    OutputFile& out;
    const RowOrder& order;  // live rows, in label order
    UserMessages& messages;
    RegionTiles* regions;  // takes the placemarks and class folders of a tiled layer; or none
};

class FeatureLoop {
public:
    explicit FeatureLoop(FeatureLoopInputs in);

    void WriteSingle();
    void WriteUnique();
    void WriteGraduated();

    long long Written() const { return written_; }
    long long WithoutGeometry() const { return withoutGeometry_; }
    long long NotFinite() const { return notFinite_; }
    std::int32_t FirstNotFinite() const { return firstNotFinite_; }

private:
    // A stretch of rows with what was read for them: their records end to end, where
    // each begins, and their balloon values, row by row.
    struct Batch {
        std::span<const OrderedRow> rows;
        std::vector<ByteRange> ranges;
        HugePageVector<unsigned char> records;
        std::vector<std::size_t> recordAt;
        std::vector<std::string> balloonValues;
    };

    // The rows in order, each with its style reference set to classOf(row) when given.
    void WriteRows(std::span<const OrderedRow> rows, const std::vector<std::int32_t>* classOf);
    // Fills the batch with as many rows from `start` on as it holds, reads their
    // records, and their balloon values in table order; where the batch ends.
    std::size_t ReadBatch(std::span<const OrderedRow> rows, std::size_t start, Batch& batch);
    void WriteBatch(const Batch& batch, const std::vector<std::int32_t>* classOf, int& number);
    // A class folder, in the document or in the tiles.
    void OpenFolder(const std::string& name);
    void CloseFolder();
    // One more row visited of all the run visits.
    void ReportProgress();
    // The class of every row (0 for none), from one pass over the table.
    std::vector<std::int32_t> UniqueClasses(int field) const;
    std::vector<double> Numbers(int field) const;

    FeatureLoopInputs in_;
    std::vector<int> balloonFields_;
    std::vector<double> heights_;  // of every row, with a height field
    FeatureRow row_;
    std::string text_;
    TFileSHP batchReader_;  // the shapefile again, for the thread that reads ahead
    Batch batches_[2];
    long long written_ = 0;
    long long withoutGeometry_ = 0;
    long long notFinite_ = 0;
    std::int32_t firstNotFinite_ = 0;
    long long visited_ = 0;
    int reportedPercent_ = -1;
};

}  // namespace tessaly
