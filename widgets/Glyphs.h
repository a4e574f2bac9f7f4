#pragma once

#include <QIcon>
#include <QImage>

// The small pictures of the window, drawn in code so they scale with nothing but themselves.
namespace Glyphs {

QImage openFolder();      // 22 x 21: an opening folder with a curved arrow
QImage zoomOut();         // 16 x 16: a lens with a minus sign
QImage zoomIn();          // 16 x 16: a lens with a plus sign
QImage helpQuestion();    // 16 x 16: a yellow question mark
QImage applicationIcon(); // 32 x 32 in 16 colours: a cave passage with survey stations

QIcon icon(const QImage &glyph);

} // namespace Glyphs
