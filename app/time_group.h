#pragma once
// The Balloon page's "Time" group: the fields each placemark's time comes from
// for Google Earth's time slider, offered only when they hold dates, date-times
// or years, and the time range they give, which the Save page states.

#include "engine/conversion_choices.h"

#include <string>
#include <vector>

#include <QString>

class QComboBox;
class QRect;
class QWidget;

namespace tessaly {

class TimeGroup {
public:
    // Adds GroupBoxTime with ComboTime and ComboTimeEnd to the page.
    TimeGroup(QWidget* page, const QRect& group);

    // After an input is loaded: "(none)" and the fields that hold times.
    void Load(const std::vector<std::string>& timeFields);
    // A time alone is a moment; with an end, a span.
    void Apply(ConversionChoices& choices) const;
    // "Time: 2013-01-02 to 2013-02-02", from the chosen fields of the table.
    QString RangeText(const std::string& tablePath) const;

    QComboBox* ComboTime;
    QComboBox* ComboTimeEnd;
};

}  // namespace tessaly
