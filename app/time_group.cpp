#include "app/time_group.h"

#include "input/time_fields.h"
#include "widgets/named_widget.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include <exception>

namespace tessaly {

namespace {

std::string Chosen(const QComboBox* combo) {
    return combo->currentIndex() > 0 ? combo->currentText().toStdString() : std::string();
}

}  // namespace

TimeGroup::TimeGroup(QWidget* page, const QRect& group) {
    auto* box = Named(new QGroupBox(QStringLiteral(" Time "), page), "GroupBoxTime", group);
    Named(new QLabel(QStringLiteral("Time / Begin"), box), "LabelTime", QRect(8, 17, 75, 16));
    ComboTime = Named(new QComboBox(box), "ComboTime", QRect(84, 13, 120, 22));
    Named(new QLabel(QStringLiteral("End"), box), "LabelTimeEnd", QRect(222, 17, 30, 16));
    ComboTimeEnd = Named(new QComboBox(box), "ComboTimeEnd", QRect(254, 13, 120, 22));
    Load({});
}

void TimeGroup::Load(const std::vector<std::string>& timeFields) {
    for (QComboBox* combo : {ComboTime, ComboTimeEnd}) {
        combo->clear();
        combo->addItem(QStringLiteral("(none)"));
        for (const std::string& f : timeFields) combo->addItem(QString::fromStdString(f));
        combo->setCurrentIndex(0);
    }
}

void TimeGroup::Apply(ConversionChoices& c) const {
    c.timeField = Chosen(ComboTime);
    c.timeEndField = Chosen(ComboTimeEnd);
    c.timeSpan = !c.timeEndField.empty();
}

QString TimeGroup::RangeText(const std::string& tablePath) const {
    std::vector<std::string> fields;
    for (const QComboBox* combo : {ComboTime, ComboTimeEnd})
        if (std::string f = Chosen(combo); !f.empty()) fields.push_back(std::move(f));
    if (fields.empty()) return QStringLiteral("Time: none");
    try {
        const TimeRange range = FieldsTimeRange(tablePath, fields);
        if (!range.earliest) return QStringLiteral("Time: no value reads as a date or time");
        const std::string first = KmlTime(*range.earliest), last = KmlTime(*range.latest);
        return QStringLiteral("Time: ") + QString::fromStdString(first == last ? first : first + " to " + last);
    } catch (const std::exception& e) {
        return QString::fromStdString(e.what());
    }
}

}  // namespace tessaly
