# Script mode: writes OUT, a C++ source defining `std::string_view NAME()` with the text of IN.
file(READ ${IN} content)
string(FIND "${content}" ")seed\"" clash)
if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${IN} contains the raw-string delimiter")
endif()
file(WRITE ${OUT} "// Generated from ${IN}.\n#include <string_view>\n\nnamespace orvo::seed {\n"
     "std::string_view ${NAME}() {\n    static constexpr std::string_view kText = R\"seed(${content})seed\";\n"
     "    return kText;\n}\n} // namespace orvo::seed\n")
