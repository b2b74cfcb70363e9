# The folders are layers; a file (in the folder or any subfolder of it) may include the
# project's headers from its own folder and from folders of lower layers only, in either include
# form, never through "..", and of Qt only the modules its layer links. Included from the
# top-level CMakeLists.txt it makes every layer's library wait for this check; run as a script
# (-P, with -DSOURCE_DIR=) it is the check.
cmake_policy(SET CMP0057 NEW)
set(kelvarine_layers
    "logic=0:Core"
    "platform=1:Core,Gui,Widgets,DBus,Multimedia"
    "ui=2:Core,Gui,Widgets"
    "hands=3:Core,Gui,Widgets" "memo=3:Core,Gui,Widgets" "settings=3:Core,Gui,Widgets"
    "clock=4:Core,Gui,Widgets"
    "app=5:Core,Gui,Widgets")

if(NOT CMAKE_SCRIPT_MODE_FILE)
    set(globs)
    foreach(entry IN LISTS kelvarine_layers)
        string(REGEX MATCH "^[^=]+" folder "${entry}")
        list(APPEND globs "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.[ch]*")
    endforeach()
    file(GLOB_RECURSE layer_sources CONFIGURE_DEPENDS ${globs})
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

foreach(entry IN LISTS kelvarine_layers)
    string(REGEX MATCH "^[^=]+" folder "${entry}")
    string(REGEX MATCH "=([0-9]+):" rank "${entry}")
    set(rank_of_${folder} ${CMAKE_MATCH_1})
    string(REGEX MATCH "[^:]+$" modules "${entry}")
    string(REPLACE "," ";" modules_of_${folder} "${modules}")
endforeach()

set(wrong)
foreach(entry IN LISTS kelvarine_layers)
    string(REGEX MATCH "^[^=]+" folder "${entry}")
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.[ch]*")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" path
                   "${line}")
            string(STRIP "${line}" line)
            set(why)
            set(module)
            set(target_folder)
            if(path MATCHES "^Qt([A-Za-z]+)/")
                set(module ${CMAKE_MATCH_1})
            elseif(path MATCHES "^Qt(Core|Gui|Widgets|DBus|Multimedia|Network|Test)$")
                set(module ${CMAKE_MATCH_1})
            elseif(path MATCHES "^([^/]+)/")
                set(target_folder ${CMAKE_MATCH_1})
            endif()
            if(path MATCHES "(^|/)\\.\\.(/|$)")
                set(why "climbs out with \"..\"")
            elseif(module AND NOT module IN_LIST modules_of_${folder})
                list(JOIN modules_of_${folder} ", " allowed)
                set(why "Qt${module} is not among this layer's Qt modules (${allowed})")
            elseif(DEFINED rank_of_${target_folder} AND NOT target_folder STREQUAL folder AND
                   NOT rank_of_${target_folder} LESS rank_of_${folder})
                set(why "${target_folder}/ is not below ${folder}/")
            endif()
            if(why)
                list(APPEND wrong "  ${shown}: ${line}: ${why}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(wrong)
    list(JOIN wrong "\n" wrong)
    message(FATAL_ERROR "Includes that break the layers (lowest first: logic, platform, ui, "
                        "hands memo settings, clock, app):\n${wrong}")
endif()
