# Install rules, the CMake package (installed and in the build tree) and the pkg-config files.
# Included by the top-level CMakeLists.txt after every target exists.
#
# Installed layout (GNUInstallDirs):
#   <libdir>/libcorvendi.so.<version>, libcorvendi_cairo.so.<version>,
#   libcorvendi_fluidsynth.so.<version> (or the .a archives)
#   <includedir>/corvendi/...                       public headers (core and adapters)
#   <bindir>/...                                    the programs listed in CORVENDI_INSTALL_PROGRAMS
#   <libdir>/corvendi/...                           their modules (CORVENDI_INSTALL_PROGRAM_MODULES)
#   <datadir>/corvendi/Common/Config/..., examples/ the application folder
#   <libdir>/cmake/Corvendi/                        CorvendiConfig.cmake and its targets
#   <libdir>/pkgconfig/corvendi.pc, corvendi-cairo.pc
#
# A program joins the install by adding its target to a global property, from its own
# CMakeLists.txt:
#   set_property(GLOBAL APPEND PROPERTY CORVENDI_INSTALL_PROGRAMS <target>)
include(CMakePackageConfigHelpers)

set(CORVENDI_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Corvendi)
set(CORVENDI_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/corvendi)
set(CORVENDI_PKGCONFIG_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(TARGET corvendi_cairo)
    set(CORVENDI_PACKAGE_HAS_CAIRO ON)
else()
    set(CORVENDI_PACKAGE_HAS_CAIRO OFF)
endif()
if(TARGET corvendi_fluidsynth)
    set(CORVENDI_PACKAGE_HAS_FLUIDSYNTH ON)
else()
    set(CORVENDI_PACKAGE_HAS_FLUIDSYNTH OFF)
endif()
set(CORVENDI_PACKAGE_SHARED ${CORVENDI_BUILD_SHARED})

# --- libraries and headers -----------------------------------------------------------------------
set_target_properties(corvendi PROPERTIES EXPORT_NAME corvendi)
install(TARGETS corvendi EXPORT CorvendiTargets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        COMPONENT Runtime NAMELINK_COMPONENT Development
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/corvendi
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development
    FILES_MATCHING PATTERN "*.h")

# An adapter library under its export name, with its public headers.
function(corvendi_install_adapter target export_name export_set folder)
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${export_name})
    install(TARGETS ${target} EXPORT ${export_set}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
            COMPONENT Runtime NAMELINK_COMPONENT Development
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/adapters/${folder}/include/corvendi
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development
        FILES_MATCHING PATTERN "*.h")
endfunction()

if(CORVENDI_PACKAGE_HAS_CAIRO)
    corvendi_install_adapter(corvendi_cairo cairo CorvendiCairoTargets cairo)
endif()
if(CORVENDI_PACKAGE_HAS_FLUIDSYNTH)
    corvendi_install_adapter(corvendi_fluidsynth fluidsynth CorvendiFluidSynthTargets fluidsynth)
endif()

# --- programs ------------------------------------------------------------------------------------
# Installed programs find the shared libraries next to the prefix they were installed into, so a
# program in <prefix>/bin runs without LD_LIBRARY_PATH, and finds <prefix>/share/corvendi from
# its own location.
file(RELATIVE_PATH _corvendi_bin_to_lib
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
get_property(_corvendi_programs GLOBAL PROPERTY CORVENDI_INSTALL_PROGRAMS)
foreach(_program IN LISTS _corvendi_programs)
    if(NOT TARGET ${_program})
        message(FATAL_ERROR "CORVENDI_INSTALL_PROGRAMS names ${_program}, which is not a target")
    endif()
    set_property(TARGET ${_program} APPEND PROPERTY INSTALL_RPATH "$ORIGIN/${_corvendi_bin_to_lib}")
    install(TARGETS ${_program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
endforeach()
unset(_corvendi_programs)
unset(_corvendi_bin_to_lib)
# Modules a program loads when it needs them, in <libdir>/corvendi; they find the libraries one
# folder up.
get_property(_corvendi_modules GLOBAL PROPERTY CORVENDI_INSTALL_PROGRAM_MODULES)
foreach(_module IN LISTS _corvendi_modules)
    set_property(TARGET ${_module} APPEND PROPERTY INSTALL_RPATH "$ORIGIN/..")
    install(TARGETS ${_module} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/corvendi
        COMPONENT Runtime)
endforeach()
unset(_corvendi_modules)

# --- data: the application folder ----------------------------------------------------------------
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/
    DESTINATION ${CORVENDI_DATA_INSTALL_DIR} COMPONENT Runtime)

# --- CMake package -------------------------------------------------------------------------------
write_basic_package_version_file(${PROJECT_BINARY_DIR}/CorvendiConfigVersion.cmake
    VERSION ${PROJECT_VERSION}
    COMPATIBILITY SameMajorVersion)

# The installed package: paths relative to the config file, so the prefix may move.
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/CorvendiConfig.cmake.in
    ${PROJECT_BINARY_DIR}/package/CorvendiConfig.cmake
    INSTALL_DESTINATION ${CORVENDI_CMAKE_INSTALL_DIR}
    PATH_VARS CORVENDI_DATA_INSTALL_DIR)
install(FILES
        ${PROJECT_BINARY_DIR}/package/CorvendiConfig.cmake
        ${PROJECT_BINARY_DIR}/CorvendiConfigVersion.cmake
    DESTINATION ${CORVENDI_CMAKE_INSTALL_DIR} COMPONENT Development)
install(EXPORT CorvendiTargets
    NAMESPACE corvendi:: FILE CorvendiTargets.cmake
    DESTINATION ${CORVENDI_CMAKE_INSTALL_DIR} COMPONENT Development)
if(CORVENDI_PACKAGE_HAS_CAIRO)
    install(EXPORT CorvendiCairoTargets
        NAMESPACE corvendi:: FILE CorvendiCairoTargets.cmake
        DESTINATION ${CORVENDI_CMAKE_INSTALL_DIR} COMPONENT Development)
endif()
if(CORVENDI_PACKAGE_HAS_FLUIDSYNTH)
    install(EXPORT CorvendiFluidSynthTargets
        NAMESPACE corvendi:: FILE CorvendiFluidSynthTargets.cmake
        DESTINATION ${CORVENDI_CMAKE_INSTALL_DIR} COMPONENT Development)
endif()

# The build-tree package (Corvendi_DIR=<build folder>): the libraries where they were built, the
# headers and the application folder from the source tree.
set(CORVENDI_DATA_INSTALL_DIR ${PROJECT_SOURCE_DIR}/data)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/CorvendiConfig.cmake.in
    ${PROJECT_BINARY_DIR}/CorvendiConfig.cmake
    INSTALL_DESTINATION ${PROJECT_BINARY_DIR}
    INSTALL_PREFIX ${PROJECT_BINARY_DIR}
    PATH_VARS CORVENDI_DATA_INSTALL_DIR)
set(CORVENDI_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/corvendi)
export(EXPORT CorvendiTargets
    NAMESPACE corvendi:: FILE ${PROJECT_BINARY_DIR}/CorvendiTargets.cmake)
if(CORVENDI_PACKAGE_HAS_CAIRO)
    export(EXPORT CorvendiCairoTargets
        NAMESPACE corvendi:: FILE ${PROJECT_BINARY_DIR}/CorvendiCairoTargets.cmake)
endif()
if(CORVENDI_PACKAGE_HAS_FLUIDSYNTH)
    export(EXPORT CorvendiFluidSynthTargets
        NAMESPACE corvendi:: FILE ${PROJECT_BINARY_DIR}/CorvendiFluidSynthTargets.cmake)
endif()

# --- pkg-config ----------------------------------------------------------------------------------
# The files locate the prefix from their own folder (${pcfiledir}), so they stay right when the
# install prefix is chosen at install time (cmake --install --prefix) or the tree is moved.
# Folders given as absolute paths are written as they stand.
function(_corvendi_pc_folder out dir full_dir)
    if(IS_ABSOLUTE "${dir}")
        set(${out} "${full_dir}" PARENT_SCOPE)
    else()
        set(${out} "\${prefix}/${dir}" PARENT_SCOPE)
    endif()
endfunction()
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(CORVENDI_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
    file(RELATIVE_PATH _corvendi_pc_up
        ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
    string(REGEX REPLACE "/$" "" _corvendi_pc_up "${_corvendi_pc_up}")
    set(CORVENDI_PC_PREFIX "\${pcfiledir}/${_corvendi_pc_up}")
    unset(_corvendi_pc_up)
endif()
_corvendi_pc_folder(CORVENDI_PC_LIBDIR ${CMAKE_INSTALL_LIBDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
_corvendi_pc_folder(CORVENDI_PC_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR} ${CMAKE_INSTALL_FULL_INCLUDEDIR})
_corvendi_pc_folder(CORVENDI_PC_DATADIR ${CORVENDI_DATA_INSTALL_DIR} ${CMAKE_INSTALL_FULL_DATADIR}/corvendi)

configure_file(${PROJECT_SOURCE_DIR}/cmake/corvendi.pc.in
    ${PROJECT_BINARY_DIR}/package/corvendi.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/package/corvendi.pc
    DESTINATION ${CORVENDI_PKGCONFIG_INSTALL_DIR} COMPONENT Development)
if(CORVENDI_PACKAGE_HAS_CAIRO)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/corvendi-cairo.pc.in
        ${PROJECT_BINARY_DIR}/package/corvendi-cairo.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/package/corvendi-cairo.pc
        DESTINATION ${CORVENDI_PKGCONFIG_INSTALL_DIR} COMPONENT Development)
endif()
