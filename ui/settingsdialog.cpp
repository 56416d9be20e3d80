// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/settingsdialog.h"

#include "session/weeksession.h"
#include "texts/settingsrefusals.h"
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

// The dialog's controls.
namespace Layout {
using Controls::Control;
constexpr const char *window = "SettingsF";
constexpr QStringView caption = u"Einstellungen";
constexpr QSize clientSize(Twips::toPixels(4680), Twips::toPixels(3090));
constexpr Control startUrlLabel{"Label1", u"StartURL:", Twips::rect(120, 240, 855, 255)};
constexpr Control startUrlEdit{"starturlfeld", u"Text1", Twips::rect(960, 240, 3375, 285)};
constexpr Control basisUrlLabel{"Label2", u"BasisURL:", Twips::rect(120, 600, 855, 255)};
constexpr Control basisUrlEdit{"basisurlfeld", u"Text1", Twips::rect(960, 600, 3375, 285)};
constexpr Control cacheFileLabel{"Label3", u"Cachefile:", Twips::rect(120, 960, 855, 255)};
constexpr Control cacheFileEdit{"cachefilefeld", u"Text1", Twips::rect(960, 960, 3375, 285)};
constexpr Control freenetCheck{"Check1", u"Startseitenfehlerbehebung (Freenet)", Twips::rect(120, 1440, 3375, 375)};
// Wider than the box above it, to the dialog's right margin, so that its
// longer caption shows whole.
constexpr Control autoFetchCheck{"Check2", u"Veralteten Wochenplan beim Start holen",
                                 Twips::rect(120, 1920, 4440, 255)};
constexpr Control okButton{"Command1", u"OK", Twips::rect(1920, 2400, 1215, 495)};
constexpr Control cancelButton{"Command2", u"Abbrechen", Twips::rect(3240, 2400, 1215, 495)};
} // namespace Layout

template<typename Widget>
Widget *placeWithCaption(QWidget *parent, const Controls::Control &control)
{
    return place(parent, new Widget(control.caption.toString()), control);
}

} // namespace

SettingsDialog::SettingsDialog(session::WeekSession &session, QWidget *mainWindow)
    : DialogWindow(mainWindow, Layout::window, Layout::caption.toString(), Layout::clientSize)
    , m_session(session)
{
    createControls();
    showSettings();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::createControls()
{
    // Created in tab order: Check1 gets the focus first, and the cache
    // file field comes after the two buttons.
    auto *startUrlLabel = placeWithCaption<QLabel>(this, Layout::startUrlLabel);
    auto *basisUrlLabel = placeWithCaption<QLabel>(this, Layout::basisUrlLabel);

    // Shown for the look of the dialog only; nothing reads it.
    placeWithCaption<QCheckBox>(this, Layout::freenetCheck);
    // Right after Check1 in the tab order: the two check boxes come first.
    m_autoFetchCheck = placeWithCaption<QCheckBox>(this, Layout::autoFetchCheck);

    m_startUrlEdit = placeWithCaption<QLineEdit>(this, Layout::startUrlEdit);
    m_basisUrlEdit = placeWithCaption<QLineEdit>(this, Layout::basisUrlEdit);

    auto *okButton = placeWithCaption<QPushButton>(this, Layout::okButton);
    connect(okButton, &QPushButton::clicked, this, &SettingsDialog::acceptSettings);
    auto *cancelButton = placeWithCaption<QPushButton>(this, Layout::cancelButton);
    connect(cancelButton, &QPushButton::clicked, this, &SettingsDialog::close);

    m_cacheFileEdit = placeWithCaption<QLineEdit>(this, Layout::cacheFileEdit);
    auto *cacheFileLabel = placeWithCaption<QLabel>(this, Layout::cacheFileLabel);

    // The labels name their fields for screen readers.
    startUrlLabel->setBuddy(m_startUrlEdit);
    basisUrlLabel->setBuddy(m_basisUrlEdit);
    cacheFileLabel->setBuddy(m_cacheFileEdit);
}

void SettingsDialog::showSettings()
{
    const settings::Settings &inForce = m_session.settings();
    m_startUrlEdit->setText(inForce.startURL);
    m_basisUrlEdit->setText(inForce.basisURL);
    m_cacheFileEdit->setText(inForce.cacheFile);
    m_autoFetchCheck->setChecked(inForce.autoFetch);
    // A long address shows from its start, not scrolled to its end.
    for (QLineEdit *field : {m_startUrlEdit, m_basisUrlEdit, m_cacheFileEdit})
        field->setCursorPosition(0);
}

void SettingsDialog::acceptSettings()
{
    // A refused value keeps the dialog open with what was typed, and the
    // focus in the field to mend.
    if (const QString why = refusal(); !why.isEmpty()) {
        // The message can quote what was typed, which is no markup.
        QMessageBox warning(QMessageBox::Warning, windowTitle(), why, QMessageBox::Ok, this);
        warning.setTextFormat(Qt::PlainText);
        warning.exec();
        return;
    }
    // Otherwise taken over as typed: an emptied field is stored empty and
    // gets its default at the next start.
    settings::Settings typed = m_session.settings();
    typed.basisURL = m_basisUrlEdit->text();
    typed.startURL = m_startUrlEdit->text();
    typed.cacheFile = m_cacheFileEdit->text();
    typed.autoFetch = m_autoFetchCheck->isChecked();
    m_session.changeSettings(typed);
    close();
}

QString SettingsDialog::refusal()
{
    // A line break would end the value's line in the settings file, and a
    // character its encoding cannot hold would be saved as another.
    for (QLineEdit *field : {m_startUrlEdit, m_basisUrlEdit, m_cacheFileEdit}) {
        if (field->text().contains(u'\r') || field->text().contains(u'\n')) {
            field->setFocus();
            return texts::SettingsRefusals::lineBreak();
        }
        if (const QString character = settings::SettingsStore::unwritableCharacter(m_session.settings(), field->text());
            !character.isEmpty()) {
            field->setFocus();
            return texts::SettingsRefusals::unwritableCharacter(character);
        }
    }
    const settings::CacheFileProblem problem = settings::SettingsStore::cacheFileProblem(
        m_session.settings(), m_cacheFileEdit->text(), QCoreApplication::applicationFilePath());
    if (problem.refused())
        m_cacheFileEdit->setFocus();
    return texts::SettingsRefusals::cacheFile(problem);
}

} // namespace kostwerk::ui
