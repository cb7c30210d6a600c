#pragma once
#include <QColor>
#include <QPixmap>

// Copies `sourceArea` of `source` onto `destination` at `at`, leaving the
// destination unchanged wherever the source pixel is `transparentColour`.
void transparentBlit(QPixmap &destination, const QPixmap &source, const QRect &sourceArea, const QPoint &at,
                     const QColor &transparentColour);
