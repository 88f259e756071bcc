// Small helpers of the GUI tests: finding the named widgets of a dialog, clicking and typing as
// the user does, showing a dialog so its widgets take clicks, and reading lists and pictures.
#pragma once
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QStringList>
#include <QTest>

#include <functional>

namespace orvo::test {

// The named child; a missing one ends the test program, naming it.
template <class W> W* child(QWidget& d, const char* name) {
    W* w = d.findChild<W*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no widget %s", name);
    return w;
}

inline void click(QWidget& d, const char* name) {
    auto* b = child<QAbstractButton>(d, name);
    // A radio button takes clicks on its mark and text only, not at the middle of its box.
    if (qobject_cast<QRadioButton*>(b))
        b->click();
    else
        QTest::mouseClick(b, Qt::LeftButton);
}

// Types text into a field and leaves it, as the user does.
inline void type(QWidget& d, const char* name, const QString& text) {
    auto* f = child<QLineEdit>(d, name);
    f->setText(text);
    emit f->editingFinished();
}

// Shown, so that the buttons of freshly revealed panels have a size and take clicks.
inline bool shown(QDialog& d, QSize size = {700, 500}) {
    d.resize(size);
    d.show();
    return QTest::qWaitForWindowExposed(&d);
}

inline QStringList texts(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

inline QStringList texts(QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

inline int countPixels(const QImage& img, const std::function<bool(QRgb)>& pred) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += pred(img.pixel(x, y)) ? 1 : 0;
    return n;
}

} // namespace orvo::test
