// Where the core sends messages and questions for the user: boxes on screen, stderr, or a test log.
#pragma once
#include "platform/result.h"

#include <deque>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace orvo::platform {

enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { Yes, No, Cancel };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void show(const std::string& caption, const std::string& text, Icon icon) = 0;
    // Yes or No.
    virtual Answer askYesNo(const std::string& caption, const std::string& text) = 0;
    // Yes, No or Cancel.
    virtual Answer askYesNoCancel(const std::string& caption, const std::string& text) = 0;

    // Shows a refusal with its caption; fatal errors get the error icon like any other error.
    // After the first fatal error nothing more is reported: the program is ending, and the
    // handler set with setOnFatal (the main window's) is called once to end it.
    void report(const Error& error) {
        if (m_fatalShown)
            return;
        show(error.caption, error.text,
             error.fatal || error.caption == "Ошибка" ? Icon::Error : Icon::Warning);
        if (error.fatal) {
            m_fatalShown = true;
            if (m_onFatal)
                m_onFatal();
        }
    }
    void setOnFatal(std::function<void()> onFatal) { m_onFatal = std::move(onFatal); }
    bool fatalShown() const { return m_fatalShown; }

protected:
    void forgetFatal() { m_fatalShown = false; }

private:
    std::function<void()> m_onFatal;
    bool m_fatalShown = false;
};

// Test double: records everything and answers questions from a prepared queue (No when empty).
class RecordingMessageSink : public MessageSink {
public:
    struct Entry {
        std::string kind; // "show", "yesno", "yesnocancel"
        std::string caption;
        std::string text;
        Icon icon = Icon::None;
    };

    void show(const std::string& caption, const std::string& text, Icon icon) override;
    Answer askYesNo(const std::string& caption, const std::string& text) override;
    Answer askYesNoCancel(const std::string& caption, const std::string& text) override;

    void queueAnswer(Answer a) { m_answers.push_back(a); }
    const std::vector<Entry>& entries() const { return m_entries; }
    bool empty() const { return m_entries.empty(); }
    // Forgets the messages, and a fatal error with them, so the sink serves a new case.
    void clear() {
        m_entries.clear();
        forgetFatal();
    }

private:
    Answer next();
    std::vector<Entry> m_entries;
    std::deque<Answer> m_answers;
};

// For the command line: messages go to a stream; questions get a fixed answer.
class StreamMessageSink : public MessageSink {
public:
    StreamMessageSink(std::ostream& out, Answer answer) : m_out(out), m_answer(answer) {}
    void show(const std::string& caption, const std::string& text, Icon icon) override;
    Answer askYesNo(const std::string& caption, const std::string& text) override;
    Answer askYesNoCancel(const std::string& caption, const std::string& text) override;

private:
    std::ostream& m_out;
    Answer m_answer;
};

} // namespace orvo::platform
