# Options for the project's own code (not for GoogleTest).
option(TANDREL_WERROR "Treat warnings in the project's code as errors" ON)

function(tandrel_code_options target)
    # Unicode APIs only, and nothing newer than Windows 5.0 (see platform/windows.h).
    target_compile_definitions(${target} PRIVATE
        UNICODE _UNICODE _WIN32_WINNT=0x0500 WINVER=0x0500)
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wcast-qual>
        $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>
        $<$<AND:$<COMPILE_LANGUAGE:C,CXX>,$<BOOL:${TANDREL_WERROR}>>:-Werror>
    )
endfunction()
