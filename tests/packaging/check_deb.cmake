# Builds the Debian package from a built tree, unpacks it into a scratch
# root and checks what it holds and what it depends on:
#   cmake -DBUILD_DIR=build -DWORK=scratch -P check_deb.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND cpack -G DEB -B "${WORK}" WORKING_DIRECTORY "${BUILD_DIR}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack failed (${rc}):\n${out}\n${err}")
endif()
file(GLOB debs "${WORK}/quillmere-asp_*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one quillmere-asp_*.deb in ${WORK}, found ${count}")
endif()
list(GET debs 0 deb)

execute_process(COMMAND dpkg-deb -f "${deb}" Depends OUTPUT_VARIABLE depends)
foreach(needed libqt6widgets6 libqt6gui6 libsqlite3-0 libicu qt6-qpa-plugins fonts-arphic-uming)
    string(FIND "${depends}" "${needed}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package does not depend on ${needed}: ${depends}")
    endif()
endforeach()

set(root "${WORK}/root")
execute_process(COMMAND dpkg -x "${deb}" "${root}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dpkg -x failed")
endif()
foreach(path
        usr/bin/quillmere-asp
        usr/bin/qasp
        usr/lib/quillmere-asp/qasp-skin-model
        usr/share/applications/quillmere-asp.desktop
        usr/share/icons/hicolor/16x16/apps/quillmere-asp.png
        usr/share/icons/hicolor/48x48/apps/quillmere-asp.png
        usr/share/icons/hicolor/256x256/apps/quillmere-asp.png
        usr/share/icons/hicolor/scalable/apps/quillmere-asp.svg
        usr/share/quillmere-asp/skins/quillmere-dusk.skin
        usr/share/quillmere-asp/readme.txt
        usr/share/quillmere-asp/demo/index.asp)
    if(NOT EXISTS "${root}/${path}")
        message(FATAL_ERROR "the package lacks ${path}")
    endif()
endforeach()

# The programs run from where the package puts them.
execute_process(COMMAND "${root}/usr/bin/qasp" --version OUTPUT_VARIABLE version RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT version MATCHES "^qasp 3\\.0")
    message(FATAL_ERROR "qasp --version from the package said: ${version}")
endif()
execute_process(COMMAND "${root}/usr/bin/quillmere-asp" --version OUTPUT_VARIABLE version RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT version MATCHES "quillmere-asp")
    message(FATAL_ERROR "quillmere-asp --version from the package said: ${version}")
endif()
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${root}/usr/share/applications/quillmere-asp.desktop"
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "the desktop entry is not valid:\n${out}${err}")
    endif()
endif()
file(SIZE "${deb}" size)
message(STATUS "${deb}: ${size} bytes")
