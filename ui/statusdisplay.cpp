#include "ui/statusdisplay.h"

namespace kostwerk::ui {

StatusDisplay::StatusDisplay(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("status"));
}

StatusDisplay::~StatusDisplay() = default;

void StatusDisplay::showMessage(const StatusMessage &message)
{
    setText(message.text);
    setToolTip(message.cause);
}

} // namespace kostwerk::ui
