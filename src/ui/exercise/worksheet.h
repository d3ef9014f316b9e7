#pragma once

#include "exercise.h"

#include <QString>

class QPagedPaintDevice;

namespace tallivo {

class MessageService;

// Paints exercise's worksheet on device, page after page: the title, the ciphertext with a
// line under each of its lines to write the plaintext on, the ciphertext's letter counts as a
// table and as bars against Italian, and boxes for the key (one per letter of a keyword, or one
// under each letter a-z); then, on a page of its own, the answers: the key and the plaintext.
// Fonts are DejaVu Sans and DejaVu Sans Mono, so the pages do not depend on the desktop.
// cipherTitle is the cipher's name as its page shows it. Returns the number of pages, 0 when
// the device cannot be painted on.
int PaintWorksheet(QPagedPaintDevice& device, const Exercise& exercise, const QString& cipherTitle,
                   MessageService& messages);

} // namespace tallivo
