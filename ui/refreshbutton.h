// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPushButton>

namespace kostwerk::ui {

// "Daten aktualisieren": its caption tells the fetch's state. It reads
// "Daten aktualisieren" before the first fetch of the run, "Bitte warten..."
// (and takes no clicks) while one runs, and "Daten holen" after it.
class RefreshButton final : public QPushButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RefreshButton)

public:
    explicit RefreshButton(QWidget *parent = nullptr);
    ~RefreshButton() override;

    void showFetching();
    // Back to clicks; a button that had the focus when the fetch began takes
    // it back.
    void showFetched();

private:
    bool m_hadFocus = false;
};

} // namespace kostwerk::ui
