#include "engine/feature_loop.h"

#include "engine/kml_text.h"
#include "engine/run_progress.h"
#include "engine/working_table.h"
#include "input/number_text.h"
#include "input/radix_sort.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace tessaly {

namespace {

// A bound as a dBase filter expression would write it, with 10 decimals, and read
// it back: the folders part the rows where such a filter would.
double WrittenBound(double v) { return TextToNumber(FormatNumber(1, 10, v)); }

}  // namespace

ClassFilter GraduatedFilter(int n, int count, const TItemRango& range) {
    const double low = WrittenBound(range.Low);
    const double high = WrittenBound(range.High);
    if (n == 1) return {[high](double x) { return x < high; }};
    if (n == count) return {[low](double x) { return x >= low; }};
    return {[low, high](double x) { return x >= low && x < high; }};
}

FeatureLoop::FeatureLoop(FeatureLoopInputs in) : in_(in), times_(in.kml, in.table) {
    for (const std::string& f : in_.balloon.Fields()) balloonFields_.push_back(in_.table.RequireField(f));
    if (!in_.state.LabelField.empty()) labelField_ = in_.table.RequireField(in_.state.LabelField);
    for (const int f : balloonFields_) {
        if (f == labelField_) continue;
        tableFields_.push_back(f);
        tableFieldBytes_ += static_cast<std::size_t>(in_.table.Fields()[static_cast<std::size_t>(f)].width) + 1;
    }
    if (in_.kml.Extrude == '1' && in_.kml.HeightSource == 3)
        heights_ = Column(in_.table.RequireField(in_.kml.HeightField), 0);
    row_.balloonValues.resize(balloonFields_.size());
    if (in_.kml.AttributeData) dataFields_ = DataFields(in_.table);
    for (const DataField& d : dataFields_)
        tableFieldBytes_ += static_cast<std::size_t>(in_.table.Fields()[static_cast<std::size_t>(d.index)].width) + 1;
    dataRow_.resize(dataFields_.size());
    // Tiles find the schema in the main document.
    if (!dataFields_.empty()) dataMarkup_.emplace(dataFields_, in_.regions ? kKmzDocument : std::string_view());
    if (!tableFields_.empty() || !dataFields_.empty()) batchTable_.emplace(in_.table.Path());
}

std::vector<double> FeatureLoop::Column(int field, double empty) const {
    std::vector<double> values(static_cast<std::size_t>(in_.table.RecordCount()), empty);
    for (int row = 0; row < in_.table.RecordCount(); ++row)
        in_.table.NumberIfPresent(row, field, values[static_cast<std::size_t>(row)]);
    return values;
}

std::vector<std::int32_t> FeatureLoop::UniqueClasses(int field) const {
    // The first class of each distinct value, as FindByValue gives it.
    std::unordered_map<std::string, std::int32_t> byValue;
    for (int i = 1; i <= in_.symbols.Count(); ++i) byValue.emplace(in_.symbols.Item(i).ValueText, i);
    std::vector<std::int32_t> classes(static_cast<std::size_t>(in_.table.RecordCount()));
    for (int row = 0; row < in_.table.RecordCount(); ++row) {
        if (in_.table.IsDeleted(row)) continue;
        const auto it = byValue.find(in_.table.Text(row, field));
        classes[static_cast<std::size_t>(row)] = it == byValue.end() ? 0 : it->second;
    }
    return classes;
}

std::size_t FeatureLoop::ReadBatch(std::span<const OrderedRow> rows, std::size_t start, Batch& batch) {
    // A batch holds at most this many rows, about this many bytes of balloon values,
    // and this many bytes of records unless it is one larger record.
    constexpr std::size_t kBatchRows = 1 << 16;
    constexpr std::size_t kBatchValueBytes = 4 << 20;
    constexpr std::size_t kBatchBytes = 8 << 20;
    // Rows in label order reach memory out of order: ask for it this many rows ahead.
    constexpr std::size_t kAhead = 16;
    const std::size_t rowsPerBatch =
        std::clamp<std::size_t>(kBatchValueBytes / std::max<std::size_t>(tableFieldBytes_, 1), 1, kBatchRows);
    const std::int32_t lastRecord = in_.index.EntryCount();
    batch.ranges.clear();
    std::size_t end = start, bytes = 0;
    for (; end < rows.size() && end - start < rowsPerBatch; ++end) {
        // A row's number in the input table is the number of its record.
        if (end + kAhead < rows.size()) in_.index.PrefetchOffset(rows[end + kAhead].row + 1);
        const std::int32_t k = rows[end].row + 1;
        const std::int64_t offset = in_.index.RecordOffset(k);
        const std::int64_t next = k < lastRecord ? in_.index.RecordOffset(k + 1) : in_.reader.FileSize();
        // A large record is read on its own, straight into the reader's points.
        std::size_t size = next > offset ? static_cast<std::size_t>(next - offset) : 0;
        if (size > TFileSHP::kLargeRecordBytes) size = 0;
        if (end > start && bytes + size > kBatchBytes) break;
        bytes += size;
        batch.ranges.push_back({offset, size});
    }
    batch.rows = rows.subspan(start, end - start);
    in_.reader.ReadRanges(batch.ranges, batch.records, batch.recordAt);
    if (batchTable_) ReadTableValues(batch);
    return end;
}

void FeatureLoop::ReadTableValues(Batch& batch) {
    // Row by row in table order, so that the table is read front to back: each
    // row's place in the batch under its row number, sorted on the row number.
    std::vector<std::uint64_t> byRow(batch.rows.size()), spare(batch.rows.size());
    for (std::size_t i = 0; i < byRow.size(); ++i)
        byRow[i] = std::uint64_t{static_cast<std::uint32_t>(batch.rows[i].row)} << 32 | i;
    RadixSort(byRow, spare, 4, 8);
    batch.values.clear();
    batch.valuesAt.resize(batch.rows.size());
    auto take = [&](std::uint32_t i, int field) {
        batchTable_->AppendText(batch.rows[i].row, field, batch.values);
        batch.values += '\0';
    };
    for (const std::uint64_t key : byRow) {
        const auto i = static_cast<std::uint32_t>(key);
        batch.valuesAt[i] = static_cast<std::uint32_t>(batch.values.size());
        for (const int f : tableFields_) take(i, f);
        for (const DataField& d : dataFields_) take(i, d.index);
    }
}

void FeatureLoop::TakeTableValues(const Batch& batch, std::size_t i) {
    const char* stored = batchTable_ ? batch.values.data() + batch.valuesAt[i] : nullptr;
    for (std::size_t f = 0; f < balloonFields_.size(); ++f) {
        if (balloonFields_[f] == labelField_) {
            row_.balloonValues[f] = in_.order.Label(batch.rows[i]);
            continue;
        }
        row_.balloonValues[f] = stored;
        stored += row_.balloonValues[f].size() + 1;
    }
    if (!dataMarkup_) return;
    for (std::string_view& value : dataRow_) {
        value = stored;
        stored += value.size() + 1;
    }
    row_.extendedData.clear();
    dataMarkup_->Append(row_.extendedData, dataRow_);
}

void FeatureLoop::WriteBatch(const Batch& batch, const std::vector<std::int32_t>* classOf, int& number) {
    constexpr std::size_t kAhead = 16;
    const bool labelled = !in_.state.LabelField.empty();
    for (std::size_t i = 0; i < batch.rows.size(); ++i) {
        const OrderedRow& r = batch.rows[i];
        if (labelled && i + kAhead < batch.rows.size()) in_.order.PrefetchLabel(batch.rows[i + kAhead]);
        if (batchTable_ && i + kAhead < batch.rows.size())
            __builtin_prefetch(batch.values.data() + batch.valuesAt[i + kAhead]);
        in_.reader.ReadRecordAt(batch.ranges[i].offset, batch.records.data() + batch.recordAt[i], batch.ranges[i].size);
        if (classOf != nullptr) in_.document.SetStyleUrl((*classOf)[static_cast<std::size_t>(r.row)]);
        if (labelled) row_.label = in_.order.Label(r);
        TakeTableValues(batch, i);
        if (!heights_.empty()) row_.heightFieldValue = heights_[static_cast<std::size_t>(r.row)];
        times_.Element(r.row, row_.time);

        text_.clear();
        switch (in_.placemarks.WriteFeature(++number, row_, text_)) {
            case FeatureResult::Written:
                if (in_.regions != nullptr) in_.regions->Add(text_);
                else in_.out.Write(text_);
                ++written_;
                break;
            case FeatureResult::NotAGeometry: ++withoutGeometry_; break;
            case FeatureResult::NotFinite:
                if (notFinite_++ == 0) firstNotFinite_ = r.row + 1;
                break;
        }
        ReportProgress();
    }
}

void FeatureLoop::WriteRows(std::span<const OrderedRow> rows, const std::vector<std::int32_t>* classOf) {
    int number = 0;
    for (std::size_t next = 0; next < rows.size();) {
        next = ReadBatch(rows, next, batch_);
        WriteBatch(batch_, classOf, number);
    }
}

void FeatureLoop::ReportProgress() {
    const auto total = static_cast<long long>(in_.order.rows.size());
    const int percent = PercentDone(++visited_, total);
    if (percent == reportedPercent_) return;
    reportedPercent_ = percent;
    in_.messages.WritingProgress(visited_, total);
}

void FeatureLoop::OpenFolder(const std::string& name) {
    if (in_.regions != nullptr) in_.regions->OpenFolder(name);
    else in_.out.Write("<Folder><name>" + XmlEscape(name) + "</name>");
}

void FeatureLoop::CloseFolder() {
    if (in_.regions != nullptr) in_.regions->CloseFolder();
    else in_.out.Write("</Folder>");
}

void FeatureLoop::WriteSingle() {
    in_.document.SetStyleUrl(0);
    WriteRows(in_.order.rows, nullptr);
}

void FeatureLoop::WriteUnique() {
    const std::vector<std::int32_t> classes = UniqueClasses(in_.table.RequireField(in_.symbols.FieldName()));
    if (!in_.kml.CreateFolders) {
        WriteRows(in_.order.rows, &classes);
        return;
    }
    // Class values are distinct, so each row belongs to one folder at most: sort the
    // rows into their folders in one pass, keeping the label order within each.
    std::vector<std::vector<OrderedRow>> members(static_cast<std::size_t>(in_.symbols.Count()) + 1);
    for (const OrderedRow& r : in_.order.rows)
        members[static_cast<std::size_t>(classes[static_cast<std::size_t>(r.row)])].push_back(r);
    for (int i = 1; i <= in_.symbols.Count(); ++i) {
        const std::string& value = in_.symbols.Item(i).ValueText;
        // The class's styles are in the document's head, written once.
        OpenFolder(value);
        in_.document.SetStyleUrl(i);
        WriteRows(members[static_cast<std::size_t>(i)], nullptr);
        CloseFolder();
    }
    // Values beyond the last class (more distinct values than classes) are not
    // dropped: they follow in a folder of their own, in the default style.
    if (!members[0].empty()) {
        OpenFolder("Other values");
        if (in_.regions == nullptr) in_.document.WriteClassStyles(0);
        in_.document.SetStyleUrl(0);
        WriteRows(members[0], nullptr);
        CloseFolder();
    }
}

void FeatureLoop::WriteGraduated() {
    const bool normalised = !in_.symbols.NormField().empty();
    const int field = normalised ? RatioFieldIndex(in_.table) : in_.table.RequireField(in_.symbols.FieldName());
    in_.symbols.BuildRanges();
    // Each row's value is read once, in one pass over the table; an empty value
    // (or ratio) is NaN, which no class holds.
    const std::vector<double> values = Column(field, std::numeric_limits<double>::quiet_NaN());
    std::vector<OrderedRow> withoutValue;
    for (const OrderedRow& r : in_.order.rows)
        if (std::isnan(values[static_cast<std::size_t>(r.row)])) withoutValue.push_back(r);
    withoutValue_ = static_cast<long long>(withoutValue.size());
    if (!in_.kml.CreateFolders) {
        std::vector<std::int32_t> classes(values.size());
        for (std::size_t row = 0; row < values.size(); ++row)
            classes[row] = std::isnan(values[row]) ? 0 : in_.symbols.FindRange(values[row]);
        WriteRows(in_.order.rows, &classes);
        return;
    }
    // Every folder's filter tests the numbers.
    const int count = in_.symbols.Count();
    std::vector<OrderedRow> members;
    for (int n = 1; n <= count; ++n) {
        const ClassFilter filter = GraduatedFilter(n, count, in_.symbols.Ranges.Item(n));
        members.clear();
        for (const OrderedRow& r : in_.order.rows)
            if (filter.matchesNumber(values[static_cast<std::size_t>(r.row)])) members.push_back(r);
        OpenFolder(in_.symbols.Item(n).ValueText);
        in_.document.SetStyleUrl(n);
        WriteRows(members, nullptr);
        CloseFolder();
    }
    // Rows without a value follow the class folders in a folder of their own, in
    // the default style: the lowest class is no place for them.
    if (!withoutValue.empty()) {
        OpenFolder("No value");
        if (in_.regions == nullptr) in_.document.WriteClassStyles(0);
        in_.document.SetStyleUrl(0);
        WriteRows(withoutValue, nullptr);
        CloseFolder();
    }
}

}  // namespace tessaly
