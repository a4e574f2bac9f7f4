#pragma once

#include "views/ImageFile.h"

// A page of a PDF sheet rendered as a scan (through Poppler): white paper, antialiased, kept as
// 8-bit grey when nothing on the page has colour.
namespace PdfFile {

// Without a page chosen (request.pdfPage 0) it answers ChoosePage with the page count and the
// finest resolution each page can be opened at; a locked document, one without pages or a page
// out of range are NotReadable with the reason, a page whose pixels this computer cannot hold is
// TooLarge. The page is drawn by a helper process (PdfRender), so drawing it takes no more than
// its pixels here, reports its progress and stops at once on cancel.
ImageRead read(const QString &fileName, const ImageRequest &request, ReadControl *control);

} // namespace PdfFile
