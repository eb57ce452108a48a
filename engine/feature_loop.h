#pragma once
// Walks the working table in label order, one class folder at a time when asked,
// and writes each row's placemark with its shape.

#include "engine/kml_document.h"
#include "engine/placemark_writer.h"
#include "engine/shape_index.h"
#include "engine/user_messages.h"
#include "input/dbf_table.h"
#include "input/shapefile_reader.h"
#include "symbology/symbol_list.h"

#include <functional>
#include <unordered_map>
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
    const DbfTable& table;
    TShapeIndex& index;
    TFileSHP& reader;
    KmlDocumentWriter& document;
    PlacemarkWriter& placemarks;
    OutputFile& out;
    const std::vector<int>& order;  // live rows, in label order
    UserMessages& messages;
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
    // The rows in order, each with its style reference set to classOf(row) when given.
    void WriteRows(const std::vector<int>& rows, const std::function<int(int row)>& classOf);
    std::string ValueText(int row, int field) const;
    // One more row visited of all the run visits.
    void ReportProgress();
    // FindByValue for every row at once: the first class of each distinct value.
    std::unordered_map<std::string, int> ClassesByValue() const;

    FeatureLoopInputs in_;
    int labelField_ = -1;
    std::vector<int> balloonFields_;
    int heightField_ = -1;
    int rowNumberField_ = -1;
    FeatureRow row_;
    std::string text_;
    long long written_ = 0;
    long long withoutGeometry_ = 0;
    long long notFinite_ = 0;
    std::int32_t firstNotFinite_ = 0;
    long long visited_ = 0;
    int reportedPercent_ = -1;
};

}  // namespace tessaly
