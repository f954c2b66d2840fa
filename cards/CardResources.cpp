#include "CardResources.h"

QString CardResourcePath(int id) { return QStringLiteral(":/cards/%1.png").arg(id); }

QImage LoadCardBitmap(int id) { return QImage(CardResourcePath(id)); }
