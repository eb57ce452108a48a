#pragma once
// What the Save page shows once a document is written, on the panel that showed
// the run's progress: the summary line, whose path opens the document's folder,
// the run's notes below it, and a link back to the options the panel covers.

#include <QLabel>

#include <functional>
#include <string>
#include <vector>

namespace tessaly {

class RunSummaryLabel : public QLabel {
public:
    // openFolder is given the document's folder; back is called to show the options again.
    RunSummaryLabel(QWidget* panel, std::function<void(const QString&)> openFolder, std::function<void()> back);

    // The run wrote placemarks to path in so many seconds.
    void Show(long long placemarks, const std::string& path, double seconds, const std::vector<std::string>& notes);
};

// The label's text: the summary with the path as a link, then the notes.
QString RunSummaryHtml(const std::string& summary, const std::string& path, const std::vector<std::string>& notes);

}  // namespace tessaly
