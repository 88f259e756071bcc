// The flows every dictionary list dialog shares: refill, enabling, delete, export, import.
#include "platform/ui/dictionary_list_dialog.h"

#include <QPushButton>

namespace orvo::platform::ui {

DictionaryListDialog::DictionaryListDialog(const WorkFolder& folder, MessageSink& sink,
                                           QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink), m_list(new SlotList(this)) {
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { selectionChanged(); });
}

DictionaryListDialog::~DictionaryListDialog() {
    // The list goes with the other children after this, when the dictionary's part is gone.
    disconnect(m_list, nullptr, this, nullptr);
}

void DictionaryListDialog::showSelection(int) {}

std::optional<DictionaryListDialog::Question> DictionaryListDialog::deleteQuestion(int) const {
    return std::nullopt;
}

bool DictionaryListDialog::confirmDelete(int slot) {
    const auto question = deleteQuestion(slot);
    return !question || m_sink.askYesNo(question->caption, question->text) == Answer::Yes;
}

void DictionaryListDialog::refill(int slot) {
    auto entries = readEntries();
    if (!entries)
        m_sink.report(entries.error());
    m_list->fill(entries ? std::move(*entries) : std::vector<SlotEntry>{}, slot);
    selectionChanged();
}

void DictionaryListDialog::selectionChanged() {
    if (!m_editing)
        showSelection(selectedSlot());
    updateButtons();
}

QPushButton* DictionaryListDialog::addButton(QPushButton* button, Needs needs,
                                             std::function<void()> act, bool keptWhileEditing) {
    connect(button, &QPushButton::clicked, this, std::move(act));
    m_buttons.push_back({button, needs, keptWhileEditing});
    return button;
}

void DictionaryListDialog::setEditing(bool on) {
    m_editing = on;
    updateButtons();
}

void DictionaryListDialog::updateButtons() {
    const int slot = selectedSlot();
    m_list->setEnabled(!m_editing);
    for (const auto& r : m_buttons) {
        const bool met = r.needs == Needs::Nothing || (r.needs == Needs::Entry && slot >= 0) ||
                         (r.needs == Needs::OwnEntry && isOwnEntry(slot));
        r.button->setEnabled(met && (r.kept || !m_editing));
    }
}

void DictionaryListDialog::remove() {
    const int slot = selectedSlot();
    if (m_editing || !canDelete(slot) || !confirmDelete(slot))
        return;
    if (auto st = deleteEntry(slot); !st)
        m_sink.report(st.error());
    refill(slotAfterDelete());
}

void DictionaryListDialog::setExchange(ExchangeHooks hooks) {
    m_exchange = std::move(hooks);
}

void DictionaryListDialog::showFileError(const Error& error) {
    m_sink.show(error.caption, error.text, Icon::Error);
}

std::optional<std::filesystem::path> DictionaryListDialog::chooseFile(bool save) {
    return m_exchange->chooseFile ? m_exchange->chooseFile(save)
                                  : chooseExchangeFile(this, m_exchange->files, save);
}

void DictionaryListDialog::exportSelected() {
    const int slot = selectedSlot();
    if (!m_exchange || m_editing || !isOwnEntry(slot))
        return;
    const auto file = chooseFile(true);
    if (!file)
        return;
    if (auto st = m_exchange->exportTo(slot, *file); !st)
        showFileError(st.error());
}

void DictionaryListDialog::importFile() {
    if (!m_exchange || m_editing)
        return;
    const auto file = chooseFile(false);
    if (!file)
        return;
    auto pending = m_exchange->readImport(*file);
    if (!pending) {
        showFileError(pending.error());
        return;
    }
    if (const auto same = pending->sameName) {
        const bool overwrite =
            m_exchange->confirmOverwrite
                ? m_exchange->confirmOverwrite(*same, pending->nameUtf8)
                : askNameTaken(this, m_exchange->nameTaken, pending->nameUtf8) == 0;
        if (!overwrite)
            return;
    }
    auto slot = pending->write(pending->sameName);
    if (!slot) {
        m_sink.report(slot.error());
        return;
    }
    refill(*slot);
}

} // namespace orvo::platform::ui
