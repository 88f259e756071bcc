// Writing, reading and playing the sheet metafiles.
#include "drawing/ui/sheet_pictures.h"

#include "platform/messages.h"
#include "platform/ui/picture_play.h"
#include "platform/ui/qpainter_canvas.h"

#include <QBuffer>
#include <QPaintDevice>
#include <QPainter>

#include <cstdio>

namespace orvo::drawing {

std::string sheetPicturePath(char kind, int number) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%c%3.3d.tmf", kind, number);
    return buf;
}

struct PictureSheetSink::Open {
    QPicture p;
    QPicture h;
    QPainter pp;
    QPainter hp;
    std::unique_ptr<platform::QPainterCanvas> pc;
    std::unique_ptr<platform::QPainterCanvas> hc;
};

PictureSheetSink::PictureSheetSink(const platform::WorkFolder& folder, double dpiX, double dpiY)
    : m_folder(folder), m_dpiX(dpiX), m_dpiY(dpiY) {}

PictureSheetSink::~PictureSheetSink() = default;

SheetCanvases PictureSheetSink::beginSheet(int) {
    m_open = std::make_unique<Open>();
    m_open->pp.begin(&m_open->p);
    m_open->hp.begin(&m_open->h);
    m_open->pc = std::make_unique<platform::QPainterCanvas>(m_open->pp);
    m_open->hc = std::make_unique<platform::QPainterCanvas>(m_open->hp);
    return {*m_open->pc, *m_open->hc};
}

namespace {

platform::Bytes pictureBytes(const QPicture& picture) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QPicture copy = picture;
    copy.save(&buffer);
    return platform::Bytes(data.begin(), data.end());
}

} // namespace

void PictureSheetSink::endSheet(int number, std::int64_t widthPx, std::int64_t heightPx) {
    if (!m_open)
        return;
    m_open->pc.reset();
    m_open->hc.reset();
    m_open->pp.end();
    m_open->hp.end();
    const QRect bounds(0, 0, static_cast<int>(widthPx), static_cast<int>(heightPx));
    m_open->p.setBoundingRect(bounds);
    m_open->h.setBoundingRect(bounds);
    for (const auto& [kind, picture] : {std::pair<char, QPicture*>{'P', &m_open->p},
                                        std::pair<char, QPicture*>{'H', &m_open->h}}) {
        auto st = m_folder.writeAtomic(sheetPicturePath(kind, number), pictureBytes(*picture));
        if (!st && m_status)
            m_status = st;
    }
    m_open.reset();
}

Result<SheetPictures> LoadSheetPictures(const platform::WorkFolder& folder, int number) {
    SheetPictures out;
    for (const auto& [kind, picture] :
         {std::pair<char, QPicture*>{'P', &out.p}, std::pair<char, QPicture*>{'H', &out.h}}) {
        const auto path = sheetPicturePath(kind, number);
        const auto read = folder.read(path, 1u << 30);
        if (!read.ok() || read.reachedLimit)
            return platform::fileOpenError(folder.resolve(path));
        QByteArray data(reinterpret_cast<const char*>(read.bytes.data()),
                        static_cast<qsizetype>(read.bytes.size()));
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        if (!picture->load(&buffer))
            return platform::badFileFormatError();
    }
    return out;
}

void PlayPicture(QPainter& painter, const QPicture& picture, double scale, const QRectF& visible) {
    platform::ui::PlayPicture(painter, picture, scale, visible);
}

void PlaySheet(QPainter& painter, const SheetPictures& sheet, double scale, bool withHatching,
               const QRectF& visible) {
    if (withHatching)
        PlayPicture(painter, sheet.h, scale, visible);
    PlayPicture(painter, sheet.p, scale, visible);
}

} // namespace orvo::drawing
