#pragma once
// Walks the working table in label order, one class folder at a time when asked,
// and writes each row's placemark with its shape. Rows are taken in batches: each
// batch's shapes are read in file order, then written in label order, so that a
// run reads its files front to back a few times rather than seeking once per row.
// A batch carries its rows' balloon values too, read from the table in file order
// as the records are.

#include "engine/attribute_data.h"
#include "engine/kml_document.h"
#include "engine/placemark_time.h"
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
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

// The row filter of a class folder: which values it lets through.
struct ClassFilter {
    std::function<bool(double value)> matchesNumber;
};

// Graduated folders are half-open intervals: the first class holds everything
// below its high bound, the last everything from its low bound.
ClassFilter GraduatedFilter(int n, int count, const TItemRango& range);

struct FeatureLoopInputs {
    TKml& kml;
    TEngineState& state;
    TSymbolList& symbols;
    const TBalloon& balloon;
    const DbfTable& table;  // read front to back
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
    // Graduated rows whose value (or ratio) is empty: they take the default symbol.
    long long WithoutValue() const { return withoutValue_; }
    const PlacemarkTimes& Times() const { return times_; }

private:
    // A stretch of rows with what was read for them: their records end to end, and
    // where each begins; their values of the balloon and data fields read from the table, each
    // ended by a zero byte, a row's values one after the other, and where each row's
    // values begin.
    struct Batch {
        std::span<const OrderedRow> rows;
        std::vector<ByteRange> ranges;
        HugePageVector<unsigned char> records;
        std::vector<std::size_t> recordAt;
        std::string values;
        std::vector<std::uint32_t> valuesAt;  // a batch holds a few MB of values
    };

    // The rows in order, each with its style reference set to classOf(row) when given.
    void WriteRows(std::span<const OrderedRow> rows, const std::vector<std::int32_t>* classOf);
    // Fills the batch with as many rows from `start` on as it holds and reads their
    // records and the values of its balloon and data fields; where the batch ends.
    std::size_t ReadBatch(std::span<const OrderedRow> rows, std::size_t start, Batch& batch);
    void WriteBatch(const Batch& batch, const std::vector<std::int32_t>* classOf, int& number);
    void ReadTableValues(Batch& batch);
    // Sets the balloon values, and the attribute data, of the batch's row i.
    void TakeTableValues(const Batch& batch, std::size_t i);
    // A class folder, in the document or in the tiles.
    void OpenFolder(const std::string& name);
    void CloseFolder();
    // One more row visited of all the run visits.
    void ReportProgress();
    // The class of every row (0 for none), from one pass over the table.
    std::vector<std::int32_t> UniqueClasses(int field) const;
    // Every row's value of a numeric field, `empty` where it has none.
    std::vector<double> Column(int field, double empty) const;

    FeatureLoopInputs in_;
    std::vector<int> balloonFields_;
    // The label field, when there is one: its balloon values are the row order's labels.
    int labelField_ = -1;
    std::vector<int> tableFields_;  // the other balloon fields, read from the table
    std::size_t tableFieldBytes_ = 0;  // the widths and zero ends of every field read from the table
    std::vector<DataField> dataFields_;  // every field, with attribute data
    std::vector<std::string_view> dataRow_;  // the row's values in its batch
    std::optional<DataMarkup> dataMarkup_;
    std::vector<double> heights_;  // of every row, with a height field
    PlacemarkTimes times_;
    FeatureRow row_;
    std::string text_;
    std::optional<DbfTable> batchTable_;  // the table once more, when it has values to read
    Batch batch_;
    long long written_ = 0;
    long long withoutGeometry_ = 0;
    long long notFinite_ = 0;
    std::int32_t firstNotFinite_ = 0;
    long long withoutValue_ = 0;
    long long visited_ = 0;
    int reportedPercent_ = -1;
};

}  // namespace tessaly
