#include "programicon.h"

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/kostwerk/kostwerk.xpm"));
}
