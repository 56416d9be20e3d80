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

constexpr QSize clientSize(Twips::toPixels(4680), Twips::toPixels(3105));

// Each label grows from its top-left corner to the size of its text, once its
// font is set.
QLabel *textLabel(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *label = place(parent, new QLabel(text), name, QRect(Twips::toPixels(left), Twips::toPixels(top), 0, 0));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

} // namespace

InfoDialog::InfoDialog(QWidget *mainWindow)
    : DialogWindow(mainWindow, "infoF", QStringLiteral("Info über Refekt Küchenplan"), clientSize)
{
    createControls();
}

InfoDialog::~InfoDialog() = default;

void InfoDialog::createControls()
{
    QLabel *title = textLabel(this, "Label2", QStringLiteral("Refekt Küchenplan"), 720, 120);
    title->setFont(Fonts::systemFont(18, QFont::Bold));
    QLabel *version = textLabel(this, "Label1", u"Version " + QLatin1StringView(BuildConfig::versionShort), 1680, 600);
    version->setFont(Fonts::systemFont(9.75, QFont::Bold));
    const QList<QLabel *> labels{
        title,
        version,
        textLabel(this, "Label3", u"geschrieben von " + QString::fromUtf8(BuildConfig::author) + u", 2001", 840, 960),
        textLabel(this, "Label4", QStringLiteral("Ideen für neue Features oder Bugreporte bitte an"), 600, 1200),
        textLabel(this, "Label5", QString::fromUtf8(BuildConfig::contactMail), 1800, 1440),
        textLabel(this, "Label6", QStringLiteral("Updates und neue Versionen gibt es unter"), 840, 1800),
        textLabel(this, "Label7", QString::fromUtf8(BuildConfig::updateUrl), 1680, 2040),
    };
    for (QLabel *label : labels)
        label->adjustSize();

    // The only control that takes the focus.
    auto *command1 = place(this, new QPushButton(QStringLiteral("OK")), "Command1", Twips::rect(1680, 2400, 1215, 615));
    connect(command1, &QPushButton::clicked, this, &InfoDialog::close);
}

} // namespace kostwerk::ui
