// The shared refusal texts and questions.
#include "platform/messages.h"

namespace orvo::platform {

Error fileOpenError(const std::filesystem::path& file) {
    return {"Ошибка открытия (" + file.string() + ")", kFileErrorCaption, false};
}

Error badFileFormatError() {
    return {kBadFormatText, kFileErrorCaption, false};
}

NameTakenQuestion overwriteOnImport(std::string caption, std::string lead) {
    return {std::move(caption),
            std::move(lead),
            {kExistsExclaimed},
            {kOverwriteChoice, kCancelImportChoice},
            0};
}

} // namespace orvo::platform
