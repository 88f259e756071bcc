// Fuzzes the drawing form list and body readers, with the fallback to form 0.
#include "dict/drawing_form.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::dict;
    auto& f = orvo::fuzz::folder();
    std::filesystem::create_directories(f.root / "DATA/DIC");
    // The first half is the list, the rest the bodies of forms 0 and 1.
    const std::size_t half = size / 2;
    f.put("DATA/DIC/RazForm.SPS", data, half);
    f.put("DATA/DIC/000.FRR", data + half, size - half);
    f.put("DATA/DIC/001.FRR", data + half / 2, size - half / 2);
    orvo::platform::RecordingMessageSink sink;
    for (int index : {0, 1, 7}) {
        int used = -1;
        auto form = ReadDrawingForm(f.folder, index, sink, &used);
        if (form) {
            for (auto s : form->fontSize)
                if (s < 1 || s > 30)
                    __builtin_trap();
            for (const auto& face : form->fontFace)
                (void)face.utf8();
        }
    }
    (void)ListDrawingForms(f.folder);
    return 0;
}
