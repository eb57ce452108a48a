#include "app/panel_messages.h"

#include "engine/run_progress.h"

namespace tessaly {

void PanelMessages::Progress(const std::string& text) {
    step_ = text;
    Show(text);
}

void PanelMessages::WritingProgress(long long done, long long total) {
    Show(StepWithPercent(step_, PercentDone(done, total)));
}

void PanelMessages::Show(const std::string& text) {
    label_->setText(QString::fromStdString(text));
    label_->repaint();
}

}  // namespace tessaly
