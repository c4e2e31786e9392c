# Takes the window's picture under a virtual display and checks it is one:
#   -DPROGRAM=quillmere-asp -DROOT=index.asp -DOUTPUT=shot.png
file(REMOVE "${OUTPUT}")
get_filename_component(root_dir "${ROOT}" DIRECTORY)
execute_process(COMMAND xvfb-run -a -s "-screen 0 1280x900x24" "${PROGRAM}" --screenshot "${OUTPUT}" "${ROOT}"
                WORKING_DIRECTORY "${root_dir}"
                RESULT_VARIABLE exit_code ERROR_VARIABLE err TIMEOUT 60)
if(NOT exit_code EQUAL 0)
    message(FATAL_ERROR "screenshot failed (${exit_code}): ${err}")
endif()
file(READ "${OUTPUT}" header LIMIT 24 HEX)
# PNG signature, then the IHDR chunk with the width and height.
if(NOT header MATCHES "^89504e470d0a1a0a0000000d49484452")
    message(FATAL_ERROR "${OUTPUT} is not a PNG")
endif()
string(SUBSTRING "${header}" 32 8 width_hex)
string(SUBSTRING "${header}" 40 8 height_hex)
math(EXPR width "0x${width_hex}")
math(EXPR height "0x${height_hex}")
# Four fifths of the 1280 x 900 screen.
if(NOT width EQUAL 1024 OR NOT height EQUAL 720)
    message(FATAL_ERROR "the window's picture is ${width}x${height}, not 1024x720")
endif()
file(SIZE "${OUTPUT}" size)
if(size LESS 20000)
    message(FATAL_ERROR "the window's picture holds almost nothing (${size} bytes)")
endif()
