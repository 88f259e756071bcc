// The recording and stream message sinks.
#include "platform/message_sink.h"

#include <ostream>

namespace orvo::platform {

void RecordingMessageSink::show(const std::string& caption, const std::string& text, Icon icon) {
    m_entries.push_back({"show", caption, text, icon});
}

Answer RecordingMessageSink::askYesNo(const std::string& caption, const std::string& text) {
    m_entries.push_back({"yesno", caption, text, Icon::Question});
    const Answer a = next();
    return a == Answer::Cancel ? Answer::No : a;
}

Answer RecordingMessageSink::askYesNoCancel(const std::string& caption, const std::string& text) {
    m_entries.push_back({"yesnocancel", caption, text, Icon::Question});
    return next();
}

Answer RecordingMessageSink::next() {
    if (m_answers.empty())
        return Answer::No;
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

namespace {
// Stored texts use "\r" as a line break inside one message.
std::string lines(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
} // namespace

void StreamMessageSink::show(const std::string& caption, const std::string& text, Icon) {
    m_out << caption << ": " << lines(text) << '\n';
}

Answer StreamMessageSink::askYesNo(const std::string& caption, const std::string& text) {
    show(caption, text, Icon::Question);
    return m_answer == Answer::Cancel ? Answer::No : m_answer;
}

Answer StreamMessageSink::askYesNoCancel(const std::string& caption, const std::string& text) {
    show(caption, text, Icon::Question);
    return m_answer;
}

} // namespace orvo::platform
