#pragma once
// The logo of the About box: a small lambda dial drawn in code.
#include <QPixmap>

QPixmap PaintAboutLogo(int width, int height);
