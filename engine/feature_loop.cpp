#include "engine/feature_loop.h"

#include "engine/kml_text.h"
#include "engine/run_progress.h"
#include "engine/working_table.h"
#include "input/number_text.h"

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
    if (!in_.state.LabelField.empty()) labelField_ = in_.table.RequireField(in_.state.LabelField);
    for (const std::string& f : in_.balloon.Fields()) balloonFields_.push_back(in_.table.RequireField(f));
    if (in_.kml.Extrude == '1' && in_.kml.HeightSource == 3)
        heightField_ = in_.table.RequireField(in_.kml.HeightField);
    rowNumberField_ = RowNumberFieldIndex(in_.table);
    row_.balloonValues.resize(balloonFields_.size());
}

std::string FeatureLoop::ValueText(int row, int field) const { return in_.table.Text(row, field); }

void FeatureLoop::WriteRows(const std::vector<int>& rows, const std::function<int(int)>& classOf) {
    int n = 0;
    for (const int row : rows) {
        const auto k = static_cast<std::int32_t>(in_.table.Number(row, rowNumberField_));
        in_.reader.SeekTo(in_.index.RecordOffset(k));
        in_.reader.ReadRecord();
        if (classOf) in_.document.SetStyleUrl(classOf(row));

        if (labelField_ >= 0) row_.label = ValueText(row, labelField_);
        for (std::size_t i = 0; i < balloonFields_.size(); ++i)
            row_.balloonValues[i] = ValueText(row, balloonFields_[i]);
        if (heightField_ >= 0) row_.heightFieldValue = in_.table.Number(row, heightField_);

        text_.clear();
        switch (in_.placemarks.WriteFeature(++n, row_, text_)) {
            case FeatureResult::Written:
                in_.out.Write(text_);
                ++written_;
                break;
            case FeatureResult::NotAGeometry: ++withoutGeometry_; break;
            case FeatureResult::NotFinite:
                if (notFinite_++ == 0) firstNotFinite_ = k;
                break;
        }
        ReportProgress();
    }
}

void FeatureLoop::ReportProgress() {
    const auto total = static_cast<long long>(in_.order.size());
    const int percent = PercentDone(++visited_, total);
    if (percent == reportedPercent_) return;
    reportedPercent_ = percent;
    in_.messages.WritingProgress(visited_, total);
}

std::unordered_map<std::string, int> FeatureLoop::ClassesByValue() const {
    std::unordered_map<std::string, int> classes;
    for (int i = 1; i <= in_.symbols.Count(); ++i) classes.emplace(in_.symbols.Item(i).ValueText, i);
    return classes;
}

void FeatureLoop::WriteSingle() {
    in_.document.SetStyleUrl(0);
    WriteRows(in_.order, nullptr);
}

void FeatureLoop::WriteUnique() {
    const int field = in_.table.RequireField(in_.symbols.FieldName());
    const auto classes = ClassesByValue();
    auto classOf = [&](int row) {
        const auto it = classes.find(ValueText(row, field));
        return it == classes.end() ? 0 : it->second;
    };
    if (!in_.kml.CreateFolders) {
        WriteRows(in_.order, classOf);
        return;
    }
    // Class values are distinct, so each row belongs to one folder at most: sort the
    // rows into their folders in one pass, keeping the label order within each.
    std::vector<std::vector<int>> members(static_cast<std::size_t>(in_.symbols.Count()) + 1);
    for (const int row : in_.order) members[static_cast<std::size_t>(classOf(row))].push_back(row);
    for (int i = 1; i <= in_.symbols.Count(); ++i) {
        const std::string& value = in_.symbols.Item(i).ValueText;
        in_.out.Write("<Folder><name>" + XmlEscape(value) + "</name>");
        in_.document.WriteClassStyles(i);
        in_.document.SetStyleUrl(i);
        WriteRows(members[static_cast<std::size_t>(i)], nullptr);
        in_.out.Write("</Folder>");
    }
    // Values beyond the last class (more distinct values than classes) are not
    // dropped: they follow in a folder of their own, in the default style.
    if (!members[0].empty()) {
        in_.out.Write("<Folder><name>Other values</name>");
        in_.document.WriteClassStyles(0);
        in_.document.SetStyleUrl(0);
        WriteRows(members[0], nullptr);
        in_.out.Write("</Folder>");
    }
}

void FeatureLoop::WriteGraduated() {
    const bool normalised = !in_.symbols.NormField().empty();
    const int field = normalised ? RatioFieldIndex(in_.table) : in_.table.RequireField(in_.symbols.FieldName());
    const std::string fieldName = normalised ? kRatioField : in_.symbols.FieldName();
    in_.symbols.BuildRanges();
    if (!in_.kml.CreateFolders) {
        WriteRows(in_.order, [&](int row) { return in_.symbols.FindRange(TextToNumber(ValueText(row, field))); });
        return;
    }
    // Each row's value is read once; every folder's filter then tests the numbers.
    std::vector<double> values;
    values.reserve(in_.order.size());
    for (const int row : in_.order) values.push_back(TextToNumber(ValueText(row, field)));
    const int count = in_.symbols.Count();
    std::vector<int> members;
    for (int n = 1; n <= count; ++n) {
        const ClassFilter filter = GraduatedFilter(fieldName, n, count, in_.symbols.Ranges.Item(n));
        members.clear();
        for (std::size_t i = 0; i < values.size(); ++i)
            if (filter.matchesNumber(values[i])) members.push_back(in_.order[i]);
        in_.out.Write("<Folder><name>" + XmlEscape(in_.symbols.Item(n).ValueText) + "</name>");
        in_.document.WriteClassStyles(n);
        in_.document.SetStyleUrl(n);
        WriteRows(members, nullptr);
        in_.out.Write("</Folder>");
    }
}

}  // namespace tessaly
