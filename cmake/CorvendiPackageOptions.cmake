# Library type and install switches, read before the targets are made.
#
# The libraries are shared by default in a top-level build and static when the project is added
# to another one with add_subdirectory (unless that project sets BUILD_SHARED_LIBS).
# CORVENDI_BUILD_SHARED decides for this project alone; BUILD_SHARED_LIBS is set for this
# directory scope only, so the including project's own targets are not affected.
include(GNUInstallDirs)

if(DEFINED BUILD_SHARED_LIBS)
    set(_corvendi_shared_default ${BUILD_SHARED_LIBS})
elseif(CORVENDI_TOP_LEVEL AND NOT CORVENDI_FUZZ)
    # The fuzz targets link the library into one static, fully instrumented program.
    set(_corvendi_shared_default ON)
else()
    set(_corvendi_shared_default OFF)
endif()
option(CORVENDI_BUILD_SHARED "Build the libraries as shared libraries" ${_corvendi_shared_default})
unset(_corvendi_shared_default)
set(BUILD_SHARED_LIBS ${CORVENDI_BUILD_SHARED})

option(CORVENDI_INSTALL "Generate the install rules, the CMake package and the pkg-config files"
       ${CORVENDI_TOP_LEVEL})
