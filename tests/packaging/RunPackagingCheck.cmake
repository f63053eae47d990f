# One packaging check, run by CTest as `cmake -D... -DCHECK=<name> -P RunPackagingCheck.cmake`.
#
#   install            install the build into a fresh PREFIX and look at what arrived
#   find_package       a CMake consumer of the installed package, also run from PREFIX/bin
#   pkg_config         a consumer compiled with the flags pkg-config gives
#   build_tree         a CMake consumer of the build tree's package
#   add_subdirectory   a project that adds the source tree
#   installed_program  the installed `corvendi` program runs `demo` with no environment and
#                      prints the version with --version (skipped while there is no program)
#   internal_access    a host calling an engine-internal member does not compile against the
#                      installed headers (the same host calling the public API does)
#   exported_symbols   the installed shared libraries export only the host API (nm -D)
#
# Inputs: CHECK, PREFIX, WORK, SOURCE_DIR, BUILD_DIR, GENERATOR, CXX, VERSION, LIBDIR, BINDIR,
# INCLUDEDIR, DATADIR, SHARED, WITH_CAIRO, PKG_CONFIG, PYTHON.
cmake_minimum_required(VERSION 3.20)

set(consumer_source ${CMAKE_CURRENT_LIST_DIR}/consumer)
set(data_dir ${PREFIX}/${DATADIR}/corvendi)

# Runs a command quietly; on failure shows its output and stops the check.
function(run what)
    execute_process(COMMAND ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${what} failed (${result}):\n${ARGN}\n${output}")
    endif()
endfunction()

# Runs a command and returns its standard output, stripped.
function(run_output out what)
    execute_process(COMMAND ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors
        OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${what} failed (${result}):\n${ARGN}\n${output}${errors}")
    endif()
    set(${out} "${output}" PARENT_SCOPE)
endfunction()

function(expect_exists path)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "missing: ${path}")
    endif()
endfunction()

# Configures and builds a consumer project in a build folder that persists between runs, so a
# second run only relinks what changed.
function(build_consumer source binary)
    run("configuring the consumer in ${binary}" ${CMAKE_COMMAND} -S ${source} -B ${binary}
        -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${CXX} --log-level=WARNING ${ARGN})
    run("building the consumer in ${binary}" ${CMAKE_COMMAND} --build ${binary} --target consumer)
endfunction()

# Runs a consumer program from an empty folder with the given environment changes (arguments
# for `cmake -E env`), checks what it printed and returns its application folder.
function(run_consumer out program)
    set(folder ${WORK}/run-${CHECK})
    file(REMOVE_RECURSE ${folder})
    file(MAKE_DIRECTORY ${folder})
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=CORVENDI_HOME ${ARGN}
            ${program} ${folder}/score
        WORKING_DIRECTORY ${folder}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${program} failed (${result}):\n${output}${errors}")
    endif()
    expect_exists(${folder}/score.sco)
    if(WITH_CAIRO)
        expect_exists(${folder}/score.png)
    endif()
    string(FIND "${output}" "version ${VERSION}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${program} reports another version than ${VERSION}:\n${output}")
    endif()
    # Without its catalogue the default instrument has no description.
    if(NOT output MATCHES "instrument [^\n]+\n")
        message(FATAL_ERROR "${program} found no instrument catalogue:\n${output}")
    endif()
    string(REGEX MATCH "app-folder ([^\n]*)" _ "${output}")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

function(expect_same_folder actual expected)
    file(REAL_PATH "${actual}" actual_real)
    file(REAL_PATH "${expected}" expected_real)
    if(NOT actual_real STREQUAL expected_real)
        message(FATAL_ERROR "application folder is ${actual}, expected ${expected}")
    endif()
endfunction()

if(CHECK STREQUAL "install")
    file(REMOVE_RECURSE ${PREFIX})
    run("installing" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

    if(SHARED)
        expect_exists(${PREFIX}/${LIBDIR}/libcorvendi.so.${VERSION})
    else()
        expect_exists(${PREFIX}/${LIBDIR}/libcorvendi.a)
    endif()
    expect_exists(${PREFIX}/${INCLUDEDIR}/corvendi/Score.h)
    expect_exists(${data_dir}/Common/Config/Instrument.txt)
    expect_exists(${PREFIX}/${LIBDIR}/cmake/Corvendi/CorvendiConfigVersion.cmake)
    expect_exists(${PREFIX}/${LIBDIR}/pkgconfig/corvendi.pc)
    if(WITH_CAIRO)
        expect_exists(${PREFIX}/${LIBDIR}/pkgconfig/corvendi-cairo.pc)
        expect_exists(${PREFIX}/${INCLUDEDIR}/corvendi/cairo/CairoImageSurface.h)
    endif()

    # The package files may not point back into the source or build tree.
    file(GLOB package_files ${PREFIX}/${LIBDIR}/cmake/Corvendi/*.cmake ${PREFIX}/${LIBDIR}/pkgconfig/*.pc)
    foreach(file IN LISTS package_files)
        file(READ ${file} text)
        string(FIND "${text}" "${SOURCE_DIR}" in_source)
        string(FIND "${text}" "${BUILD_DIR}" in_build)
        if(NOT in_source EQUAL -1 OR NOT in_build EQUAL -1)
            message(FATAL_ERROR "${file} names the source or build tree")
        endif()
    endforeach()

    # Every installed header compiles on its own include folder: none reaches a private header.
    file(GLOB_RECURSE headers RELATIVE ${PREFIX}/${INCLUDEDIR} ${PREFIX}/${INCLUDEDIR}/corvendi/*.h)
    set(all_headers "")
    foreach(header IN LISTS headers)
        string(APPEND all_headers "#include <${header}>\n")
    endforeach()
    file(MAKE_DIRECTORY ${WORK})
    file(WRITE ${WORK}/all_headers.cpp "${all_headers}")
    run("compiling the installed headers" ${CXX} -std=c++20 -fsyntax-only
        -I${PREFIX}/${INCLUDEDIR} ${WORK}/all_headers.cpp)

elseif(CHECK STREQUAL "find_package")
    set(binary ${WORK}/find_package)
    build_consumer(${consumer_source} ${binary}
        -DCMAKE_PREFIX_PATH=${PREFIX} -DCONSUMER_WITH_CAIRO=${WITH_CAIRO}
        -DCONSUMER_EXPECT_VERSION=${VERSION})
    file(STRINGS ${binary}/CMakeCache.txt found_dir REGEX "^Corvendi_DIR:")
    string(FIND "${found_dir}" "${PREFIX}/" at)
    if(NOT at GREATER -1)
        message(FATAL_ERROR "find_package found another Corvendi: ${found_dir}")
    endif()
    run_consumer(folder ${binary}/consumer)

    # Installed next to the library, the program finds <prefix>/share/corvendi by itself.
    file(COPY ${binary}/consumer DESTINATION ${PREFIX}/${BINDIR})
    run_consumer(folder ${PREFIX}/${BINDIR}/consumer)
    expect_same_folder("${folder}" "${data_dir}")
    file(REMOVE ${PREFIX}/${BINDIR}/consumer)

elseif(CHECK STREQUAL "pkg_config")
    set(ENV{PKG_CONFIG_PATH} ${PREFIX}/${LIBDIR}/pkgconfig)
    set(modules corvendi)
    set(defines "")
    if(WITH_CAIRO)
        set(modules corvendi corvendi-cairo)
        set(defines -DCONSUMER_WITH_CAIRO)
    endif()
    set(static "")
    if(NOT SHARED)
        set(static --static)
    endif()
    run_output(version "pkg-config --modversion" ${PKG_CONFIG} --modversion corvendi)
    if(NOT version STREQUAL VERSION)
        message(FATAL_ERROR "pkg-config reports version ${version}, expected ${VERSION}")
    endif()
    run_output(cflags "pkg-config --cflags" ${PKG_CONFIG} --cflags ${modules})
    run_output(libs "pkg-config --libs" ${PKG_CONFIG} ${static} --libs ${modules})
    run_output(libdir "pkg-config libdir" ${PKG_CONFIG} --variable=libdir corvendi)
    run_output(pkgdatadir "pkg-config pkgdatadir" ${PKG_CONFIG} --variable=pkgdatadir corvendi)
    expect_same_folder("${pkgdatadir}" "${data_dir}")
    separate_arguments(cflags UNIX_COMMAND "${cflags}")
    separate_arguments(libs UNIX_COMMAND "${libs}")

    set(program ${WORK}/pkg_config/consumer)
    file(MAKE_DIRECTORY ${WORK}/pkg_config)
    run("compiling the pkg-config consumer" ${CXX} -std=c++20 ${defines} ${cflags}
        ${consumer_source}/consumer.cpp -o ${program} ${libs} -Wl,-rpath,${libdir})
    # A host outside the prefix points the engine at the application folder pkg-config names.
    run_consumer(folder ${program} CORVENDI_HOME=${pkgdatadir})
    expect_same_folder("${folder}" "${data_dir}")

elseif(CHECK STREQUAL "build_tree")
    build_consumer(${consumer_source} ${WORK}/build_tree
        -DCorvendi_DIR=${BUILD_DIR} -DCONSUMER_WITH_CAIRO=${WITH_CAIRO}
        -DCONSUMER_EXPECT_VERSION=${VERSION})
    run_consumer(folder ${WORK}/build_tree/consumer)
    expect_same_folder("${folder}" "${SOURCE_DIR}/data")

elseif(CHECK STREQUAL "add_subdirectory")
    # No build type: the library compiles without optimisation, which is quickest.
    build_consumer(${CMAKE_CURRENT_LIST_DIR}/subdir_consumer ${WORK}/add_subdirectory
        -DCORVENDI_SOURCE_DIR=${SOURCE_DIR})
    set(WITH_CAIRO OFF)
    run_consumer(folder ${WORK}/add_subdirectory/consumer)
    expect_same_folder("${folder}" "${SOURCE_DIR}/data")

elseif(CHECK STREQUAL "installed_program")
    set(program ${PREFIX}/${BINDIR}/corvendi)
    if(NOT EXISTS ${program})
        message("SKIP: no corvendi program is installed")
        return()
    endif()
    set(folder ${WORK}/run-${CHECK})
    file(REMOVE_RECURSE ${folder})
    file(MAKE_DIRECTORY ${folder})
    execute_process(COMMAND env -i PATH=/usr/bin:/bin ${program} demo
        WORKING_DIRECTORY ${folder}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "corvendi demo failed (${result}):\n${output}${errors}")
    endif()
    expect_exists(${folder}/demo.pdf)
    # The sound module is found from the installed program: asked for audio with a missing
    # soundfont, the program gets as far as looking for the soundfont.
    if(EXISTS ${PREFIX}/${LIBDIR}/corvendi/corvendi-sound.so)
        execute_process(COMMAND env -i PATH=/usr/bin:/bin ${program} render
                ${SOURCE_DIR}/data/examples/example.sco -o song.wav --soundfont missing.sf2
            WORKING_DIRECTORY ${folder}
            RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
        string(FIND "${errors}" "no soundfont found" at)
        if(NOT result EQUAL 2 OR at EQUAL -1)
            message(FATAL_ERROR "the installed sound module was not loaded (${result}):\n${errors}")
        endif()
    endif()
    execute_process(COMMAND env -i PATH=/usr/bin:/bin ${program} --version
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    string(FIND "${output}" "${VERSION}" at)
    if(NOT result EQUAL 0 OR at EQUAL -1)
        message(FATAL_ERROR "corvendi --version (${result}) does not print ${VERSION}:\n${output}${errors}")
    endif()

elseif(CHECK STREQUAL "internal_access")
    set(source_dir ${CMAKE_CURRENT_LIST_DIR}/internal_access)
    run("compiling a host of the public API" ${CXX} -std=c++20 -fsyntax-only
        -I${PREFIX}/${INCLUDEDIR} ${source_dir}/public_call.cpp)
    foreach(call IN ITEMS "score->CurPageSet(2)" "score->LoadingSet(true)" "staff->IDSet(\"S1\")"
                          "note.NoteTimeSet(3)" "event.ChannelSet(4)"
                          "corvendi::detail::ScoreAccess::CurPageSet(*score, 2)")
        execute_process(COMMAND ${CXX} -std=c++20 -fsyntax-only -I${PREFIX}/${INCLUDEDIR}
                "-DINTERNAL_CALL=${call}" ${source_dir}/internal_call.cpp
            RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
        if(result EQUAL 0)
            message(FATAL_ERROR "a host calling ${call} compiles against the installed headers")
        endif()
    endforeach()
    if(EXISTS ${PREFIX}/${INCLUDEDIR}/engine OR EXISTS ${PREFIX}/${INCLUDEDIR}/model)
        message(FATAL_ERROR "internal headers were installed")
    endif()

elseif(CHECK STREQUAL "exported_symbols")
    if(NOT SHARED)
        message("SKIP: the libraries are static")
        return()
    endif()
    set(libraries ${PREFIX}/${LIBDIR}/libcorvendi.so)
    if(WITH_CAIRO)
        list(APPEND libraries ${PREFIX}/${LIBDIR}/libcorvendi_cairo.so)
    endif()
    foreach(library IN LISTS libraries)
        run("checking the symbols of ${library}" ${PYTHON} ${CMAKE_CURRENT_LIST_DIR}/check_exports.py
            ${library} ${PREFIX}/${INCLUDEDIR})
    endforeach()

else()
    message(FATAL_ERROR "unknown packaging check '${CHECK}'")
endif()
