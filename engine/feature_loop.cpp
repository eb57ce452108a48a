#include "engine/feature_loop.h"

#include "engine/kml_text.h"
#include "engine/working_table.h"
#include "input/number_text.h"

namespace tessaly {

namespace {

constexpr long long kCountEvery = 1000;

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
    if (n == 1)
        return {v + " < " + highText, [high](const std::string& t) { return TextToNumber(t) < high; }};
    if (n == count)
        return {v + " >= " + lowText, [low](const std::string& t) { return TextToNumber(t) >= low; }};
    return {" (" + v + ">= " + lowText + ") AND (" + v + " < " + highText + ")",
            [low, high](const std::string& t) {
                const double x = TextToNumber(t);
                return x >= low && x < high;
            }};
}

ClassFilter UniqueFilter(const std::string& field, const std::string& value, bool numeric) {
    return {" " + field + " = " + (numeric ? value : Quoted(value)),
            [value](const std::string& t) { return t == value; }};
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

void FeatureLoop::WriteRows(const std::function<bool(int)>& visible, const std::function<int(int)>& classOf) {
    int n = 0;
    for (const int row : in_.order) {
        if (!visible(row)) continue;
        const auto k = static_cast<std::int32_t>(in_.table.Number(row, rowNumberField_));
        const ShapeIndexEntry entry = in_.index.ReadEntry(k);
        in_.reader.SeekTo(entry.Offset);
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
                if (++written_ % kCountEvery == 0) in_.messages.FeatureCount(written_);
                break;
            case FeatureResult::NotAGeometry: ++withoutGeometry_; break;
            case FeatureResult::NotFinite:
                if (notFinite_++ == 0) firstNotFinite_ = k;
                break;
        }
    }
}

void FeatureLoop::WriteSingle() {
    in_.document.SetStyleUrl(0);
    WriteRows([](int) { return true; }, nullptr);
}

void FeatureLoop::WriteUnique() {
    const int field = in_.table.RequireField(in_.symbols.FieldName());
    if (!in_.kml.CreateFolders) {
        WriteRows([](int) { return true; },
                  [&](int row) { return in_.symbols.FindByValue(ValueText(row, field)); });
        return;
    }
    for (int i = 1; i <= in_.symbols.Count(); ++i) {
        const std::string& value = in_.symbols.Item(i).ValueText;
        const ClassFilter filter = UniqueFilter(in_.symbols.FieldName(), value, in_.kml.UniqueNumeric);
        in_.out.Write("<Folder><name>" + XmlEscape(value) + "</name>");
        in_.document.WriteClassStyles(i);
        in_.document.SetStyleUrl(i);
        WriteRows([&](int row) { return filter.matches(ValueText(row, field)); }, nullptr);
        in_.out.Write("</Folder>");
    }
}

void FeatureLoop::WriteGraduated() {
    const bool normalised = !in_.symbols.NormField().empty();
    const int field = normalised ? RatioFieldIndex(in_.table) : in_.table.RequireField(in_.symbols.FieldName());
    const std::string fieldName = normalised ? kRatioField : in_.symbols.FieldName();
    in_.symbols.BuildRanges();
    if (!in_.kml.CreateFolders) {
        WriteRows([](int) { return true; },
                  [&](int row) { return in_.symbols.FindRange(TextToNumber(ValueText(row, field))); });
        return;
    }
    const int count = in_.symbols.Count();
    for (int n = 1; n <= count; ++n) {
        const ClassFilter filter = GraduatedFilter(fieldName, n, count, in_.symbols.Ranges.Item(n));
        in_.out.Write("<Folder><name>" + XmlEscape(in_.symbols.Item(n).ValueText) + "</name>");
        in_.document.WriteClassStyles(n);
        in_.document.SetStyleUrl(n);
        WriteRows([&](int row) { return filter.matches(ValueText(row, field)); }, nullptr);
        in_.out.Write("</Folder>");
    }
}

}  // namespace tessaly
