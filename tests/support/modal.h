// Answering modal dialogs in GUI tests: the code under test calls exec() and waits, so the
// answer is queued on the event loop before the call and runs once the dialog is up.
#pragma once
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace orvo::test {

namespace detail {
inline void pollModal(QObject* ctx, std::function<void(QWidget*)> act, QElapsedTimer clock,
                      int deadlineMs, int delayMs) {
    QTimer::singleShot(delayMs, ctx, [ctx, act, clock, deadlineMs] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            act(w);
            return;
        }
        if (clock.elapsed() > deadlineMs)
            qFatal("no modal dialog opened within %d ms", deadlineMs);
        pollModal(ctx, act, clock, deadlineMs, 1);
    });
}
} // namespace detail

// Runs `act` on the next modal widget once it is up. One that does not come within
// `deadlineMs` ends the test program with a message instead of leaving it to wait, or to answer
// a dialog of a later step.
inline void whenModal(QObject* ctx, std::function<void(QWidget*)> act, int deadlineMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    detail::pollModal(ctx, std::move(act), clock, deadlineMs, 0);
}

// The first push button of `w` showing `text`, or null.
inline QPushButton* buttonWithText(QWidget* w, const QString& text) {
    for (auto* b : w->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

} // namespace orvo::test
