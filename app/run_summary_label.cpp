#include "app/run_summary_label.h"

#include "engine/run_summary.h"

#include <QFileInfo>
#include <QUrl>

#include <filesystem>

namespace tessaly {

namespace {

const QString kBackLink = QStringLiteral("#options");

// Escaped, with a chance to break the line after each "/": paths have no spaces to wrap at.
QString Wrappable(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped().replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
}

}  // namespace

QString RunSummaryHtml(const std::string& summary, const std::string& path, const std::vector<std::string>& notes) {
    const QString folder = QUrl::fromLocalFile(QFileInfo(QString::fromStdString(path)).absolutePath()).toString();
    QString html = Wrappable(summary).replace(
        Wrappable(path), QStringLiteral("<a href=\"%1\">%2</a>").arg(folder.toHtmlEscaped(), Wrappable(path)));
    for (const std::string& note : notes) html += QStringLiteral("<p>") + Wrappable(note) + QStringLiteral("</p>");
    return html + QStringLiteral("<p><a href=\"%1\">Show the options again</a></p>").arg(kBackLink);
}

RunSummaryLabel::RunSummaryLabel(QWidget* panel, std::function<void(const QString&)> openFolder,
                                 std::function<void()> back)
    : QLabel(panel) {
    setObjectName(QStringLiteral("LabelSummary"));
    setGeometry(10, 8, panel->width() - 20, panel->height() - 16);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(this, &QLabel::linkActivated, this, [openFolder, back](const QString& link) {
        if (link == kBackLink) back();
        else openFolder(QUrl(link).toLocalFile());
    });
    hide();
}

void RunSummaryLabel::Show(long long placemarks, const std::string& path, double seconds,
                           const std::vector<std::string>& notes) {
    std::error_code unknown;
    const std::uintmax_t bytes = std::filesystem::file_size(path, unknown);
    setText(RunSummaryHtml(RunSummary(placemarks, path, unknown ? 0 : bytes, seconds), path, notes));
    show();
}

}  // namespace tessaly
