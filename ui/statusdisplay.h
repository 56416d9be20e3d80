#pragma once

#include "ui/statusmessages.h"

#include <QLabel>

namespace kostwerk::ui {

// The status line at the window's foot: a message, with its cause in the
// system's own words as the tooltip.
class StatusDisplay final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusDisplay)

public:
    explicit StatusDisplay(QWidget *parent = nullptr);
    ~StatusDisplay() override;

    void showMessage(const StatusMessage &message);
};

} // namespace kostwerk::ui
