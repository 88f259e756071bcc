// Editors of the scale, sheet format and surname lists. Each works on a copy and writes its
// file only on "Сохранить".
#pragma once
#include "platform/message_sink.h"
#include "platform/work_folder.h"
#include "section/settings_lists.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvo::section::ui {

class ScaleListDialog : public QDialog {
    Q_OBJECT
public:
    ScaleListDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                    QWidget* parent = nullptr);

private:
    void refill();
    void onAdd();
    void onRemove();
    void onSave();

    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    ScaleListModel m_model;
    QListWidget* m_list;
    QLineEdit* m_new;
};

class SheetFormatDialog : public QDialog {
    Q_OBJECT
public:
    // Nothing when ListForm.sps cannot be read; the error is then in `error`.
    static std::unique_ptr<SheetFormatDialog> create(const platform::WorkFolder& folder,
                                                     platform::MessageSink& sink, Error& error,
                                                     QWidget* parent = nullptr);

protected:
    void reject() override;

private:
    SheetFormatDialog(SheetFormatEditor editor, platform::MessageSink& sink, QWidget* parent);
    void refill();
    void showSelected();
    void onAdd();
    void onReplace();
    void onRemove();
    void onSave();

    SheetFormatEditor m_editor;
    platform::MessageSink& m_sink;
    QListWidget* m_list;
    QLineEdit* m_description;
    QLineEdit* m_height;
    QLineEdit* m_width;
};

class SurnameListDialog : public QDialog {
    Q_OBJECT
public:
    SurnameListDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                      QWidget* parent = nullptr);

private:
    void refill();
    void onAdd();
    void onReplace();
    void onRemove();
    void onSave();

    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    SurnameListModel m_model;
    QListWidget* m_list;
    QLineEdit* m_new;
};

} // namespace orvo::section::ui
