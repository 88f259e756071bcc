// Opens the connection editor on a section of a working folder, shows the boreholes around the
// demo pinch-out with one boundary selected, and saves the window as a PNG.
//   orvo_editor_shot WORKDIR OBJECT SECTION OUTPUT.png
#include "connect/ui/connection_editor.h"
#include "platform/message_sink.h"
#include "section/section_record.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 5) {
        std::cerr << "usage: orvo_editor_shot WORKDIR OBJECT SECTION OUTPUT.png\n";
        return 2;
    }
    using namespace orvo;
    platform::WorkFolder folder(argv[1]);
    platform::StreamMessageSink sink(std::cerr, platform::Answer::No);
    const auto object = std::stoi(argv[2]);
    const auto number = std::stoi(argv[3]);
    const QString out = QString::fromLocal8Bit(argv[4]);
    auto section = section::ReadSection(folder, object, number);
    if (!section) {
        std::cerr << section.error().text << '\n';
        return 1;
    }
    auto opening = connect::OpenConnectionEditor(folder, sink, object, number, section->boreholes);
    if (!opening)
        return 1;
    connect::EditorSession session(std::move(opening->model));
    connect::ui::ConnectionEditorWindow window(session, folder, sink);
    window.show();
    QTimer::singleShot(800, [&] {
        // The pinch-out lies between the fifth and the sixth borehole.
        if (session.model().boreholeCount() >= 6)
            while (session.firstShown() < 3 &&
                   window.action(connect::EditorCommand::ToRight)->isEnabled())
                window.action(connect::EditorCommand::ToRight)->trigger();
        window.action(connect::EditorCommand::SelectLine)->trigger();
        // Select the pinch-out's boundary by its pixel, as a click would.
        const auto& m = session.model();
        const auto* map = session.mapping();
        for (std::int32_t l = 0; map && l < m.lineCount(); ++l) {
            const auto a = map->pointPos(m, m.lines[static_cast<std::size_t>(l)].from);
            const auto b = map->pointPos(m, m.lines[static_cast<std::size_t>(l)].to);
            if (m.points[static_cast<std::size_t>(m.lines[static_cast<std::size_t>(l)].to)]
                    .isFree()) {
                const int x = (a.x + b.x) / 2;
                for (int y = std::min(a.y, b.y) - 2; y <= std::max(a.y, b.y) + 2; ++y)
                    if (connect::hitLine(m, *map, {x, y}) == l) {
                        session.leftDown({x, y});
                        break;
                    }
                break;
            }
        }
        // Switching to the active mode again only refreshes the toolbar and comment bar.
        window.action(connect::EditorCommand::SelectLine)->trigger();
        window.drawingArea()->update();
        QTimer::singleShot(400, [&] {
            window.grab().save(out);
            std::cout << "saved " << out.toStdString() << '\n';
            app.exit(0);
        });
    });
    return app.exec();
}
