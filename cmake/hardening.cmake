# Debian's hardening for every build, as `dpkg-buildflags` gives it with hardening=+all: stack
# protector, fortified libc calls, format checks, PIE, read-only relocations bound at start.
# A local build then behaves as the packaged one. KELVARINE_HARDENING=OFF leaves the flags to
# the caller (a sanitizer build, say). Included after qt_standard_project_setup().
option(KELVARINE_HARDENING "Build with Debian's hardening flags" ON)

# CMake takes CFLAGS, CXXFLAGS and LDFLAGS from the environment at the first configure, but not
# CPPFLAGS, where dpkg-buildflags puts -D_FORTIFY_SOURCE; take that the same way.
set(KELVARINE_CPPFLAGS "$ENV{CPPFLAGS}" CACHE STRING "Preprocessor flags (CPPFLAGS at the first configure)")
string(APPEND CMAKE_CXX_FLAGS " ${KELVARINE_CPPFLAGS}")

if(KELVARINE_HARDENING)
    # In front of the caller's flags, so that theirs still decide.
    set(CMAKE_CXX_FLAGS "-fstack-protector-strong -Wformat -Werror=format-security ${CMAKE_CXX_FLAGS}")
    foreach(kind EXE SHARED MODULE)
        set(CMAKE_${kind}_LINKER_FLAGS "-Wl,-z,relro -Wl,-z,now ${CMAKE_${kind}_LINKER_FLAGS}")
    endforeach()
    # glibc's checks need the optimiser (and warn without it), and a caller's own level stays.
    if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
        add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
    endif()
    # -fPIE and -pie for the programs, also where the compiler does not default to them.
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    include(CheckPIESupported)
    check_pie_supported()
endif()

# Qt's project setup gives installed programs a RUNPATH of $ORIGIN and $ORIGIN/../lib, for
# libraries shipped beside them. The clock ships none and loads its sound module by path; a
# RUNPATH would only let a writable folder there shadow the system's Qt.
set(CMAKE_SKIP_INSTALL_RPATH ON)
# Nor does the build tree need one, where CMake would otherwise keep a placeholder of empty
# entries that has the loader try every library in the current folder first.
set(CMAKE_SKIP_BUILD_RPATH ON)
