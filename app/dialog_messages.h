#pragma once
// What the engine and the wizard say, shown in message boxes over a window.

#include "engine/user_messages.h"

#include <QWidget>

namespace tessaly {

class DialogMessages : public UserMessages {
public:
    explicit DialogMessages(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void Progress(const std::string& text) override;
    void Information(const std::string& text) override;
    void Error(const std::string& text) override;

private:
    QWidget* owner_;
};

}  // namespace tessaly
