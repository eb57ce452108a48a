#include "engine/conversion_engine.h"

#include "engine/attribute_data.h"
#include "engine/feature_loop.h"
#include "engine/icon_palette.h"
#include "engine/kml_document.h"
#include "engine/kml_text.h"
#include "engine/output_file.h"
#include "engine/placemark_writer.h"
#include "engine/shape_index.h"
#include "engine/working_table.h"
#include "input/attribute_fields.h"
#include "input/datum_tool.h"
#include "input/projected_input.h"
#include "input/number_text.h"
#include "input/text_decoding.h"
#include "input/shapefile_reader.h"

#include <charconv>
#include <exception>
#include <filesystem>
#include <optional>
#include <thread>

namespace fs = std::filesystem;

namespace tessaly {

namespace {

std::size_t CharacterCount(const std::string& text) {
    std::size_t n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string Records(long long n) { return std::to_string(n) + (n == 1 ? " record" : " records"); }

std::string FileNamePart(const std::string& path) { return fs::path(path).filename().string(); }

int WholeNumber(const std::string& text, const std::string& what) {
    std::size_t b = text.find_first_not_of(' ');
    std::size_t e = text.find_last_not_of(' ');
    int value = 0;
    if (b == std::string::npos) throw ConversionError(what + " is empty; it must be a whole number");
    const auto r = std::from_chars(text.data() + b, text.data() + e + 1, value);
    if (r.ec != std::errc() || r.ptr != text.data() + e + 1)
        throw ConversionError(what + " \"" + text + "\" is not a whole number");
    return value;
}

}  // namespace

TConversionEngine::TConversionEngine(const std::string& workFolder)
    : WorkTablePath((fs::path(workFolder) / "tessaly.dbf").string()),
      ShapeIndexPath(ShapeIndexPathFor(WorkTablePath)) {}

void TConversionEngine::InputLoaded(std::uint8_t shapeClass, const std::string& attributeTablePath) {
    InputShapeClass = shapeClass;
    Kml.AttributeTablePath = attributeTablePath;
    State.Prepared = false;
    State.LastSortedField.clear();
    labelIndexes_.clear();
    ResetStyleDefaults(Kml);
    Symbols.Kind = kSingleSymbol;
}

void TConversionEngine::CollectSettings(const ConversionChoices& c, const std::string& inputShapePath) {
    static const char* const kAltitudes[] = {kClampToGround, "relativeToGround", "absolute"};
    Kml.AltitudeMode = kAltitudes[static_cast<int>(c.altitude)];
    Kml.ReverseRings = c.reverseRings;
    Kml.HeightFactor = CleanNumberText(c.heightFactorText);
    Kml.Extrude = c.extrude ? '1' : '0';
    Kml.RollOver = c.rollOver;
    Kml.LabelAlways = c.labels == LabelDisplay::Always;
    Kml.LabelRollOver = c.labels == LabelDisplay::RollOver;
    Kml.Centroid = c.centroid;
    Kml.CreateFolders = c.createFolders;
    Kml.AttributeData = c.attributeData;
    Kml.Regions = c.regions;
    Kml.RegionSize = c.regionSize;
    Kml.RollOverColor = c.rollOverColor;
    Kml.RollOverChangeColor = c.rollOverChangeColor;
    Kml.MultiCentroid = c.multiCentroid;
    Kml.HeightSource = static_cast<std::uint8_t>(c.height);
    Kml.HeightField.clear();
    Kml.HeightValue = 0;
    if (c.extrude) {
        if (c.height == HeightChoice::Constant) Kml.HeightValue = TextToNumber(c.extrudeText);
        if (c.height == HeightChoice::Field) Kml.HeightField = TruncateCharacters(c.heightField, 30);
    } else {
        Kml.HeightText = "0";
        Kml.HeightSource = 1;
    }
    Kml.Tessellate = c.tessellate ? '1' : '0';
    Kml.Description = c.description;
    if (CharacterCount(Kml.Description) < 5) Kml.Description = "Source File: " + FileNamePart(inputShapePath);
    Kml.DocumentName = c.title;
    State.LabelField = c.labelField ? TruncateCharacters(*c.labelField, 30) : std::string();
    labelPosition_ = c.labelPosition;

    Balloon.Title = c.balloon.title;
    Balloon.BalloonColor = c.balloon.balloonColor;
    Balloon.Width = WholeNumber(c.balloon.widthText, "Balloon width");
    Balloon.FieldFontColor = c.balloon.fieldFontColor;
    Balloon.ValueFontColor = c.balloon.valueFontColor;
    Balloon.FieldBackground = c.balloon.fieldBackground;
    Balloon.ValueBackground = c.balloon.valueBackground;
    Balloon.ShowBorders = c.balloon.showBorders;
    Balloon.BorderColor = c.balloon.borderColor;
    Balloon.ClearFields();
    for (const std::string& f : c.balloon.fields) Balloon.AddField(f);

    CollectSymbology(c);

    Kml.Datum = c.datum;
    Kml.UtmZone = static_cast<std::uint8_t>(c.utmZone);
    Kml.Geographic = c.geographic;
    Kml.North = c.north;
    Kml.ProjectedDefinition = c.projectedDefinition;
    Kml.TimeField = TruncateCharacters(c.timeField, 30);
    Kml.TimeEndField = TruncateCharacters(c.timeEndField, 30);
    Kml.TimeSpan = c.timeSpan;
}

void TConversionEngine::CollectSymbology(const ConversionChoices& c) {
    Symbols.SetFieldName(c.classField);
    Symbols.SetNormField(c.normField);
    if (Symbols.NormField() == Symbols.FieldName()) Symbols.SetNormField("");
    Symbols.Kind = c.kind == kUniqueValues || c.kind == kGraduated ? c.kind : std::uint8_t{kSingleSymbol};
    if (Symbols.Kind != kGraduated) Symbols.SetNormField("");
}

void TConversionEngine::SetUniqueNumeric() {
    Kml.UniqueNumeric = Symbols.Kind == kUniqueValues && IsNumericField(Kml.AttributeTablePath, Symbols.FieldName());
}

void TConversionEngine::CheckFields() const {
    const DbfTable table(Kml.AttributeTablePath);
    auto require = [&](const std::string& field, const std::string& role) {
        if (table.FieldIndex(field) < 0)
            throw ConversionError(Kml.AttributeTablePath + ": the " + role + " field \"" + field +
                                  "\" is not in the table");
    };
    if (!State.LabelField.empty()) require(State.LabelField, "label");
    for (const std::string& f : Balloon.Fields()) require(f, "balloon");
    if (Kml.Extrude == '1' && Kml.HeightSource == 3) require(Kml.HeightField, "height");
    if (!Kml.TimeField.empty()) require(Kml.TimeField, "time");
    if (Kml.TimeSpan && !Kml.TimeEndField.empty()) require(Kml.TimeEndField, "time end");
    if (Symbols.Kind == kUniqueValues || Symbols.Kind == kGraduated) {
        require(Symbols.FieldName(), "classification");
        if (!Symbols.NormField().empty()) require(Symbols.NormField(), "normalisation");
    }
}

void TConversionEngine::CreateLabelIndex(const std::string& field, int position, UserMessages& messages) {
    State.LabelIndexName = TruncateCharacters("INDEX" + std::to_string(position), 10);
    if (labelIndexes_.count(State.LabelIndexName)) {
        messages.Information("Index already exists");
    } else {
        const DbfTable table(WorkTablePath);
        labelIndexes_[State.LabelIndexName] = RowOrder::LabelOrder(table, table.RequireField(field));
    }
    State.LastSortedField = TruncateCharacters(field, 20);
}

void TConversionEngine::PrepareAttributes(const std::string& inputShapePath, UserMessages& messages) {
    CheckFields();
    // The shape index is built from the shapefile while the working table is copied
    // and its labels sorted. The shapefile's fault is told before any other.
    std::thread indexing;
    std::exception_ptr indexFailure;
    std::int64_t strayBytes = 0;
    auto indexed = [&] {
        if (indexing.joinable()) indexing.join();
        if (indexFailure) std::rethrow_exception(indexFailure);
    };
    const bool preparing = !State.Prepared;
    try {
        if (preparing) {
            messages.Progress("Preparing Information...");
            // The working table is made anew, and the label orders of the old one with it.
            labelIndexes_.clear();
            State.LastSortedField.clear();
            indexing = std::thread([&] {
                try {
                    strayBytes = BuildShapeIndex(inputShapePath, ShapeIndexPath);
                } catch (...) {
                    indexFailure = std::current_exception();
                }
            });
            CreateWorkingTable(Kml.AttributeTablePath, WorkTablePath);
        }
        if (!State.LabelField.empty()) {
            messages.Progress("Sorting Attributes...");
            if (State.LabelField != State.LastSortedField) CreateLabelIndex(State.LabelField, labelPosition_, messages);
        }
    } catch (...) {
        indexed();
        throw;
    }
    if (preparing) {
        indexed();
        if (strayBytes > 0)
            messages.Information(inputShapePath + ": " + std::to_string(strayBytes) +
                                 (strayBytes == 1 ? " stray byte" : " stray bytes") +
                                 " after the last record, too few for another, left alone");
        TShapeIndex index;
        index.SetFileName(ShapeIndexPath);
        index.Open();
        const DbfTable table(Kml.AttributeTablePath);
        if (table.RecordCount() > index.EntryCount())
            throw ConversionError(Kml.AttributeTablePath + ": the table has " + std::to_string(table.RecordCount()) +
                                  " rows but " + inputShapePath + " has only " + std::to_string(index.EntryCount()) +
                                  " records");
        State.Prepared = true;
    }
    if (!Symbols.NormField().empty()) {
        messages.Progress("Normalizing data...");
        Normalize(WorkTablePath, Symbols.FieldName(), Symbols.NormField());
    }
    messages.Progress("Creating KML file...");
}

bool TConversionEngine::ConvertToKml(const std::string& shapePath, const std::string& kmlPath,
                                     UserMessages& messages) {
    State.CoordinateDecimals = 10;
    written_ = 0;
    if (Kml.Regions && !IsKmzPath(kmlPath)) throw ConversionError(kmlPath + ": tiles with regions need a KMZ archive");
    TFileSHP reader(shapePath);
    if (!reader.Open() || !reader.ReadHeader()) return false;

    TDatumTool datum;
    datum.SourceDatum = Kml.Datum;
    datum.Geographic = Kml.Geographic;
    datum.UtmZone = Kml.UtmZone;
    datum.North = Kml.North;
    datum.Prepare();
    std::optional<ProjectedInput> projected;
    if (!Kml.ProjectedDefinition.empty()) {
        projected.emplace(Kml.ProjectedDefinition, Kml.Datum == 0, shapePath);
        datum.Projected = &*projected;
        if (projected->ReachesWgs84())
            messages.Information(shapePath + ": shifted to WGS 84 by PROJ's \"" + projected->OperationName() + "\"");
    }

    TShapeIndex index;
    index.SetFileName(WorkTablePath);
    if (!index.Open()) throw ConversionError(ShapeIndexPath + ": the shape index has not been built");

    if (CharacterCount(Kml.DocumentName) < 3) Kml.DocumentName = FileNamePart(shapePath);
    TGEIconList icons;
    icons.LoadPalette();
    if (Symbols.Kind != kUniqueValues && Symbols.Kind != kGraduated) Kml.CreateFolders = false;

    const DbfTable table(WorkTablePath);
    RowOrder physical;
    const RowOrder* order = &physical;
    if (!State.LabelField.empty()) order = &labelIndexes_.at(State.LabelIndexName);
    else physical = RowOrder::TableOrder(table);

    OutputFile out(kmlPath);
    KmlDocumentWriter document(out, Kml, State, Symbols, Balloon, icons, InputShapeClass);
    std::string schema;
    if (Kml.AttributeData) AppendDataSchema(schema, DataFields(table));
    document.WriteHeader(schema);

    PlacemarkWriter placemarks(Kml, State, Balloon, datum, reader);
    std::optional<RegionTiles> regions;
    if (Kml.Regions) regions.emplace(Kml.RegionSize, InputShapeClass == kPointClass);
    else placemarks.StreamLargeRecordsTo(&out);  // a tile needs each placemark whole
    FeatureLoop loop({Kml, State, Symbols, Balloon, table, index, reader, document, placemarks, out, *order, messages,
                      regions ? &*regions : nullptr});
    try {
        if (Symbols.Kind == kUniqueValues) loop.WriteUnique();
        else if (Symbols.Kind == kGraduated) loop.WriteGraduated();
        else loop.WriteSingle();
    } catch (const NotGeographicError& e) {
        throw ConversionError(shapePath + ": record " + std::to_string(reader.RecordNumber) + ": " + e.what());
    }
    Symbols.ClearRanges();

    if (regions) out.Write(regions->Place(Kml.DocumentName));
    document.WriteTrailer(Kml.Description);
    if (regions) regions->WriteTiles(out);
    out.Commit();
    written_ = loop.Written();

    if (loop.WithoutGeometry() > 0)
        messages.Information(shapePath + ": " + Records(loop.WithoutGeometry()) +
                             " without a point, line or polygon shape (Null or MultiPatch) not written");
    // A table shorter than the shapefile leaves its last records without attributes.
    if (index.EntryCount() > table.RecordCount())
        messages.Information(shapePath + ": " + Records(index.EntryCount() - table.RecordCount()) +
                             " without a row in " + Kml.AttributeTablePath + " (it has " +
                             std::to_string(table.RecordCount()) + " rows) not written");
    if (loop.WithoutValue() > 0)
        messages.Information(shapePath + ": " + Records(loop.WithoutValue()) + " without a value of " +
                             Symbols.FieldName() + (Symbols.NormField().empty() ? "" : " or " + Symbols.NormField()) +
                             (loop.WithoutValue() == 1 ? " takes" : " take") + " the default symbol, in no class");
    for (const PlacemarkTimes::Unreadable& u : loop.Times().Unreadables())
        messages.Information(shapePath + ": field \"" + u.field + "\": " + std::to_string(u.count) +
                             (u.count == 1 ? " value that is" : " values that are") +
                             " neither a date, a date and time nor a year left without a time (the first is \"" +
                             u.first + "\")");
    if (loop.NotFinite() > 0)
        messages.Information(shapePath + ": " + Records(loop.NotFinite()) +
                             " left out: coordinates that do not convert to a position (the first is record " +
                             std::to_string(loop.FirstNotFinite()) + ")");
    return true;
}

void TConversionEngine::DeleteWorkingFiles() {
    std::error_code ec;
    for (const char* ext : {".dbf", ".cpg", ".mdx"})
        fs::remove(fs::path(WorkTablePath).replace_extension(ext), ec);
    fs::remove(ShapeIndexPath, ec);
}

}  // namespace tessaly
