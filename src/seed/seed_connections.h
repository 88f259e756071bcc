// Connection files of the demo sections: automatic connection, then hand-made pinch-outs and
// lenses made through the editing functions, as a user would in the connection editor.
#pragma once
#include "platform/result.h"
#include "section/section_record.h"
#include "store/project_store.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

namespace orvo::seed {

// A mistake in the definitions of the default database.
inline Error definitionError(const std::string& what) {
    return {"Ошибка в описании базы данных по умолчанию: " + what, "Ошибка", false};
}

// Writes the section's connection file from its "connections" definition.
Status writeConnections(const store::ProjectStore& store, std::int32_t object,
                        const section::Section& sec, const nlohmann::json& def);

} // namespace orvo::seed
