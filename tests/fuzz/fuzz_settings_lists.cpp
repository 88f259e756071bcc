// Fuzzes the scale, sheet format and surname readers and their editor models with one input
// used as all three files.
#include "fuzz_folder.h"
#include "section/settings_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::section;
    auto& f = orvo::fuzz::folder();
    std::filesystem::create_directories(f.root / "DATA/DIC");
    f.put("DATA/DIC/mashtab.sps", data, size);
    f.put("DATA/DIC/ListForm.sps", data, size);
    f.put("DATA/DIC/podpis.sps", data, size);
    auto scales = ReadScales(f.folder);
    auto names = ReadSurnames(f.folder);
    if (!scales || !names)
        __builtin_trap();
    ScaleListModel scaleModel(*scales);
    (void)scaleModel.add("500");
    while (scaleModel.removeSelected()) {
    }
    SurnameListModel nameModel(*names);
    (void)nameModel.add("Новая фамилия");
    while (nameModel.removeSelected()) {
    }
    auto editor = SheetFormatEditor::Open(f.folder);
    if (!editor)
        __builtin_trap();
    (void)editor->add("Новый", "297", "420");
    while (editor->rows().size() > 1)
        if (!editor->removeSelected())
            __builtin_trap();
    editor->cancel();
    return 0;
}
