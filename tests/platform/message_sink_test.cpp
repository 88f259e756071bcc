// The recording double and the command-line sink.
#include "platform/message_sink.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace orvo::platform;

TEST(RecordingMessageSink, AnswersFromItsQueueThenNo) {
    RecordingMessageSink sink;
    sink.queueAnswer(Answer::Yes);
    sink.queueAnswer(Answer::Cancel);
    sink.queueAnswer(Answer::Cancel);
    EXPECT_EQ(sink.askYesNo("Удаление объекта", "?"), Answer::Yes);
    // A Yes/No question cannot be answered with Cancel.
    EXPECT_EQ(sink.askYesNo("q", "?"), Answer::No);
    EXPECT_EQ(sink.askYesNoCancel("q", "?"), Answer::Cancel);
    EXPECT_EQ(sink.askYesNoCancel("q", "?"), Answer::No);
    ASSERT_EQ(sink.entries().size(), 4u);
    EXPECT_EQ(sink.entries()[0].caption, "Удаление объекта");
    EXPECT_EQ(sink.entries()[2].kind, "yesnocancel");
}

TEST(MessageSink, FatalErrorsReachTheSinkWithTheirCaption) {
    RecordingMessageSink sink;
    sink.report({"Ошибка открытия \"DATA\\razrez.prm\" - дальнейшая работа невозможна...",
                 "FATAL ERROR", true});
    ASSERT_EQ(sink.entries().size(), 1u);
    EXPECT_EQ(sink.entries()[0].caption, "FATAL ERROR");
    EXPECT_EQ(sink.entries()[0].icon, Icon::Error);
}

TEST(StreamMessageSink, StoredLineBreaksBecomeNewlines) {
    std::ostringstream out;
    StreamMessageSink sink(out, Answer::Yes);
    sink.show("Stop", "Вы действительно хотите удалить\rобъект Тест ?", Icon::Warning);
    EXPECT_EQ(out.str(), "Stop: Вы действительно хотите удалить\nобъект Тест ?\n");
    EXPECT_EQ(sink.askYesNoCancel("q", "a\r\nb"), Answer::Yes);
    EXPECT_NE(out.str().find("q: a\nb\n"), std::string::npos);
}
