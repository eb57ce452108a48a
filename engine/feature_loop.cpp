#include "engine/feature_loop.h"

#include "engine/kml_text.h"
#include "engine/run_progress.h"
#include "engine/working_table.h"
#include "input/number_text.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <unordered_map>

namespace tessaly {

namespace {

// A bound as the filter expression writes it, read back as the filter reads it.
double WrittenBound(double v) { return TextToNumber(FormatNumber(1, 10, v)); }

std::string Quoted(const std::string& value) {
    std::string out = "'";
    for (char c : value) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

}  // namespace

ClassFilter GraduatedFilter(const std::string& v, int n, int count, const TItemRango& range) {
    const double low = WrittenBound(range.Low);
    const double high = WrittenBound(range.High);
    const std::string lowText = FormatNumber(1, 10, range.Low);
    const std::string highText = FormatNumber(1, 10, range.High);
    ClassFilter filter;
    if (n == 1) {
        filter.expression = v + " < " + highText;
        filter.matchesNumber = [high](double x) { return x < high; };
    } else if (n == count) {
        filter.expression = v + " >= " + lowText;
        filter.matchesNumber = [low](double x) { return x >= low; };
    } else {
        filter.expression = " (" + v + ">= " + lowText + ") AND (" + v + " < " + highText + ")";
        filter.matchesNumber = [low, high](double x) { return x >= low && x < high; };
    }
    filter.matches = [test = filter.matchesNumber](const std::string& t) { return test(TextToNumber(t)); };
    return filter;
}

ClassFilter UniqueFilter(const std::string& field, const std::string& value, bool numeric) {
    return {" " + field + " = " + (numeric ? value : Quoted(value)),
            [value](const std::string& t) { return t == value; }, nullptr};
}

FeatureLoop::FeatureLoop(FeatureLoopInputs in) : in_(in) {
    for (const std::string& f : in_.balloon.Fields()) balloonFields_.push_back(in_.table.RequireField(f));
    if (in_.kml.Extrude == '1' && in_.kml.HeightSource == 3)
        heights_ = Numbers(in_.table.RequireField(in_.kml.HeightField));
    row_.balloonValues.resize(balloonFields_.size());
    batchReader_.FileName = in_.reader.FileName;
    if (!batchReader_.Open()) throw ShapefileError(batchReader_.Error());
}

std::vector<double> FeatureLoop::Numbers(int field) const {
    std::vector<double> numbers(static_cast<std::size_t>(in_.table.RecordCount()));
    for (int row = 0; row < in_.table.RecordCount(); ++row)
        numbers[static_cast<std::size_t>(row)] = TextToNumber(in_.table.Text(row, field));
    return numbers;
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
    // A batch holds at most this many rows and balloon values, and this many bytes of
    // records unless it is one larger record.
    constexpr std::size_t kBatchRows = 1 << 16;
    constexpr std::size_t kBatchValues = 1 << 16;
    constexpr std::size_t kBatchBytes = 8 << 20;
    // Rows in label order reach memory out of order: ask for it this many rows ahead.
    constexpr std::size_t kAhead = 16;
    const std::size_t fields = balloonFields_.size();
    const std::size_t rowsPerBatch = std::min(kBatchRows, std::max<std::size_t>(1, kBatchValues / std::max<std::size_t>(fields, 1)));
    const std::int32_t lastRecord = in_.index.EntryCount();
    batch.ranges.clear();
    std::size_t end = start, bytes = 0;
    for (; end < rows.size() && end - start < rowsPerBatch; ++end) {
        // A row's number in the input table is the number of its record.
        if (end + kAhead < rows.size()) in_.index.PrefetchOffset(rows[end + kAhead].row + 1);
        const std::int32_t k = rows[end].row + 1;
        const std::int64_t offset = in_.index.RecordOffset(k);
        const std::int64_t next = k < lastRecord ? in_.index.RecordOffset(k + 1) : batchReader_.FileSize();
        // A large record is read on its own, straight into the reader's points.
        std::size_t size = next > offset ? static_cast<std::size_t>(next - offset) : 0;
        if (size > TFileSHP::kLargeRecordBytes) size = 0;
        if (end > start && bytes + size > kBatchBytes) break;
        bytes += size;
        batch.ranges.push_back({offset, size});
    }
    batch.rows = rows.subspan(start, end - start);
    batchReader_.ReadRanges(batch.ranges, batch.records, batch.recordAt);
    if (fields == 0) return end;
    // Balloon values row by row in table order, to be taken in label order.
    std::vector<std::size_t> byRow(batch.rows.size());
    for (std::size_t i = 0; i < byRow.size(); ++i) byRow[i] = i;
    std::sort(byRow.begin(), byRow.end(), [&](std::size_t a, std::size_t b) { return batch.rows[a].row < batch.rows[b].row; });
    batch.balloonValues.resize(batch.rows.size() * fields);
    for (const std::size_t i : byRow)
        for (std::size_t f = 0; f < fields; ++f)
            batch.balloonValues[i * fields + f] = in_.rowsTable.Text(batch.rows[i].row, balloonFields_[f]);
    return end;
}

void FeatureLoop::WriteBatch(const Batch& batch, const std::vector<std::int32_t>* classOf, int& number) {
    constexpr std::size_t kAhead = 16;
    const std::size_t fields = balloonFields_.size();
    const bool labelled = !in_.state.LabelField.empty();
    for (std::size_t i = 0; i < batch.rows.size(); ++i) {
        const OrderedRow& r = batch.rows[i];
        if (labelled && i + kAhead < batch.rows.size()) in_.order.PrefetchLabel(batch.rows[i + kAhead]);
        in_.reader.ReadRecordAt(batch.ranges[i].offset, batch.records.data() + batch.recordAt[i], batch.ranges[i].size);
        if (classOf != nullptr) in_.document.SetStyleUrl((*classOf)[static_cast<std::size_t>(r.row)]);
        if (labelled) row_.label = in_.order.Label(r);
        for (std::size_t f = 0; f < fields; ++f) row_.balloonValues[f] = batch.balloonValues[i * fields + f];
        if (!heights_.empty()) row_.heightFieldValue = heights_[static_cast<std::size_t>(r.row)];

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
    if (rows.empty()) return;
    int number = 0;
    std::size_t next = ReadBatch(rows, 0, batches_[0]);
    for (int current = 0;; current = 1 - current) {
        // The next batch is read by a thread of its own while this one is written; what
        // goes wrong there is told once this batch is out, as reading in turn would.
        std::thread reader;
        std::exception_ptr failure;
        std::size_t after = next;
        if (next < rows.size())
            reader = std::thread([&, current] {
                try {
                    after = ReadBatch(rows, next, batches_[1 - current]);
                } catch (...) {
                    failure = std::current_exception();
                }
            });
        try {
            WriteBatch(batches_[current], classOf, number);
        } catch (...) {
            if (reader.joinable()) reader.join();
            throw;
        }
        if (!reader.joinable()) return;
        reader.join();
        if (failure) std::rethrow_exception(failure);
        next = after;
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
        OpenFolder(value);
        in_.document.WriteClassStyles(i);
        in_.document.SetStyleUrl(i);
        WriteRows(members[static_cast<std::size_t>(i)], nullptr);
        CloseFolder();
    }
    // Values beyond the last class (more distinct values than classes) are not
    // dropped: they follow in a folder of their own, in the default style.
    if (!members[0].empty()) {
        OpenFolder("Other values");
        in_.document.WriteClassStyles(0);
        in_.document.SetStyleUrl(0);
        WriteRows(members[0], nullptr);
        CloseFolder();
    }
}

void FeatureLoop::WriteGraduated() {
    const bool normalised = !in_.symbols.NormField().empty();
    const int field = normalised ? RatioFieldIndex(in_.table) : in_.table.RequireField(in_.symbols.FieldName());
    const std::string fieldName = normalised ? kRatioField : in_.symbols.FieldName();
    in_.symbols.BuildRanges();
    // Each row's value is read once, in one pass over the table.
    const std::vector<double> values = Numbers(field);
    if (!in_.kml.CreateFolders) {
        std::vector<std::int32_t> classes(values.size());
        for (std::size_t row = 0; row < values.size(); ++row) classes[row] = in_.symbols.FindRange(values[row]);
        WriteRows(in_.order.rows, &classes);
        return;
    }
    // Every folder's filter tests the numbers.
    const int count = in_.symbols.Count();
    std::vector<OrderedRow> members;
    for (int n = 1; n <= count; ++n) {
        const ClassFilter filter = GraduatedFilter(fieldName, n, count, in_.symbols.Ranges.Item(n));
        members.clear();
        for (const OrderedRow& r : in_.order.rows)
            if (filter.matchesNumber(values[static_cast<std::size_t>(r.row)])) members.push_back(r);
        OpenFolder(in_.symbols.Item(n).ValueText);
        in_.document.WriteClassStyles(n);
        in_.document.SetStyleUrl(n);
        WriteRows(members, nullptr);
        CloseFolder();
    }
}

}  // namespace tessaly
