# Read by cpack when it starts: every file in the package, and the package's own members, get
# SOURCE_DATE_EPOCH as their date; when it is unset, the changelog's date the build used.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} "${CPACK_KELVARINE_SOURCE_DATE_EPOCH}")
endif()
