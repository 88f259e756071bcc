// Dialogs of the object commands: the title dialog, the archive questions and the refusal to
// delete a borehole that sections use.
#pragma once
#include "shell/object_lifecycle.h"

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QPlainTextEdit;

namespace orvo::shell::ui {

// "Новый объект" with "Создать", or "Редактирование титула объекта" with "Сохранить".
class ObjectTitleDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Create, Edit };
    ObjectTitleDialog(Mode mode, const ObjectTitleForm& initial, QWidget* parent = nullptr);
    ObjectTitleForm form() const;

private:
    void limitFullName();

    QLineEdit* m_shortName = nullptr;
    QLineEdit* m_contract = nullptr;
    QPlainTextEdit* m_fullName = nullptr;
};

// "Объект - в архив" / "Объект - из архива"; true for "Да".
bool AskArchiveMove(bool toArchive, const std::string& shortNameTrimmed, QWidget* parent);

// "Удаление выработки %s" listing the referring sections, one line per reference.
void ShowBoreholeRefusal(const std::string& boreholeName, const std::vector<std::string>& sections,
                         QWidget* parent);

} // namespace orvo::shell::ui
