# qasp check --format sarif validated against the SARIF 2.1.0 schema
# (tests/analysis/data/sarif-schema-2.1.0.json, from the OASIS sarif-spec
# repository, sarif-2.1/schema/) with python3-jsonschema.
#   -DPROGRAM=qasp -DPAGE=page -DSCHEMA=schema -DOUT=file
execute_process(COMMAND "${PROGRAM}" check "${PAGE}" --format sarif OUTPUT_FILE "${OUT}" RESULT_VARIABLE code)
if(NOT code STREQUAL "1")
    message(FATAL_ERROR "qasp check exited ${code}, expected 1 (the page has errors)")
endif()
execute_process(COMMAND python3 -c
    "import json,sys,jsonschema; jsonschema.validate(json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))); print('valid')"
    "${OUT}" "${SCHEMA}" RESULT_VARIABLE valid OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT valid EQUAL 0)
    message(FATAL_ERROR "SARIF output does not validate:\n${err}")
endif()
