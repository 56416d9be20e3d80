// SPDX-License-Identifier: GPL-3.0-or-later

// Renders the program icon into a PNG of one size of the hicolor icon theme.
// The icon is pixel art, so larger sizes must be whole multiples of the
// picture's own size and repeat every pixel instead of blending neighbours.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

int fail(const QByteArray &message)
{
    std::fprintf(stderr, "kostwerk-render-icon: %s\n", message.constData());
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4)
        return fail("usage: kostwerk-render-icon ICON.xpm OUT.png SIZE");
    const QByteArray source = argv[1];
    const QByteArray target = argv[2];

    const QImage picture(QString::fromLocal8Bit(source));
    if (picture.isNull())
        return fail("cannot read " + source);
    if (picture.width() != picture.height())
        return fail(source + " is not square");

    bool isNumber = false;
    const int size = QByteArray(argv[3]).toInt(&isNumber);
    if (!isNumber || size < picture.width() || size % picture.width() != 0)
        return fail(QByteArray("size must be a whole multiple of ") + QByteArray::number(picture.width()));

    const QImage icon = picture.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!icon.save(QString::fromLocal8Bit(target), "PNG"))
        return fail("cannot write " + target);
    return 0;
}
