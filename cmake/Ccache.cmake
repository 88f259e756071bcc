# Uses ccache for compiling when it is installed.
find_program(ORVO_CCACHE ccache)
if(ORVO_CCACHE)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${ORVO_CCACHE})
endif()
