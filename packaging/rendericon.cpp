// SPDX-License-Identifier: GPL-3.0-or-later

// Renders the program icon into a PNG of one size of the hicolor icon theme.
// The icon is pixel art, so a whole multiple of the picture's own size repeats
// every pixel instead of blending neighbours. Any other larger size (48 for
// a 32 picture) is the picture repeated to at least twice that size and then
// averaged down: only the edges between pixels blend, the pixels stay sharp.

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
    if (!isNumber || size < picture.width())
        return fail(QByteArray("size must be at least ") + QByteArray::number(picture.width()));

    const int repeats = size % picture.width() == 0 ? size / picture.width()
                                                    : (2 * size + picture.width() - 1) / picture.width();
    const int repeated = repeats * picture.width();
    const QImage icon = picture.scaled(repeated, repeated, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                            .scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!icon.save(QString::fromLocal8Bit(target), "PNG"))
        return fail("cannot write " + target);
    return 0;
}
