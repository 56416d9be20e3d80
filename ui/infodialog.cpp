// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/infodialog.h"

#include "generated/buildconfig.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/twips.h"

#include <QLabel>
#include <QPushButton>

namespace kostwerk::ui {

using Controls::place;

namespace {

// The dialog's controls; each label grows from its top-left corner to the
// size of its text, once its font is set.
namespace Layout {
using Controls::Control;
constexpr const char *window = "infoF";
constexpr QStringView caption = u"Info über Refekt Küchenplan";
constexpr QSize clientSize(Twips::toPixels(4680), Twips::toPixels(3105));
constexpr Control title{"Label2", u"Refekt Küchenplan", Twips::rect(720, 120, 0, 0)};
constexpr Control version{"Label1", {}, Twips::rect(1680, 600, 0, 0)};
constexpr Control author{"Label3", {}, Twips::rect(840, 960, 0, 0)};
constexpr Control ideas{"Label4", u"Ideen für neue Features oder Bugreporte bitte an", Twips::rect(600, 1200, 0, 0)};
constexpr Control mail{"Label5", {}, Twips::rect(1800, 1440, 0, 0)};
constexpr Control updates{"Label6", u"Updates und neue Versionen gibt es unter", Twips::rect(840, 1800, 0, 0)};
constexpr Control updateUrl{"Label7", {}, Twips::rect(1680, 2040, 0, 0)};
constexpr Control okButton{"Command1", u"OK", Twips::rect(1680, 2400, 1215, 615)};
} // namespace Layout

// A label with text, or with the control's own caption.
QLabel *textLabel(QWidget *parent, const Controls::Control &control, const QString &text = {})
{
    auto *label = place(parent, new QLabel(text.isEmpty() ? control.caption.toString() : text), control);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

} // namespace

InfoDialog::InfoDialog(QWidget *mainWindow)
    : DialogWindow(mainWindow, Layout::window, Layout::caption.toString(), Layout::clientSize)
{
    createControls();
}

InfoDialog::~InfoDialog() = default;

void InfoDialog::createControls()
{
    QLabel *title = textLabel(this, Layout::title);
    title->setFont(Fonts::systemFont(18, QFont::Bold));
    QLabel *version = textLabel(this, Layout::version, u"Version " + QLatin1StringView(BuildConfig::versionShort));
    version->setFont(Fonts::systemFont(9.75, QFont::Bold));
    const QList<QLabel *> labels{
        title,
        version,
        textLabel(this, Layout::author, u"geschrieben von " + QString::fromUtf8(BuildConfig::author) + u", 2001"),
        textLabel(this, Layout::ideas),
        textLabel(this, Layout::mail, QString::fromUtf8(BuildConfig::contactMail)),
        textLabel(this, Layout::updates),
        textLabel(this, Layout::updateUrl, QString::fromUtf8(BuildConfig::updateUrl)),
    };
    for (QLabel *label : labels)
        label->adjustSize();

    // The only control that takes the focus.
    auto *okButton = place(this, new QPushButton(Layout::okButton.caption.toString()), Layout::okButton);
    connect(okButton, &QPushButton::clicked, this, &InfoDialog::close);
}

} // namespace kostwerk::ui
