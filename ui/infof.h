#pragma once

#include <QWidget>

namespace kostwerk::ui {

// "Info über Refekt Küchenplan": the program's name, version and where to
// send ideas and find updates. It is not modal; the main window stays usable.
class InfoF final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InfoF)

public:
    // mainWindow is the parent that gets the focus back when the dialog closes.
    explicit InfoF(QWidget *mainWindow);
    ~InfoF() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();

    void Command1_Click();
    void Form_QueryUnload();

    QWidget *const m_mainWindow;
};

} // namespace kostwerk::ui
