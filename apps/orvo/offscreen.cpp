// Starting Qt Gui without a display for the painting commands, and their PDF output.
#include "offscreen.h"

#include "platform/work_folder.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace orvo::cli {

std::unique_ptr<QGuiApplication> startOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder; a shell without a session has none.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        std::error_code ec;
        const auto runtime = std::filesystem::temp_directory_path(ec) /
                             ("orvo-runtime-" + std::to_string(::getuid()));
        std::filesystem::create_directory(runtime, ec);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all, ec);
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.string()));
    }
    static int argc = 1;
    static char name[] = "orvo";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

Status writePdfAtomically(const PdfFile& file, const PdfPagePainter& paint) {
    const Error openFailed{"Ошибка открытия (" + file.path + ")", "ОШИБКА", false};
    if (file.pages.empty())
        return openFailed;
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly))
            return openFailed;
        QPdfWriter writer(&buffer);
        if (!file.title.isEmpty())
            writer.setTitle(file.title);
        if (!file.creator.isEmpty())
            writer.setCreator(file.creator);
        writer.setResolution(file.dpi);
        writer.setPageLayout(file.pages.front());
        QPainter painter;
        if (!painter.begin(&writer))
            return openFailed;
        for (std::size_t i = 0; i < file.pages.size(); ++i) {
            if (i > 0) {
                writer.setPageLayout(file.pages[i]);
                writer.newPage();
            }
            if (Status st = paint(painter, static_cast<int>(i)); !st) {
                painter.end();
                return st;
            }
        }
        if (!painter.end())
            return openFailed;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const platform::Bytes content(data, data + bytes.size());
    if (!platform::replaceFile(file.path, content))
        return openFailed;
    return success();
}

} // namespace orvo::cli
