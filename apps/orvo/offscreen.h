// The Qt Gui application the painting commands run on: the offscreen platform, no display; and
// the PDF file those commands write.
#pragma once
#include "platform/result.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace orvo::cli {

std::unique_ptr<QGuiApplication> startOffscreen();

struct PdfFile {
    std::string path;
    QString title;   // empty: none
    QString creator; // empty: none
    int dpi = 600;
    std::vector<QPageLayout> pages; // one layout per page, at least one
};

// Paints page `index` (from 0) on the painter, which is active on that page.
using PdfPagePainter = std::function<Status(QPainter& painter, int index)>;

// Paints every page into memory, then replaces the file atomically, so the file holds either
// what it held before or the whole new document. A page that refuses stops it with that refusal
// and nothing is written; a failure to write is "Ошибка открытия (FILE)".
Status writePdfAtomically(const PdfFile& file, const PdfPagePainter& paint);

} // namespace orvo::cli
