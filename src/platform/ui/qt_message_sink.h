// Message sink that shows modal Qt message boxes.
#pragma once
#include "platform/message_sink.h"

class QWidget;

namespace orvo::platform {

class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void show(const std::string& caption, const std::string& text, Icon icon) override;
    Answer askYesNo(const std::string& caption, const std::string& text) override;
    Answer askYesNoCancel(const std::string& caption, const std::string& text) override;

private:
    QWidget* m_parent;
};

} // namespace orvo::platform
