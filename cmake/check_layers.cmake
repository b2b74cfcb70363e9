# The folders are layers; a file may include the project's headers from its own folder and
# from folders of lower layers only. Included from the top-level CMakeLists.txt it makes every
# layer's library wait for this check; run as a script (-P) it is the check.
set(kelvarine_layers
    "logic=0" "res=1"
    "platform=2"
    "ui=3"
    "hands=4" "memo=4" "settings=4"
    "clock=5"
    "app=6")

if(NOT CMAKE_SCRIPT_MODE_FILE)
    set(layer_folders)
    foreach(entry IN LISTS kelvarine_layers)
        string(REGEX REPLACE "=.*" "" folder "${entry}")
        list(APPEND layer_folders "${folder}")
    endforeach()
    list(TRANSFORM layer_folders PREPEND "${CMAKE_CURRENT_SOURCE_DIR}/" OUTPUT_VARIABLE globs)
    list(TRANSFORM globs APPEND "/*.[ch]*")
    file(GLOB layer_sources CONFIGURE_DEPENDS ${globs})
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/layers.checked
        COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
                -P ${CMAKE_CURRENT_LIST_FILE}
        COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_CURRENT_BINARY_DIR}/layers.checked
        DEPENDS ${layer_sources} ${CMAKE_CURRENT_LIST_FILE}
        COMMENT "Checking that includes only point down the layers")
    add_custom_target(check_layers DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/layers.checked)
    foreach(target kelvarine_logic kelvarine_platform kelvarine_windows kelvarine)
        add_dependencies(${target} check_layers)
    endforeach()
    return()
endif()

set(wrong)
foreach(entry IN LISTS kelvarine_layers)
    string(REGEX MATCH "^[^=]+" folder "${entry}")
    string(REGEX MATCH "[0-9]+$" rank "${entry}")
    set(rank_of_${folder} ${rank})
endforeach()
foreach(entry IN LISTS kelvarine_layers)
    string(REGEX MATCH "^[^=]+" folder "${entry}")
    file(GLOB sources "${SOURCE_DIR}/${folder}/*.[ch]*")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE ".*\"([^\"/]+)/.*" "\\1" target_folder "${line}")
            if(target_folder STREQUAL folder OR NOT DEFINED rank_of_${target_folder})
                continue()
            endif()
            if(NOT rank_of_${target_folder} LESS rank_of_${folder})
                file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
                string(STRIP "${line}" line)
                list(APPEND wrong "  ${shown}: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(wrong)
    list(JOIN wrong "\n" wrong)
    message(FATAL_ERROR "Includes that point up the layers (${kelvarine_layers}):\n${wrong}")
endif()
