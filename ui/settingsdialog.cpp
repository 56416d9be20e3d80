// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/settingsdialog.h"

#include "settings/settings.h"
#include "texts/settingsrefusals.h"
#include "texts/statusline.h"
#include "ui/controls.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace kostwerk::ui {

using Controls::place;

namespace {

constexpr QSize clientSize(Twips::toPixels(4680), Twips::toPixels(3090));

QLineEdit *settingField(QWidget *parent, const char *name, int top)
{
    return place(parent, new QLineEdit(QStringLiteral("Text1")), name, Twips::rect(960, top, 3375, 285));
}

} // namespace

SettingsDialog::SettingsDialog(settings::Settings &settings, QWidget *mainWindow)
    : DialogWindow(mainWindow, "SettingsF", QStringLiteral("Einstellungen"), clientSize)
    , m_settings(settings)
{
    createControls();
    showSettings();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::createControls()
{
    // Created in tab order: Check1 gets the focus first, and the cache
    // file field comes after the two buttons.
    auto *label1 = place(this, new QLabel(QStringLiteral("StartURL:")), "Label1", Twips::rect(120, 240, 855, 255));
    auto *label2 = place(this, new QLabel(QStringLiteral("BasisURL:")), "Label2", Twips::rect(120, 600, 855, 255));

    // Shown for the look of the dialog only; nothing reads it.
    place(this, new QCheckBox(QStringLiteral("Startseitenfehlerbehebung (Freenet)")), "Check1",
          Twips::rect(120, 1440, 3375, 375));
    // Right after Check1 in the tab order: the two check boxes come first.
    // Wider than the box above it, to the dialog's right margin, so that its
    // longer caption shows whole.
    m_check2 = place(this, new QCheckBox(QStringLiteral("Veralteten Wochenplan beim Start holen")), "Check2",
                     Twips::rect(120, 1920, 4440, 255));

    m_starturlfeld = settingField(this, "starturlfeld", 240);
    m_basisurlfeld = settingField(this, "basisurlfeld", 600);

    auto *command1 = place(this, new QPushButton(QStringLiteral("OK")), "Command1", Twips::rect(1920, 2400, 1215, 495));
    connect(command1, &QPushButton::clicked, this, &SettingsDialog::acceptSettings);
    auto *command2 = place(this, new QPushButton(QStringLiteral("Abbrechen")), "Command2",
                           Twips::rect(3240, 2400, 1215, 495));
    connect(command2, &QPushButton::clicked, this, &SettingsDialog::close);

    m_cachefilefeld = settingField(this, "cachefilefeld", 960);
    auto *label3 = place(this, new QLabel(QStringLiteral("Cachefile:")), "Label3", Twips::rect(120, 960, 855, 255));

    // The labels name their fields for screen readers.
    label1->setBuddy(m_starturlfeld);
    label2->setBuddy(m_basisurlfeld);
    label3->setBuddy(m_cachefilefeld);
}

void SettingsDialog::showSettings()
{
    m_starturlfeld->setText(m_settings.startURL);
    m_basisurlfeld->setText(m_settings.basisURL);
    m_cachefilefeld->setText(m_settings.cacheFile);
    m_check2->setChecked(m_settings.autoFetch);
    // A long address shows from its start, not scrolled to its end.
    for (QLineEdit *field : {m_starturlfeld, m_basisurlfeld, m_cachefilefeld})
        field->setCursorPosition(0);
}

void SettingsDialog::acceptSettings()
{
    // A refused value keeps the dialog open with what was typed, and the
    // focus in the field to mend.
    if (const QString why = refusal(); !why.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), why);
        return;
    }
    // Otherwise taken over as typed: an emptied field is stored empty and
    // gets its default at the next start.
    m_settings.basisURL = m_basisurlfeld->text();
    m_settings.startURL = m_starturlfeld->text();
    m_settings.cacheFile = m_cachefilefeld->text();
    m_settings.autoFetch = m_check2->isChecked();
    // Values that cannot be written stay in force for this run.
    if (const platform::WriteResult saved = settings::SettingsStore::save(m_settings); !saved)
        emit settingsNotSaved(texts::StatusLine::cause(saved.failure));
    close();
}

QString SettingsDialog::refusal()
{
    // A line break would end the value's line in the settings file.
    for (QLineEdit *field : {m_starturlfeld, m_basisurlfeld, m_cachefilefeld}) {
        if (field->text().contains(u'\r') || field->text().contains(u'\n')) {
            field->setFocus();
            return texts::SettingsRefusals::lineBreak();
        }
    }
    const settings::CacheFileProblem problem = settings::SettingsStore::cacheFileProblem(
        m_settings, m_cachefilefeld->text(), QCoreApplication::applicationFilePath());
    if (problem.refused())
        m_cachefilefeld->setFocus();
    return texts::SettingsRefusals::cacheFile(problem);
}

} // namespace kostwerk::ui
