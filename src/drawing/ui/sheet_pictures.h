// Section sheets as QPicture metafiles: "P%3.3d.tmf" (the drawing) and "H%3.3d.tmf" (its
// hatching) in the working folder, and playing them back at any resolution.
#pragma once
#include "drawing/render_section.h"
#include "platform/result.h"
#include "platform/work_folder.h"

#include <QPicture>
#include <QRectF>

#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace orvo::drawing {

// "P%3.3d.tmf" / "H%3.3d.tmf"
std::string sheetPicturePath(char kind, int number);

// Records each sheet into two QPictures at the reference resolution and writes them to the
// working folder atomically when the sheet ends. The first failed write is kept in `status`.
class PictureSheetSink : public SheetSink {
public:
    PictureSheetSink(const platform::WorkFolder& folder, double dpiX, double dpiY);
    ~PictureSheetSink() override;

    double dpiX() const override { return m_dpiX; }
    double dpiY() const override { return m_dpiY; }
    SheetCanvases beginSheet(int number) override;
    void endSheet(int number, std::int64_t widthPx, std::int64_t heightPx) override;

    const Status& status() const { return m_status; }

private:
    struct Open;
    const platform::WorkFolder& m_folder;
    double m_dpiX;
    double m_dpiY;
    std::unique_ptr<Open> m_open;
    Status m_status = success();
};

struct SheetPictures {
    QPicture p;
    QPicture h;
};
// Reads a sheet's pair; a missing or unreadable file is refused.
Result<SheetPictures> LoadSheetPictures(const platform::WorkFolder& folder, int number);

// Plays a picture recorded in reference-device pixels onto the painter so that one reference
// pixel covers `scale` painter units, whatever the painter's device resolution; primitives
// outside `visible` (painter coordinates; empty: none) are left out (platform/ui/picture_play.h).
void PlayPicture(QPainter& painter, const QPicture& picture, double scale,
                 const QRectF& visible = {});

// The sheet as the viewer and printing show it: hatching first (when wanted), the drawing over it.
void PlaySheet(QPainter& painter, const SheetPictures& sheet, double scale, bool withHatching,
               const QRectF& visible = {});

} // namespace orvo::drawing
